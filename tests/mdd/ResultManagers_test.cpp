// Result records built from the layout become result trees; each
// out-of-date rule is shown by an edit that triggers it and one that does
// not.
#include <gtest/gtest.h>

#include <vector>

#include "framework/CTreeNode.h"
#include "mdd/CIResMngAnalysis.h"
#include "mdd/CIResMngPreCheckSections.h"
#include "mdd/CMDDMember.h"
#include "objects/data/CILoadCase.h"
#include "support/MemberRecords.h"

using namespace MDD_OBJECTS;
using namespace TELMARO_DATA_OBJECTS;
using GE_::Safe::PtrStrong;
using telio_test::ByteWriter;
using telio_test::ResultFields;

namespace {

template <class T>
T Field(const CTree::Ptr& node, int field, int kind) {
  CTree::Ptr f = node->GetNodeAt(field);
  auto* k = dynamic_cast<CTreeNode<int>*>(f.GetPtr());
  EXPECT_TRUE(k && *k->GetValue() == kind) << "field " << field;
  EXPECT_EQ(1, f->GetCountNodes());
  auto* v = dynamic_cast<CTreeNode<T>*>(f->GetNodeAt(0).GetPtr());
  return v ? *v->GetValue() : T();
}

// Records 0..n-1 as the layout gives them.
void Attach(CIResultsData& data, const std::vector<ResultFields>& rows) {
  ByteWriter w;
  for (const ResultFields& r : rows) telio_test::PutResult(w, r);
  ASSERT_EQ(static_cast<int>(rows.size()),
            data.CopyResults(reinterpret_cast<const RESULTS*>(w.data().data()), static_cast<int>(rows.size()), 0));
}

// Two members (sections 200 and 300) and two selected load cases.
struct DesignRun {
  CIAnalysisData data;
  PtrStrong<CMDDMember> m1{new CMDDMember}, m2{new CMDDMember};
  CILoadCase dead{"Dead", 0}, wind{"Wind", 0};

