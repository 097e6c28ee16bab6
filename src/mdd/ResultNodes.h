// The result structures of the result managers and the tree node each
// becomes: one node per result record.
//
// A result node bears no value; its children are field nodes, in the order
// below, each a CTreeNode<int> holding the field's kind code with exactly
// one child CTreeNode holding the value:
//
//   order  kind  value          analysis      composite     pre-check
//   1      7     int            status        status        status
//   2      1     int            number        number        number
//   3      2     CString        member name   member name   beam name
//   4      6     unsigned long  section id    section id    section id
//   5      2     CString        section name  section name  section name
//   6      5     double         ratio         ratio         ratio
//   7      3     int            check code    (none)        check code
//   then   5     double         8 values      4 values      4 values
//   last   2     CString        load-case     load-case     load-case
//                               name          name          name
#pragma once

#include "platform/CString.h"
#include "platform/CTree.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace MDD_OBJECTS {

// Result statuses (frozen: views show them).
enum : int {
  kResultPassed = 0,
  kResultFailed = 1,
  kResultNotComputed = 2,
};

// Kind codes of the field nodes (frozen).
enum : int {
  kFieldNumber = 1,
  kFieldText = 2,
  kFieldCheckCode = 3,
  kFieldValue = 5,
  kFieldSection = 6,
  kFieldStatus = 7,
};

// Index of the section identifier's field node among a result node's
// children.
const int kSectionFieldIndex = 3;

// What every result shows.
struct TELIO_EXPORT RESULT_HEAD {
  int status = kResultNotComputed;
  int number = 0;
  CString elementName;
  ulong32 section = 0;
  CString sectionName;
  int loadCase = -1;
  CString loadCaseName;
  double ratio = -1.0;
};

struct TELIO_EXPORT ANALYSIS_RESULT : RESULT_HEAD {
  int checkCode = 0xFF;
  double values[8] = {-1.0, -1.0, -1.0, -1.0, -1.0, -1.0, -1.0, -1.0};
};

struct TELIO_EXPORT ANALYSIS_COMPOSITE_RESULT : RESULT_HEAD {
  double values[4] = {-1.0, -1.0, -1.0, -1.0};
};

struct TELIO_EXPORT PRECHECK_RESULT : RESULT_HEAD {
  int checkCode = 0xFF;
  double values[4] = {-1.0, -1.0, -1.0, -1.0};
};

// The node of a result; null for a null structure.
TELIO_EXPORT CTree::Ptr CreateResultNode(const ANALYSIS_RESULT* result);
TELIO_EXPORT CTree::Ptr CreateResultNode(const ANALYSIS_COMPOSITE_RESULT* result);
TELIO_EXPORT CTree::Ptr CreateResultNode(const PRECHECK_RESULT* result);

// The value node of field `field` of a result node (null when missing).
TELIO_EXPORT CTree::Ptr ResultFieldValue(const CTree& resultNode, int field);

}  // namespace MDD_OBJECTS
