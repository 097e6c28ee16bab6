#include "objects/data/CILoadCaseLstSyn.h"

#include <new>

#include "platform/CException.h"

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
  try {
    auto held = m_registered.find(lst);
    if (held != m_registered.end()) {
      if (!m_valueLists[held->second].IsNull()) return;
      // Another list at the address of one that died unannounced.
      m_registered.erase(held);
      ++m_emptied;
    }
    if (m_emptied > 16 && 2 * m_emptied > m_valueLists.GetSize()) CompactValueLists();
    m_valueLists.Add(PtrWeak<CILoadCaseValuesLst>(lst));
    m_registered[lst] = m_valueLists.GetSize() - 1;
  } catch (const std::bad_alloc&) {
    ThrowMemoryException();
  }
}

void CILoadCaseLstSyn::RemoveValueList(CILoadCaseValuesLst* lst) {
  auto held = lst ? m_registered.find(lst) : m_registered.end();
  if (held == m_registered.end()) return;
  // Emptied in place: lists die in any order, and shifting the rest each
  // time would cost a pass.
  m_valueLists[held->second].Reset();
  m_registered.erase(held);
  ++m_emptied;
}

void CILoadCaseLstSyn::CompactValueLists() {
  m_registered.clear();
  int kept = 0;
  for (int i = 0; i < m_valueLists.GetSize(); ++i) {
    if (m_valueLists[i].IsNull()) continue;
    if (kept != i) m_valueLists[kept] = m_valueLists[i];
    m_registered[m_valueLists[kept].GetRawPtr()] = kept;
    ++kept;
  }
  m_valueLists.SetSize(kept);
  m_emptied = 0;
}

}  // namespace TELMARO_DATA_OBJECTS
