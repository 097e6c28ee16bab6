// CILTBLst: the lateral-torsional buckling restraints of a member along its
// line, and the spans between them (see CISpanLst for how the spans follow
// the restraints). A restraint added to complete the list at a member end
// has the list's default types.
//
// Record (version 1): version word (4); the CGDistanceLst record whose
// elements are CILTB records; the span count (4, signed); that many
// CILTBData records. The default types are not stored. Loading reads the
// restraints, rebuilds the spans (ResetLTBData) and lets span i take over
// record i (its element, K, KW and value sets) for i below both counts.
// Checksum: the distance list's checksum, then the span array's (4 bytes
// each).
//
// The line is observed, not owned: the member owns it.
#pragma once

#include <cstdio>

#include "objects/data/CILTB.h"
#include "objects/data/CILTBData.h"
#include "objects/data/CISpanLst.h"
#include "objects/geometry/CGLine.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCILTBLst = 1;

class TELIO_EXPORT CILTBLst : public CISpanLst<CILTB, CILTBData> {
 public:
  explicit CILTBLst(GEOMETRY_OBJECTS::CGLine* line = nullptr);
  ~CILTBLst() override;
  // As CopyFrom.
  CILTBLst& operator=(const CILTBLst& other);

  // ltb is shared, not copied: a heap object (new, or held by PtrStrong).
  // 1 when the list placed it.
  int AddLTB(CILTB* ltb);
  // A new restraint with the types through the setters (1 or 2, else 2).
  int AddLTB(double position, int kType, int kwType);
  // At the distance of at along the line (0 when at is not on it).
  int AddLTB(const GEOMETRY_OBJECTS::CGPoint& at, int kType, int kwType);
  // A new restraint with the types of older data kept as they come: one
  // whose types are not 1 or 2 stands for no restraint (it does not exist,
  // and the spans at it are not valid).
  int AddLTBFromOld(double position, int kType, int kwType);

  CILTB* GetLTBAt(int i) const { return ItemAt(i); }
  CILTB* FindLTBAt(double position) const { return FindItemAt(position); }
  CILTBData* GetLTBDataAt(int i) const { return SpanAt(i); }
  int GetCountLTBData() const { return GetCountSpans(); }

  // Each returns the number of restraints removed; the spans are rebuilt.
  int RemoveLTBAt(int i);
  int RemoveLTBAll();
  int RemoveLTBAtDistance(double position);
  int RemoveLTBWithKType(int t);
  int RemoveLTBWithKwType(int t);
  int RemoveLTBEqualWith(const CILTB& ltb);

  int DefaultKType() const { return m_defaultKType; }
  int DefaultKwType() const { return m_defaultKwType; }
  void SetDefaultKType(int t) { m_defaultKType = t; }
  void SetDefaultKwType(int t) { m_defaultKwType = t; }

  // Completes the list (InvalidateLTB) and rebuilds every span. Returns 1.
  int ResetLTBData();

  // Restraints at the same positions (within 0.001), index by index.
  bool IsLTBEqualWith(const CILTBLst* other) const;
  // Restraints of the same types and spans equal (CILTBData::IsEqualWith).
  bool IsLTBDataEqualWith(const CILTBLst* other) const;
  // Copies of other's restraints and spans and its default types. False
  // for null.
  bool CopyFrom(const CILTBLst* other);

  ulong32 CheckSum() const override;
  // False when the stream failed (last error 38) or a list could not grow
  // (8); what was read until then is kept, with spans rebuilt.
  bool Serialize(FILE* f, bool load) override;

 protected:
  // Adds a default restraint at an end without one and removes restraints
  // beyond the ends. 1 when the list was complete and its spans follow it.
  int InvalidateLTB();
  ItemPtr NewEndItem(double position) const override;

 private:
  int m_defaultKType;
  int m_defaultKwType;
};

}  // namespace TELMARO_DATA_OBJECTS
