// CGLine: a straight segment of the model, with an optional list of
// internal points along it.
//
// Record (no version word of its own): the internal-point list's record
// (CGPointLst, version 1). Saving first makes the list valid and, when it
// is empty, generates it from the end points; loading reads the list and
// rebuilds the line from it (start = first point, end = last point, length
// = their distance; an empty list, or one whose ends are not live, resets
// the line). Checksum: the internal-point list's checksum (4 bytes; a line
// without a list feeds what an empty list gives).
//
// The direction of a line is end - start. Comparisons use 0.001; the rules
// that measure along a line (snapping a distance to the end, "between the
// ends") use 0.1. The internal-point list has the flags unique, collinear
// and continuous (7) and, once generated, starts with the start point and
// ends with the end point.
//
// Position codes of a point against a line (GetPosiotionOfPoint), tested
// in this order: 0 off the line (a line longer than 0.001 and the point
// farther than 0.001 from it), 4 at the start, 5 at the end, 6 at the
// midpoint, 3 between the ends (|dS + dE - length| <= 0.1), 1 beyond the
// start (dS < dE), 2 beyond the end.
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/geometry/CGPoint.h"
#include "objects/geometry/CGPointLst.h"
#include "objects/geometry/CGVectorDirection.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace GEOMETRY_OBJECTS {

// Lines carry no version word; their list carries its own.
const unsigned int _SerializeVersionCGLine = 0;

// Position codes of a point against a line.
enum : int {
  kPosOffLine = 0,
  kPosBeforeStart = 1,
  kPosAfterEnd = 2,
  kPosInside = 3,
  kPosAtStart = 4,
  kPosAtEnd = 5,
  kPosAtMiddle = 6,
};

// Flags of an internal-point list: unique, collinear, continuous.
const ulong32 kIntPntsLstFlags = 0x07;

class TELIO_EXPORT CGLine : public GE_::Safe::ObjStrong {
 public:
  CGLine();
  // The segment s -> e without an internal-point list (SetLine makes one);
  // cheap, for computing with.
  CGLine(const CGPoint& s, const CGPoint& e);
  // A copy has copies of the other line's internal points.
  CGLine(const CGLine& other);
  CGLine& operator=(const CGLine& other);
  ~CGLine() override;

  static GE_::Safe::PtrStrong<CGLine> GetNewObject();

  CGPoint SPoint() const { return m_start; }
  CGPoint EPoint() const { return m_end; }
  double Length() const { return m_length; }
  double* PLength() { return &m_length; }
  // end - start (the same as ToVectorDirection).
  CGVectorDirection GetVectorDirection() const;

  // --- virtual operations, in slot order ---
  virtual CGVectorDirection ToVectorDirection() const;
  // The line from p to p + d.
  virtual void FromVectorDirection(const CGVectorDirection& d, const CGPoint& p);
  // Both points at the origin, length 0, no internal-point list: a reset
  // line equals a new one.
  virtual void ResetLine();
  // Sets both points and the length, then regenerates the internal points.
  virtual void SetLine(const CGPoint& s, const CGPoint& e);
  // False for null.
  virtual bool CopyTo(CGLine* other) const;
  // End points, length and copies of the internal points (no list when the
  // other line has none); false for null.
  virtual bool CopyFrom(const CGLine* other);
  // A new object of this object's own class with the same content.
  virtual GE_::Safe::PtrStrong<CGLine> Clone() const;
  // The end points coincide, in the same or in reversed order.
  virtual bool IsEqualWith(const CGLine* other) const;
  // IsEqualWith, both with or both without internal points, and the lists
  // match (CGPointLst::MatchWith).
  virtual bool IsExactEqualWith(const CGLine* other) const;
  // Lengths within 0.001, both with or both without internal points, and
  // the lists match.
  virtual bool MatchWith(const CGLine* other) const;
  // Returns false when the stream failed (the line then holds what its
  // list held when the stream ended).
  virtual bool Serialize(FILE* f, bool load);
  virtual ulong32 CheckSum() const;
  // Adds p (shared, not copied) to the internal points: a point equal to an
  // end is not added; a point between the ends goes through the list's
  // placement rule; any other point only when bForce. An empty list is
  // first generated from the end points, so that it starts and ends with
  // them. Returns 1 when added.
  virtual int AddInternalPoint(GE_::Safe::PtrStrong<CGPoint> p, bool bForce);
  // Removes the internal point p (the same object, else an equal one); the
  // first and last points of the list are kept unless bForce. 1 if removed.
  virtual int RemoveInternalPoint(GE_::Safe::PtrStrong<CGPoint> p, bool bForce);
  // Leaves only the end points in the list (regenerates it).
  virtual void RemoveInternalPointsAll();
  // Regenerates the list and, for 0.001 < step < length with |step -
  // length| > 0.1, adds points at step, 2 step, ... while below the length.
  // 0 (nothing changed) unless 0 <= step <= length.
  virtual int CutLineIntoDst(double step);

