#include "objects/data/CIEtaData.h"

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace TELMARO_DATA_OBJECTS {

using ELEMENT_OBJECTS::CEElement;

CIEtaData::CIEtaData()
    : m_hasM11(0), m_factorK11(0), m_iyIz(0), m_length(0), m_theta(0), m_nsd(0), m_type(0), m_mode(0) {}

CIEtaData::~CIEtaData() = default;

void CIEtaData::ResetEtaData() {
  ResetElement();
  m_section.ResetSection();
  m_hasM11 = m_iyIz = m_type = m_mode = 0;
  m_factorK11 = m_length = m_theta = m_nsd = 0;
}

bool CIEtaData::CopyFrom(const CIEtaData* other) {
  if (!other) return false;
  if (other != this) *this = *other;
  return true;
}

bool CIEtaData::CopyTo(CIEtaData* other) const { return other && other->CopyFrom(this); }

bool CIEtaData::IsEqualWith(const CIEtaData* other) const {
  return other && CEElement::IsEqualWith(static_cast<const CEElement*>(other)) &&
         m_section.IsEqualWith(&other->m_section) && m_mode == other->m_mode && m_hasM11 == other->m_hasM11 &&
         m_factorK11 == other->m_factorK11 && m_iyIz == other->m_iyIz && m_length == other->m_length &&
         Theta() == other->Theta() && Nsd() == other->Nsd() && Type() == other->Type();
}

bool CIEtaData::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCIEtaData;
  io.Version(version);
  if (load) CIEtaData::ResetEtaData();
  if (!io.ok() || !CEElement::Serialize(f, load)) return false;
  if (load && version != _SerializeVersionCIEtaData) return true;  // a later layout: keep the defaults
  io.Int(m_mode).Int(m_hasM11).Double(m_factorK11);
  if (!io.ok() || !m_section.Serialize(f, load)) return false;
  io.Int(m_iyIz).Double(m_length).Double(m_theta).Double(m_nsd).Int(m_type);
  return io.ok();
}

ulong32 CIEtaData::CheckSum() const {
  CCheckSum sum;
  sum.AddI32(m_hasM11);
  sum.AddF64(m_factorK11);
  sum.AddU32(m_section.CheckSum());
  sum.AddI32(m_iyIz);
  sum.AddF64(m_length);
  sum.AddF64(Theta());
  sum.AddF64(Nsd());
  sum.AddI32(Type());
  return sum.get();
}

}  // namespace TELMARO_DATA_OBJECTS
