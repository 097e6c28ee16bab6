#include "objects/data/CIBeam.h"

#include "platform/CCheckSum.h"

namespace TELMARO_DATA_OBJECTS {

CIBeam::CIBeam() = default;

CIBeam::~CIBeam() = default;

GE_::Safe::PtrStrong<CIBeam> CIBeam::GetNewObject() { return GE_::Safe::PtrStrong<CIBeam>(new CIBeam); }

bool CIBeam::CopyFrom(const CIBeam* other) {
  if (!other) return false;
  SetElement(other->Name(), other->Flags(), 0);
  SetID(other->ID());
  return m_section.CopyFrom(&other->m_section);
}

bool CIBeam::IsEqualWith(const CIBeam* other) const {
  return other && CEElement::IsEqualWith(static_cast<const CEElement*>(other)) &&
         m_section.IsEqualWith(&other->m_section);
}

ulong32 CIBeam::CheckSum() const {
  CCheckSum sum;
  sum.Add(NameRef());
  sum.AddU32(m_section.CheckSum());
  return sum.get();
}

void CIBeam::ResetBeam() {
  ResetElement();
  m_section.ResetSection();
}

}  // namespace TELMARO_DATA_OBJECTS
