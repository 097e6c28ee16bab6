// CIResMngAnalysis and CIResMngAnalysisComposite: the result managers of the
// member analysis and of the composite member analysis. They turn the
// result records of a CIAnalysisData into a result tree, one node per
// record (see ResultNodes.h), and tell which results are out of date.
//
// A record names its member by number in the source's first element list
// (the members) and its load case by number in the second (the load
// cases), both from 1. Its status is 2 (not computed) when its computed
// flag is 0, else 1 (failed) when its ratio is 1.0 or more or its failure
// flag is set, else 0 (passed). A result not computed shows load case -1
// named "-", check code 0xFF and every value -1.0. A member or load case
// that cannot be found shows an empty name.
//
// Out of date: GenerateResults keeps, per result, the checksum of the
// member it names and the checksum of the load cases selected for the run;
// result i is dirty when either differs now. CheckSum() feeds each record's
// dirty flag, then the loads checksum, so the base's IsDirty() says whether
// any of that changed since ResetDirty().
#pragma once

#include "framework/PtrStrong.h"
#include "mdd/ResultNodes.h"
#include "objects/data/CIAnalysisData.h"
#include "objects/data/CIResultsData.h"
#include "objects/data/CIResultsManager.h"
#include "platform/CArray.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace MDD_OBJECTS {

class TELIO_EXPORT CIResMngAnalysis : public TELMARO_DATA_OBJECTS::CIResultsManager {
 public:
  // source is observed, not owned.
  explicit CIResMngAnalysis(TELMARO_DATA_OBJECTS::CIAnalysisData* source);
  ~CIResMngAnalysis() override;

  TELMARO_DATA_OBJECTS::CIAnalysisData* GetSource() const { return m_source.GetPtr(); }

  // 1 when result i was generated and its member or the selected load
  // cases changed since; 0 otherwise and outside the generated range.
  int IsResultDirty(int i) const override;
  ulong32 CheckSum() const override;
  // The title; the column table cleared.
  void Initialize() override;
  // A new tree, or null when the source is gone or holds no records.
  CTree::Ptr GenerateResults() override;
  // Null: the analysis results are not reset.
  CTree::Ptr ResetResults() override;
  // Nothing.
  void UpdateChanges(CTree* tree) override;
  // A checksum fed with the selected-elements checksum of the source's
  // second element list (the load cases of the run); of nothing without it.
  virtual ulong32 CheckSumLoads() const;

 protected:
  // The node of record r, its fields common to every result in head.
  virtual CTree::Ptr CreateNode(const TELMARO_DATA_OBJECTS::RESULTS& r, const RESULT_HEAD& head) const;

  CIResMngAnalysis(TELMARO_DATA_OBJECTS::CIAnalysisData* source, const char* title);

 private:
  CIResMngAnalysis(const CIResMngAnalysis&) = delete;
  CIResMngAnalysis& operator=(const CIResMngAnalysis&) = delete;

  // The checksum of the member record i names; 0 when there is none.
  ulong32 CheckSumResult(int i) const;
  // IsResultDirty(i) with the load cases' checksum already taken.
  int IsResultDirty(int i, ulong32 loadsCheckSum) const;

  const char* m_defaultTitle;
  GE_::Safe::PtrWeak<TELMARO_DATA_OBJECTS::CIAnalysisData> m_source;
  ulong32 m_loadsCheckSum;
  CArray<ulong32, ulong32> m_resultCheckSums;
};

class TELIO_EXPORT CIResMngAnalysisComposite : public CIResMngAnalysis {
 public:
  explicit CIResMngAnalysisComposite(TELMARO_DATA_OBJECTS::CIAnalysisData* source);
  ~CIResMngAnalysisComposite() override;

 protected:
  // No check code; the ratio and the four further values.
  CTree::Ptr CreateNode(const TELMARO_DATA_OBJECTS::RESULTS& r, const RESULT_HEAD& head) const override;
};

// The status of a record (see above).
TELIO_EXPORT int ResultStatus(const TELMARO_DATA_OBJECTS::RESULTS& r);

}  // namespace MDD_OBJECTS
