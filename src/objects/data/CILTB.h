// CILTB: a lateral-torsional buckling restraint at a position along a
// member line, with its two end conditions: KType for the effective-length
// factor k, KwType for the warping factor kw (1 or 2 each).
//
// Record (version 1): version word (4); the CEElement record; position (8);
// KType (4, signed); KwType (4, signed). The types are read as stored, so
// a restraint read with a type other than 1 or 2 does not exist.
// Loading a record of another version leaves the restraint reset (position
// 0, types 2), the stream after the version word.
// Checksum: the position's checksum (CGDistance), KType, KwType (4 bytes
// each). The element part is not fed.
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/elements/CEElement.h"
#include "objects/geometry/CGDistance.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCILTB = 1;

// The end conditions of a restraint (frozen: records hold them).
enum : int {
  kLTBType1 = 1,
  kLTBType2 = 2,
};

class TELIO_EXPORT CILTB : public GEOMETRY_OBJECTS::CGDistance, public ELEMENT_OBJECTS::CEElement {
 public:
  CILTB();
  // Types through the setters (anything but 1 or 2 becomes 2).
  CILTB(double position, int kType, int kwType);
  // A copy belongs to no list.
  CILTB(const CILTB& other);
  // As CopyFrom.
  CILTB& operator=(const CILTB& other);
  ~CILTB() override;

  int KType() const { return m_kType; }
  int KwType() const { return m_kwType; }
  int* PKType() { return &m_kType; }
  int* PKwType() { return &m_kwType; }
  // The type when it is 1 or 2, else 2.
  void SetKType(int t);
  void SetKwType(int t);
  void SetLTB(int kType, int kwType);
  // The position (the list decides, see CGDistance::SetDistance), then the
  // types. The result is that of SetDistance.
  int SetLTBAt(double position, int kType, int kwType);
  int SetLTBAt(const GEOMETRY_OBJECTS::CGPoint& at, int kType, int kwType);

  using CEElement::CopyFrom;
  using CEElement::CopyTo;
  using CEElement::IsEqualWith;
  using CGDistance::CopyFrom;
  using CGDistance::CopyTo;
  using CGDistance::IsEqualWith;

  // Positions equal within 0.001 and both types equal. False for null.
  bool IsEqualWith(const CILTB* other) const;
  // Both types equal, wherever the two stand. False for null.
  bool MatchWith(const CILTB* other) const;
  // Position (through SetDistance), element and types. False for null.
  bool CopyFrom(const CILTB* other);
  bool CopyTo(CILTB* other) const;

  GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGDistance> Clone() const override;
  // One override for both bases: the whole restraint record.
  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;
  // 1 when KType and KwType are both 1 or 2.
  virtual int Exists() const;

 private:
  int m_kType;
  int m_kwType;
};

}  // namespace TELMARO_DATA_OBJECTS
