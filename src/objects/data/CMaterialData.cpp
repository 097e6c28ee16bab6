#include "objects/data/CMaterialData.h"

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace MATERIAL_OBJECTS {

using GE_::Safe::PtrStrong;
using ELEMENT_OBJECTS::CEElement;

CMaterialData::CMaterialData() : m_strength(0) {}

CMaterialData::CMaterialData(const CString& name, const char* internalName)
    : CEElement(name, 0), m_internalName(internalName ? internalName : ""), m_strength(0) {}

CMaterialData::~CMaterialData() = default;

PtrStrong<CMaterialData> CMaterialData::GetNewObject() { return PtrStrong<CMaterialData>(new CMaterialData); }

PtrStrong<CMaterialData> CMaterialData::Clone() const { return PtrStrong<CMaterialData>(new CMaterialData(*this)); }

void CMaterialData::SetMaterialData(const CString& name, double strength, const CString& internalName) {
  SetName(name);
  m_strength = strength;
  m_internalName = internalName;
}

void CMaterialData::ResetMaterial() {
  ResetElement();
  m_internalName.Empty();
  m_strength = 0;
}

bool CMaterialData::CopyFrom(const CMaterialData* other) {
  if (!other) return false;
  CEElement::CopyFrom(static_cast<const CEElement*>(other));
  m_internalName = other->m_internalName;
  m_strength = other->m_strength;
  return true;
}

bool CMaterialData::CopyTo(CMaterialData* other) const { return other && other->CopyFrom(this); }

bool CMaterialData::IsEqualWith(const CMaterialData* other) const {
  return other && CEElement::IsEqualWith(static_cast<const CEElement*>(other)) &&
         m_internalName.CompareNoCase(other->m_internalName) == 0 && m_strength == other->m_strength;
}

bool CMaterialData::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCMaterialData;
  io.Version(version);
  if (load) CMaterialData::ResetMaterial();
  if (!io.ok() || !CEElement::Serialize(f, load)) return false;
  if (!load || version == _SerializeVersionCMaterialData) io.Text(m_internalName).Double(m_strength);
  return io.ok();
}

ulong32 CMaterialData::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CEElement::CheckSum());
  sum.Add(m_internalName);
  sum.AddF64(m_strength);
  return sum.get();
}

}  // namespace MATERIAL_OBJECTS
