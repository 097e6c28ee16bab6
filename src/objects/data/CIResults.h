// CIResults: one result view: the result tree its manager generated, the
// manager, and the results the user selected. CIResultsArray: the result
// views of a project (slot 0 the section pre-check, 1 the member analysis,
// 2 the composite member analysis) with the selected slot.
//
// The tree is one child node per result under a root that bears the
// manager's title (see the managers for the node layout); result i is child
// i. The views regenerate or update the tree only through the manager, so a
// view without a manager shows nothing new.
#pragma once

#include "framework/CArrayExPointers.h"
#include "framework/PtrStrong.h"
#include "objects/data/CIResultsManager.h"
#include "platform/CArray.h"
#include "platform/CString.h"
#include "platform/CTree.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

class TELIO_EXPORT CIResults : public GE_::Safe::ObjStrong {
 public:
  CIResults();
  ~CIResults() override;

  CTree::Ptr GetResultsTree() const { return m_tree; }
  void SetResultsTree(const CTree::Ptr& tree) { m_tree = tree; }
  CIResultsManager* GetResultsManager() const { return m_manager.GetPtr(); }
  void SetResultsManager(const GE_::Safe::PtrStrong<CIResultsManager>& manager) { m_manager = manager; }

  // The tree is live and has result nodes.
  int Exists() const { return GetCountResults() > 0 ? 1 : 0; }
  // The number of result nodes; 0 without a tree.
  int GetCountResults() const;
  // Result node i, or null.
  CTree::Ptr GetResultAt(int i) const;
  // The manager's title (empty without one).
  CString GetTitle() const;

  // The selection: indices of result nodes, kept ascending, each once.
  // Select adds i when it is a result (1), UnSelect removes it (1 when it
  // was selected); both give 0 otherwise. Throws CMemoryException* when
  // memory is short (the selection is then unchanged).
  int Select(int i);
  int UnSelect(int i);
  int IsSelected(int i) const;
  int GetCountSelected() const { return m_selected.GetSize(); }
  // The k-th selected index, or -1.
  int GetSelectedAt(int k) const;
  void ClearSelection() { m_selected.RemoveAll(); }

  // Refresh: a new tree from the manager's GenerateResults; Reset: from its
  // ResetResults (the results as before any edit). With a null list or
  // n < 1, or without a tree so far, the whole tree is replaced and the
  // selection cut to the new results; otherwise only the listed result
  // nodes that both trees hold are replaced. When the manager gives no
  // tree, a whole Refresh drops the tree (the results are gone) and every
  // other case changes nothing. 1 when a tree with results remains.
  int Refresh(const int* list, int n);
  int Reset(const int* list, int n);
  // Refresh and Reset of the selected results.
  int RefreshSelected();
  int ResetSelected();
  // Generates the tree when there is none; 1 when results exist.
  int Validate();
  // Hands the tree to the manager, which carries its edits back.
  void UpdateChanges();
  // The manager's IsResultDirty(i); 0 without a manager.
  int IsResultDirty(int i) const;

  // The tree's checksum (4) when the tree is live, then the manager's (4)
  // when it is live. The selection is not fed.
  virtual ulong32 CheckSum() const;

 private:
  CIResults(const CIResults&) = delete;
  CIResults& operator=(const CIResults&) = delete;

  // Replaces the listed nodes (or the whole tree) by those of fresh.
  int Replace(const CTree::Ptr& fresh, const int* list, int n, bool keepWhenNone);
  void CutSelection();

  CTree::Ptr m_tree;
  GE_::Safe::PtrStrong<CIResultsManager> m_manager;
  CArray<int, int> m_selected;
};

class TELIO_EXPORT CIResultsArray : public CArrayExPointers<GE_::Safe::PtrStrong<CIResults>> {
 public:
  typedef GE_::Safe::PtrStrong<CIResults> ResultsPtr;

  CIResultsArray();
  ~CIResultsArray() override;

  // i becomes the selected slot; ignored unless 0 <= i < count.
  void SetSelected(int i);
  // The selected slot, -1 when none.
  int GetSelected() const { return m_selected; }
  ResultsPtr GetSelectedResults() const { return GetResultsAt(m_selected); }
  // Slot i, or null.
  ResultsPtr GetResultsAt(int i) const;
  // Slot i, the array first grown to i + 1 slots filled with new results
  // when needed; null for i < 0. Throws CMemoryException* when memory is
  // short.
  ResultsPtr GetResultsAtGrow(int i);
  int GetCountResults() const { return GetSize(); }
  // Some slot's results exist.
  int Exists() const;

  // The selected index (4), then the selected results' checksum (4) when
  // they are live.
  virtual ulong32 CheckSumSelected() const;

 private:
  int m_selected;
};

}  // namespace TELMARO_DATA_OBJECTS
