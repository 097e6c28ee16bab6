// CEBeam: a named line of the structural model; its internal points are
// nodes (CENode).
//
// Record (version 1): version word (4); the CEElement record; the CGLine
// record (its internal-point list, whose elements are node records). The
// version word is read and not tested (one layout).
// Checksum: the name (text), then the CGLine checksum (4 bytes).
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/elements/CEElement.h"
#include "objects/geometry/CGLine.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace ELEMENT_OBJECTS {

const unsigned int _SerializeVersionCEBeam = 1;

class TELIO_EXPORT CEBeam : public GEOMETRY_OBJECTS::CGLine, public CEElement {
 public:
  CEBeam();
  CEBeam(const CEBeam& other) = default;
  CEBeam& operator=(const CEBeam& other) = default;
  ~CEBeam() override;

  // A new CEBeam, as the element factory of a member's internal beams.
  static GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGLine> GetNewObject();

  using CEElement::CopyFrom;
  using CEElement::CopyTo;
  using CEElement::IsEqualWith;
  using GEOMETRY_OBJECTS::CGLine::CopyFrom;
  using GEOMETRY_OBJECTS::CGLine::CopyTo;
  using GEOMETRY_OBJECTS::CGLine::IsEqualWith;

  // Element and line reset.
  virtual void ResetBeam();
  // The line's end points (through SetLine), the name and the flags; the
  // attributes become 0 and the ID stays. value is not kept.
  virtual void SetBeam(const GEOMETRY_OBJECTS::CGLine& line, const CString& name, double value, ulong32 flags);
  virtual void SetBeam(const GEOMETRY_OBJECTS::CGPoint& s, const GEOMETRY_OBJECTS::CGPoint& e, const CString& name,
                       double value, ulong32 flags);
  // Line (with copies of its internal points) and element; false for null.
  virtual bool CopyTo(CEBeam* other) const;
  virtual bool CopyFrom(const CEBeam* other);
  // Elements equal and lines equal (CGLine::IsEqualWith); false for null.
  virtual bool IsEqualWith(const CEBeam* other) const;

  GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGLine> Clone() const override;
  // One override for both bases: the whole beam record.
  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;

 protected:
  // Makes the internal-point list with nodes as its elements.
  void EnsureValidIntPntLst() override;
};

}  // namespace ELEMENT_OBJECTS
