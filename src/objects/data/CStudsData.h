// CStudsData: the shear studs of a composite beam: a material with the
// studs' height, diameter and spacing.
//
// Record (version 1, little-endian): version word (4); the CMaterialData
// record; height (8); diameter (8); distance (8). Another version reads
// nothing after the material record.
// Checksum: the CMaterialData checksum (4), height, diameter, distance (8
// each).
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/data/CMaterialData.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace MATERIAL_OBJECTS {

const unsigned int _SerializeVersionCStudsData = 1;

class TELIO_EXPORT CStudsData : public CMaterialData {
 public:
  CStudsData();
  CStudsData(const CStudsData& other) = default;
  CStudsData& operator=(const CStudsData& other) = default;
  ~CStudsData() override;

  // A PtrStrong<CMaterialData> holding a new CStudsData.
  static GE_::Safe::PtrStrong<CMaterialData> GetNewObject();
  GE_::Safe::PtrStrong<CMaterialData> Clone() const override;

  double Height() const { return m_height; }
  double* PHeight() { return &m_height; }
  double Diameter() const { return m_diameter; }
  double* PDiameter() { return &m_diameter; }
  double Distance() const { return m_distance; }
  double* PDistance() { return &m_distance; }
  void SetStudsData(double height, double diameter, double distance);

  // Material reset and the three values 0.
  virtual void ResetStuds();

  using CMaterialData::CopyFrom;
  using CMaterialData::CopyTo;
  using CMaterialData::IsEqualWith;
  // The material and the three values; false for null.
  virtual bool CopyFrom(const CStudsData* other);
  virtual bool CopyTo(CStudsData* other) const;
  // As CMaterialData, and the three values exactly equal; false for null.
  virtual bool IsEqualWith(const CStudsData* other) const;

  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;

 private:
  double m_height;
  double m_diameter;
  double m_distance;
};

}  // namespace MATERIAL_OBJECTS
