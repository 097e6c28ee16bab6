// CIAnalysisData: the selection and settings of a member design run (member
// analysis or composite member analysis): the element lists (list 0 the
// members, list 1 the load cases), the result records the run attached,
// and four settings. Not stored in any record.
#pragma once

#include "framework/PtrStrong.h"
#include "objects/data/CIAnalysisElement.h"
#include "objects/data/CIResultsData.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

class TELIO_EXPORT CIAnalysisData : public GE_::Safe::ObjStrong {
 public:
  CIAnalysisData();
  ~CIAnalysisData() override;

  CIAnalysisElementLstArray& GetElementLists() { return m_lists; }
  const CIAnalysisElementLstArray& GetElementLists() const { return m_lists; }
  CIResultsData& GetResultsData() { return m_results; }
  const CIResultsData& GetResultsData() const { return m_results; }

  ulong32 SafetyFactor() const { return m_safetyFactor; }
  ulong32* PSafetyFactor() { return &m_safetyFactor; }
  void SetSafetyFactor(ulong32 v) { m_safetyFactor = v; }
  int ShowReport() const { return m_showReport; }
  int* PShowReport() { return &m_showReport; }
  int ReportLang() const { return m_reportLang; }
  int* PReportLang() { return &m_reportLang; }
  int RunWorst() const { return m_runWorst; }
  int* PRunWorst() { return &m_runWorst; }

  // The four settings 0 and every element list emptied (the lists stay).
  void ResetAnalysisData();
  // The four settings; false for null.
  bool IsEqualWith(const CIAnalysisData* other) const;

  // --- virtual operations, in slot order ---
  // SafetyFactor, ShowReport, ReportLang, RunWorst (4 each), then
  // CheckSumLists() (4). The result records are not fed.
  virtual ulong32 CheckSum() const;
  // The element lists' array checksum: the list count, each live list's
  // checksum.
  virtual ulong32 CheckSumLists() const;

 private:
  CIAnalysisData(const CIAnalysisData&) = delete;
  CIAnalysisData& operator=(const CIAnalysisData&) = delete;

  CIAnalysisElementLstArray m_lists;
  CIResultsData m_results;
  ulong32 m_safetyFactor;
  int m_showReport;
  int m_reportLang;
  int m_runWorst;
};

}  // namespace TELMARO_DATA_OBJECTS
