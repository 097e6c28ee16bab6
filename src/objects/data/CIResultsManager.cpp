#include "objects/data/CIResultsManager.h"

#include "platform/CCheckSum.h"
#include "platform/CException.h"

namespace TELMARO_DATA_OBJECTS {

CIResultsManager::CIResultsManager() : m_lock(0), m_checkSum(0) {}

CIResultsManager::~CIResultsManager() = default;

void CIResultsManager::SetEditableColumns(const int* flags, int count) {
  m_editable.RemoveAll();
  if (!flags || count < 1) return;
  try {
    m_editable.SetSize(count);
  } catch (CMemoryException*) {
    m_editable.RemoveAll();
    throw;
  }
  for (int i = 0; i < count; ++i) m_editable[i] = flags[i];
}

int CIResultsManager::IsEditable() const {
  if (m_lock) return 0;
  for (int i = 0; i < m_editable.GetSize(); ++i) {
    if (m_editable[i]) return 1;
  }
  return 0;
}

int CIResultsManager::IsEditableCol(int i) const {
  return !m_lock && i >= 0 && i < m_editable.GetSize() && m_editable[i] ? 1 : 0;
}

int CIResultsManager::IsResultDirty(int) const { return 0; }

ulong32 CIResultsManager::CheckSum() const {
  CCheckSum sum;
  sum.AddI32(m_editable.GetSize());
  for (int i = 0; i < m_editable.GetSize(); ++i) sum.AddI32(m_editable[i]);
  sum.Add(m_columns);
  sum.AddI32(m_lock);
  return sum.get();
}

void CIResultsManager::Initialize() {}

CTree::Ptr CIResultsManager::GenerateResults() { return CTree::Ptr(); }

CTree::Ptr CIResultsManager::ResetResults() { return CTree::Ptr(); }

void CIResultsManager::UpdateChanges(CTree*) {}

}  // namespace TELMARO_DATA_OBJECTS
