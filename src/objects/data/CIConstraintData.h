// CIConstraintData: a span between two consecutive lateral restraints of a
// member, with its flexural buckling length, the factor (buckling length
// over span length) and its values per load case (CIConstraintLCValuesLst).
//
// The factor follows from eta1 and eta2 of the two ends (s = eta1 + eta2,
// p = eta1 eta2):
//   one end without a restraint (a locked span):  2.0;
//   neither end swaying:  (1 + 0.145 s - 0.265 p) / (2 - 0.364 s - 0.247 p),
//     0.0 when the divisor is below 0.001 in magnitude;
//   an end swaying:  sqrt(n / d) with d = 1 - a s + b p, n = 1 - 0.2 s -
//     0.12 p, a and b being 0.8 and 0.6 in single precision widened to
//     double; 0.0 when |d| <= 0.001 or n / d <= 0, for the span has then no
//     finite buckling length (a mechanism; eta1 = eta2 = 1 is one).
// A span that is not valid keeps factor 0.0.
//
// Record and checksum: those of CISpanData (version 2), whose two numbers
// are the buckling length and the factor.
#pragma once

#include "objects/data/CIConstraint.h"
#include "objects/data/CIConstraintLCValues.h"
#include "objects/data/CISpanData.h"
#include "platform/Export.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCIConstraintData = _SerializeVersionCISpanData;

class TELIO_EXPORT CIConstraintData : public CISpanData<CIConstraint, CIConstraintLCValuesLst> {
 public:
  CIConstraintData();
  // Links the two restraints (observed, not owned) and computes the span.
  CIConstraintData(CIConstraint* left, CIConstraint* right);
  // The same ends, numbers, element and copies of the value sets.
  CIConstraintData(const CIConstraintData& other);
  ~CIConstraintData() override;

  // Re-links the ends; the numbers stay until ResetConstraintData.
  void SetConstraintData(CIConstraint* left, CIConstraint* right) { SetEnds(left, right); }
  // 1 when both ends are alive and at least one of them exists.
  int IsValidConstraintData() const;
  // 1 when the span is valid and one end does not exist.
  int IsLockedConstraintData() const;
  // 0 for a locked span. Otherwise the buckling length becomes L and the
  // factor L over the span length (0.0 for a span below 0.001); 1.
  int SetBucklingLenth(double L);
  // 0 for a locked span. Otherwise the factor becomes f and the buckling
  // length f times the span length; 1.
  int SetFactor(double f);
  // Span length, factor and buckling length from the ends (see above). 0,
  // with the factor 0.0 and the rest unchanged, for a span not valid.
  int ResetConstraintData();

  double BucklingLength() const { return m_first; }
  double Factor() const { return m_second; }
  double* PBucklingLength() { return &m_first; }
  double* PFactor() { return &m_second; }

  using CEElement::CopyFrom;
  using CEElement::CopyTo;
  using CEElement::IsEqualWith;
  // Element, span length, buckling length and factor (within 0.001) and
  // the value sets. False for null.
  bool IsEqualWith(const CIConstraintData* other) const { return other && IsEqualSpan(*other); }
  // Buckling length and factor within 0.001. False for null.
  bool MatchWith(const CIConstraintData* other) const { return other && MatchSpan(*other); }
  // Element, buckling length, factor and copies of the value sets; the
  // ends and the span length stay. False for null.
  bool CopyFrom(const CIConstraintData* other) { return other && CopySpan(*other); }
  bool CopyTo(CIConstraintData* other) const { return other && other->CopyFrom(this); }

 protected:
  int ResetSpanData() override { return ResetConstraintData(); }
};

}  // namespace TELMARO_DATA_OBJECTS
