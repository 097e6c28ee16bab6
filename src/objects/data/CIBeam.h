// CIBeam: an analysis beam of the section pre-check: its identity and its
// section. Its attribute word holds the code of the beam's own section in
// the analysis model (UpdateBeamSections sets it), so that results that
// propose other sections can be reset to the beam's own.
//
// Not stored in any record (Serialize is CEElement's: the identity alone).
// Checksum: the name (text), then the section's checksum (4).
#pragma once

#include "framework/PtrStrong.h"
#include "objects/data/CISectionData.h"
#include "objects/elements/CEElement.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

class TELIO_EXPORT CIBeam : public ELEMENT_OBJECTS::CEElement, public GE_::Safe::ObjStrong {
 public:
  CIBeam();
  CIBeam(const CIBeam& other) = default;
  CIBeam& operator=(const CIBeam& other) = default;
  ~CIBeam() override;

  static GE_::Safe::PtrStrong<CIBeam> GetNewObject();

  const CISectionData& Section() const { return m_section; }
  CISectionData* PSection() { return &m_section; }

  using CEElement::CopyFrom;
  using CEElement::IsEqualWith;
  // The name, the flags and the ID (the attributes become 0) and the
  // section; false for null.
  bool CopyFrom(const CIBeam* other);
  // Elements equal and sections equal; false for null.
  bool IsEqualWith(const CIBeam* other) const;

  ulong32 CheckSum() const override;
  // Element reset, then the section's own reset.
  virtual void ResetBeam();

 private:
  CISectionData m_section;
};

}  // namespace TELMARO_DATA_OBJECTS
