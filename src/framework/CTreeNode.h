// CTreeNode<T>: a tree node that carries a shared value (int, unsigned
// long, double or CString). Result trees are built from these.
#pragma once

#include <type_traits>

#include "framework/PtrStrong.h"
#include "platform/CCheckSum.h"
#include "platform/CString.h"
#include "platform/CTree.h"
#include "platform/Types.h"

template <class T>
class CTreeNode : public CTree, public GE_::Safe::ObjStrong {
 public:
  typedef GE_::Safe::PtrStrong<T> ValuePtr;
  typedef GE_::Safe::PtrStrong<CTreeNode> NodePtr;

  CTreeNode() = default;
  explicit CTreeNode(const T& value) : m_value(new T(value)) {}
  explicit CTreeNode(const ValuePtr& value) : m_value(value) {}
  ~CTreeNode() override = default;

  ValuePtr GetValue() const { return m_value; }
  void SetValue(const ValuePtr& value) { m_value = value; }
  // True while a copy is appending its children.
  bool IsAppending() const { return m_bAppending; }

  // A new node with a new copy of the value and deep copies of the children.
  virtual NodePtr CopyDeep() const { return CopyNode(true); }
  // A new node sharing the value, with shallow copies of the children.
  virtual NodePtr CopyShallow() const { return CopyNode(false); }
  // The value's checksum (4 bytes), the child count, each child's checksum.
  virtual ulong32 CheckSum() const { return NodeCheckSum(true); }
  // As CheckSum without any value.
  virtual ulong32 CheckSumStructure() const { return NodeCheckSum(false); }

  CTree::Ptr CopyTree(bool deep) const override { return CTree::Ptr(CopyNode(deep)); }
  ulong32 TreeCheckSum(bool withValues) const override { return NodeCheckSum(withValues); }

 private:
  NodePtr CopyNode(bool deep) const {
    NodePtr copy(new CTreeNode);
    if (!m_value.IsNull()) copy->m_value = deep ? ValuePtr(new T(*m_value)) : m_value;
    copy->m_bAppending = true;
    AppendCopiesOfChildrenTo(copy.GetPtr(), deep);
    copy->m_bAppending = false;
    return copy;
  }

  ulong32 ValueCheckSum() const {
    if (m_value.IsNull()) return 0;
    CCheckSum sum;
    if constexpr (std::is_same<T, CString>::value) {
      sum.Add(*m_value);
    } else if constexpr (std::is_floating_point<T>::value) {
      sum.AddF64(static_cast<double>(*m_value));
    } else {
      sum.AddU32(static_cast<ulong32>(*m_value));
    }
    return sum.get();
  }

  ulong32 NodeCheckSum(bool withValue) const {
    CCheckSum sum;
    if (withValue) sum.AddU32(ValueCheckSum());
    FeedChildren(sum, withValue);
    return sum.get();
  }

  ValuePtr m_value;
  bool m_bAppending = false;
};
