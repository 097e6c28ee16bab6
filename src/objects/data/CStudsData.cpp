#include "objects/data/CStudsData.h"

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace MATERIAL_OBJECTS {

using GE_::Safe::PtrStrong;

CStudsData::CStudsData() : m_height(0), m_diameter(0), m_distance(0) {}

CStudsData::~CStudsData() = default;

PtrStrong<CMaterialData> CStudsData::GetNewObject() { return PtrStrong<CMaterialData>(new CStudsData); }

PtrStrong<CMaterialData> CStudsData::Clone() const { return PtrStrong<CMaterialData>(new CStudsData(*this)); }

void CStudsData::SetStudsData(double height, double diameter, double distance) {
  m_height = height;
  m_diameter = diameter;
  m_distance = distance;
}

void CStudsData::ResetStuds() {
  ResetMaterial();
  m_height = m_diameter = m_distance = 0;
}

bool CStudsData::CopyFrom(const CStudsData* other) {
  if (!CMaterialData::CopyFrom(other)) return false;
  m_height = other->m_height;
  m_diameter = other->m_diameter;
  m_distance = other->m_distance;
  return true;
}

bool CStudsData::CopyTo(CStudsData* other) const { return other && other->CopyFrom(this); }

bool CStudsData::IsEqualWith(const CStudsData* other) const {
  return other && CMaterialData::IsEqualWith(static_cast<const CMaterialData*>(other)) &&
         m_height == other->m_height && m_diameter == other->m_diameter && m_distance == other->m_distance;
}

bool CStudsData::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCStudsData;
  io.Version(version);
  if (load) m_height = m_diameter = m_distance = 0;
  if (!io.ok() || !CMaterialData::Serialize(f, load)) return false;
  if (!load || version == _SerializeVersionCStudsData) io.Double(m_height).Double(m_diameter).Double(m_distance);
  return io.ok();
}

ulong32 CStudsData::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CMaterialData::CheckSum());
  sum.AddF64(m_height);
  sum.AddF64(m_diameter);
  sum.AddF64(m_distance);
  return sum.get();
}

}  // namespace MATERIAL_OBJECTS
