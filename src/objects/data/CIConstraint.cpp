#include "objects/data/CIConstraint.h"

#include <cmath>

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace TELMARO_DATA_OBJECTS {

using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGDistance;

namespace {

bool IsRestraintType(int t) { return t >= kConstraintType1 && t <= kConstraintTypeN; }

}  // namespace

CIConstraint::CIConstraint() { ResetConstraint(); }

CIConstraint::CIConstraint(double position, int type, int sway, double eta) : CGDistance(position) {
  ResetConstraint();
  CIConstraint::SetConstraint(type, sway, eta);
}

CIConstraint::CIConstraint(const CIConstraint& other)
    : ObjStrong_base(),
      CGDistance(other),
      CEElement(other),
      m_sway(other.m_sway),
      m_type(other.m_type),
      m_eta(other.m_eta) {
  for (int i = 0; i < kEtaDataCount; ++i) m_etaData[i] = other.m_etaData[i];
}

CIConstraint& CIConstraint::operator=(const CIConstraint& other) {
  CopyFrom(&other);
  return *this;
}

CIConstraint::~CIConstraint() = default;

void CIConstraint::ResetConstraint() {
  m_sway = 0;
  m_type = kConstraintType2;
  m_eta = 1.0;
  for (CIEtaData& eta : m_etaData) eta.ResetEtaData();
}

int CIConstraint::GetTypeOld() const {
  if (!IsRestraintType(m_type)) return 0;
  return 2 * m_type - 1 + (m_sway ? 1 : 0);
}

void CIConstraint::SetTypeFromOld(int code, double eta) {
  const bool known = code >= 1 && code <= 6;
  m_type = known ? (code + 1) / 2 : 0;
  m_sway = known && code % 2 == 0 ? 1 : 0;
  m_eta = 0.0;
  FixEta();
  SetEta(eta);
}

bool CIConstraint::IsEqualWith(const CIConstraint* other) const {
  return other && CGDistance::IsEqualWith(static_cast<const CGDistance*>(other)) && MatchWith(other);
}

bool CIConstraint::MatchWith(const CIConstraint* other) const {
  if (!other || m_type != other->m_type || m_sway != other->m_sway) return false;
  if (!(std::fabs(m_eta - other->m_eta) <= GEOMETRY_OBJECTS::kGeoTolerance)) return false;
  for (int i = 0; i < kEtaDataCount; ++i) {
    if (!m_etaData[i].IsEqualWith(&other->m_etaData[i])) return false;
  }
  return true;
}

bool CIConstraint::CopyFrom(const CIConstraint* other) {
  if (!other) return false;
  if (other == this) return true;
  CGDistance::CopyFrom(static_cast<const CGDistance*>(other));
  CEElement::CopyFrom(static_cast<const CEElement*>(other));
  m_type = other->m_type;
  m_sway = other->m_sway;
  m_eta = other->m_eta;
  for (int i = 0; i < kEtaDataCount; ++i) m_etaData[i] = other->m_etaData[i];
  return true;
}

bool CIConstraint::CopyTo(CIConstraint* other) const { return other && other->CopyFrom(this); }

PtrStrong<CGDistance> CIConstraint::Clone() const { return PtrStrong<CGDistance>(new CIConstraint(*this)); }

bool CIConstraint::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCIConstraint;
  io.Version(version);
  if (load) {
    ResetElement();
    m_distance = 0;
    ResetConstraint();
    if (!io.ok()) return false;
    if (version != 1 && version != _SerializeVersionCIConstraint) return true;
  }
  if (!io.ok() || !CEElement::Serialize(f, load)) return false;
  io.Double(m_distance).Int(m_type).Int(m_sway).Double(m_eta);
  if (!io.ok()) return false;
  if (load) FixEta();
  if (version == 1) return true;
  for (CIEtaData& eta : m_etaData) {
    if (!eta.Serialize(f, load)) return false;
  }
  return true;
}

ulong32 CIConstraint::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CGDistance::CheckSum());
  sum.AddI32(m_type);
  sum.AddI32(m_sway);
  sum.AddF64(m_eta);
  return sum.get();
}

void CIConstraint::SetType(int t) {
  m_type = IsRestraintType(t) ? t : kConstraintType2;
  m_eta = 0.0;
  FixEta();
}

void CIConstraint::SetSway(int s) { m_sway = s; }

void CIConstraint::SetEta(double e) {
  if (IsNConstraint()) m_eta = e;
}

void CIConstraint::SetConstraint(int type, int sway, double eta) {
  SetType(type);
  SetSway(sway);
  SetEta(eta);
}

int CIConstraint::SetConstraintAt(const GEOMETRY_OBJECTS::CGPoint& at, int type, int sway, double eta) {
  int result = SetDistance(at);
  SetConstraint(type, sway, eta);
  return result;
}

int CIConstraint::SetConstraintAt(double position, int type, int sway, double eta) {
  int result = SetDistance(position);
  SetConstraint(type, sway, eta);
  return result;
}

void CIConstraint::FixEta() {
  if (m_type == kConstraintType2) {
    m_eta = 1.0;
  } else if (m_type != kConstraintTypeN) {
    m_eta = 0.0;
  }
}

int CIConstraint::Exists() const { return IsRestraintType(m_type) ? 1 : 0; }

ulong32 CIConstraint::EtaDataCheckSum() const {
  CCheckSum sum;
  for (const CIEtaData& eta : m_etaData) sum.AddU32(eta.CheckSum());
  return sum.get();
}

}  // namespace TELMARO_DATA_OBJECTS
