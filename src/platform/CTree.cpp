#include "platform/CTree.h"

#include "platform/CCheckSum.h"

CTree::CTree() = default;

CTree::~CTree() { m_nodes.RemoveAll(); }

CTree* CTree::AddNode(CTree* node) {
  if (!node) return nullptr;
  Ptr p(node);
  m_nodes.Add(p);
  return node;
}

int CTree::GetCountNodes() const { return m_nodes.GetSize(); }

CTree::Ptr CTree::GetNodeAt(int i) const {
  if (i < 0 || i >= m_nodes.GetSize()) return Ptr();
  return m_nodes.GetAt(i);
}

CTree* CTree::ReplaceNodeAt(int i, CTree* node) {
  if (!node || i < 0 || i >= m_nodes.GetSize()) return nullptr;
  Ptr p(node);
  m_nodes.SetAt(i, p);
  return node;
}

int CTree::AppendNodes(NodeArray* nodes) {
  if (!nodes) return 0;
  for (int i = 0; i < nodes->GetSize(); ++i) {
    if (!nodes->GetAt(i).IsNull()) m_nodes.Add(nodes->GetAt(i));
  }
  return 1;
}

CTree::Ptr CTree::CopyTree(bool deep) const {
  Ptr copy(new CTree);
  AppendCopiesOfChildrenTo(copy.GetPtr(), deep);
  return copy;
}

ulong32 CTree::TreeCheckSum(bool withValues) const {
  CCheckSum sum;
  FeedChildren(sum, withValues);
  return sum.get();
}

void CTree::Release() { m_nodes.RemoveAll(); }

void CTree::AppendCopiesOfChildrenTo(CTree* target, bool deep) const {
  for (int i = 0; i < m_nodes.GetSize(); ++i) {
    const Ptr& child = m_nodes.GetAt(i);
    if (child.IsNull()) continue;
    Ptr copy = child->CopyTree(deep);
    target->m_nodes.Add(copy);
  }
}

void CTree::FeedChildren(CCheckSum& sum, bool withValues) const {
  sum.AddU32(static_cast<ulong32>(m_nodes.GetSize()));
  for (int i = 0; i < m_nodes.GetSize(); ++i) {
    const Ptr& child = m_nodes.GetAt(i);
    sum.AddU32(child.IsNull() ? 0u : child->TreeCheckSum(withValues));
  }
}
