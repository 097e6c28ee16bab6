#include "objects/data/CILoadCaseValues.h"

#include "framework/Persist.h"
#include "objects/data/CILoadCaseLstSyn.h"
#include "platform/CCheckSum.h"
#include "platform/LastError.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrStrong;

CILoadCaseValues::CILoadCaseValues() = default;

CILoadCaseValues::~CILoadCaseValues() = default;

PtrStrong<CILoadCase> CILoadCaseValues::GetNewObject() { return PtrStrong<CILoadCase>(new CILoadCaseValues); }

double CILoadCaseValues::LCValue(int key) const {
  double value = 0.0;
  m_values.Lookup(key, value);
  return value;
}

double* CILoadCaseValues::LCValuePtr(int key) { return &m_values[key]; }

void CILoadCaseValues::ClearValues() {
  POSITION pos = m_values.GetStartPosition();
  while (pos) {
    int key;
    double value;
    m_values.GetNextAssoc(pos, key, value);
    *m_values.PLookup(key) = 0.0;
  }
}

bool CILoadCaseValues::IsEqualWith(const CILoadCaseValues* other) const {
  return other && CEElement::IsEqualWith(other) && m_values.IsEqualWith(&other->m_values);
}

bool CILoadCaseValues::IsEqualWith(const ValueMap* values) const { return m_values.IsEqualWith(values); }

bool CILoadCaseValues::CopyFrom(const CILoadCaseValues* other) {
  if (!other) return false;
  if (other == this) return true;
  CILoadCase::CopyFrom(static_cast<const CILoadCase*>(other));
  return m_values.CopyFrom(&other->m_values);
}

bool CILoadCaseValues::CopyFrom(const ValueMap* values) { return m_values.CopyFrom(values); }

PtrStrong<CILoadCase> CILoadCaseValues::Clone() const { return PtrStrong<CILoadCase>(new CILoadCaseValues(*this)); }

bool CILoadCaseValues::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCILoadCaseValues;
  io.Version(version);
  if (!load) {
    if (!io.ok() || !CILoadCase::Serialize(f, false)) return false;
    long32 count = m_values.GetCount();
    io.Int32(count);
    for (POSITION pos = m_values.GetStartPosition(); pos && io.ok();) {
      int key;
      double value;
      m_values.GetNextAssoc(pos, key, value);
      io.Int(key).Double(value);
    }
    return io.ok();
  }
  ResetElement();
  m_values.RemoveAll();
  if (!io.ok()) return false;
  if (version != _SerializeVersionCILoadCaseValues) return true;
  return CILoadCase::Serialize(f, true) && ReadVersion1(f);
}

bool CILoadCaseValues::ReadVersion1(FILE* f) {
  CPersist io(f, true);
  long32 count = 0;
  io.Int32(count);
  // Pairs are read one at a time, so a damaged count costs no memory.
  for (long32 i = 0; i < count && io.ok(); ++i) {
    int key = 0;
    double value = 0.0;
    io.Int(key).Double(value);
    if (!io.ok() || key == 0) continue;
    if (!m_values.SetAtTail(key, value)) io.Fail(telio::kErrorNotEnoughMemory);
  }
  return io.ok();
}

void CILoadCaseValues::InitializeValues() {}

bool CILoadCaseValues::SerializeWrapped(FILE* f, bool load, ulong32 version) {
  CPersist io(f, load);
  ulong32 stored = version;
  io.Version(stored);
  if (load) {
    ResetElement();
    m_values.RemoveAll();
    if (!io.ok()) return false;
    if (stored != version) return true;
  }
  return io.ok() && CILoadCaseValues::Serialize(f, load);
}

ulong32 CILoadCaseValues::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CILoadCase::CheckSum());
  sum.AddU32(m_values.CheckSum());
  return sum.get();
}

CILoadCaseValuesLst::CILoadCaseValuesLst(ElementFactory factory) : CILoadCaseLst(factory) {}

CILoadCaseValuesLst::~CILoadCaseValuesLst() {
  if (CILoadCaseLstSyn* followed = m_followed.GetPtr()) followed->RemoveValueList(this);
}

