// CICompositeData: the data of a steel-concrete composite beam: two
// materials (the member-design code uses the first for the concrete and the
// second for the reinforcement), the shear studs, the C4 factor and the
// critical length.
//
// Record (version 1, little-endian): version word (4); first material
// record; second material record; studs record; C4 factor (8); critical
// length (8). Another version reads nothing after the version word.
// Checksum: the three embedded checksums (4 each), C4 factor (8), critical
// length (8).
//
// The materials and the studs are held by value: never hand their
// addresses to a PtrStrong, which would delete them.
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/data/CMaterialData.h"
#include "objects/data/CStudsData.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCICompositeData = 1;

class TELIO_EXPORT CICompositeData : public GE_::Safe::ObjStrong {
 public:
  CICompositeData();
  CICompositeData(const CICompositeData& other) = default;
  CICompositeData& operator=(const CICompositeData& other) = default;
  ~CICompositeData() override;

  static GE_::Safe::PtrStrong<CICompositeData> GetNewObject();
  virtual GE_::Safe::PtrStrong<CICompositeData> Clone() const;

  const MATERIAL_OBJECTS::CMaterialData& FirstMaterial() const { return m_first; }
  MATERIAL_OBJECTS::CMaterialData* PFirstMaterial() { return &m_first; }
  const MATERIAL_OBJECTS::CMaterialData& SecondMaterial() const { return m_second; }
  MATERIAL_OBJECTS::CMaterialData* PSecondMaterial() { return &m_second; }
  const MATERIAL_OBJECTS::CStudsData& Studs() const { return m_studs; }
  MATERIAL_OBJECTS::CStudsData* PStuds() { return &m_studs; }

  double Composite_C4Factor() const { return m_c4; }
  double* PComposite_C4Factor() { return &m_c4; }
  void SetComposite_C4Factor(double v) { m_c4 = v; }
  double Composite_Lcr() const { return m_lcr; }
  double* PComposite_Lcr() { return &m_lcr; }
  void SetComposite_Lcr(double v) { m_lcr = v; }

  // Both materials and the studs reset, both factors 0.
  virtual void ResetCompositeData();
  // Everything; false for null.
  virtual bool CopyFrom(const CICompositeData* other);
  virtual bool CopyTo(CICompositeData* other) const;
  // The two materials and the studs equal; the factors are not compared.
  // False for null.
  virtual bool IsEqualWith(const CICompositeData* other) const;

  virtual bool Serialize(FILE* f, bool load);
  virtual ulong32 CheckSum() const;

 private:
  MATERIAL_OBJECTS::CMaterialData m_first;
  MATERIAL_OBJECTS::CMaterialData m_second;
  MATERIAL_OBJECTS::CStudsData m_studs;
  double m_c4;
  double m_lcr;
};

}  // namespace TELMARO_DATA_OBJECTS
