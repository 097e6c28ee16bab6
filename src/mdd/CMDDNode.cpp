#include "mdd/CMDDNode.h"

#include "framework/Persist.h"
#include "mdd/CMDDLoadCaseValues.h"
#include "platform/CCheckSum.h"

namespace MDD_OBJECTS {

using ELEMENT_OBJECTS::CENode;
using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGPoint;

CMDDNode::CMDDNode() { EnsureValidLoadCaseValueLst(); }

CMDDNode::CMDDNode(const CMDDNode& other) : ObjStrong_base(), CENode(other) {
  EnsureValidLoadCaseValueLst();
  if (other.m_values) m_values->CopyFrom(other.m_values.GetPtr());
}

CMDDNode::CMDDNode(const CMDDNode* other) {
  EnsureValidLoadCaseValueLst();
  CopyFrom(other);
}

CMDDNode::CMDDNode(const CGPoint& point, const CString& name, ulong32 id) {
  SetNode(point, name, id);
  EnsureValidLoadCaseValueLst();
}

CMDDNode& CMDDNode::operator=(const CMDDNode& other) {
  CopyFrom(&other);
  return *this;
}

CMDDNode::~CMDDNode() = default;

PtrStrong<CGPoint> CMDDNode::GetNewObject() { return PtrStrong<CGPoint>(new CMDDNode); }

void CMDDNode::EnsureValidLoadCaseValueLst() {
  if (m_values.IsNull()) m_values = CMDDLoadCaseValuesLst::GetNewObject();
}

bool CMDDNode::CopyFrom(const CMDDNode* other) {
  if (!other) return false;
  if (other == this) return true;
  CENode::CopyFrom(static_cast<const CENode*>(other));
  EnsureValidLoadCaseValueLst();
  if (other->m_values) {
    m_values->CopyFrom(other->m_values.GetPtr());
  } else {
    m_values->RemoveLCValuesAll();
  }
  return true;
}

bool CMDDNode::CopyTo(CMDDNode* other) const { return other && other->CopyFrom(this); }

bool CMDDNode::IsEqualWith(const CMDDNode* other) const {
  if (!other || !CENode::IsEqualWith(static_cast<const CENode*>(other))) return false;
  if (m_values.IsNull() || other->m_values.IsNull()) return m_values.IsNull() == other->m_values.IsNull();
  return m_values->IsEqualWith(other->m_values.GetPtr());
}

void CMDDNode::ResetNode() {
  CENode::ResetNode();
  EnsureValidLoadCaseValueLst();
  m_values->SynchronizeLCValues(nullptr);
}

PtrStrong<CGPoint> CMDDNode::Clone() const { return PtrStrong<CGPoint>(new CMDDNode(*this)); }

bool CMDDNode::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCMDDNode;
  io.Version(version);
  EnsureValidLoadCaseValueLst();
  if (load) m_values->RemoveLCValuesAll();
  if (!io.ok() || !CENode::Serialize(f, load)) return false;
  if (load && version != _SerializeVersionCMDDNode) return true;
  return m_values->Serialize(f, load);
}

ulong32 CMDDNode::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CENode::CheckSum());
  sum.AddU32(CheckSumOf(m_values));
  return sum.get();
}

}  // namespace MDD_OBJECTS
