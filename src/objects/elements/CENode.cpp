#include "objects/elements/CENode.h"

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace ELEMENT_OBJECTS {

using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGPoint;

CENode::CENode() = default;

CENode::CENode(const CGPoint& p, const CString& name, ulong32 flags) { SetNode(p, name, flags); }

CENode::~CENode() = default;

PtrStrong<CGPoint> CENode::GetNewObject() { return PtrStrong<CGPoint>(new CENode); }

void CENode::ResetNode() {
  ResetPoint();
  ResetElement();
}

void CENode::SetNode(const CGPoint& p, const CString& name, ulong32 flags) { SetNode(p.X(), p.Y(), p.Z(), name, flags); }

void CENode::SetNode(double x, double y, double z, const CString& name, ulong32 flags) {
  SetCoord(x, y, z);
  SetName(name);
  *PFlags() = flags;
}

bool CENode::CopyTo(CENode* other) const { return other && other->CopyFrom(this); }

bool CENode::CopyFrom(const CENode* other) {
  if (!other) return false;
  CGPoint::CopyFrom(static_cast<const CGPoint*>(other));
  CEElement::CopyFrom(static_cast<const CEElement*>(other));
  return true;
}

bool CENode::IsEqualWith(const CENode* other) const {
  return other && CEElement::IsEqualWith(static_cast<const CEElement*>(other)) &&
         CGPoint::IsEqualWith(static_cast<const CGPoint*>(other));
}

PtrStrong<CGPoint> CENode::Clone() const { return PtrStrong<CGPoint>(new CENode(*this)); }

bool CENode::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCENode;
  io.Version(version);
  if (load) {
    CGPoint::ResetPoint();
    CEElement::ResetElement();
  }
  if (!io.ok()) return false;
  return CEElement::Serialize(f, load) && CGPoint::Serialize(f, load);
}

ulong32 CENode::CheckSum() const {
  CCheckSum sum;
  sum.Add(NameRef());
  sum.AddU32(CGPoint::CheckSum());
  return sum.get();
}

}  // namespace ELEMENT_OBJECTS
