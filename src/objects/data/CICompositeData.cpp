#include "objects/data/CICompositeData.h"

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrStrong;

CICompositeData::CICompositeData() : m_c4(0), m_lcr(0) {}

CICompositeData::~CICompositeData() = default;

PtrStrong<CICompositeData> CICompositeData::GetNewObject() { return PtrStrong<CICompositeData>(new CICompositeData); }

PtrStrong<CICompositeData> CICompositeData::Clone() const {
  return PtrStrong<CICompositeData>(new CICompositeData(*this));
}

void CICompositeData::ResetCompositeData() {
  m_first.ResetMaterial();
  m_second.ResetMaterial();
  m_studs.ResetStuds();
  m_c4 = m_lcr = 0;
}

bool CICompositeData::CopyFrom(const CICompositeData* other) {
  if (!other) return false;
  m_first.CopyFrom(&other->m_first);
  m_second.CopyFrom(&other->m_second);
  m_studs.CopyFrom(&other->m_studs);
  m_c4 = other->m_c4;
  m_lcr = other->m_lcr;
  return true;
}

bool CICompositeData::CopyTo(CICompositeData* other) const { return other && other->CopyFrom(this); }

bool CICompositeData::IsEqualWith(const CICompositeData* other) const {
  return other && m_first.IsEqualWith(&other->m_first) && m_second.IsEqualWith(&other->m_second) &&
         m_studs.IsEqualWith(&other->m_studs);
}

bool CICompositeData::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCICompositeData;
  io.Version(version);
  if (load) ResetCompositeData();
  if (!io.ok()) return false;
  if (load && version != _SerializeVersionCICompositeData) return true;  // a later layout: keep the defaults
  if (!m_first.Serialize(f, load) || !m_second.Serialize(f, load) || !m_studs.Serialize(f, load)) return false;
  io.Double(m_c4).Double(m_lcr);
  return io.ok();
}

ulong32 CICompositeData::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(m_first.CheckSum());
  sum.AddU32(m_second.CheckSum());
  sum.AddU32(m_studs.CheckSum());
  sum.AddF64(m_c4);
  sum.AddF64(m_lcr);
  return sum.get();
}

}  // namespace TELMARO_DATA_OBJECTS
