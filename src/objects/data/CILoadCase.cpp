#include "objects/data/CILoadCase.h"

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrStrong;

CILoadCase::CILoadCase() = default;

CILoadCase::CILoadCase(const CString& name, ulong32 flags) : CEElement(name, flags) {}

CILoadCase::~CILoadCase() = default;

PtrStrong<CILoadCase> CILoadCase::GetNewObject() { return PtrStrong<CILoadCase>(new CILoadCase); }

bool CILoadCase::CopyFrom(const CILoadCase* other) {
  if (!other) return false;
  SetName(other->NameRef());
  *PFlags() = other->Flags();
  SetID(other->ID());
  *PAttr() = 0;
  return true;
}

PtrStrong<CILoadCase> CILoadCase::Clone() const { return PtrStrong<CILoadCase>(new CILoadCase(*this)); }

bool CILoadCase::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCILoadCase;
  io.Version(version);
  if (!load) return io.ok() && CEElement::Serialize(f, false);
  ResetElement();
  if (!io.ok()) return false;
  if (version != _SerializeVersionCILoadCase) return true;
  return CEElement::Serialize(f, true);
}

ulong32 CILoadCase::CheckSum() const {
  CCheckSum sum;
  sum.Add(NameRef());
  return sum.get();
}

CILoadCaseLst::CILoadCaseLst(ElementFactory factory) : m_factory(factory) {}

CILoadCaseLst::~CILoadCaseLst() = default;

CILoadCaseLst::LoadCasePtr CILoadCaseLst::CreateNewObject() const {
  return m_factory ? m_factory() : CILoadCase::GetNewObject();
}

CILoadCaseLst::LoadCasePtr CILoadCaseLst::GetLoadCaseAt(int i) const {
  const LoadCasePtr* e = ElementAt(i);
  return e ? *e : LoadCasePtr();
}

int CILoadCaseLst::FindLoadCaseIndex(const LoadCasePtr& lc, int start) const {
  return lc.IsNull() ? -1 : FindValue(lc, start);
}

CILoadCaseLst::LoadCasePtr CILoadCaseLst::FindLoadCase(const LoadCasePtr& lc, int start) const {
  return GetLoadCaseAt(FindLoadCaseIndex(lc, start));
}

int CILoadCaseLst::AddLoadCase(const LoadCasePtr& lc) {
  if (lc.IsNull()) return 0;
  LoadCasePtr e = CreateNewObject();
  if (e.IsNull()) return 0;
  e->CopyFrom(lc.GetPtr());
  return AddEx(e);
}

int CILoadCaseLst::ChangeLoadCaseAt(int i, const LoadCasePtr& lc) {
  const LoadCasePtr* slot = ElementAt(i);
  if (!slot || slot->IsNull() || lc.IsNull()) return 0;
  LoadCasePtr target = *slot;
  LoadCasePtr old(new CILoadCase(*target));
  if (!OnBeforeChangeLCValue(old, lc)) return 0;
  target->CopyFrom(lc.GetPtr());
  OnAfterChangeLCValue(old, lc);
  return 1;
}

int CILoadCaseLst::RemoveLoadCaseAt(int i) { return RemoveAtEx(i); }

int CILoadCaseLst::RemoveLoadCasesAll() { return RemoveAllEx(); }

int CILoadCaseLst::MoveLoadCase(int from, int to) {
  int result = MoveElement(from, to);
  if (result >= 0) OnAfterMoveLoadCase(to > from ? to - 1 : to);
  return result;
}

int CILoadCaseLst::GetValidLCName(CString& name, int skip) const {
  int result = 1;
  if (name.GetLength() > kMaxLoadCaseName) {
    name.Empty();
    result = 0;
  }
  std::vector<std::string> taken;
  taken.reserve(static_cast<size_t>(GetCount()));
  for (int i = 0; i < GetCount(); ++i) {
    const LoadCasePtr& e = *ElementAt(i);
    if (i == skip || e.IsNull()) continue;
    CString lower = e->Name();
    taken.push_back(lower.MakeLower().str());
  }
  std::sort(taken.begin(), taken.end());
  auto isTaken = [&taken](const CString& candidate) {
    CString lower = candidate;
    return std::binary_search(taken.begin(), taken.end(), lower.MakeLower().str());
  };
  int next = 1;
  if (name.IsEmpty()) name.Format("lc%d", next++);
  while (isTaken(name)) {
    name.Format("lc%d", next++);
    result = 0;
  }
  return result;
}

ulong32 CILoadCaseLst::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CSmartCollection::CheckSum());
  return sum.get();
}

bool CILoadCaseLst::Serialize(FILE* f, bool load) {
  return SerializeList(f, load, _SerializeVersionCILoadCaseLst, *this);
}

int CILoadCaseLst::OnBeforeChangeLCValue(const LoadCasePtr&, const LoadCasePtr& nw) {
  return !nw.IsNull() && FindValue(nw, 0) < 0;
}

void CILoadCaseLst::OnAfterChangeLCValue(const LoadCasePtr&, const LoadCasePtr&) {}

void CILoadCaseLst::OnAfterMoveLoadCase(int) {}

}  // namespace TELMARO_DATA_OBJECTS
