#include "objects/data/CILTBData.h"

#include <cmath>

#include "framework/Persist.h"
#include "platform/CCheckSum.h"

namespace TELMARO_DATA_OBJECTS {

namespace {

const double kFactorTolerance = 0.001;

// k (or kw) of a span from the end conditions at its two ends.
double SpanFactor(int left, int right) {
  if (left == kLTBType1 && right == kLTBType1) return 0.5;
  if ((left == kLTBType1 && right == kLTBType2) || (left == kLTBType2 && right == kLTBType1)) return 0.7;
  if (left == kLTBType2 && right == kLTBType2) return 1.0;
  return 0.0;
}

bool Near(double a, double b) { return std::fabs(a - b) <= kFactorTolerance; }

}  // namespace

CILTBData::CILTBData() : m_length(0), m_k(0), m_kw(0) {}

CILTBData::CILTBData(CILTB* left, CILTB* right) : m_left(left), m_right(right), m_length(0), m_k(0), m_kw(0) {
  ResetLTBData();
}

CILTBData::CILTBData(const CILTBData& other)
    : ObjStrong_base(),
      ObjStrong(other),
      CEElement(other),
      m_left(other.m_left),
      m_right(other.m_right),
      m_length(other.m_length),
      m_k(other.m_k),
      m_kw(other.m_kw) {
  m_lcValues.CopyFrom(&other.m_lcValues);
}

CILTBData::~CILTBData() = default;

int CILTBData::SetLTBData(CILTB* left, CILTB* right) {
  m_left = left;
  m_right = right;
  return 1;
}

int CILTBData::IsValidLTBData() const {
  const CILTB* left = m_left.GetPtr();
  const CILTB* right = m_right.GetPtr();
  return left && right && left->Exists() && right->Exists() ? 1 : 0;
}

int CILTBData::ResetLTBData() {
  m_length = m_k = m_kw = 0.0;
  if (!IsValidLTBData()) return 0;
  const CILTB* left = m_left.GetPtr();
  const CILTB* right = m_right.GetPtr();
  m_length = std::fabs(left->Distance() - right->Distance());
  m_k = SpanFactor(left->KType(), right->KType());
  m_kw = SpanFactor(left->KwType(), right->KwType());
  return 1;
}

bool CILTBData::IsEqualWith(const CILTBData* other) const {
  return other && CEElement::IsEqualWith(static_cast<const CEElement*>(other)) && Near(m_length, other->m_length) &&
         MatchWith(other) && m_lcValues.IsEqualWith(&other->m_lcValues);
}

bool CILTBData::MatchWith(const CILTBData* other) const {
  return other && Near(m_k, other->m_k) && Near(m_kw, other->m_kw);
}

bool CILTBData::CopyFrom(const CILTBData* other) {
  if (!other) return false;
  if (other == this) return true;
  CEElement::CopyFrom(static_cast<const CEElement*>(other));
  m_k = other->m_k;
  m_kw = other->m_kw;
  return m_lcValues.CopyFrom(&other->m_lcValues);
}

bool CILTBData::CopyTo(CILTBData* other) const { return other && other->CopyFrom(this); }

bool CILTBData::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCILTBData;
  io.Version(version);
  if (!load) {
    if (!io.ok() || !CEElement::Serialize(f, false)) return false;
    const CILTB* left = m_left.GetPtr();
    const CILTB* right = m_right.GetPtr();
    double leftAt = left ? left->Distance() : -1.0;
    double rightAt = right ? right->Distance() : -1.0;
    io.Double(leftAt).Double(rightAt).Double(m_length).Double(m_k).Double(m_kw);
    return io.ok() && m_lcValues.Serialize(f, false);
  }
  ResetElement();
  ResetLTBData();
  m_lcValues.RemoveAll();
  if (!io.ok()) return false;
  switch (version) {
    case 1:
      return CEElement::Serialize(f, true) && ReadVersion1(f);
    case 2:
      return CEElement::Serialize(f, true) && ReadVersion2(f);
    default:
      return true;  // a later layout: keep the defaults
  }
}

bool CILTBData::ReadVersion1(FILE* f) {
  CPersist io(f, true);
  double dropped = 0;
  io.Double(dropped).Double(dropped).Double(dropped).Double(m_k).Double(m_kw);
  return io.ok();
}

bool CILTBData::ReadVersion2(FILE* f) { return ReadVersion1(f) && m_lcValues.Serialize(f, true); }

ulong32 CILTBData::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(CEElement::CheckSum());
  sum.AddF64(m_length);
  sum.AddF64(m_k);
  sum.AddF64(m_kw);
  sum.AddU32(m_lcValues.CheckSum());
  return sum.get();
}

}  // namespace TELMARO_DATA_OBJECTS
