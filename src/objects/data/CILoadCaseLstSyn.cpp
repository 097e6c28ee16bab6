#include "objects/data/CILoadCaseLstSyn.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrWeak;

CILoadCaseLstSyn::CILoadCaseLstSyn() = default;

CILoadCaseLstSyn::~CILoadCaseLstSyn() = default;

template <class F>
void CILoadCaseLstSyn::ForEachValueList(F f) {
  for (int i = 0; i < m_valueLists.GetSize(); ++i) {
    if (CILoadCaseValuesLst* lst = m_valueLists[i].GetPtr()) f(*lst);
  }
}

int CILoadCaseLstSyn::GetCountValueLists() const {
  int live = 0;
  for (int i = 0; i < m_valueLists.GetSize(); ++i) live += m_valueLists[i].IsNull() ? 0 : 1;
  return live;
}

int CILoadCaseLstSyn::OnBeforeRemoveElement(int i) {
  if (i == -1) return 1;
  LoadCasePtr lc = GetLoadCaseAt(i);
  if (i < 0 || i >= GetCount()) return 0;
  ForEachValueList([&lc](CILoadCaseValuesLst& lst) { lst.RemoveLCValuesFor(lc); });
  return 1;
}

void CILoadCaseLstSyn::OnAfterAddElement(int i) {
  LoadCasePtr lc = GetLoadCaseAt(i);
  ForEachValueList([&lc](CILoadCaseValuesLst& lst) { lst.AddLCValuesFor(lc); });
}

int CILoadCaseLstSyn::OnBeforeChangeLCValue(const LoadCasePtr& old, const LoadCasePtr& nw) {
  return CILoadCaseLst::OnBeforeChangeLCValue(old, nw);
}

void CILoadCaseLstSyn::OnAfterChangeLCValue(const LoadCasePtr& old, const LoadCasePtr& nw) {
  ForEachValueList([&old, &nw](CILoadCaseValuesLst& lst) { lst.ChangeLCValue(old, nw); });
}

void CILoadCaseLstSyn::OnAfterMoveLoadCase(int at) {
  LoadCasePtr lc = GetLoadCaseAt(at);
  ForEachValueList([&lc](CILoadCaseValuesLst& lst) { lst.ReorderLCValuesFor(lc); });
}

void CILoadCaseLstSyn::AddValueList(CILoadCaseValuesLst* lst) {
  if (!lst) return;
  // One pass drops the dead registrations and looks for lst.
  bool held = false;
  int kept = 0;
  for (int i = 0; i < m_valueLists.GetSize(); ++i) {
    if (m_valueLists[i].IsNull()) continue;
    held = held || m_valueLists[i].GetRawPtr() == lst;
    if (kept != i) m_valueLists[kept] = m_valueLists[i];
    ++kept;
  }
  m_valueLists.SetSize(kept);
  if (!held) m_valueLists.Add(PtrWeak<CILoadCaseValuesLst>(lst));
}

void CILoadCaseLstSyn::RemoveValueList(CILoadCaseValuesLst* lst) {
  if (!lst) return;
  for (int i = 0; i < m_valueLists.GetSize(); ++i) {
    if (m_valueLists[i].GetRawPtr() == lst) {
      // Emptied in place (the next registration drops it): lists die in
      // any order, and shifting the rest each time would cost a pass.
      m_valueLists[i].Reset();
      return;
    }
  }
}

}  // namespace TELMARO_DATA_OBJECTS
