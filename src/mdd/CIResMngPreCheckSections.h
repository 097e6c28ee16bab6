// CIResMngPreCheckSections: the result manager of the section pre-check. It
// turns the result records of a CIPreCheckSectionData into a result tree,
// one node per record (see ResultNodes.h), record i standing for beam i of
// the source's first element list; lets the view reset the proposed
// sections to the beams' own (ResetResults); and carries the section
// column, which the view edits, back into the source's proposed section
// codes (UpdateChanges).
//
// Statuses and results not computed as for CIResMngAnalysis. A record whose
// beam is missing gives no node. The manager keeps no per-result
// checksums: every result is dirty when the source's load cases changed
// since ResetDirty() (the base's IsDirty()).
#pragma once

#include "framework/PtrStrong.h"
#include "mdd/ResultNodes.h"
#include "objects/data/CIPreCheckSectionData.h"
#include "objects/data/CIResultsManager.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace MDD_OBJECTS {

class TELIO_EXPORT CIResMngPreCheckSections : public TELMARO_DATA_OBJECTS::CIResultsManager {
 public:
  // source is observed, not owned.
  explicit CIResMngPreCheckSections(TELMARO_DATA_OBJECTS::CIPreCheckSectionData* source);
  ~CIResMngPreCheckSections() override;

  TELMARO_DATA_OBJECTS::CIPreCheckSectionData* GetSource() const { return m_source.GetPtr(); }

  // IsDirty(), whatever i.
  int IsResultDirty(int i) const override;
  // A checksum fed with the source's CheckSumLoads() (of nothing without a
  // source).
  ulong32 CheckSum() const override;
  // The title; the column table cleared.
  void Initialize() override;
  // A new tree, or null when the source is gone or holds no records.
  CTree::Ptr GenerateResults() override;
  // As GenerateResults, each node's section identifier the beam's own (its
  // attribute word); null also without proposed section codes.
  CTree::Ptr ResetResults() override;
  // The section identifier of node i becomes proposed code i of the source
  // (for each record with a beam); nothing for a null tree, without a
  // source, records or codes.
  void UpdateChanges(CTree* tree) override;

 private:
  CIResMngPreCheckSections(const CIResMngPreCheckSections&) = delete;
  CIResMngPreCheckSections& operator=(const CIResMngPreCheckSections&) = delete;

  // The beam of record i, or null.
  const TELMARO_DATA_OBJECTS::CIBeam* BeamOf(int i) const;
  CTree::Ptr Generate(bool beamsOwnSections);

  GE_::Safe::PtrWeak<TELMARO_DATA_OBJECTS::CIPreCheckSectionData> m_source;
};

}  // namespace MDD_OBJECTS
