// CGPoint: a point of the model in three dimensions, the base of nodes and
// of direction vectors.
//
// Record (no version word): x, y, z as three 8-byte doubles.
// Checksum: x, y, z, 8 bytes each.
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace GEOMETRY_OBJECTS {

// Absolute tolerance of every geometric comparison of the model.
const double kGeoTolerance = 0.001;
// Looser tolerance of the rules that measure along a line: a distance this
// close to a line's length means its end, a point this close to the sum of
// its distances from the ends lies between them.
const double kGeoLineTolerance = 0.1;
// Angles at or above this are "not the same way".
const double kGeoHalfPi = 1.5707963267948966;

// Record version: points carry no version word.
const unsigned int _SerializeVersionCGPoint = 0;

class TELIO_EXPORT CGPoint : public GE_::Safe::ObjStrong {
 public:
  CGPoint();
  CGPoint(double x, double y, double z);
  CGPoint(const CGPoint& other) = default;
  CGPoint& operator=(const CGPoint& other) = default;
  ~CGPoint() override;

  static GE_::Safe::PtrStrong<CGPoint> GetNewObject();

  double X() const { return m_x; }
  double Y() const { return m_y; }
  double Z() const { return m_z; }
  double* PX() { return &m_x; }
  double* PY() { return &m_y; }
  double* PZ() { return &m_z; }
  void SetX(double x) { m_x = x; }
  void SetY(double y) { m_y = y; }
  void SetZ(double z) { m_z = z; }
  void SetCoord(double x, double y, double z);
  // Null arguments are skipped.
  void GetCoord(double* x, double* y, double* z) const;

  static double DistancePoint2Point(const CGPoint& a, const CGPoint& b);
  double GetDistanceFromPoint(const CGPoint& other) const;

  virtual void ResetPoint();
  virtual CGPoint& operator+=(const CGPoint& p);
  virtual CGPoint operator+(const CGPoint& p) const;
  virtual CGPoint& operator-=(const CGPoint& p);
  virtual CGPoint operator-(const CGPoint& p) const;
  virtual CGPoint& operator*=(double k);
  virtual CGPoint operator*(double k) const;
  // The coordinates only; false for null.
  virtual bool CopyTo(CGPoint* other) const;
  virtual bool CopyFrom(const CGPoint& other);
  virtual bool CopyFrom(const CGPoint* other);
  // A new object of this object's own class with the same content.
  virtual GE_::Safe::PtrStrong<CGPoint> Clone() const;
  // Each coordinate within 0.001 (a box, not a distance); false for null.
  virtual bool IsEqualWith(const CGPoint* other) const;
  // Loading a short record keeps the coordinates read before it ended;
  // returns false when the stream failed (last error 38 or the write's).
  virtual bool Serialize(FILE* f, bool load);
  virtual ulong32 CheckSum() const;

 protected:
  double m_x;
  double m_y;
  double m_z;
};

}  // namespace GEOMETRY_OBJECTS
