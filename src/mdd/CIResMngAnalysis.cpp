#include "mdd/CIResMngAnalysis.h"

#include "framework/CTreeNode.h"
#include "mdd/CMDDMember.h"
#include "platform/CCheckSum.h"

namespace MDD_OBJECTS {

using namespace TELMARO_DATA_OBJECTS;

namespace {

const char kAnalysisTitle[] = "Member Analysis Results";
const char kCompositeTitle[] = "Composite Member Analysis Results";

// Element number - 1 of list `list` of source, or null.
ELEMENT_OBJECTS::CEElement* ElementOf(const CIAnalysisElementLstArray& lists, int list, int number) {
  const CIAnalysisElementLst* l = lists.GetListAt(list);
  const CIAnalysisElement* e = l ? l->GetAnalysisElementAt(number - 1) : nullptr;
  return e ? e->Element() : nullptr;
}

}  // namespace

int ResultStatus(const RESULTS& r) {
  if (r.ComputedFlag() == 0) return kResultNotComputed;
  return (r.Ratio() >= 1.0f || r.FailureFlag() != 0) ? kResultFailed : kResultPassed;
}

CIResMngAnalysis::CIResMngAnalysis(CIAnalysisData* source) : CIResMngAnalysis(source, kAnalysisTitle) {}

CIResMngAnalysis::CIResMngAnalysis(CIAnalysisData* source, const char* title)
    : m_defaultTitle(title), m_source(source), m_loadsCheckSum(0) {
  Initialize();
}

CIResMngAnalysis::~CIResMngAnalysis() = default;

void CIResMngAnalysis::Initialize() {
  SetTitle(m_defaultTitle);
  ClearColumns();
}

CTree::Ptr CIResMngAnalysis::GenerateResults() {
  m_resultCheckSums.RemoveAll();
  const CIAnalysisData* source = m_source.GetPtr();
  if (!source) return CTree::Ptr();
  const CIResultsData& data = source->GetResultsData();
  if (data.GetCountResultsValues() < 1 || !data.GetResults()) return CTree::Ptr();
  CTree::Ptr root(new CTreeNode<CString>(GetTitle()));
  const CIAnalysisElementLstArray& lists = source->GetElementLists();
  for (int i = 0; i < data.GetCountResultsValues(); ++i) {
    const RESULTS& r = *data.GetResultAt(i);
    RESULT_HEAD head;
    head.status = ResultStatus(r);
    head.number = i + 1;
    const ELEMENT_OBJECTS::CEElement* member = ElementOf(lists, 0, r.MemberNumber());
    const CMDDMember* m = dynamic_cast<const CMDDMember*>(member);
    if (member) {
      head.elementName = member->Name();
      if (m && !m->GetSection().IsNull()) {
        head.section = m->GetSection()->Section();
        head.sectionName = m->GetSection()->Name();
      }
    }
    if (head.status == kResultNotComputed) {
      head.loadCaseName = "-";
    } else {
      head.loadCase = r.LoadCaseNumber();
      if (const ELEMENT_OBJECTS::CEElement* lc = ElementOf(lists, 1, r.LoadCaseNumber())) {
        head.loadCaseName = lc->Name();
      }
      head.ratio = r.Ratio();
    }
    root->AddNode(CreateNode(r, head).GetPtr());
    m_resultCheckSums.Add(m ? m->CheckSum() : 0);
  }
  m_loadsCheckSum = CheckSumLoads();
  return root;
}

CTree::Ptr CIResMngAnalysis::CreateNode(const RESULTS& r, const RESULT_HEAD& head) const {
  ANALYSIS_RESULT result;
  static_cast<RESULT_HEAD&>(result) = head;
  if (head.status != kResultNotComputed) {
    result.checkCode = r.CheckCode();
    for (int k = 0; k < RESULTS::kValues; ++k) result.values[k] = r.Value(k);
  }
  return CreateResultNode(&result);
}

CTree::Ptr CIResMngAnalysis::ResetResults() { return CTree::Ptr(); }

void CIResMngAnalysis::UpdateChanges(CTree*) {}

ulong32 CIResMngAnalysis::CheckSumResult(int i) const {
  const CIAnalysisData* source = m_source.GetPtr();
  if (!source || source->GetElementLists().GetSize() == 0) return 0;
  const RESULTS* r = source->GetResultsData().GetResultAt(i);
  if (!r) return 0;
  const CMDDMember* m = dynamic_cast<const CMDDMember*>(ElementOf(source->GetElementLists(), 0, r->MemberNumber()));
  return m ? m->CheckSum() : 0;
}

ulong32 CIResMngAnalysis::CheckSumLoads() const {
  CCheckSum sum;
  const CIAnalysisData* source = m_source.GetPtr();
  const CIAnalysisElementLst* loads = source ? source->GetElementLists().GetListAt(1) : nullptr;
  if (loads) sum.AddU32(loads->CheckSumSelected());
  return sum.get();
}

int CIResMngAnalysis::IsResultDirty(int i) const { return IsResultDirty(i, CheckSumLoads()); }

int CIResMngAnalysis::IsResultDirty(int i, ulong32 loadsCheckSum) const {
  if (i < 0 || i >= m_resultCheckSums.GetSize()) return 0;
  return (CheckSumResult(i) != m_resultCheckSums[i] || loadsCheckSum != m_loadsCheckSum) ? 1 : 0;
}

ulong32 CIResMngAnalysis::CheckSum() const {
  CCheckSum sum;
  if (const CIAnalysisData* source = m_source.GetPtr()) {
    const ulong32 loads = CheckSumLoads();
    for (int i = 0; i < source->GetResultsData().GetCountResultsValues(); ++i) sum.AddI32(IsResultDirty(i, loads));
    sum.AddU32(loads);
  }
  return sum.get();
}

CIResMngAnalysisComposite::CIResMngAnalysisComposite(CIAnalysisData* source)
    : CIResMngAnalysis(source, kCompositeTitle) {}

CIResMngAnalysisComposite::~CIResMngAnalysisComposite() = default;

CTree::Ptr CIResMngAnalysisComposite::CreateNode(const RESULTS& r, const RESULT_HEAD& head) const {
  ANALYSIS_COMPOSITE_RESULT result;
  static_cast<RESULT_HEAD&>(result) = head;
  if (head.status != kResultNotComputed) {
    for (int k = 0; k < RESULTS::kFurtherValues; ++k) result.values[k] = r.FurtherValue(k);
  }
  return CreateResultNode(&result);
}

}  // namespace MDD_OBJECTS
