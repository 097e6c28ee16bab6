// CTree: the utility library's tree node. Children are held by strong
// pointers, so a subtree lives as long as any parent or outside pointer
// holds it. Nodes derived from ObjStrong (CTreeNode) share their intrusive
// count; a plain CTree handed in by address gets a count block of its own,
// so hand each plain node in once.
#pragma once

#include "framework/PtrStrong.h"
#include "platform/CCheckSum.h"
#include "platform/CArray.h"
#include "platform/Export.h"
#include "platform/Types.h"

class TELIO_EXPORT CTree {
 public:
  typedef GE_::Safe::PtrStrong<CTree> Ptr;
  typedef CArray<Ptr, const Ptr&> NodeArray;

  CTree();
  CTree(const CTree&) = delete;
  CTree& operator=(const CTree&) = delete;
  virtual ~CTree();

  // Appends node as the last child and returns it; null adds nothing.
  CTree* AddNode(CTree* node);
  int GetCountNodes() const;
  // Child i, or a null pointer when i is out of range.
  Ptr GetNodeAt(int i) const;
  // Puts node in place of child i and returns it; null (and no change) when
  // i is out of range or node is null.
  CTree* ReplaceNodeAt(int i, CTree* node);
  // Appends the live nodes of the array in order; 0 for a null array.
  int AppendNodes(CArray<Ptr, const Ptr&>* nodes);

  // A copy of the subtree. deep: values are copied too (nodes that carry
  // values override this); otherwise values are shared.
  virtual Ptr CopyTree(bool deep) const;
  // Checksum of the subtree; withValues false gives the structure alone.
  virtual ulong32 TreeCheckSum(bool withValues) const;

 protected:
  // Drops all children.
  virtual void Release();
  // Appends copies of this node's children to target.
  void AppendCopiesOfChildrenTo(CTree* target, bool deep) const;
  // Feeds the child count and each child's checksum.
  void FeedChildren(CCheckSum& sum, bool withValues) const;

 private:
  NodeArray m_nodes;
};
