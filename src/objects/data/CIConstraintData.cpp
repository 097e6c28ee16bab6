#include "objects/data/CIConstraintData.h"

#include <cmath>

namespace TELMARO_DATA_OBJECTS {

namespace {

const double kSmall = 0.001;
// Single-precision constants of the sway rule, widened as the rule has them.
const double kSwayA = static_cast<double>(0.8f);
const double kSwayB = static_cast<double>(0.6f);

}  // namespace

CIConstraintData::CIConstraintData() = default;

CIConstraintData::CIConstraintData(CIConstraint* left, CIConstraint* right) : CISpanData(left, right) {
  ResetConstraintData();
}

CIConstraintData::CIConstraintData(const CIConstraintData& other) : ObjStrong_base(), CISpanData(other) {}

CIConstraintData::~CIConstraintData() = default;

int CIConstraintData::IsValidConstraintData() const {
  const CIConstraint* left = Left();
  const CIConstraint* right = Right();
  return left && right && (left->Exists() || right->Exists()) ? 1 : 0;
}

int CIConstraintData::IsLockedConstraintData() const {
  return IsValidConstraintData() && !(Left()->Exists() && Right()->Exists()) ? 1 : 0;
}

int CIConstraintData::SetBucklingLenth(double L) {
  if (IsLockedConstraintData()) return 0;
  m_first = L;
  m_second = std::fabs(m_length) < kSmall ? 0.0 : L / m_length;
  return 1;
}

int CIConstraintData::SetFactor(double f) {
  if (IsLockedConstraintData()) return 0;
  m_second = f;
  m_first = f * m_length;
  return 1;
}

int CIConstraintData::ResetConstraintData() {
  m_second = 0.0;
  if (!IsValidConstraintData()) return 0;
  const CIConstraint* left = Left();
  const CIConstraint* right = Right();
  m_length = std::fabs(left->Distance() - right->Distance());
  const double s = left->Eta() + right->Eta();
  const double p = left->Eta() * right->Eta();
  if (IsLockedConstraintData()) {
    m_second = 2.0;
  } else if (!left->IsSway() && !right->IsSway()) {
    const double divisor = 2 - 0.364 * s - 0.247 * p;
    m_second = std::fabs(divisor) < kSmall ? 0.0 : (1 + 0.145 * s - 0.265 * p) / divisor;
  } else {
    const double d = 1 - kSwayA * s + kSwayB * p;
    const double n = 1 - 0.2 * s - 0.12 * p;
    if (std::fabs(d) > kSmall && n / d > 0) m_second = std::sqrt(std::fabs(n / d));
  }
  m_first = m_second * m_length;
  return 1;
}

}  // namespace TELMARO_DATA_OBJECTS
