// CIPreCheckSectionData: the selection and outcome of the section pre-check:
// the element lists (list 0 the analysis beams, in the order of the result
// records; list 1 the load cases), the result records, one proposed
// section code per result (editable in the result view), the beams with
// their sections, and a status word (nonzero once a beam's section was
// changed here). Not stored in any record.
//
// The beams array owns the beams; list 0 refers to them, so the beams
// outlive every reference the lists hold as long as this object does.
#pragma once

#include <vector>

#include "framework/CArrayExPointers.h"
#include "framework/PtrStrong.h"
#include "objects/data/CIAnalysisElement.h"
#include "objects/data/CIBeam.h"
#include "objects/data/CIResultsData.h"
#include "platform/Export.h"
#include "platform/Types.h"

class CEntity;

namespace TELMARO_DATA_OBJECTS {

class TELIO_EXPORT CIPreCheckSectionData : public GE_::Safe::ObjStrong {
 public:
  typedef GE_::Safe::PtrStrong<CIBeam> BeamPtr;

  CIPreCheckSectionData();
  ~CIPreCheckSectionData() override;

  CIAnalysisElementLstArray& GetElementLists() { return m_lists; }
  const CIAnalysisElementLstArray& GetElementLists() const { return m_lists; }
  CIResultsData& GetResultsData() { return m_results; }
  const CIResultsData& GetResultsData() const { return m_results; }

  // The proposed section codes, one per result.
  int GetCountResultsSections() const { return m_sectionCount; }
  const ulong32* GetResultsSections() const { return m_sections; }
  // The address of code i, or null.
  ulong32* GetResultsSectionsAt(int i) { return InRange(i) ? &m_sections[i] : nullptr; }
  // Code i, or 0.
  ulong32 GetResultSectionAt(int i) const { return InRange(i) ? m_sections[i] : 0; }
  // Ignored out of range or without codes.
  void SetResultSectionAt(int i, ulong32 v) {
    if (InRange(i)) m_sections[i] = v;
  }
  // Copies n codes (none for null codes or n < 1). False (no codes) when
  // memory runs out.
  bool CopySections(const ulong32* codes, int n);
  // No codes, status 0.
  void ResetSections();

  const CArrayExPointers<BeamPtr>& GetBeams() const { return m_beams; }
  // Beam i, or null.
  CIBeam* GetElementBeamAt(int i) const;
  // Appends beam (shared) to the beams and to list 0 (made when missing).
  // 0 for a null beam. Throws CMemoryException* when memory is short.
  int AddElementBeam(const BeamPtr& beam);
  // Beam i takes section code `section` (its family and profile stay);
  // the status word records the change. 0 when there is no beam i.
  int UpdateBeamSection(int i, int section);
  // The beams become those of the analysis model's beam list, in order:
  // each named after its number, with the section of its section item
  // (catalogue key, family code / 1000, family code % 1000, the item's
  // name; an empty section without one) and that key as its attribute
  // word. List 0 is refilled with them (list 1 stays); the results and
  // the proposed codes are dropped. 0 for a model without a beam list.
  int UpdateBeamSections(const CEntity* model);
  // Beams whose section is not valid (CISectionData::IsValidSection) leave
  // the run: their analysis elements in list 0 get flag 0 and are locked;
  // the others are unlocked. Returns the number of valid beams.
  int ValidateBeamsForAnalysis();
  int IsStatusChanged() const { return m_status != 0 ? 1 : 0; }
  // The results and the proposed codes dropped, status 0.
  void ResetData();
  // ResetData, the beams removed and every element list emptied.
  void ResetAll();
  // Copies of other's beams (list 0 refilled with them), its results, codes
  // and status; list 1 is shared. False for null or when memory runs out.
  bool CopyFrom(const CIPreCheckSectionData* other);
  // The beams equal one by one (CIBeam::IsEqualWith) and the codes equal.
  bool IsEqualWith(const CIPreCheckSectionData* other) const;

  // --- virtual operations, in slot order ---
  // The element lists' checksum, the results' and the beams' (4 each),
  // then the codes (4 each).
  virtual ulong32 CheckSum() const;
  // With two element lists or more, list 1's checksum (4); else nothing.
  virtual ulong32 CheckSumLoads() const;
  // The codes (4 each).
  virtual ulong32 CheckSumSections() const;

 private:
  CIPreCheckSectionData(const CIPreCheckSectionData&) = delete;
  CIPreCheckSectionData& operator=(const CIPreCheckSectionData&) = delete;

  bool InRange(int i) const { return m_sections && i >= 0 && i < m_sectionCount; }
  CIAnalysisElementLst* BeamList();
  // New beams just added to m_beams go into list 0.
  void AddAnalysisBeams(const std::vector<ELEMENT_OBJECTS::CEElement*>& beams);

  CIAnalysisElementLstArray m_lists;
  CIResultsData m_results;
  int m_sectionCount;
  ulong32* m_sections;
  CArrayExPointers<BeamPtr> m_beams;
  ulong32 m_status;
};

}  // namespace TELMARO_DATA_OBJECTS