CILoadCaseValuesLst& CILoadCaseValuesLst::operator=(const CILoadCaseValuesLst& other) {
  CopyFrom(&other);
  return *this;
}

int CILoadCaseValuesLst::SynchronizeLCValues(CILoadCaseLstSyn* lst) {
  const bool oldGone = m_followed.GetRefCount() && m_followed.IsNull();
  if (lst != m_followed.GetPtr() || oldGone) {
    if (!lst || oldGone) RemoveLCValuesAll();
    if (CILoadCaseLstSyn* old = m_followed.GetPtr()) old->RemoveValueList(this);
    m_followed = lst;
    m_registryIndex = -1;
  }
  CILoadCaseLstSyn* followed = m_followed.GetPtr();
  if (!followed) return 1;
  // Value sets in the followed list's order are each found after the one
  // before; only those out of order cost a search from the start.
  int from = 0;
  for (int i = 0; i < GetCount();) {
    const LoadCasePtr& e = *ElementAt(i);
    int k = followed->FindLoadCaseIndex(e, from);
    if (k >= 0) {
      from = k + 1;
    } else {
      k = followed->FindLoadCaseIndex(e, 0);
    }
    if (k < 0) {
      RemoveAt(i);
    } else {
      ++i;
    }
  }
  if (m_registryIndex < 0) followed->AddValueList(this);
  return 1;
}

int CILoadCaseValuesLst::FindLCValuesIndex(const LoadCasePtr& lc, int hint) const {
  const CILoadCase* wanted = lc.GetPtr();
  if (!wanted) return -1;
  // The elements are held by strong pointers, so a non-null one is alive.
  const LoadCasePtr* at = ElementAt(hint);
  if (at && at->GetRawPtr() && at->GetRawPtr()->IsEqualWith(wanted)) return hint;
  for (int i = 0; i < GetCount(); ++i) {
    const CILoadCase* e = ElementAt(i)->GetRawPtr();
    if (e && e->IsEqualWith(wanted)) return i;
  }
  return -1;
}

CILoadCaseValues* CILoadCaseValuesLst::FindLCValuesFor(const LoadCasePtr& lc) const {
  return GetLCValuesAt(FindLCValuesIndex(lc, -1));
}

CILoadCaseValues* CILoadCaseValuesLst::FindLCValuesFor(int i) const {
  CILoadCaseLstSyn* followed = m_followed.GetPtr();
  if (!followed) return nullptr;
  return GetLCValuesAt(FindLCValuesIndex(followed->GetLoadCaseAt(i), i));
}

CILoadCaseValues* CILoadCaseValuesLst::CreateLCValuesFor(int i) {
  CILoadCaseLstSyn* followed = m_followed.GetPtr();
  if (!followed) return nullptr;
  LoadCasePtr lc = followed->GetLoadCaseAt(i);
  if (lc.IsNull()) return nullptr;
  if (CILoadCaseValues* existing = GetLCValuesAt(FindLCValuesIndex(lc, i))) return existing;
  return InsertLCValues(*followed, lc, i);
}

CILoadCaseValues* CILoadCaseValuesLst::GetLCValuesAt(int i) const {
  const LoadCasePtr* e = ElementAt(i);
  return e ? dynamic_cast<CILoadCaseValues*>(e->GetPtr()) : nullptr;
}

void CILoadCaseValuesLst::InitializeLCValuesAll() {
  for (int i = 0; i < GetCount(); ++i) {
    if (CILoadCaseValues* v = GetLCValuesAt(i)) v->InitializeValues();
  }
}

void CILoadCaseValuesLst::ClearLCValuesAll() {
  for (int i = 0; i < GetCount(); ++i) {
    if (CILoadCaseValues* v = GetLCValuesAt(i)) v->ClearValues();
  }
}

void CILoadCaseValuesLst::RemoveLCValuesAll() { RemoveAll(); }

bool CILoadCaseValuesLst::CopyFrom(const CILoadCaseValuesLst* other) {
  if (!other) return false;
  if (other != this) CopyClonesFrom(*other);
  return true;
}

