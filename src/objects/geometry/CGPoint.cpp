#include "objects/geometry/CGPoint.h"

#include <cmath>

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace GEOMETRY_OBJECTS {

using GE_::Safe::PtrStrong;

CGPoint::CGPoint() : m_x(0), m_y(0), m_z(0) {}

CGPoint::CGPoint(double x, double y, double z) : m_x(x), m_y(y), m_z(z) {}

CGPoint::~CGPoint() = default;

PtrStrong<CGPoint> CGPoint::GetNewObject() { return PtrStrong<CGPoint>(new CGPoint); }

void CGPoint::SetCoord(double x, double y, double z) {
  m_x = x;
  m_y = y;
  m_z = z;
}

void CGPoint::GetCoord(double* x, double* y, double* z) const {
  if (x) *x = m_x;
  if (y) *y = m_y;
  if (z) *z = m_z;
}

double CGPoint::DistancePoint2Point(const CGPoint& a, const CGPoint& b) {
  double dx = b.m_x - a.m_x, dy = b.m_y - a.m_y, dz = b.m_z - a.m_z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double CGPoint::GetDistanceFromPoint(const CGPoint& other) const { return DistancePoint2Point(*this, other); }

void CGPoint::ResetPoint() { SetCoord(0, 0, 0); }

CGPoint& CGPoint::operator+=(const CGPoint& p) {
  SetCoord(m_x + p.m_x, m_y + p.m_y, m_z + p.m_z);
  return *this;
}

CGPoint CGPoint::operator+(const CGPoint& p) const { return CGPoint(m_x + p.m_x, m_y + p.m_y, m_z + p.m_z); }

CGPoint& CGPoint::operator-=(const CGPoint& p) {
  SetCoord(m_x - p.m_x, m_y - p.m_y, m_z - p.m_z);
  return *this;
}

CGPoint CGPoint::operator-(const CGPoint& p) const { return CGPoint(m_x - p.m_x, m_y - p.m_y, m_z - p.m_z); }

CGPoint& CGPoint::operator*=(double k) {
  SetCoord(m_x * k, m_y * k, m_z * k);
  return *this;
}

CGPoint CGPoint::operator*(double k) const { return CGPoint(m_x * k, m_y * k, m_z * k); }

bool CGPoint::CopyTo(CGPoint* other) const {
  if (!other) return false;
  other->SetCoord(m_x, m_y, m_z);
  return true;
}

bool CGPoint::CopyFrom(const CGPoint& other) { return CopyFrom(&other); }

bool CGPoint::CopyFrom(const CGPoint* other) {
  if (!other) return false;
  SetCoord(other->m_x, other->m_y, other->m_z);
  return true;
}

PtrStrong<CGPoint> CGPoint::Clone() const { return PtrStrong<CGPoint>(new CGPoint(*this)); }

bool CGPoint::IsEqualWith(const CGPoint* other) const {
  if (!other) return false;
  return std::fabs(m_x - other->m_x) <= kGeoTolerance && std::fabs(m_y - other->m_y) <= kGeoTolerance &&
         std::fabs(m_z - other->m_z) <= kGeoTolerance;
}

bool CGPoint::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  if (load) ResetPoint();
  io.Double(m_x).Double(m_y).Double(m_z);
  return io.ok();
}

ulong32 CGPoint::CheckSum() const {
  CCheckSum sum;
  sum.AddF64(m_x);
  sum.AddF64(m_y);
  sum.AddF64(m_z);
  return sum.get();
}

}  // namespace GEOMETRY_OBJECTS
