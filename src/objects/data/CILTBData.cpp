#include "objects/data/CILTBData.h"

#include <cmath>

namespace TELMARO_DATA_OBJECTS {

namespace {

// k (or kw) of a span from the end conditions at its two ends.
double SpanFactor(int left, int right) {
  if (left == kLTBType1 && right == kLTBType1) return 0.5;
  if ((left == kLTBType1 && right == kLTBType2) || (left == kLTBType2 && right == kLTBType1)) return 0.7;
  if (left == kLTBType2 && right == kLTBType2) return 1.0;
  return 0.0;
}

}  // namespace

CILTBData::CILTBData() = default;

CILTBData::CILTBData(CILTB* left, CILTB* right) : CISpanData(left, right) { ResetLTBData(); }

CILTBData::CILTBData(const CILTBData& other) : ObjStrong_base(), CISpanData(other) {}

CILTBData::~CILTBData() = default;

int CILTBData::SetLTBData(CILTB* left, CILTB* right) {
  SetEnds(left, right);
  return 1;
}

int CILTBData::IsValidLTBData() const {
  const CILTB* left = Left();
  const CILTB* right = Right();
  return left && right && left->Exists() && right->Exists() ? 1 : 0;
}

int CILTBData::ResetLTBData() {
  m_length = m_first = m_second = 0.0;
  if (!IsValidLTBData()) return 0;
  const CILTB* left = Left();
  const CILTB* right = Right();
  m_length = std::fabs(left->Distance() - right->Distance());
  m_first = SpanFactor(left->KType(), right->KType());
  m_second = SpanFactor(left->KwType(), right->KwType());
  return 1;
}

}  // namespace TELMARO_DATA_OBJECTS
