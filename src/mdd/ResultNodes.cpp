#include "mdd/ResultNodes.h"

#include "framework/CTreeNode.h"

namespace MDD_OBJECTS {

namespace {

template <class T>
void AddField(CTree& node, int kind, const T& value) {
  CTree* field = node.AddNode(new CTreeNode<int>(kind));
  field->AddNode(new CTreeNode<T>(value));
}

// The fields every result starts with, up to the ratio.
CTree::Ptr NewResultNode(const RESULT_HEAD& r) {
  CTree::Ptr node(new CTreeNode<int>);
  AddField(*node, kFieldStatus, r.status);
  AddField(*node, kFieldNumber, r.number);
  AddField(*node, kFieldText, r.elementName);
  AddField(*node, kFieldSection, static_cast<unsigned long>(r.section));
  AddField(*node, kFieldText, r.sectionName);
  AddField(*node, kFieldValue, r.ratio);
  return node;
}

template <int N>
CTree::Ptr FinishResultNode(CTree::Ptr node, const double (&values)[N], const CString& loadCaseName) {
  for (double v : values) AddField(*node, kFieldValue, v);
  AddField(*node, kFieldText, loadCaseName);
  return node;
}

}  // namespace

CTree::Ptr CreateResultNode(const ANALYSIS_RESULT* r) {
  if (!r) return CTree::Ptr();
  CTree::Ptr node = NewResultNode(*r);
  AddField(*node, kFieldCheckCode, r->checkCode);
  return FinishResultNode(node, r->values, r->loadCaseName);
}

CTree::Ptr CreateResultNode(const ANALYSIS_COMPOSITE_RESULT* r) {
  if (!r) return CTree::Ptr();
  return FinishResultNode(NewResultNode(*r), r->values, r->loadCaseName);
}

CTree::Ptr CreateResultNode(const PRECHECK_RESULT* r) {
  if (!r) return CTree::Ptr();
  CTree::Ptr node = NewResultNode(*r);
  AddField(*node, kFieldCheckCode, r->checkCode);
  return FinishResultNode(node, r->values, r->loadCaseName);
}

CTree::Ptr ResultFieldValue(const CTree& resultNode, int field) {
  CTree::Ptr f = resultNode.GetNodeAt(field);
  return f.IsNull() ? CTree::Ptr() : f->GetNodeAt(0);
}

}  // namespace MDD_OBJECTS
