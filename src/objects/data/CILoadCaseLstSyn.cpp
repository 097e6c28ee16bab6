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
  if (i < 0 || i >= GetCount()) return 0;
  LoadCasePtr lc = GetLoadCaseAt(i);
  ForEachValueList([&lc](CILoadCaseValuesLst& lst) { lst.RemoveLCValuesFor(lc); });
  return 1;
}

void CILoadCaseLstSyn::OnAfterAddElement(int i) {
  LoadCasePtr lc = GetLoadCaseAt(i);
  ForEachValueList([&lc, i](CILoadCaseValuesLst& lst) { lst.AddLCValuesFor(lc, i); });
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
  if (!lst || lst->m_registryIndex >= 0) return;
  // Dead registrations are dropped once the registry has doubled since the
  // last time, so registering stays cheap however many lists come and go.
  if (m_valueLists.GetSize() >= m_compactAt) {
    int kept = 0;
    for (int i = 0; i < m_valueLists.GetSize(); ++i) {
      CILoadCaseValuesLst* live = m_valueLists[i].GetPtr();
      if (!live) continue;
      if (kept != i) m_valueLists[kept] = m_valueLists[i];
      live->m_registryIndex = kept++;
    }
    m_valueLists.SetSize(kept);
    m_compactAt = kept < kMinCompactAt / 2 ? kMinCompactAt : 2 * kept;
  }
  m_valueLists.Add(PtrWeak<CILoadCaseValuesLst>(lst));
  lst->m_registryIndex = m_valueLists.GetSize() - 1;
}

void CILoadCaseLstSyn::RemoveValueList(CILoadCaseValuesLst* lst) {
  if (!lst) return;
  const int at = lst->m_registryIndex;
  // Emptied in place (the next compaction drops it): lists die in any
  // order, and shifting the rest each time would cost a pass.
  if (at >= 0 && at < m_valueLists.GetSize() && m_valueLists[at].GetRawPtr() == lst) m_valueLists[at].Reset();
  lst->m_registryIndex = -1;
}

}  // namespace TELMARO_DATA_OBJECTS
