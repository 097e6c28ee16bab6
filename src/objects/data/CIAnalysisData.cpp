#include "objects/data/CIAnalysisData.h"

#include "platform/CCheckSum.h"

namespace TELMARO_DATA_OBJECTS {

CIAnalysisData::CIAnalysisData() : m_safetyFactor(0), m_showReport(0), m_reportLang(0), m_runWorst(0) {}

CIAnalysisData::~CIAnalysisData() = default;

void CIAnalysisData::ResetAnalysisData() {
  m_safetyFactor = 0;
  m_showReport = 0;
  m_reportLang = 0;
  m_runWorst = 0;
  m_lists.EmptyLists();
}

bool CIAnalysisData::IsEqualWith(const CIAnalysisData* other) const {
  return other && m_safetyFactor == other->m_safetyFactor && m_showReport == other->m_showReport &&
         m_reportLang == other->m_reportLang && m_runWorst == other->m_runWorst;
}

ulong32 CIAnalysisData::CheckSum() const {
  CCheckSum sum;
  sum.AddU32(m_safetyFactor);
  sum.AddI32(m_showReport);
  sum.AddI32(m_reportLang);
  sum.AddI32(m_runWorst);
  sum.AddU32(CheckSumLists());
  return sum.get();
}

ulong32 CIAnalysisData::CheckSumLists() const { return m_lists.CheckSum(); }

}  // namespace TELMARO_DATA_OBJECTS
