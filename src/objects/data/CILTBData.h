// CILTBData: a lateral-torsional buckling span between two consecutive
// restraints of a member, with its factors k and kw and its values per
// load case.
//
// k follows from the KType of the two ends, kw from their KwType:
//   left 1, right 1: 0.5;  1 and 2 (either way round): 0.7;  2, 2: 1.0;
//   any other pair: 0.0.
//
// Record (version 2): version word (4); the CEElement record; the left
// restraint's position (8; -1.0 when it is gone); the right one's likewise;
// span length, K, KW (8 each); the CILTBLCValuesLst record. Version 1 ends
// before the value list. Loading resets the span (ResetLTBData), reads the
// two positions and the span length and drops them (the owning list links
// spans to their restraints), and keeps K and KW. Another version leaves
// the span reset, the stream after the version word.
// Checksum: the CEElement checksum (4), span length, K, KW (8 each), the
// value list's checksum (4).
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/data/CILTB.h"
#include "objects/data/CILTBLCValues.h"
#include "objects/elements/CEElement.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCILTBData = 2;

class TELIO_EXPORT CILTBData : public GE_::Safe::ObjStrong, public ELEMENT_OBJECTS::CEElement {
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

  double K() const { return m_k; }
  double KW() const { return m_kw; }
  double* PK() { return &m_k; }
  double* PKW() { return &m_kw; }
  void SetK(double k) { m_k = k; }
  void SetKw(double kw) { m_kw = kw; }
  double LTBLength() const { return m_length; }
  CILTB* LTBLeft() const { return m_left.GetPtr(); }
  CILTB* LTBRight() const { return m_right.GetPtr(); }
  CILTB* Left() const { return m_left.GetPtr(); }
  CILTB* Right() const { return m_right.GetPtr(); }
  CILTBLCValuesLst* GetLCValuesLst() { return &m_lcValues; }
  const CILTBLCValuesLst* GetLCValuesLst() const { return &m_lcValues; }

  using CEElement::CopyFrom;
  using CEElement::CopyTo;
  using CEElement::IsEqualWith;
  // Element, span length, K and KW (lengths and factors within 0.001) and
  // the value sets. False for null.
  bool IsEqualWith(const CILTBData* other) const;
  // K and KW within 0.001. False for null.
  bool MatchWith(const CILTBData* other) const;
  // Element, K, KW and copies of the value sets; the ends and the span
  // length (which follows from them) stay. False for null.
  bool CopyFrom(const CILTBData* other);
  bool CopyTo(CILTBData* other) const;

  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;

 protected:
  // The fields after the element record, without and with the value list.
  bool ReadVersion1(FILE* f) override;
  bool ReadVersion2(FILE* f) override;

 private:
  CILTBData& operator=(const CILTBData&) = delete;

  CILTBLCValuesLst m_lcValues;
  GE_::Safe::PtrWeak<CILTB> m_left;
  GE_::Safe::PtrWeak<CILTB> m_right;
  double m_length;
  double m_k;
  double m_kw;
};

}  // namespace TELMARO_DATA_OBJECTS
