#include "objects/geometry/CCoordinateSystem.h"

namespace GEOMETRY_OBJECTS {

CCoordinateSystem::CCoordinateSystem() { Reset(); }

CCoordinateSystem::~CCoordinateSystem() = default;

void CCoordinateSystem::Reset() {
  m_origin.ResetPoint();
  m_axisX = CGVectorDirection::AxisX();
  m_axisY = CGVectorDirection::AxisY();
  m_axisZ = CGVectorDirection::AxisZ();
}

void CCoordinateSystem::Normalize() {
  m_axisX.Normalize();
  m_axisY.Normalize();
  m_axisZ.Normalize();
}

CGVectorDirection CCoordinateSystem::GlobalToLocalVector(const CGVectorDirection& v) const {
  return CGVectorDirection(v.Dot(m_axisX), v.Dot(m_axisY), v.Dot(m_axisZ));
}

CGPoint CCoordinateSystem::GlobalToLocal(const CGPoint& p) const {
  return GlobalToLocalVector(CGVectorDirection(p - m_origin));
}

CGVectorDirection CCoordinateSystem::LocalToGlobalVector(const CGVectorDirection& v) const {
  return CGVectorDirection(m_axisX * v.X() + m_axisY * v.Y() + m_axisZ * v.Z());
}

CGPoint CCoordinateSystem::LocalToGlobal(const CGPoint& p) const {
  return m_origin + LocalToGlobalVector(CGVectorDirection(p));
}

bool CCoordinateSystem::CopyTo(CCoordinateSystem* other) const { return other && other->CopyFrom(this); }

bool CCoordinateSystem::CopyFrom(const CCoordinateSystem* other) {
  if (!other) return false;
  m_origin.CopyFrom(&other->m_origin);
  m_axisX.CopyFrom(&other->m_axisX);
  m_axisY.CopyFrom(&other->m_axisY);
  m_axisZ.CopyFrom(&other->m_axisZ);
  return true;
}

bool CCoordinateSystem::IsEqualWith(const CCoordinateSystem* other) const {
  if (!other) return false;
  if (other == this) return true;
  return m_origin.IsEqualWith(&other->m_origin) && m_axisX.IsEqualWith(&other->m_axisX) &&
         m_axisY.IsEqualWith(&other->m_axisY) && m_axisZ.IsEqualWith(&other->m_axisZ);
}

}  // namespace GEOMETRY_OBJECTS
