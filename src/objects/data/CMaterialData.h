// CMaterialData: a named material with a strength, and an internal name by
// which the applications know it.
//
// Record (version 1, little-endian): version word (4); the CEElement
// record; internal name (32-bit length, then the bytes); strength (8).
// Another version reads nothing after the element record.
// Checksum: the CEElement checksum (4), the internal name (text), the
// strength (8).
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/elements/CEElement.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace MATERIAL_OBJECTS {

const unsigned int _SerializeVersionCMaterialData = 1;

class TELIO_EXPORT CMaterialData : public GE_::Safe::ObjStrong, public ELEMENT_OBJECTS::CEElement {
 public:
  CMaterialData();
  // Name and internal name (null: empty); strength 0.
  CMaterialData(const CString& name, const char* internalName);
  CMaterialData(const CMaterialData& other) = default;
  CMaterialData& operator=(const CMaterialData& other) = default;
  ~CMaterialData() override;

  static GE_::Safe::PtrStrong<CMaterialData> GetNewObject();
  virtual GE_::Safe::PtrStrong<CMaterialData> Clone() const;

  CString InternalName() const { return m_internalName; }
  CString* PInternalName() { return &m_internalName; }
  double Strength() const { return m_strength; }
  double* PStrength() { return &m_strength; }

  // The element name, the strength and the internal name.
  void SetMaterialData(const CString& name, double strength, const CString& internalName);
  // Element reset, internal name empty, strength 0.
  virtual void ResetMaterial();

  using CEElement::CopyFrom;
  using CEElement::CopyTo;
  using CEElement::IsEqualWith;
  // Identity, internal name and strength; false for null.
  virtual bool CopyFrom(const CMaterialData* other);
  virtual bool CopyTo(CMaterialData* other) const;
  // Elements equal (name ignoring case, flags), internal names equal
  // ignoring case, strengths exactly equal; false for null.
  virtual bool IsEqualWith(const CMaterialData* other) const;

  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;

 private:
  CString m_internalName;
  double m_strength;
};

}  // namespace MATERIAL_OBJECTS
