// CIResultsManager: the base of the managers that turn the result records of
// a design computation into result trees; it holds the title, the column
// description and editable columns of the result view, the edit lock and the
// dirty state.
//
// The dirty state compares CheckSum() (virtual: each manager says what its
// results depend on) with the value stored by the last ResetDirty(); the
// managers never call ResetDirty themselves, the view does.
#pragma once

#include "framework/PtrStrong.h"
#include "platform/CArray.h"
#include "platform/CString.h"
#include "platform/CTree.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

class TELIO_EXPORT CIResultsManager : public GE_::Safe::ObjStrong {
 public:
  CIResultsManager();
  ~CIResultsManager() override;

  CString GetTitle() const { return m_title; }
  void SetTitle(const CString& title) { m_title = title; }
  CString GetColumnsString() const { return m_columns; }
  void SetColumnsString(const CString& columns) { m_columns = columns; }
  // The editable-column flags, one per column (nonzero: editable); count < 1
  // or null flags clear them. Throws CMemoryException* when memory is short
  // (the flags are then cleared).
  void SetEditableColumns(const int* flags, int count);
  void ClearColumns() { m_editable.RemoveAll(); }
  int GetCountColumns() const { return m_editable.GetSize(); }
  int IsLockEdit() const { return m_lock; }
  void LockEdit(int lock) { m_lock = lock; }
  // Not locked and at least one column editable.
  int IsEditable() const;
  // Not locked, i a column and its flag set; 0 out of range.
  int IsEditableCol(int i) const;

  // CheckSum() differs from the value stored by ResetDirty (0 at first).
  int IsDirty() const { return CheckSum() != m_checkSum ? 1 : 0; }
  void ResetDirty() { m_checkSum = CheckSum(); }

  // --- virtual operations, in slot order ---
  // Whether result i is out of date; the base has no results: 0.
  virtual int IsResultDirty(int i) const;
  // The base feeds the column count (4), each column flag (4), the column
  // description (text) and the lock (4).
  virtual ulong32 CheckSum() const;
  // Sets the title and columns a manager starts with; the base does nothing.
  virtual void Initialize();
  // A new result tree, or null when there are no results. The tree is
  // handed out through a strong pointer (the caller shares it; nothing is
  // to be freed).
  virtual CTree::Ptr GenerateResults();
  // A new tree showing the results as they were before any edit, or null.
  virtual CTree::Ptr ResetResults();
  // Carries the edits shown in tree back into the results; the base does
  // nothing.
  virtual void UpdateChanges(CTree* tree);

 private:
  CIResultsManager(const CIResultsManager&) = delete;
  CIResultsManager& operator=(const CIResultsManager&) = delete;

  CString m_title;
  CArray<int, int> m_editable;
  CString m_columns;
  int m_lock;
  ulong32 m_checkSum;
};

}  // namespace TELMARO_DATA_OBJECTS
