// CMDDNode: an intermediate point of a member design beam (a node) with the
// forces of every load case there (a CMDDLoadCaseValuesLst).
//
// Record (version 1): version word (4); the CENode record; the values list
// record (CILoadCaseValuesLst). The list is read only for version 1 (made
// first when missing).
// Checksum: the CENode checksum, then the values list's (4 bytes each).
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/data/CILoadCaseLstSyn.h"
#include "objects/data/CILoadCaseValues.h"
#include "objects/elements/CENode.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace MDD_OBJECTS {

const unsigned int _SerializeVersionCMDDNode = 1;

class TELIO_EXPORT CMDDNode : public ELEMENT_OBJECTS::CENode {
 public:
  typedef GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CILoadCaseValuesLst> ValuesLstPtr;

  CMDDNode();
  // A copy holds copies of the other node's value sets.
  CMDDNode(const CMDDNode& other);
  explicit CMDDNode(const CMDDNode* other);
  // The node through CENode::SetNode(point, name, id): id becomes the flag
  // word.
  CMDDNode(const GEOMETRY_OBJECTS::CGPoint& point, const CString& name, ulong32 id);
  CMDDNode& operator=(const CMDDNode& other);
  ~CMDDNode() override;

  // A new CMDDNode, as the element factory of the internal points of member
  // design beams and members.
  static GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGPoint> GetNewObject();

  // The forces of every load case here (never null unless a caller damaged
  // the node).
  TELMARO_DATA_OBJECTS::CILoadCaseValuesLst* GetLoadCaseValuesLst() const { return m_values.GetPtr(); }

  using ELEMENT_OBJECTS::CENode::CopyFrom;
  using ELEMENT_OBJECTS::CENode::CopyTo;
  using ELEMENT_OBJECTS::CENode::IsEqualWith;
  // The node and copies of the value sets; false for null.
  bool CopyFrom(const CMDDNode* other);
  bool CopyTo(CMDDNode* other) const;
  // Nodes equal (CENode) and value lists equal; false for null.
  bool IsEqualWith(const CMDDNode* other) const;

  // Point and element reset; the values list made when missing and
  // synchronised with no load-case list (which empties it).
  void ResetNode() override;
  GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGPoint> Clone() const override;
  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;

 protected:
  virtual void EnsureValidLoadCaseValueLst();

 private:
  ValuesLstPtr m_values;
};

}  // namespace MDD_OBJECTS
