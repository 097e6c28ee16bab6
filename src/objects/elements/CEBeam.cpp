#include "objects/elements/CEBeam.h"

#include "framework/Persist.h"
#include "objects/elements/CENode.h"
#include "platform/CCheckSum.h"

namespace ELEMENT_OBJECTS {

using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGLine;
using GEOMETRY_OBJECTS::CGPoint;

CEBeam::CEBeam() = default;

CEBeam::~CEBeam() = default;

PtrStrong<CGLine> CEBeam::GetNewObject() { return PtrStrong<CGLine>(new CEBeam); }

void CEBeam::ResetBeam() {
  ResetElement();
  ResetLine();
}

void CEBeam::SetBeam(const CGLine& line, const CString& name, double value, ulong32 flags) {
  SetBeam(line.SPoint(), line.EPoint(), name, value, flags);
}

void CEBeam::SetBeam(const CGPoint& s, const CGPoint& e, const CString& name, double, ulong32 flags) {
  SetLine(s, e);
  SetElement(name, flags, 0);
}

bool CEBeam::CopyTo(CEBeam* other) const { return other && other->CopyFrom(this); }

bool CEBeam::CopyFrom(const CEBeam* other) {
  if (!other) return false;
  CGLine::CopyFrom(static_cast<const CGLine*>(other));
  CEElement::CopyFrom(static_cast<const CEElement*>(other));
  return true;
}

bool CEBeam::IsEqualWith(const CEBeam* other) const {
  return other && CEElement::IsEqualWith(static_cast<const CEElement*>(other)) &&
         CGLine::IsEqualWith(static_cast<const CGLine*>(other));
}

PtrStrong<CGLine> CEBeam::Clone() const { return PtrStrong<CGLine>(new CEBeam(*this)); }

bool CEBeam::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCEBeam;
  io.Version(version);
  if (load) {
    CEElement::ResetElement();
    CGLine::ResetLine();
  }
  if (!io.ok()) return false;
  return CEElement::Serialize(f, load) && CGLine::Serialize(f, load);
}

ulong32 CEBeam::CheckSum() const {
  CCheckSum sum;
  sum.Add(NameRef());
  sum.AddU32(CGLine::CheckSum());
  return sum.get();
}

void CEBeam::EnsureValidIntPntLst() {
  if (m_pIntPnts.IsNull()) {
    m_pIntPnts = new GEOMETRY_OBJECTS::CGPointLst(GEOMETRY_OBJECTS::kIntPntsLstFlags, &CENode::GetNewObject);
  }
}

}  // namespace ELEMENT_OBJECTS