  DesignRun() {
    m1->SetName("M1");
    m1->GetSection()->SetSection(200, 11, 0);
    m1->GetSection()->SetName("IPE 200");
    m2->SetName("M2");
    m2->GetSection()->SetSection(300, 11, 0);
    CIAnalysisElementLst* members = data.GetElementLists().AddList("members");
    members->AddAnalysisElement(m1.GetPtr());
    members->AddAnalysisElement(m2.GetPtr());
    CIAnalysisElementLst* loads = data.GetElementLists().AddList("loads");
    loads->AddAnalysisElement(&dead);
    loads->AddAnalysisElement(&wind);
    loads->SetAnalysisAll(1);
    // code, base of the values, ratio, failure flag, load case, member,
    // computed flag, selector
    Attach(data.GetResultsData(), {{3, 0.0f, 0.5f, 0, 1, 1, 1, 0},     // passed
                                   {4, 10.0f, 1.0f, 0, 2, 2, 1, 0},    // ratio 1.0: failed
                                   {5, 20.0f, 0.99f, 1, 2, 1, 1, 0},   // failure flag
                                   {6, 30.0f, 0.2f, 0, 1, 2, 0, 0},    // not computed
                                   {7, 40.0f, 0.1f, 0, 1, 9, 1, 0}});  // no member 9
  }
};

TEST(ResultManagers, AnalysisTreeOneNodePerRecord) {
  DesignRun run;
  CIResMngAnalysis manager(&run.data);
  CTree::Ptr tree = manager.GenerateResults();
  ASSERT_FALSE(tree.IsNull());
  EXPECT_EQ(CString("Member Analysis Results"), *dynamic_cast<CTreeNode<CString>*>(tree.GetPtr())->GetValue());
  ASSERT_EQ(5, tree->GetCountNodes());
  const CTree::Ptr first = tree->GetNodeAt(0);
  ASSERT_EQ(16, first->GetCountNodes());
  EXPECT_EQ(kResultPassed, Field<int>(first, 0, 7));
  EXPECT_EQ(1, Field<int>(first, 1, 1));
  EXPECT_EQ(CString("M1"), Field<CString>(first, 2, 2));
  EXPECT_EQ(200ul, Field<unsigned long>(first, 3, 6));
  EXPECT_EQ(CString("IPE 200"), Field<CString>(first, 4, 2));
  EXPECT_EQ(0.5, Field<double>(first, 5, 5));
  EXPECT_EQ(3, Field<int>(first, 6, 3));
  EXPECT_EQ(1.0, Field<double>(first, 7, 5));
  EXPECT_EQ(8.0, Field<double>(first, 14, 5));
  EXPECT_EQ(CString("Dead"), Field<CString>(first, 15, 2));

  EXPECT_EQ(kResultFailed, Field<int>(tree->GetNodeAt(1), 0, 7));
  EXPECT_EQ(CString("Wind"), Field<CString>(tree->GetNodeAt(1), 15, 2));
  EXPECT_EQ(kResultFailed, Field<int>(tree->GetNodeAt(2), 0, 7));
  const CTree::Ptr skipped = tree->GetNodeAt(3);
  EXPECT_EQ(kResultNotComputed, Field<int>(skipped, 0, 7));
  EXPECT_EQ(-1.0, Field<double>(skipped, 5, 5));
  EXPECT_EQ(0xFF, Field<int>(skipped, 6, 3));
  EXPECT_EQ(-1.0, Field<double>(skipped, 10, 5));
  EXPECT_EQ(CString("-"), Field<CString>(skipped, 15, 2));
  EXPECT_EQ(CString(""), Field<CString>(tree->GetNodeAt(4), 2, 2));
  EXPECT_EQ(0ul, Field<unsigned long>(tree->GetNodeAt(4), 3, 6));

  CIResMngAnalysisComposite composite(&run.data);
  CTree::Ptr ctree = composite.GenerateResults();
  ASSERT_EQ(11, ctree->GetNodeAt(0)->GetCountNodes());
  EXPECT_EQ(11.0, Field<double>(ctree->GetNodeAt(0), 6, 5));
  EXPECT_EQ(24.0, Field<double>(ctree->GetNodeAt(1), 9, 5));
  EXPECT_EQ(CString("Composite Member Analysis Results"), composite.GetTitle());
  EXPECT_TRUE(composite.ResetResults().IsNull());

  CIAnalysisData empty;
  EXPECT_TRUE(CIResMngAnalysis(&empty).GenerateResults().IsNull());
}

TEST(ResultManagers, MemberEditsDirtyTheirResultsLoadEditsAll) {
  DesignRun run;
  CIResMngAnalysis manager(&run.data);
  manager.GenerateResults();
  manager.ResetDirty();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(0, manager.IsResultDirty(i)) << i;
  EXPECT_EQ(0, manager.IsResultDirty(5));

  // Selecting a member changes nothing its results depend on.
  run.m2->SetAttr(kMemberSelected, 0);
  EXPECT_EQ(0, manager.IsResultDirty(1));
  EXPECT_EQ(0, manager.IsDirty());
  // A new section for member 2 dirties its results only.
  run.m2->GetSection()->SetSection(330, 11, 0);
  EXPECT_EQ(0, manager.IsResultDirty(0));
  EXPECT_EQ(1, manager.IsResultDirty(1));
  EXPECT_EQ(0, manager.IsResultDirty(2));
  EXPECT_EQ(1, manager.IsResultDirty(3));
  EXPECT_EQ(0, manager.IsResultDirty(4));
  EXPECT_EQ(1, manager.IsDirty());

  manager.GenerateResults();
  manager.ResetDirty();
  // Renaming a load case that is not selected changes nothing; leaving a
  // load case out of the run dirties every result.
  CIAnalysisElementLst* loads = run.data.GetElementLists().GetListAt(1);
  loads->GetAnalysisElementAt(1)->SetBAnalysis(0);
  manager.GenerateResults();
  manager.ResetDirty();
  run.wind.SetName("Wind 2");
  EXPECT_EQ(0, manager.IsDirty());
  loads->GetAnalysisElementAt(0)->SetBAnalysis(0);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(1, manager.IsResultDirty(i)) << i;
  EXPECT_EQ(1, manager.IsDirty());
}

TEST(ResultManagers, PreCheckShowsProposedSectionsAndTakesEditsBack) {
  CIPreCheckSectionData pre;
  for (ulong32 own : {101u, 102u}) {
    PtrStrong<CIBeam> beam(new CIBeam);
    CString name;
    name.Format("%lu", static_cast<unsigned long>(own - 100));
    beam->SetName(name);
    beam->PSection()->SetSection(own + 100, 11, 0);
    beam->SetAttr(own, 0);
    pre.AddElementBeam(beam);
  }
  CILoadCase dead("Dead", 0);
  pre.GetElementLists().AddList("loads")->AddAnalysisElement(&dead);
  Attach(pre.GetResultsData(), {{1, 0.0f, 0.25f, 0, 1, 0, 1, 0},
                                {2, 0.0f, 0.75f, 0, 1, 0, 0, 0},
                                {3, 0.0f, 0.5f, 0, 1, 0, 1, 0}});  // no beam 3
  CIResMngPreCheckSections manager(&pre);
  CTree::Ptr tree = manager.GenerateResults();
  ASSERT_FALSE(tree.IsNull());
  ASSERT_EQ(2, tree->GetCountNodes());
  const CTree::Ptr first = tree->GetNodeAt(0);
  ASSERT_EQ(12, first->GetCountNodes());
  EXPECT_EQ(CString("1"), Field<CString>(first, 2, 2));
  EXPECT_EQ(201ul, Field<unsigned long>(first, 3, 6));
  EXPECT_EQ(1, Field<int>(first, 6, 3));
  EXPECT_EQ(4.0, Field<double>(first, 10, 5));
  EXPECT_EQ(CString("Dead"), Field<CString>(first, 11, 2));
  EXPECT_EQ(kResultNotComputed, Field<int>(tree->GetNodeAt(1), 0, 7));

  // Without proposed codes there is nothing to reset or take back.
  EXPECT_TRUE(manager.ResetResults().IsNull());
  const ulong32 proposed[2] = {301, 302};
  ASSERT_TRUE(pre.CopySections(proposed, 2));
  auto* id = dynamic_cast<CTreeNode<unsigned long>*>(ResultFieldValue(*tree->GetNodeAt(1), 3).GetPtr());
  id->SetValue(CTreeNode<unsigned long>::ValuePtr(new unsigned long(555)));
  manager.UpdateChanges(tree.GetPtr());
  EXPECT_EQ(201u, pre.GetResultSectionAt(0));
  EXPECT_EQ(555u, pre.GetResultSectionAt(1));
  CTree::Ptr reset = manager.ResetResults();
  EXPECT_EQ(102ul, Field<unsigned long>(reset->GetNodeAt(1), 3, 6));

  // Dirty when the load cases of the run change.
  manager.ResetDirty();
  EXPECT_EQ(0, manager.IsResultDirty(0));
  pre.ResetSections();
  EXPECT_EQ(0, manager.IsResultDirty(0));
  pre.GetElementLists().GetListAt(1)->GetAnalysisElementAt(0)->SetBAnalysis(1);
  EXPECT_EQ(1, manager.IsResultDirty(7));
}

}  // namespace
