// CGVectorDirection: a direction vector; x, y, z are its components.
//
// Record and checksum: those of CGPoint. Tolerances: a vector whose norm
// is at most 0.001 counts as zero; normalising it gives (0, 0, 0).
#pragma once

#include "objects/geometry/CGPoint.h"

namespace GEOMETRY_OBJECTS {

class TELIO_EXPORT CGVectorDirection : public CGPoint {
 public:
  CGVectorDirection() = default;
  CGVectorDirection(double x, double y, double z) : CGPoint(x, y, z) {}
  explicit CGVectorDirection(const CGPoint& p) : CGPoint(p) {}
  ~CGVectorDirection() override;

  static CGVectorDirection Zero() { return CGVectorDirection(0, 0, 0); }
  static CGVectorDirection One() { return CGVectorDirection(1, 1, 1); }
  static CGVectorDirection AxisX() { return CGVectorDirection(1, 0, 0); }
  static CGVectorDirection AxisY() { return CGVectorDirection(0, 1, 0); }
  static CGVectorDirection AxisZ() { return CGVectorDirection(0, 0, 1); }
  static CGVectorDirection GetNormalizedVector(double x, double y, double z);
  static double NormVector(double x, double y, double z);

  GE_::Safe::PtrStrong<CGPoint> Clone() const override;

  // sqrt(|x² + y² + z²|).
  double NormVector() const;
  // x² + y² + z².
  double DotThis() const;
  double Dot(const CGVectorDirection& v) const;
  double Dot(double x, double y, double z) const;
  // Replace this vector by this × v.
  void Cross(const CGVectorDirection& v);
  void Cross(double x, double y, double z);
  CGVectorDirection GetCrossVector(const CGVectorDirection& v) const;
  // |this|²·|v|² − (this·v)².
  double CrossSquare(const CGVectorDirection& v) const;
  // |this × v|, taken as the cross product dotted with its own unit vector,
  // so a cross product of norm at most 0.001 gives 0.
  double Determinant(const CGVectorDirection& v) const;
  // |u × w| of the two unit vectors: the sine of the angle between them.
  double CrossMagnitude(const CGVectorDirection& v) const;
  void Normalize();
  CGVectorDirection GetNormalizedVector() const;
  bool IsZeroVector() const;
  bool IsUnitVector() const;
  // Radians, 0 ... pi; pi/2 when |this|·|v| is at most 0.001.
  double AngleBetween(const CGVectorDirection& v) const;
  static double AngleBetween(const CGVectorDirection& a, const CGVectorDirection& b);
};

}  // namespace GEOMETRY_OBJECTS
