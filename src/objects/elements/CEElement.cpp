#include "objects/elements/CEElement.h"

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace ELEMENT_OBJECTS {

CEElement::CEElement() : m_attr(0), m_flags(0), m_id(0) {}

CEElement::CEElement(const CString& name, ulong32 flags) : m_name(name), m_attr(0), m_flags(flags), m_id(0) {}

CEElement::~CEElement() = default;

void CEElement::SetElement(const CString& name, ulong32 flags, ulong32 attributes) {
  m_name = name;
  m_flags = flags;
  m_attr = attributes;
}

void CEElement::ResetElement() {
  m_id = 0;
  m_name.Empty();
  m_attr = 0;
  m_flags = 0;
}

bool CEElement::CopyTo(CEElement* other) const { return other && other->CopyFrom(this); }

bool CEElement::CopyFrom(const CEElement* other) {
  if (!other) return false;
  m_name = other->m_name;
  m_attr = other->m_attr;
  m_flags = other->m_flags;
  m_id = other->m_id;
  return true;
}

bool CEElement::IsEqualWith(const CEElement* other) const {
  return other && m_name.CompareNoCase(other->m_name) == 0 && m_flags == other->m_flags;
}

bool CEElement::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCEElement;
  io.Version(version);
  if (!load) {
    io.UInt32(m_id).Text(m_name).UInt32(m_attr).UInt32(m_flags);
    return io.ok();
  }
  CEElement::ResetElement();
  if (!io.ok()) return false;
  switch (version) {
    // Its own readers, called directly: derived design objects reuse the
    // two reader slots for the versions of their own records.
    case 1:
      return CEElement::ReadVersion1(f);
    case 2:
      return CEElement::ReadVersion2(f);
    default:
      return true;  // a later layout: keep the defaults
  }
}

bool CEElement::ReadVersion1(FILE* f) {
  CPersist io(f, true);
  io.UInt32(m_id).FixedText(m_name, kOldTextSize).UInt32(m_attr).UInt32(m_flags);
  return io.ok();
}

bool CEElement::ReadVersion2(FILE* f) {
  CPersist io(f, true);
  io.UInt32(m_id).Text(m_name).UInt32(m_attr).UInt32(m_flags);
  return io.ok();
}

ulong32 CEElement::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(m_id);
  sum.Add(m_name);
  sum.AddU32(m_attr);
  sum.AddU32(m_flags);
  return sum.get();
}

}  // namespace ELEMENT_OBJECTS