bool CILoadCaseValuesLst::IsEqualWith(const CILoadCaseValuesLst* other) const {
  if (!other || other->GetCount() != GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i) {
    const LoadCasePtr& mine = *ElementAt(i);
    const LoadCasePtr& theirs = *other->ElementAt(i);
    if (mine.IsNull() != theirs.IsNull()) return false;
    if (mine.IsNull()) continue;
    CILoadCaseValues* a = GetLCValuesAt(i);
    CILoadCaseValues* b = other->GetLCValuesAt(i);
    if (a && b ? !a->IsEqualWith(b) : !mine->IsEqualWith(theirs.GetPtr())) return false;
  }
  return true;
}

bool CILoadCaseValuesLst::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCILoadCaseValuesLst;
  io.Version(version);
  if (!io.ok()) {
    if (load) RemoveAll();
    return false;
  }
  return CILoadCaseLst::Serialize(f, load);
}

int CILoadCaseValuesLst::AddLCValuesFor(const LoadCasePtr& lc, int k) {
  CILoadCaseLstSyn* followed = m_followed.GetPtr();
  if (lc.IsNull() || !followed) return 0;
  if (followed->GetLoadCaseAt(k).GetPtr() != lc.GetPtr()) k = followed->FindLoadCaseIndex(lc);
  if (FindLCValuesIndex(lc, k) >= 0) return 0;
  return InsertLCValues(*followed, lc, k) ? 1 : 0;
}

CILoadCaseValues* CILoadCaseValuesLst::InsertLCValues(const CILoadCaseLstSyn& followed, const LoadCasePtr& lc, int k) {
  LoadCasePtr e = CreateNewObject();
  if (e.IsNull()) return nullptr;
  e->CopyFrom(lc.GetPtr());
  const int at = (k < 0 || k == followed.GetCount() - 1) ? GetCount() : OrderedPosition(followed, k);
  m_array.InsertAt(at, e);
  return GetLCValuesAt(at);
}

int CILoadCaseValuesLst::RemoveLCValuesFor(const LoadCasePtr& lc) {
  int at = FindLCValuesIndex(lc, -1);
  if (at < 0) return 0;
  RemoveAt(at);
  return 1;
}

int CILoadCaseValuesLst::ChangeLCValue(const LoadCasePtr& old, const LoadCasePtr& nw) {
  CILoadCaseValues* v = FindLCValuesFor(old);
  if (!v || nw.IsNull()) return 0;
  v->CILoadCase::CopyFrom(nw.GetPtr());
  return 1;
}

void CILoadCaseValuesLst::ReorderLCValuesFor(const LoadCasePtr& lc) {
  int at = FindLCValuesIndex(lc, -1);
  if (at < 0) return;
  LoadCasePtr e = *ElementAt(at);
  RemoveAt(at);
  if (!Add(e)) m_array.InsertAt(at, e);
}

int CILoadCaseValuesLst::GetPosition(const LoadCasePtr& e, int requested) const {
  if (IsRefusedByCommonRule(e) || FindValue(e, 0) >= 0) return -1;
  const CILoadCaseLstSyn* followed = m_followed.GetPtr();
  if (!followed || requested != -1) return GetPositionBase(requested);
  int k = followed->FindLoadCaseIndex(e);
  if (k < 0 || k == followed->GetCount() - 1) return GetCount();
  return OrderedPosition(*followed, k);
}

int CILoadCaseValuesLst::OrderedPosition(const CILoadCaseLstSyn& followed, int k) const {
  // The value sets are a subsequence of the followed list: walking both
  // together counts those that belong before load case k.
  int j = 0;
  for (int i = 0; i < k && j < GetCount(); ++i) {
    const CILoadCase* mine = ElementAt(j)->GetRawPtr();
    const CILoadCase* theirs = followed.ElementAt(i)->GetRawPtr();
    if (mine && theirs && mine->IsEqualWith(theirs)) ++j;
  }
  return j;
}

}  // namespace TELMARO_DATA_OBJECTS
