#include "mdd/CIResMngPreCheckSections.h"

#include "framework/CTreeNode.h"
#include "mdd/CIResMngAnalysis.h"
#include "platform/CCheckSum.h"

namespace MDD_OBJECTS {

using namespace TELMARO_DATA_OBJECTS;

namespace {

const char kPreCheckTitle[] = "PreCheck Section Results";

}  // namespace

CIResMngPreCheckSections::CIResMngPreCheckSections(CIPreCheckSectionData* source) : m_source(source) { Initialize(); }

CIResMngPreCheckSections::~CIResMngPreCheckSections() = default;

void CIResMngPreCheckSections::Initialize() {
  SetTitle(kPreCheckTitle);
  ClearColumns();
}

int CIResMngPreCheckSections::IsResultDirty(int) const { return IsDirty(); }

ulong32 CIResMngPreCheckSections::CheckSum() const {
  CCheckSum sum;
  if (const CIPreCheckSectionData* source = m_source.GetPtr()) sum.AddU32(source->CheckSumLoads());
  return sum.get();
}

const CIBeam* CIResMngPreCheckSections::BeamOf(int i) const {
  const CIPreCheckSectionData* source = m_source.GetPtr();
  const CIAnalysisElementLst* beams = source ? source->GetElementLists().GetListAt(0) : nullptr;
  const CIAnalysisElement* e = beams ? beams->GetAnalysisElementAt(i) : nullptr;
  return e ? dynamic_cast<const CIBeam*>(e->Element()) : nullptr;
}

CTree::Ptr CIResMngPreCheckSections::Generate(bool beamsOwnSections) {
  const CIPreCheckSectionData* source = m_source.GetPtr();
  if (!source) return CTree::Ptr();
  const CIResultsData& data = source->GetResultsData();
  if (data.GetCountResultsValues() < 1 || !data.GetResults()) return CTree::Ptr();
  if (beamsOwnSections && (source->GetCountResultsSections() < 1 || !source->GetResultsSections())) {
    return CTree::Ptr();
  }
  const CIAnalysisElementLst* beams = source->GetElementLists().GetListAt(0);
  const CIAnalysisElementLst* loads = source->GetElementLists().GetListAt(1);
  CTree::Ptr root(new CTreeNode<CString>(CString(kPreCheckTitle)));
  for (int i = 0; i < data.GetCountResultsValues() && beams && i < beams->GetCount(); ++i) {
    const CIBeam* beam = BeamOf(i);
    if (!beam) continue;
    const RESULTS& r = *data.GetResultAt(i);
    PRECHECK_RESULT result;
    result.number = i + 1;
    result.elementName = beam->Name();
    result.section = beam->Section().Section();
    result.sectionName = beam->Section().Name();
    result.status = ResultStatus(r);
    if (result.status == kResultNotComputed) {
      result.loadCaseName = "-";
    } else {
      result.loadCase = r.LoadCaseNumber();
      const CIAnalysisElement* lc = loads ? loads->GetAnalysisElementAt(r.LoadCaseNumber() - 1) : nullptr;
      if (lc) result.loadCaseName = lc->Name();
      result.checkCode = r.CheckCode();
      result.ratio = r.Ratio();
      for (int k = 0; k < 4; ++k) result.values[k] = r.Value(k);
    }
    CTree::Ptr node = CreateResultNode(&result);
    root->AddNode(node.GetPtr());
    if (beamsOwnSections) {
      auto* id = dynamic_cast<CTreeNode<unsigned long>*>(ResultFieldValue(*node, kSectionFieldIndex).GetPtr());
      if (id) id->SetValue(CTreeNode<unsigned long>::ValuePtr(new unsigned long(beam->Attr())));
    }
  }
  return root;
}

CTree::Ptr CIResMngPreCheckSections::GenerateResults() { return Generate(false); }

CTree::Ptr CIResMngPreCheckSections::ResetResults() { return Generate(true); }

void CIResMngPreCheckSections::UpdateChanges(CTree* tree) {
  CIPreCheckSectionData* source = m_source.GetPtr();
  if (!tree || !source) return;
  const CIResultsData& data = source->GetResultsData();
  if (data.GetCountResultsValues() < 1 || !data.GetResults() || source->GetCountResultsSections() < 1) return;
  for (int i = 0; i < data.GetCountResultsValues() && BeamOf(i); ++i) {
    CTree::Ptr node = tree->GetNodeAt(i);
    if (node.IsNull()) continue;
    auto* id = dynamic_cast<CTreeNode<unsigned long>*>(ResultFieldValue(*node, kSectionFieldIndex).GetPtr());
    if (id && !id->GetValue().IsNull()) source->SetResultSectionAt(i, static_cast<ulong32>(*id->GetValue()));
  }
}

}  // namespace MDD_OBJECTS
