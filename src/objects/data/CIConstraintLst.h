// CIConstraintLst: the lateral restraints of a member in one plane along
// its line, and the spans between them with their buckling lengths (see
// CISpanLst for how the spans follow the restraints). A restraint added to
// complete the list at a member end is of type 2 (eta 1.0) and sways as the
// member does.
//
// A sway member lets every restraint sway (SetSwayMember). Only a member
// restrained at its two ends alone, at least one end of type 1, can sway:
// any other list locks the sway member (IsLockSwayMember), and a restraint
// added to a sway member that then locks it turns the sway off.
//
// Record (version 1): version word (4); the CGDistanceLst record whose
// elements are CIConstraint records; the sway member word (4, signed); the
// span count (4, signed); that many CIConstraintData records. The default
// eta is not stored. Loading reads the restraints, applies the sway word
// (SetSwayMember, so every restraint takes it), rebuilds the spans
// (ResetConstraintsData) and lets span i take over record i (its element,
// buckling length, factor and value sets) for i below both counts.
// Checksum: the sway member word, the distance list's checksum, the span
// array's checksum (4 bytes each).
//
// The line is observed, not owned: the member owns it.
#pragma once

#include <cstdio>

#include "objects/data/CIConstraint.h"
#include "objects/data/CIConstraintData.h"
#include "objects/data/CISpanLst.h"
#include "objects/geometry/CGLine.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCIConstraintLst = 1;

class TELIO_EXPORT CIConstraintLst : public CISpanLst<CIConstraint, CIConstraintData> {
 public:
  explicit CIConstraintLst(GEOMETRY_OBJECTS::CGLine* line = nullptr);
  ~CIConstraintLst() override;
  // As CopyFrom.
  CIConstraintLst& operator=(const CIConstraintLst& other);

  // constraint is shared, not copied: a heap object (new, or held by
  // PtrStrong). 1 when the list placed it.
  int AddConstraint(CIConstraint* constraint);
  // A new restraint through the setters, swaying as the member does.
  int AddConstraint(double position, int type, double eta);
  // At the distance of at along the line (0 when at is not on it).
  int AddConstraint(const GEOMETRY_OBJECTS::CGPoint& at, int type, double eta);
  // A new restraint from the code of older data (CIConstraint::
  // SetTypeFromOld): a code outside 1 to 6 gives a position without
  // restraint, whose spans are locked.
  int AddConstraintFromOld(double position, int code, double eta);

  CIConstraint* GetConstraintAt(int i) const { return ItemAt(i); }
  CIConstraint* FindConstraintAt(double position) const { return FindItemAt(position); }
  CIConstraintData* GetConstraintDataAt(int i) const { return SpanAt(i); }
  int GetCountConstraintData() const { return GetCountSpans(); }

  // Each returns the number of restraints removed; the spans are rebuilt.
  // Positions and etas match within 0.001; EqualWith is
  // CIConstraint::IsEqualWith.
  int RemoveConstraintsAtDistance(double position);
  int RemoveConstraintsWithType(int type);
  int RemoveConstraintsWithEta(double eta);
  int RemoveConstraintsEqualWith(const CIConstraint& constraint);

  int SwayMember() const { return m_swayMember; }
  // Sway member = s (0 when the list locks it); every restraint takes it;
  // then CalculateBucklingLength(-1).
  void SetSwayMember(int s);
  // 0 only for exactly two restraints, at 0 and at the line's end (within
  // 0.001), at least one of type 1; else 1 (also without a live line).
  int IsLockSwayMember() const;
  // Recomputes span `span`, or every span for -1 (nothing for other
  // values below -1 or past the last span); when the list had to be
  // completed or its spans do not follow it, rebuilds every span instead.
  void CalculateBucklingLength(int span);
  // Completes the list (InvalidateConstraints) and rebuilds every span.
  // Returns 1.
  int ResetConstraintsData();

  double DefaultEtaValue() const { return m_defaultEta; }
  void SetDefaultEtaValue(double eta) { m_defaultEta = eta; }

  // Restraints at the same positions (within 0.001), index by index.
  bool IsConstraintsEqualWith(const CIConstraintLst* other) const;
  // Restraints that match (type, sway, eta, eta data) and spans equal
  // (CIConstraintData::IsEqualWith), index by index.
  bool IsConstraintDataEqualWith(const CIConstraintLst* other) const;
  // Copies of other's restraints and spans, its sway member word and
  // default eta. False for null.
  bool CopyFrom(const CIConstraintLst* other);

  ulong32 CheckSum() const override;
  // False when the stream failed (last error 38) or a list could not grow
  // (8); what was read until then is kept, with spans rebuilt.
  bool Serialize(FILE* f, bool load) override;

 protected:
  // Removes restraints beyond the line's ends and adds a type-2 restraint
  // at an end without one. 1 when the list was complete and its spans
  // follow it (they can be recomputed in place).
  int InvalidateConstraints();
  ItemPtr NewEndItem(double position) const override;
  // Rebuilds the spans; a sway member keeps its sway only while the list
  // allows it, and a new restraint takes it.
  void AfterItemsChanged() override;

 private:
  int m_swayMember;
  double m_defaultEta;
};

}  // namespace TELMARO_DATA_OBJECTS
