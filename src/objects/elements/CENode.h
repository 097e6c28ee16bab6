// CENode: a named point of the structural model (the internal points of a
// structural beam are nodes).
//
// Record (version 1): version word (4); the CEElement record; the CGPoint
// record (x, y, z). The version word is read and not tested (one layout).
// Checksum: the name (text), then the CGPoint checksum (4 bytes).
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/elements/CEElement.h"
#include "objects/geometry/CGPoint.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace ELEMENT_OBJECTS {

const unsigned int _SerializeVersionCENode = 1;

class TELIO_EXPORT CENode : public GEOMETRY_OBJECTS::CGPoint, public CEElement {
 public:
  CENode();
  CENode(const GEOMETRY_OBJECTS::CGPoint& p, const CString& name, ulong32 flags);
  CENode(const CENode& other) = default;
  CENode& operator=(const CENode& other) = default;
  ~CENode() override;

  // A new CENode, as the element factory of a beam's internal points.
  static GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGPoint> GetNewObject();

  using CEElement::CopyFrom;
  using CEElement::CopyTo;
  using CEElement::IsEqualWith;
  using GEOMETRY_OBJECTS::CGPoint::CopyFrom;
  using GEOMETRY_OBJECTS::CGPoint::CopyTo;
  using GEOMETRY_OBJECTS::CGPoint::IsEqualWith;

  // Point and element reset.
  virtual void ResetNode();
  // The point, the name and the flags (ID and attributes stay).
  virtual void SetNode(const GEOMETRY_OBJECTS::CGPoint& p, const CString& name, ulong32 flags);
  virtual void SetNode(double x, double y, double z, const CString& name, ulong32 flags);
  // Point and element; false for null.
  virtual bool CopyTo(CENode* other) const;
  virtual bool CopyFrom(const CENode* other);
  // Elements equal (name ignoring case, flags) and points equal (0.001
  // box); false for null.
  virtual bool IsEqualWith(const CENode* other) const;

  GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGPoint> Clone() const override;
  // One override for both bases: the whole node record.
  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;
};

}  // namespace ELEMENT_OBJECTS
