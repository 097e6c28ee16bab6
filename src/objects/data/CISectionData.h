// CISectionData: the identity of a cross-section used in a design: the
// section's catalogue key, its family and its profile (the sub-number within
// the family), and the net-area ratio BAnnet, which the member-design code
// also uses for the section's rotation angle.
//
// Record (after CEElement's fields, all little-endian):
//   version 2 (written): version word 2 (4); the CEElement record; section
//     (4); family (4); profile (4); BAnnet (8).
//   version 1 (read):    version word 1 (4); the CEElement record; section
//     (4); family (4); BAnnet (8); the profile stays 0.
// Loading reads the version word and the element record, clears the codes
// and BAnnet, then reads the layout of that version; a later version reads
// nothing after the element record.
// Checksum: section (4), family (4), profile (4), BAnnet (8); the element
// part is not fed.
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "objects/elements/CEElement.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

const unsigned int _SerializeVersionCISectionData = 2;

class TELIO_EXPORT CISectionData : public ELEMENT_OBJECTS::CEElement, public GE_::Safe::ObjStrong {
 public:
  CISectionData();
  CISectionData(const CISectionData& other) = default;
  CISectionData& operator=(const CISectionData& other) = default;
  ~CISectionData() override;

  // A new, reset CISectionData.
  static GE_::Safe::PtrStrong<CISectionData> GetNewObject();
  // A new object of the same class with the same content.
  virtual GE_::Safe::PtrStrong<CISectionData> Clone() const;

  ulong32 Section() const { return m_section; }
  ulong32* PSection() { return &m_section; }
  ulong32 Family() const { return m_family; }
  ulong32* PFamily() { return &m_family; }
  double BAnnet() const { return m_BAnnet; }
  double* PBAnnet() { return &m_BAnnet; }
  virtual void SetBAnnet(double value) { m_BAnnet = value; }
  ulong32 Profile() const { return m_profile; }
  ulong32* PProfile() { return &m_profile; }

  // The three codes; the name, BAnnet and the identity stay.
  virtual void SetSection(ulong32 section, ulong32 family, ulong32 profile);
  // Element reset, the codes and BAnnet 0.
  virtual void ResetSection();
  // A family and either a section key or a profile.
  bool IsValidSection() const { return m_family != 0 && (m_section != 0 || m_profile != 0); }

  using CEElement::CopyFrom;
  using CEElement::CopyTo;
  using CEElement::IsEqualWith;
  // Name, attributes, flags, ID, the three codes and BAnnet; false for null.
  virtual bool CopyFrom(const CISectionData* other);
  virtual bool CopyTo(CISectionData* other) const;
  // Elements equal (name ignoring case, flags) and the three codes equal;
  // BAnnet is not compared. False for null.
  virtual bool IsEqualWith(const CISectionData* other) const;

  // One override for both parts: the whole section record. Returns false
  // when the stream failed (last error 38, 8 or the write's); the fields not
  // read keep their reset values.
  bool Serialize(FILE* f, bool load) override;
  ulong32 CheckSum() const override;

 private:
  ulong32 m_section;
  ulong32 m_family;
  double m_BAnnet;
  ulong32 m_profile;
};

}  // namespace TELMARO_DATA_OBJECTS
