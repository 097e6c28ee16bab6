// CILTBData: a lateral-torsional buckling span between two consecutive
// restraints of a member, with its factors k and kw and its values per
// load case (CILTBLCValuesLst).
//
// k follows from the KType of the two ends, kw from their KwType:
//   left 1, right 1: 0.5;  1 and 2 (either way round): 0.7;  2, 2: 1.0;
//   any other pair: 0.0.
//
// Record and checksum: those of CISpanData (version 2), whose two numbers
// are K and KW.
#pragma once

#include "objects/data/CILTB.h"
#include "objects/data/CILTBLCValues.h"
#include "objects/data/CISpanData.h"
#include "platform/Export.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCILTBData = _SerializeVersionCISpanData;

class TELIO_EXPORT CILTBData : public CISpanData<CILTB, CILTBLCValuesLst> {
 public:
  CILTBData();
  // Links the two restraints (observed, not owned) and computes the span.
  CILTBData(CILTB* left, CILTB* right);
  // The same ends, factors, element and copies of the value sets.
  CILTBData(const CILTBData& other);
  ~CILTBData() override;

  // Re-links the ends; the factors stay until ResetLTBData. Returns 1.
  int SetLTBData(CILTB* left, CILTB* right);
  // 1 when both ends are alive and both exist.
  int IsValidLTBData() const;
  // Span length, K and KW from the ends: 0.0 all three for a span that is
  // not valid. Returns 1 when computed.
  int ResetLTBData();

  double K() const { return m_first; }
  double KW() const { return m_second; }
  double* PK() { return &m_first; }
  double* PKW() { return &m_second; }
  void SetK(double k) { m_first = k; }
  void SetKw(double kw) { m_second = kw; }
  double LTBLength() const { return m_length; }
  CILTB* LTBRight() const { return Right(); }

  using CEElement::CopyFrom;
  using CEElement::CopyTo;
  using CEElement::IsEqualWith;
  // Element, span length, K and KW (within 0.001) and the value sets.
  // False for null.
  bool IsEqualWith(const CILTBData* other) const { return other && IsEqualSpan(*other); }
  // K and KW within 0.001. False for null.
  bool MatchWith(const CILTBData* other) const { return other && MatchSpan(*other); }
  // Element, K, KW and copies of the value sets; the ends and the span
  // length (which follows from them) stay. False for null.
  bool CopyFrom(const CILTBData* other) { return other && CopySpan(*other); }
  bool CopyTo(CILTBData* other) const { return other && other->CopyFrom(this); }

 protected:
  int ResetSpanData() override { return ResetLTBData(); }
};

}  // namespace TELMARO_DATA_OBJECTS
