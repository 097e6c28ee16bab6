// CGGeometryLstBase: a geometry list, a CSmartCollection with a word of
// shape flags. What each flag enforces on insertion belongs to the
// placement rules of the point, line and distance lists.
#pragma once

#include "framework/CSmartCollection.h"
#include "platform/Types.h"

namespace GEOMETRY_OBJECTS {

// Shape flags (frozen values: they are saved with every geometry list).
enum : ulong32 {
  kGeoListUnique = 0x01,
  kGeoListCollinear = 0x02,
  kGeoListContinues = 0x04,
  kGeoListParallel = 0x08,
  kGeoListNotIntersect = 0x10,
  kGeoListCoplanar = 0x20,
  kGeoListSkew = 0x40,
  kGeoListSameDirection = 0x80,
};

template <class T>
class CGGeometryLstBase : public CSmartCollection<T> {
 public:
  explicit CGGeometryLstBase(ulong32 flags = 0) : m_flags(flags) {}
  CGGeometryLstBase& operator=(const CGGeometryLstBase& other) {
    if (&other != this) {
      this->CopyFrom(&other);
      m_flags = other.m_flags;
    }
    return *this;
  }
  ~CGGeometryLstBase() override = default;

  void Initialize(ulong32 flags) { m_flags = flags; }
  ulong32 GetFlags() const { return m_flags; }

  bool IsUniqueList() const { return (m_flags & kGeoListUnique) != 0; }
  bool IsCollinearList() const { return (m_flags & kGeoListCollinear) != 0; }
  bool IsContinuesList() const { return (m_flags & kGeoListContinues) != 0; }
  bool IsParallelList() const { return (m_flags & kGeoListParallel) != 0; }
  bool IsNotIntersectList() const { return (m_flags & kGeoListNotIntersect) != 0; }
  bool IsCoplanarList() const { return (m_flags & kGeoListCoplanar) != 0; }
  bool IsSkewList() const { return (m_flags & kGeoListSkew) != 0; }
  bool IsSameDirectionList() const { return (m_flags & kGeoListSameDirection) != 0; }

 protected:
  // The flags and copies (Clone) of other's elements; false for null.
  bool CopyClonesAndFlagsFrom(const CGGeometryLstBase* other) {
    if (!other) return false;
    if (other == this) return true;
    this->CopyClonesFrom(*other);
    m_flags = other->m_flags;
    return true;
  }

  ulong32 m_flags;
};

}  // namespace GEOMETRY_OBJECTS
