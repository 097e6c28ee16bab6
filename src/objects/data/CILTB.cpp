#include "objects/data/CILTB.h"

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGDistance;

namespace {

int ValidLTBType(int t) { return (t == kLTBType1 || t == kLTBType2) ? t : kLTBType2; }

}  // namespace

CILTB::CILTB() : m_kType(kLTBType2), m_kwType(kLTBType2) {}

CILTB::CILTB(double position, int kType, int kwType)
    : CGDistance(position), m_kType(ValidLTBType(kType)), m_kwType(ValidLTBType(kwType)) {}

CILTB::CILTB(const CILTB& other)
    : ObjStrong_base(), CGDistance(other), CEElement(other), m_kType(other.m_kType), m_kwType(other.m_kwType) {}

CILTB& CILTB::operator=(const CILTB& other) {
  CopyFrom(&other);
  return *this;
}

CILTB::~CILTB() = default;

void CILTB::SetKType(int t) { m_kType = ValidLTBType(t); }

void CILTB::SetKwType(int t) { m_kwType = ValidLTBType(t); }

void CILTB::SetLTB(int kType, int kwType) {
  SetKType(kType);
  SetKwType(kwType);
}

int CILTB::SetLTBAt(double position, int kType, int kwType) {
  int result = SetDistance(position);
  SetLTB(kType, kwType);
  return result;
}

int CILTB::SetLTBAt(const GEOMETRY_OBJECTS::CGPoint& at, int kType, int kwType) {
  int result = SetDistance(at);
  SetLTB(kType, kwType);
  return result;
}

bool CILTB::IsEqualWith(const CILTB* other) const {
  return other && CGDistance::IsEqualWith(static_cast<const CGDistance*>(other)) && MatchWith(other);
}

bool CILTB::MatchWith(const CILTB* other) const {
  return other && m_kType == other->m_kType && m_kwType == other->m_kwType;
}

bool CILTB::CopyFrom(const CILTB* other) {
  if (!other) return false;
  if (other == this) return true;
  CGDistance::CopyFrom(static_cast<const CGDistance*>(other));
  CEElement::CopyFrom(static_cast<const CEElement*>(other));
  m_kType = other->m_kType;
  m_kwType = other->m_kwType;
  return true;
}

bool CILTB::CopyTo(CILTB* other) const { return other && other->CopyFrom(this); }

PtrStrong<CGDistance> CILTB::Clone() const { return PtrStrong<CGDistance>(new CILTB(*this)); }

bool CILTB::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCILTB;
  io.Version(version);
  if (load) {
    ResetElement();
    m_distance = 0;
    m_kType = m_kwType = kLTBType2;
    if (!io.ok()) return false;
    if (version != _SerializeVersionCILTB) return true;
  }
  if (!io.ok() || !CEElement::Serialize(f, load)) return false;
  io.Double(m_distance).Int(m_kType).Int(m_kwType);
  return io.ok();
}

ulong32 CILTB::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CGDistance::CheckSum());
  sum.AddI32(m_kType);
  sum.AddI32(m_kwType);
  return sum.get();
}

int CILTB::Exists() const {
  return (m_kType == kLTBType1 || m_kType == kLTBType2) && (m_kwType == kLTBType1 || m_kwType == kLTBType2) ? 1 : 0;
}

}  // namespace TELMARO_DATA_OBJECTS
