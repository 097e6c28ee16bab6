#include "objects/geometry/CGVectorDirection.h"

#include <cmath>

namespace GEOMETRY_OBJECTS {

CGVectorDirection::~CGVectorDirection() = default;

CGVectorDirection CGVectorDirection::GetNormalizedVector(double x, double y, double z) {
  CGVectorDirection v(x, y, z);
  v.Normalize();
  return v;
}

double CGVectorDirection::NormVector(double x, double y, double z) { return std::sqrt(std::fabs(x * x + y * y + z * z)); }

GE_::Safe::PtrStrong<CGPoint> CGVectorDirection::Clone() const {
  return GE_::Safe::PtrStrong<CGPoint>(new CGVectorDirection(*this));
}

double CGVectorDirection::NormVector() const { return NormVector(m_x, m_y, m_z); }

double CGVectorDirection::DotThis() const { return m_x * m_x + m_y * m_y + m_z * m_z; }

double CGVectorDirection::Dot(const CGVectorDirection& v) const { return Dot(v.m_x, v.m_y, v.m_z); }

double CGVectorDirection::Dot(double x, double y, double z) const { return m_x * x + m_y * y + m_z * z; }

void CGVectorDirection::Cross(const CGVectorDirection& v) { Cross(v.m_x, v.m_y, v.m_z); }

void CGVectorDirection::Cross(double x, double y, double z) {
  SetCoord(m_y * z - m_z * y, m_z * x - m_x * z, m_x * y - m_y * x);
}

CGVectorDirection CGVectorDirection::GetCrossVector(const CGVectorDirection& v) const {
  CGVectorDirection c(*this);
  c.Cross(v);
  return c;
}

double CGVectorDirection::CrossSquare(const CGVectorDirection& v) const {
  double dot = Dot(v);
  return DotThis() * v.DotThis() - dot * dot;
}

double CGVectorDirection::Determinant(const CGVectorDirection& v) const {
  CGVectorDirection c = GetCrossVector(v);
  return c.Dot(c.GetNormalizedVector());
}

double CGVectorDirection::CrossMagnitude(const CGVectorDirection& v) const {
  return GetNormalizedVector().GetCrossVector(v.GetNormalizedVector()).NormVector();
}

void CGVectorDirection::Normalize() {
  double norm = NormVector();
  if (norm <= kGeoTolerance) {
    SetCoord(0, 0, 0);
  } else {
    SetCoord(m_x / norm, m_y / norm, m_z / norm);
  }
}

CGVectorDirection CGVectorDirection::GetNormalizedVector() const {
  CGVectorDirection v(*this);
  v.Normalize();
  return v;
}

bool CGVectorDirection::IsZeroVector() const { return NormVector() <= kGeoTolerance; }

bool CGVectorDirection::IsUnitVector() const { return std::fabs(NormVector() - 1.0) <= kGeoTolerance; }

double CGVectorDirection::AngleBetween(const CGVectorDirection& v) const {
  double norms = NormVector() * v.NormVector();
  double cosine = norms <= kGeoTolerance ? 0.0 : Dot(v) / norms;
  if (std::fabs(cosine) <= 1.0) return std::acos(cosine);
  return std::acos(cosine < 0 ? -1.0 : 1.0);
}

double CGVectorDirection::AngleBetween(const CGVectorDirection& a, const CGVectorDirection& b) {
  return a.AngleBetween(b);
}

}  // namespace GEOMETRY_OBJECTS
