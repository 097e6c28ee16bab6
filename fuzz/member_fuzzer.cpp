// Loads a member-design record from arbitrary bytes, or runs a design run
// over arbitrary result records. The first byte names the kind (modulo 9):
// 0 to 4 a member record (any version: the version word decides), 5 a
// beam, 6 a node, 7 a force set, 8 a design run: a member record given as
// a 4-byte length and its bytes, then 104-byte result records, which the
// three result managers turn into trees while the member and the load
// cases change. A loaded member, node or force set must load back from
// what it saves with the same checksum.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "FuzzRecords.h"
#include "FuzzScratch.h"
#include "framework/CTreeNode.h"
#include "mdd/CIResMngAnalysis.h"
#include "mdd/CIResMngPreCheckSections.h"
#include "mdd/CMDDBeam.h"
#include "mdd/CMDDLoadCaseValues.h"
#include "mdd/CMDDMember.h"
#include "mdd/CMDDNode.h"
#include "objects/data/CILoadCaseLstSyn.h"
#include "objects/data/CIResults.h"

using namespace MDD_OBJECTS;
using namespace TELMARO_DATA_OBJECTS;
using GE_::Safe::PtrStrong;

namespace {

const REGULATION kReg = static_cast<REGULATION>(1);
// More records than this add nothing a smaller run does not cover.
const size_t kMaxRecords = 64;

PtrStrong<CMDDMember> LoadMember(const uint8_t* data, size_t size, bool* ok) {
  PtrStrong<CMDDMember> m(new CMDDMember);
  FILE* f = fuzz_records::OpenBytes(data, size);
  *ok = f && m->Serialize(f, true);
  if (f) std::fclose(f);
  return m;
}

PtrStrong<CILoadCaseLstSyn> TwoLoadCases() {
  PtrStrong<CILoadCaseLstSyn> lcs(new CILoadCaseLstSyn);
  lcs->AddLoadCase(PtrStrong<CILoadCase>(new CILoadCase("Dead", 0)));
  lcs->AddLoadCase(PtrStrong<CILoadCase>(new CILoadCase("Wind", 0)));
  return lcs;
}

bool IsFinite(const GEOMETRY_OBJECTS::CGPoint& p) {
  return std::isfinite(p.X()) && std::isfinite(p.Y()) && std::isfinite(p.Z());
}

// The member and its beams have finite end points and lengths: geometry
// with infinities or NaNs is taken as read but not compared.
bool HasFiniteGeometry(const CMDDMember& m) {
  if (!IsFinite(m.SPoint()) || !IsFinite(m.EPoint()) || !std::isfinite(m.Length())) return false;
  for (int i = 0; i < m.GetCountInternalBeams(); ++i) {
    PtrStrong<GEOMETRY_OBJECTS::CGLine> b = m.GetInternalBeamAt(i);
    if (!b.IsNull() && (!IsFinite(b->SPoint()) || !IsFinite(b->EPoint()) || !std::isfinite(b->Length()))) {
      return false;
    }
  }
  return true;
}

void UseMember(CMDDMember& m, bool loaded) {
  // Loading repairs incomplete purlin data (a new member's, or one read
  // from an unknown version), so the first reload may differ; from then on
  // a round trip keeps the checksum.
  PtrStrong<CMDDMember> once(new CMDDMember), twice(new CMDDMember);
  if (loaded && HasFiniteGeometry(m) && fuzz_records::Reload(m, *once)) fuzz_records::RoundTrip(*once, *twice);
  CMDDMember copy(m);
  if (copy.CheckSum() != m.CheckSum()) __builtin_trap();
  PtrStrong<CILoadCaseLstSyn> lcs = TwoLoadCases();
  m.SynchronizeLCValues(lcs.GetPtr());
  m.AddConstXY(m.Length() / 2, kReg);
  m.AddLTB(m.Length() / 3, kReg);
  m.SynchronizeConstraintsLTB(m.GetConstraintXYLst(), m.GetLTBLst());
  m.SetLinkStatus(1);
  (void)m.CheckSum();
  m.SynchronizeLCValues(nullptr);
}

// Reaches every node of a tree (its checksum does).
void Walk(const CTree* tree) {
  if (tree) (void)tree->TreeCheckSum(true);
}

void DesignRun(const uint8_t* data, size_t size) {
  const uint8_t* memberBytes = nullptr;
  size_t memberSize = 0;
  fuzz_scratch::NextPart(data, size, &memberBytes, &memberSize);
  bool ok = false;
  PtrStrong<CMDDMember> m1 = LoadMember(memberBytes, memberSize, &ok);
  PtrStrong<CMDDMember> m2(new CMDDMember);
  CILoadCase dead("Dead", 0), wind("Wind", 0);
  size_t count = size / sizeof(RESULTS);
  if (count > kMaxRecords) count = kMaxRecords;
  const RESULTS* records = reinterpret_cast<const RESULTS*>(data);

  PtrStrong<CIAnalysisData> run(new CIAnalysisData);
  CIAnalysisElementLst* members = run->GetElementLists().AddList("members");
  members->AddAnalysisElement(m1.GetPtr());
  members->AddAnalysisElement(m2.GetPtr());
  CIAnalysisElementLst* loads = run->GetElementLists().AddList("loads");
  loads->AddAnalysisElement(&dead);
  loads->AddAnalysisElement(&wind);
  loads->SetAnalysisAll(1);
  run->GetResultsData().CopyResults(records, static_cast<int>(count), count ? records[0].Selector() : 0);
  PtrStrong<CIResMngAnalysis> analysis(new CIResMngAnalysis(run.GetPtr()));
  CIResults view;
  view.SetResultsManager(analysis);
  view.Validate();
  Walk(view.GetResultsTree().GetPtr());
  analysis->ResetDirty();
  view.Select(0);
  m1->GetSection()->SetSection(m1->GetSection()->Section() + 1, 11, 0);
  for (int i = 0; i < view.GetCountResults(); ++i) (void)view.IsResultDirty(i);
  loads->GetAnalysisElementAt(1)->SetBAnalysis(0);
  if (analysis->IsDirty()) view.RefreshSelected();
  (void)view.CheckSum();
  CIResMngAnalysisComposite composite(run.GetPtr());
  Walk(composite.GenerateResults().GetPtr());

  CIPreCheckSectionData pre;
  for (int i = 0; i < 2; ++i) pre.AddElementBeam(PtrStrong<CIBeam>(new CIBeam));
  pre.GetElementLists().AddList("loads")->AddAnalysisElement(&dead);
  pre.GetResultsData().CopyResults(records, static_cast<int>(count), 0);
  CIResMngPreCheckSections precheck(&pre);
  CTree::Ptr tree = precheck.GenerateResults();
  Walk(tree.GetPtr());
  precheck.UpdateChanges(tree.GetPtr());
  const ulong32 codes[2] = {count ? records[0].CheckCode() : 0u, 7u};
  pre.CopySections(codes, 2);
  precheck.UpdateChanges(tree.GetPtr());
  Walk(precheck.ResetResults().GetPtr());
  (void)pre.CheckSum();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t kind = data[0] % 9;
  ++data;
  --size;
  if (kind == 8) {
    DesignRun(data, size);
    return 0;
  }
  FILE* f = fuzz_records::OpenBytes(data, size);
  if (!f) return 0;
  switch (kind) {
    case 5: {
      PtrStrong<CMDDBeam> beam(new CMDDBeam);
      beam->Serialize(f, true);
      beam->SynchronizeLCValues(TwoLoadCases().GetPtr());
      (void)beam->Clone()->CheckSum();
      break;
    }
    case 6: {
      CMDDNode node, fresh;
      if (node.Serialize(f, true)) fuzz_records::RoundTrip(node, fresh);
      node.ResetNode();
      break;
    }
    case 7: {
      CMDDLoadCaseValues values, fresh;
      if (values.Serialize(f, true)) fuzz_records::RoundTrip(values, fresh);
      (void)values.Fx();
      break;
    }
    default: {
      bool ok = false;
      std::fclose(f);
      f = nullptr;
      PtrStrong<CMDDMember> m = LoadMember(data, size, &ok);
      UseMember(*m, ok);
      break;
    }
  }
  if (f) std::fclose(f);
  return 0;
}
