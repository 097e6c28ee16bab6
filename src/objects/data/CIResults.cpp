#include "objects/data/CIResults.h"

#include "platform/CCheckSum.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrStrong;

CIResults::CIResults() = default;

CIResults::~CIResults() = default;

int CIResults::GetCountResults() const { return m_tree.IsNull() ? 0 : m_tree->GetCountNodes(); }

CTree::Ptr CIResults::GetResultAt(int i) const { return m_tree.IsNull() ? CTree::Ptr() : m_tree->GetNodeAt(i); }

CString CIResults::GetTitle() const { return m_manager.IsNull() ? CString() : m_manager->GetTitle(); }

int CIResults::Select(int i) {
  if (i < 0 || i >= GetCountResults()) return 0;
  int at = 0;
  while (at < m_selected.GetSize() && m_selected[at] < i) ++at;
  if (at < m_selected.GetSize() && m_selected[at] == i) return 1;
  m_selected.InsertAt(at, i);
  return 1;
}

int CIResults::UnSelect(int i) {
  for (int k = 0; k < m_selected.GetSize(); ++k) {
    if (m_selected[k] == i) {
      m_selected.RemoveAt(k);
      return 1;
    }
  }
  return 0;
}

int CIResults::IsSelected(int i) const {
  for (int k = 0; k < m_selected.GetSize(); ++k) {
    if (m_selected[k] == i) return 1;
  }
  return 0;
}

int CIResults::GetSelectedAt(int k) const { return (k >= 0 && k < m_selected.GetSize()) ? m_selected[k] : -1; }

void CIResults::CutSelection() {
  const int count = GetCountResults();
  while (m_selected.GetSize() > 0 && m_selected[m_selected.GetSize() - 1] >= count) {
    m_selected.RemoveAt(m_selected.GetSize() - 1);
  }
}

int CIResults::Replace(const CTree::Ptr& fresh, const int* list, int n, bool keepWhenNone) {
  const bool whole = !list || n < 1 || m_tree.IsNull();
  if (fresh.IsNull()) {
    if (whole && !keepWhenNone) {
      m_tree.Reset();
      m_selected.RemoveAll();
    }
    return Exists();
  }
  if (whole) {
    m_tree = fresh;
    CutSelection();
    return Exists();
  }
  for (int k = 0; k < n; ++k) {
    CTree::Ptr node = fresh->GetNodeAt(list[k]);
    if (!node.IsNull()) m_tree->ReplaceNodeAt(list[k], node.GetPtr());
  }
  return Exists();
}

int CIResults::Refresh(const int* list, int n) {
  if (m_manager.IsNull()) return Exists();
  return Replace(m_manager->GenerateResults(), list, n, false);
}

int CIResults::Reset(const int* list, int n) {
  if (m_manager.IsNull()) return Exists();
  return Replace(m_manager->ResetResults(), list, n, true);
}

int CIResults::RefreshSelected() {
  if (m_selected.IsEmpty()) return Exists();
  CArray<int, int> list;
  list.Copy(m_selected);
  return Refresh(list.GetData(), list.GetSize());
}

int CIResults::ResetSelected() {
  if (m_selected.IsEmpty()) return Exists();
  CArray<int, int> list;
  list.Copy(m_selected);
  return Reset(list.GetData(), list.GetSize());
}

int CIResults::Validate() {
  if (m_tree.IsNull()) Refresh(nullptr, 0);
  return Exists();
}

void CIResults::UpdateChanges() {
  if (!m_manager.IsNull()) m_manager->UpdateChanges(m_tree.GetPtr());
}

int CIResults::IsResultDirty(int i) const { return m_manager.IsNull() ? 0 : m_manager->IsResultDirty(i); }

ulong32 CIResults::CheckSum() const {
  CCheckSum sum;
  if (!m_tree.IsNull()) sum.AddU32(m_tree->TreeCheckSum(true));
  if (!m_manager.IsNull()) sum.AddU32(m_manager->CheckSum());
  return sum.get();
}

CIResultsArray::CIResultsArray() : m_selected(-1) {}

CIResultsArray::~CIResultsArray() = default;

void CIResultsArray::SetSelected(int i) {
  if (i >= 0 && i < GetSize()) m_selected = i;
}

CIResultsArray::ResultsPtr CIResultsArray::GetResultsAt(int i) const {
  return (i >= 0 && i < GetSize()) ? GetAt(i) : ResultsPtr();
}

CIResultsArray::ResultsPtr CIResultsArray::GetResultsAtGrow(int i) {
  if (i < 0) return ResultsPtr();
  while (GetSize() <= i) {
    ResultsPtr fresh(new CIResults);
    Add(fresh);
  }
  if (GetAt(i).IsNull()) SetAt(i, ResultsPtr(new CIResults));
  return GetAt(i);
}

int CIResultsArray::Exists() const {
  for (int i = 0; i < GetSize(); ++i) {
    if (!GetAt(i).IsNull() && GetAt(i)->Exists()) return 1;
  }
  return 0;
}

ulong32 CIResultsArray::CheckSumSelected() const {
  CCheckSum sum;
  sum.AddI32(m_selected);
  ResultsPtr selected = GetSelectedResults();
  if (!selected.IsNull()) sum.AddU32(selected->CheckSum());
  return sum.get();
}

}  // namespace TELMARO_DATA_OBJECTS
