// CGLineLst: an ordered list of lines with shape flags (a structural
// member's chain of internal beams is one).
//
// Record (version 1): version word (4), count (4, signed), shape flags (4),
// then count line records in the element factory's framing (a beam record
// for a member's internal beams). Checksum: the collection checksum.
//
// Placement rule, for a line l asked for at index r (-1: at the end) in a
// list of n lines:
//  1. a null, dangling or already held line is refused; unique flag: a line
//     equal to one held (same end points, either order) is refused;
//  2. an empty list takes l at r (0 for -1);
//  3. against the first line F: collinear flag needs both ends of F within
//     0.1 of l; same-direction flag needs l to run the way F runs; parallel
//     flag needs l parallel to F; not-intersect, coplanar and skew refuse;
//  4. without the continuous flag l goes to r (n for -1);
//  5. continuous flag: l continuing F goes to 0 (with a single line, to n
//     when it continues F at F's end); else l continuing the last line goes
//     to n; anything else is refused.
#pragma once

#include <cstdio>

#include "framework/CGGeometryLstBase.h"
#include "framework/PtrStrong.h"
#include "objects/geometry/CGLine.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace GEOMETRY_OBJECTS {

class CGNearIndex;

const unsigned int _SerializeVersionCGLineLst = 1;

class TELIO_EXPORT CGLineLst : public CGGeometryLstBase<GE_::Safe::PtrStrong<CGLine>> {
 public:
  typedef GE_::Safe::PtrStrong<CGLine> (*ElementFactory)();

  explicit CGLineLst(ulong32 flags = 0, ElementFactory factory = nullptr);
  ~CGLineLst() override;
  // As CopyFrom.
  CGLineLst& operator=(const CGLineLst& other);

  ElementFactory GetElementFactory() const { return m_factory; }
  void SetElementFactory(ElementFactory factory) { m_factory = factory; }
  // The factory's object, or a new default line without one.
  GE_::Safe::PtrStrong<CGLine> CreateNewObject() const;

  // Same count and, index by index, equal lines (CGLine::IsEqualWith, the
  // element's own class deciding); false for null.
  virtual bool IsEqualWith(const CGLineLst* other) const;
  // The flags and a copy (Clone) of each line, in order; the element
  // factory stays this list's own. False for null.
  bool CopyFrom(const CGLineLst* other);
  // Returns false when the stream failed or the list could not grow (the
  // lines read until then are kept).
  virtual bool Serialize(FILE* f, bool load);

 protected:
  int GetPosition(const GE_::Safe::PtrStrong<CGLine>& e, int requested) const override;

 private:
  CGLineLst(const CGLineLst&) = delete;

  // Whether the list holds an element equal to e (IsEqualWith).
  bool HoldsEqual(const GE_::Safe::PtrStrong<CGLine>& e) const;

  ElementFactory m_factory;
  // The elements filed while the list loads; null otherwise.
  CGNearIndex* m_loading = nullptr;
};

}  // namespace GEOMETRY_OBJECTS
