// CGPointLst: an ordered list of points with shape flags; CGListPointLst: a
// list of point lists.
//
// Record (version 1): version word (4), count (4, signed), shape flags (4),
// then count point records in the element factory's framing (x, y, z for a
// CGPoint; a node record for the internal points of a structural beam).
// Loading hands each point to the placement rule under the flags read.
// Checksum: the collection checksum (the points' checksums, 4 bytes each,
// fed into an inner checksum whose value is fed into the outer one).
//
// Placement rule, for a point p asked for at index r (-1: at the end) in a
// list of n points:
//  1. a null, dangling or already held point is refused;
//  2. unique flag: a point equal (0.001 box) to one held is refused;
//  3. with fewer than two points, or a first or last point that is not
//     live, p goes to r (n for -1);
//  4. collinear flag: p must lie within 0.001 of the line first -> last;
//  5. parallel flag: the line first -> p must be parallel to first -> last;
//     the not-intersect, coplanar and skew flags refuse every point;
//  6. without the continuous flag p goes to r (n for -1);
//  7. continuous flag, by p's position on the line first -> last: off the
//     line refused; beyond or at the start to 0; beyond the end to n; at the
//     end to n - 1; between the ends before the first held point from which
//     the running direction seen from p turns (refused when none does).
#pragma once

#include <cstdio>

#include "framework/CGGeometryLstBase.h"
#include "framework/PtrStrong.h"
#include "objects/geometry/CGPoint.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace GEOMETRY_OBJECTS {

class CGNearIndex;

const unsigned int _SerializeVersionCGPointLst = 1;

class TELIO_EXPORT CGPointLst : public CGGeometryLstBase<GE_::Safe::PtrStrong<CGPoint>> {
 public:
  typedef GE_::Safe::PtrStrong<CGPoint> (*ElementFactory)();

  explicit CGPointLst(ulong32 flags = 0, ElementFactory factory = nullptr);
  ~CGPointLst() override;
  // As CopyFrom.
  CGPointLst& operator=(const CGPointLst& other);

  ElementFactory GetElementFactory() const { return m_factory; }
  void SetElementFactory(ElementFactory factory) { m_factory = factory; }
  // The factory's object, or a new point at the origin without one.
  GE_::Safe::PtrStrong<CGPoint> CreateNewObject() const;

  // The box around every live point; false (the box left alone) without
  // one. Null arguments are skipped.
  bool GetBoundRect(double* xmin, double* xmax, double* ymin, double* ymax, double* zmin, double* zmax) const;
  // Same count and equal points index by index; false for null.
  virtual bool IsEqualWith(const CGPointLst* other) const;
  // Same count and, index by index, the same distance from the list's
  // first point within 0.001; false for null.
  virtual bool MatchWith(const CGPointLst* other) const;
  // The flags and a copy (Clone) of each point, in order; the element
  // factory stays this list's own. False for null.
  bool CopyFrom(const CGPointLst* other);
  // Returns false when the stream failed or the list could not grow (the
  // points read until then are kept).
  virtual bool Serialize(FILE* f, bool load);

 protected:
  int GetPosition(const GE_::Safe::PtrStrong<CGPoint>& e, int requested) const override;

 private:
  CGPointLst(const CGPointLst&) = delete;

  // Whether the list holds an element equal to e (IsEqualWith).
  bool HoldsEqual(const GE_::Safe::PtrStrong<CGPoint>& e) const;

  ElementFactory m_factory;
  // The elements filed while the list loads; null otherwise.
  CGNearIndex* m_loading = nullptr;
};

// Shape flags 0; placement by the collection's common rule.
class TELIO_EXPORT CGListPointLst : public CGGeometryLstBase<GE_::Safe::PtrStrong<CGPointLst>> {
 public:
  CGListPointLst();
  ~CGListPointLst() override;

  // The box around every live point of every live list; false without one.
  bool GetBoundRect(double* xmin, double* xmax, double* ymin, double* ymax, double* zmin, double* zmax) const;
};

}  // namespace GEOMETRY_OBJECTS
