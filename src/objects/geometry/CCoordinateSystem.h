// CCoordinateSystem: a local frame (origin and three axes) that converts
// points and vectors between local and global coordinates. The axes are
// taken as orthonormal: conversions project on them and never invert a
// matrix, so a frame with skewed or unnormalised axes converts
// inconsistently (Normalize makes each axis a unit vector; it does not make
// them perpendicular). Not persisted.
#pragma once

#include "framework/PtrStrong.h"
#include "objects/geometry/CGPoint.h"
#include "objects/geometry/CGVectorDirection.h"
#include "platform/Export.h"

namespace GEOMETRY_OBJECTS {

class TELIO_EXPORT CCoordinateSystem : public GE_::Safe::ObjStrong {
 public:
  // The global frame.
  CCoordinateSystem();
  CCoordinateSystem(const CCoordinateSystem& other) = default;
  CCoordinateSystem& operator=(const CCoordinateSystem& other) = default;
  ~CCoordinateSystem() override;

  // Origin (0, 0, 0), axes X, Y, Z.
  void Reset();
  void SetOrigin(const CGPoint& origin) { m_origin.CopyFrom(&origin); }
  void SetAxisX(const CGVectorDirection& v) { m_axisX.CopyFrom(&v); }
  void SetAxisY(const CGVectorDirection& v) { m_axisY.CopyFrom(&v); }
  void SetAxisZ(const CGVectorDirection& v) { m_axisZ.CopyFrom(&v); }
  CGPoint Origin() const { return m_origin; }
  CGVectorDirection AxisX() const { return m_axisX; }
  CGVectorDirection AxisY() const { return m_axisY; }
  CGVectorDirection AxisZ() const { return m_axisZ; }
  // Normalises each axis (an axis of norm <= 0.001 becomes zero).
  void Normalize();

  // (v·X, v·Y, v·Z).
  CGVectorDirection GlobalToLocalVector(const CGVectorDirection& v) const;
  CGPoint GlobalToLocal(const CGPoint& p) const;
  // X·v.x + Y·v.y + Z·v.z.
  CGVectorDirection LocalToGlobalVector(const CGVectorDirection& v) const;
  CGPoint LocalToGlobal(const CGPoint& p) const;

  // False for null.
  virtual bool CopyTo(CCoordinateSystem* other) const;
  virtual bool CopyFrom(const CCoordinateSystem* other);
  // The same object, or origin and axes equal as points (0.001 box).
  virtual bool IsEqualWith(const CCoordinateSystem* other) const;

 private:
  CGPoint m_origin;
  CGVectorDirection m_axisX;
  CGVectorDirection m_axisY;
  CGVectorDirection m_axisZ;
};

}  // namespace GEOMETRY_OBJECTS