  // --- relations between lines ---
  double Dot(const CGLine& l) const;
  double Determinant(const CGLine& l) const;
  double CrossSquare(const CGLine& l) const;
  double CrossMagnitude(const CGLine& l) const;
  double AngleBetween(const CGLine& l) const;
  // (d1 × d2) · (S2 - S1), d the directions, S the start points.
  double DeterminantSkew(const CGLine& l) const;
  bool IsCoplanarWith(const CGLine& l) const;
  bool IsSkewWith(const CGLine& l) const;
  bool IsParallelWith(const CGLine& l) const;
  bool IsPerpendicularWith(const CGLine& l) const;
  bool IsIntersectWith(const CGLine& l) const;
  // The angle between the directions is below pi/2.
  bool IsSameDirectionWith(const CGLine& l) const;
  // The lines start -> p and end -> p make an angle within 0.001 of 0, pi/2
  // or pi. A point at an end passes (a zero-length line makes pi/2), and so
  // does any point from which the segment is seen at a right angle.
  bool IsCollinearWith(const CGPoint& p) const;
  bool IsCollinearWith(const CGLine& l) const;
  // The line is not longer than 0.001, or p lies within tol of it.
  bool IsCollinearWithTolerance(const CGPoint& p, double tol) const;
  bool IsCollinearWithTolerance(const CGLine& l, double tol) const;
  // The triangle start, end, p has an area of at most 0.001.
  bool IsCollinearByTriangleArea(const CGPoint& p) const;
  double TrianglePerimeter(const CGPoint& p) const;
  double TriangleSemiPerimeter(const CGPoint& p) const;
  double TriangleArea(const CGPoint& p) const;
  // Perpendicular distance of p from the infinite line; from the start for
  // a line not longer than 0.001.
  double DistanceFrom(const CGPoint& p) const;
  // DeterminantSkew / CrossMagnitude, 0 when |CrossMagnitude| <= 0.001.
  // The directions are not normalised, so the value is the distance
  // between the infinite lines times both lengths, signed.
  double DistanceFrom(const CGLine& l) const;
  // The intersection point (S1 + t·d1), or null for parallel or skew lines.
  GE_::Safe::PtrStrong<CGPoint> GetIntersectionPoint(const CGLine& l) const;
  // The line from this start along d1 × d2.
  CGLine GetCrossLine(const CGLine& l) const;
  CGPoint GetMidPoint() const;

  // --- positions ---
  int GetPosiotionOfPoint(const CGPoint& p) const;
  // Classifies l against this line: 1/2 equal (same way / reversed); 3 to
  // 10 continuing lines (collinear, same way, shared point is this start);
  // 0, 11 to 16 other collinear lines by where l's ends fall; 17 to 19
  // lines crossing this one between, beyond the end or beyond the start; 0
  // otherwise.
  int GetPosiotionOfLine(const CGLine& l) const;
  // Codes 3 to 6: on the segment, ends included.
  bool IsPointOnLine(const CGPoint& p) const;
  // Codes 3 and 6: strictly between the ends.
  bool IsPointInLine(const CGPoint& p) const;
  // Codes 1 and 2: on the line beyond an end.
  bool IsPointOutLine(const CGPoint& p) const;
  bool IsContinuesWith(const CGLine& l) const;
  // The point the two lines share when they continue each other, or null.
  GE_::Safe::PtrStrong<CGPoint> GetContinuesPoint(const CGLine& l) const;

  // --- measuring along the line ---
  // p = the point at distance d from the start: the end when |d - length|
  // <= 0.1, the start when |d| <= 0.001; with bCheck, d outside 0 ...
  // length gives 0 (p at the origin). 1 when p was set.
  int Distance2Point(double d, CGPoint* p, bool bCheck = true) const;
  // d = the distance of p from the start, negative beyond the start; with
  // inside, points beyond an end give 0 (d = 0), as do points off the line.
  int Point2Distance(const CGPoint& p, double* d, bool inside = true) const;
  // The line gets the length newLength; keepStart keeps the start and moves
  // the end, otherwise the end stays and the start moves. The internal
  // points are regenerated.
  void ExtentLength(double newLength, bool keepStart);

  // --- internal points ---
  // The point Distance2Point(d, bCheck), made by the list's element
  // factory, added with bForce = bCheck. 0 when d gives no point.
  int AddInternalPoint(double d, bool bCheck);
  // The point at perc % of the length, added without force; 0 unless 0 <=
  // perc <= 100.
  int AddInternalPointPerc(double perc);
  // CutLineIntoDst(length / (n + 1)); 0 for n < 0.
  int CutLineIntoCnt(int n);
  // CutLineIntoDst(perc % of the length); 0 unless 0 <= perc <= 100.
  int CutLineIntoPrc(double perc);
  // The index of the internal point equal to Distance2Point(d), or -1.
  int FindInternalPointAt(double d) const;
  // Null when out of range or without a list.
  GE_::Safe::PtrStrong<CGPoint> GetInternalPointAt(int i) const;
  // The number of points in the list, ends included; 0 without a list.
  int GetCountInternalPoints() const;
  // Removes the point at index i, or the one at distance d; the ends are
  // kept unless bForce. 1 if removed.
  int RemoveInternalPointAt(int i, bool bForce);
  int RemoveInternalPointAt(double d, bool bForce);
  // The list itself (null until made); its points are shared.
  GE_::Safe::PtrStrong<CGPointLst> GetInternalPointsLst() const { return m_pIntPnts; }

 protected:
  // Empties the list (made when missing) and puts copies of the end points
  // into it through its placement rule (a zero-length line holds one).
  virtual void GenerateIntPntsLst();
  // Makes the list (flags 7, no element factory) when there is none.
  // Structural beams override it to make their internal points nodes.
  virtual void EnsureValidIntPntLst();
  // Rebuilds the line from the list; 0 (the line reset) for an empty or
  // unusable list.
  int LineFromIntPntsLst();
  // The unit direction (zero for a line not longer than 0.001).
  CGVectorDirection UnitDirection() const;
  // Sets the end points and the length, leaving the internal points alone.
  void SetEnds(const CGPoint& s, const CGPoint& e);

  CGPoint m_start;
  CGPoint m_end;

 private:
  // Where l continues this line: 1 at this start, 2 at this end, else 0.
  int ContinuesAt(const CGLine& l) const;

 protected:
  double m_length;
  GE_::Safe::PtrStrong<CGPointLst> m_pIntPnts;
};

}  // namespace GEOMETRY_OBJECTS
