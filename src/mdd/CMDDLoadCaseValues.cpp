#include "mdd/CMDDLoadCaseValues.h"

#include "platform/Alloc.h"
#include "platform/CException.h"

namespace MDD_OBJECTS {

using GE_::Safe::PtrStrong;
using TELMARO_DATA_OBJECTS::CILoadCase;
using TELMARO_DATA_OBJECTS::CILoadCaseValues;
using TELMARO_DATA_OBJECTS::CILoadCaseValuesLst;

CMDDLoadCaseValues::CMDDLoadCaseValues() = default;

CMDDLoadCaseValues::CMDDLoadCaseValues(const CMDDLoadCaseValues& other) : ObjStrong_base(), CILoadCaseValues() {
  CILoadCaseValues::CopyFrom(&other);
}

CMDDLoadCaseValues::CMDDLoadCaseValues(const CMDDLoadCaseValues* other) {
  CILoadCaseValues::CopyFrom(other);
}

CMDDLoadCaseValues::~CMDDLoadCaseValues() = default;

PtrStrong<CILoadCase> CMDDLoadCaseValues::GetNewObject() { return PtrStrong<CILoadCase>(new CMDDLoadCaseValues); }

double* CMDDLoadCaseValues::ValuePtr(int key) { return Values().PLookup(key) ? LCValuePtr(key) : nullptr; }

void CMDDLoadCaseValues::SetValues(double fx, double fy, double fz, double mx, double my, double mz) {
  const double v[6] = {fx, fy, fz, mx, my, mz};
  for (int k = 0; k < 6; ++k) *LCValuePtr(kKeyFx + k) = v[k];
}

void CMDDLoadCaseValues::InitializeValues() { SetValues(0.0, 0.0, 0.0, 0.0, 0.0, 0.0); }

PtrStrong<CILoadCase> CMDDLoadCaseValues::Clone() const { return PtrStrong<CILoadCase>(new CMDDLoadCaseValues(*this)); }

bool CMDDLoadCaseValues::Serialize(FILE* f, bool load) {
  return SerializeWrapped(f, load, _SerializeVersionCMDDLoadCaseValues);
}

// The value sets a loading list holds, by the hash of what the element
// comparison compares (the name without regard to case, the flag word);
// equal hashes are confirmed by that comparison. Open addressing over a
// table kept at most half full.
class CMDDLoadCaseValuesLst::LoadIndex {
 public:
  LoadIndex() = default;
  LoadIndex(const LoadIndex&) = delete;
  LoadIndex& operator=(const LoadIndex&) = delete;
  ~LoadIndex() { telio::Free(m_slots); }

  // True when list holds a value set equal to e; otherwise e is recorded
  // as the one that will stand at index at. Throws CMemoryException* when
  // memory is short.
  bool FindOrRecord(const CMDDLoadCaseValuesLst& list, const LoadCasePtr& e, int at) {
    if (2 * (m_used + 1) > m_size) Grow();
    const ulong32 hash = Hash(*e);
    for (ulong32 k = hash & (m_size - 1);; k = (k + 1) & (m_size - 1)) {
      Slot& slot = m_slots[k];
      if (slot.index < 0) {
        slot = Slot{hash, at};
        ++m_used;
        return false;
      }
      if (slot.hash != hash) continue;
      const LoadCasePtr* held = list.ElementAt(slot.index);
      if (held && !held->IsNull() && (*held)->IsEqualWith(static_cast<const ELEMENT_OBJECTS::CEElement*>(e.GetPtr()))) return true;
    }
  }

 private:
  struct Slot {
    ulong32 hash;
    int index;  // -1: empty
  };

  static ulong32 Hash(const CILoadCase& lc) {
    ulong32 h = 2166136261u;
    const CString& name = lc.NameRef();
    for (const char* p = name.GetString(); *p; ++p) {
      char c = *p;
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return (h ^ lc.Flags()) * 16777619u;
  }

  void Grow() {
    const ulong32 size = m_size ? 2 * m_size : 64;
    Slot* slots = static_cast<Slot*>(telio::Malloc(sizeof(Slot) * size));
    if (!slots) ThrowMemoryException();
    for (ulong32 k = 0; k < size; ++k) slots[k] = Slot{0, -1};
    for (ulong32 k = 0; k < m_size; ++k) {
      if (m_slots[k].index < 0) continue;
      ulong32 j = m_slots[k].hash & (size - 1);
      while (slots[j].index >= 0) j = (j + 1) & (size - 1);
      slots[j] = m_slots[k];
    }
    telio::Free(m_slots);
    m_slots = slots;
    m_size = size;
  }

  Slot* m_slots = nullptr;
  ulong32 m_size = 0;
  ulong32 m_used = 0;
};

CMDDLoadCaseValuesLst::CMDDLoadCaseValuesLst() : CILoadCaseValuesLst(&CMDDLoadCaseValues::GetNewObject) {}

CMDDLoadCaseValuesLst::~CMDDLoadCaseValuesLst() = default;

CMDDLoadCaseValuesLst& CMDDLoadCaseValuesLst::operator=(const CMDDLoadCaseValuesLst& other) {
  CopyFrom(&other);
  return *this;
}

PtrStrong<CILoadCaseValuesLst> CMDDLoadCaseValuesLst::GetNewObject() {
  return PtrStrong<CILoadCaseValuesLst>(new CMDDLoadCaseValuesLst);
}

bool CMDDLoadCaseValuesLst::Serialize(FILE* f, bool load) {
  if (!load || GetFollowedLst()) return CILoadCaseValuesLst::Serialize(f, load);
  LoadIndex index;
  m_loading = &index;
  bool ok;
  try {
    ok = CILoadCaseValuesLst::Serialize(f, true);
  } catch (...) {
    m_loading = nullptr;
    throw;
  }
  m_loading = nullptr;
  return ok;
}

int CMDDLoadCaseValuesLst::GetPosition(const LoadCasePtr& e, int requested) const {
  if (!m_loading || requested != -1) return CILoadCaseValuesLst::GetPosition(e, requested);
  if (IsRefusedByCommonRule(e)) return -1;
  return m_loading->FindOrRecord(*this, e, GetCount()) ? -1 : GetCount();
}

CMDDLoadCaseLst::CMDDLoadCaseLst() = default;

CMDDLoadCaseLst::~CMDDLoadCaseLst() = default;

int CMDDLoadCaseLst::OnBeforeRemoveElement(int) { return 1; }

void CMDDLoadCaseLst::OnAfterAddElement(int) {}

}  // namespace MDD_OBJECTS
