#include "objects/data/CISectionData.h"

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrStrong;
using ELEMENT_OBJECTS::CEElement;

CISectionData::CISectionData() : m_section(0), m_family(0), m_BAnnet(0), m_profile(0) {}

CISectionData::~CISectionData() = default;

PtrStrong<CISectionData> CISectionData::GetNewObject() { return PtrStrong<CISectionData>(new CISectionData); }

PtrStrong<CISectionData> CISectionData::Clone() const { return PtrStrong<CISectionData>(new CISectionData(*this)); }

void CISectionData::SetSection(ulong32 section, ulong32 family, ulong32 profile) {
  m_section = section;
  m_family = family;
  m_profile = profile;
}

void CISectionData::ResetSection() {
  ResetElement();
  m_section = m_family = m_profile = 0;
  m_BAnnet = 0;
}

bool CISectionData::CopyFrom(const CISectionData* other) {
  if (!other) return false;
  CEElement::CopyFrom(static_cast<const CEElement*>(other));
  m_section = other->m_section;
  m_family = other->m_family;
  m_profile = other->m_profile;
  m_BAnnet = other->m_BAnnet;
  return true;
}

bool CISectionData::CopyTo(CISectionData* other) const { return other && other->CopyFrom(this); }

bool CISectionData::IsEqualWith(const CISectionData* other) const {
  return other && CEElement::IsEqualWith(static_cast<const CEElement*>(other)) && m_section == other->m_section &&
         m_family == other->m_family && m_profile == other->m_profile;
}

bool CISectionData::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCISectionData;
  io.Version(version);
  if (!load) {
    if (!io.ok() || !CEElement::Serialize(f, false)) return false;
    io.UInt32(m_section).UInt32(m_family).UInt32(m_profile).Double(m_BAnnet);
    return io.ok();
  }
  CISectionData::ResetSection();
  if (!io.ok() || !CEElement::Serialize(f, true)) return false;
  switch (version) {
    case 1:
      io.UInt32(m_section).UInt32(m_family).Double(m_BAnnet);
      break;
    case 2:
      io.UInt32(m_section).UInt32(m_family).UInt32(m_profile).Double(m_BAnnet);
      break;
    default:
      break;  // a later layout: keep the defaults
  }
  return io.ok();
}

ulong32 CISectionData::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(m_section);
  sum.AddU32(m_family);
  sum.AddU32(m_profile);
  sum.AddF64(m_BAnnet);
  return sum.get();
}

}  // namespace TELMARO_DATA_OBJECTS
