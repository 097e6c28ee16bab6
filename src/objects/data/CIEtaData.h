// CIEtaData: the data from which a member check derives an eta value: the
// section, whether M11 acts and its factor K11, the axis, a length, and the
// values Theta, Nsd and Type, which mode 1 hides.
//
// Record (version 1, little-endian): version word (4); the CEElement
// record; mode (4); HasM11 (4); FactorK11 (8); the CISectionData record;
// Iy_Iz (4); Length (8); Theta (8); Nsd (8); Type (4). The stored values
// are written, also those that mode 1 hides. Another version reads nothing
// after the element record.
// Checksum: HasM11 (4), FactorK11 (8), the section's checksum (4), Iy_Iz
// (4), Length, Theta, Nsd (8 each), Type (4), the last three as their
// getters give them (0 under mode 1). The element part and the mode are not
// fed.
//
// Not a shared object: constraints hold their eta data by value.
#pragma once

#include <cstdio>

#include "objects/data/CISectionData.h"
#include "objects/elements/CEElement.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCIEtaData = 1;

class TELIO_EXPORT CIEtaData : public ELEMENT_OBJECTS::CEElement {
 public:
  // The mode under which Theta, Nsd and Type read as 0.
  enum : int { kModeHidesValues = 1 };

  CIEtaData();
  CIEtaData(const CIEtaData& other) = default;
  CIEtaData& operator=(const CIEtaData& other) = default;
  ~CIEtaData() override;

  const CISectionData& Section() const { return m_section; }
  // The embedded section: never hand it to a PtrStrong.
  CISectionData* PSection() { return &m_section; }
  int HasM11() const { return m_hasM11; }
  int* PHasM11() { return &m_hasM11; }
  double FactorK11() const { return m_factorK11; }
  double* PFactorK11() { return &m_factorK11; }
  int Iy_Iz() const { return m_iyIz; }
  int* PIy_Iz() { return &m_iyIz; }
  double Length() const { return m_length; }
  double* PLength() { return &m_length; }
  // 0 (and null pointers) under mode 1.
  double Theta() const { return IsHiding() ? 0.0 : m_theta; }
  double* PTheta() { return IsHiding() ? nullptr : &m_theta; }
  double Nsd() const { return IsHiding() ? 0.0 : m_nsd; }
  double* PNsd() { return IsHiding() ? nullptr : &m_nsd; }
  int Type() const { return IsHiding() ? 0 : m_type; }
  int* PType() { return IsHiding() ? nullptr : &m_type; }
  int Mode() const { return m_mode; }
  int* PMode() { return &m_mode; }

  void SetEtaData(int hasM11, double factorK11) {
    m_hasM11 = hasM11;
    m_factorK11 = factorK11;
  }
  // Element and section reset, every number 0.
  virtual void ResetEtaData();

  using CEElement::CopyFrom;
  using CEElement::CopyTo;
  using CEElement::IsEqualWith;
  // Everything, the stored hidden values included; false for null.
  virtual bool CopyFrom(const CIEtaData* other);
  virtual bool CopyTo(CIEtaData* other) const;
  // Elements equal, sections equal, modes, HasM11, FactorK11, Iy_Iz and
  // Length equal, then Theta, Nsd and Type as the getters give them (so
  // values hidden by mode 1 count as 0 on both sides). False for null.
  virtual bool IsEqualWith(const CIEtaData* other) const;

  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;

 private:
  bool IsHiding() const { return m_mode == kModeHidesValues; }

  CISectionData m_section;
  int m_hasM11;
  double m_factorK11;
  int m_iyIz;
  double m_length;
  double m_theta;
  double m_nsd;
  int m_type;
  int m_mode;
};

}  // namespace TELMARO_DATA_OBJECTS
