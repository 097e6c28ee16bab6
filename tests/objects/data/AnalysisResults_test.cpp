// Result records, the result views and the analysis element lists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/CTreeNode.h"
#include "objects/data/CIAnalysisData.h"
#include "objects/data/CIResults.h"
#include "objects/data/CIResultsData.h"
#include "objects/elements/CEElement.h"
#include "support/ObjectRecords.h"

using namespace TELMARO_DATA_OBJECTS;
using ELEMENT_OBJECTS::CEElement;
using GE_::Safe::PtrStrong;
using telio_test::ByteWriter;

namespace {

// A result record from the layout: check code, values 1..8, ratio, failure
// flag, load case, member, computed flag, selector; further values 0.
RESULTS Record(uint8_t code, float ratio, uint8_t failed, int16_t lc, int16_t member, uint8_t computed,
               int16_t selector) {
  ByteWriter w;
  w.u8(code);
  for (int k = 1; k <= 8; ++k) w.f32(static_cast<float>(k));
  w.f32(ratio).u8(failed).i16(lc).i16(0).i16(member).u8(computed).zeros(9).i16(selector).zeros(32);
  w.f32(0.5f).f32(1.5f).f32(2.5f).f32(3.5f);
  RESULTS r;
  EXPECT_EQ(sizeof r, w.size());
  std::memcpy(&r, w.data().data(), sizeof r);
  return r;
}

TEST(ResultsData, RecordFieldsAndSelection) {
  const RESULTS r = Record(7, 0.75f, 1, 3, 12, 1, -4);
  EXPECT_EQ(7, r.CheckCode());
  EXPECT_EQ(8.0f, r.Value(7));
  EXPECT_EQ(0.0f, r.Value(8));
  EXPECT_EQ(0.75f, r.Ratio());
  EXPECT_EQ(1, r.FailureFlag());
  EXPECT_EQ(3, r.LoadCaseNumber());
  EXPECT_EQ(12, r.MemberNumber());
  EXPECT_EQ(1, r.ComputedFlag());
  EXPECT_EQ(-4, r.Selector());
  EXPECT_EQ(3.5f, r.FurtherValue(3));

  const RESULTS src[4] = {Record(1, 0.1f, 0, 1, 1, 1, 1), Record(2, 0.2f, 0, 1, 1, 1, 2),
                          Record(3, 0.3f, 0, 1, 1, 1, 2), Record(4, 0.4f, 0, 1, 1, 1, 3)};
  CIResultsData data;
  EXPECT_EQ(2, data.CopyResults(src, 4, 2));
  EXPECT_EQ(2, data.GetResultAt(0)->CheckCode());
  EXPECT_EQ(0.3f, data.GetResultValueAt(1));
  EXPECT_EQ(0.0f, data.GetResultValueAt(-1));
  EXPECT_EQ(0.0f, data.GetResultValueAt(2));
  EXPECT_EQ(nullptr, data.GetResultAt(2));
  EXPECT_EQ(2, data.CopyResults(src, 4, -2));
  EXPECT_EQ(4, data.GetResultAt(1)->CheckCode());
  EXPECT_EQ(4, data.CopyResults(src, 4, 0));
  EXPECT_EQ(0, data.CopyResults(nullptr, 4, 0));
  EXPECT_EQ(0, data.GetCountResultsValues());

  data.CopyResults(src, 4, 0);
  CIResultsData copy(data);
  EXPECT_EQ(data.CheckSum(), copy.CheckSum());
  copy.GetResults()[3].data[60] ^= 1;  // an uninterpreted byte still counts
  EXPECT_NE(data.CheckSum(), copy.CheckSum());
}

// A manager whose trees have one node per entry of its table.
class TableManager : public CIResultsManager {
 public:
  std::vector<int> rows;
  CTree::Ptr GenerateResults() override { return Tree(0); }
  CTree::Ptr ResetResults() override { return resettable ? Tree(100) : CTree::Ptr(); }
  bool resettable = false;

 private:
  CTree::Ptr Tree(int offset) {
    if (rows.empty()) return CTree::Ptr();
    CTree::Ptr root(new CTreeNode<CString>(GetTitle()));
    for (int v : rows) root->AddNode(new CTreeNode<int>(v + offset));
    return root;
  }
};

int ValueAt(const CIResults& r, int i) {
  auto* node = dynamic_cast<CTreeNode<int>*>(r.GetResultAt(i).GetPtr());
  return node ? *node->GetValue() : -1;
}

TEST(ResultsView, DirtyStateColumnsAndTrees) {
  PtrStrong<TableManager> manager(new TableManager);
  manager->ResetDirty();
  const int columns[3] = {0, 1, 0};
  manager->SetEditableColumns(columns, 3);
  EXPECT_EQ(1, manager->IsDirty());
  manager->ResetDirty();
  EXPECT_EQ(0, manager->IsDirty());
  EXPECT_EQ(1, manager->IsEditable());
  EXPECT_EQ(1, manager->IsEditableCol(1));
  EXPECT_EQ(0, manager->IsEditableCol(3));
  manager->LockEdit(1);
  EXPECT_EQ(1, manager->IsDirty());
  EXPECT_EQ(0, manager->IsEditableCol(1));

  CIResults results;
  results.SetResultsManager(manager);
  manager->SetTitle("Member Analysis Results");
  EXPECT_EQ(0, results.Validate());
  manager->rows = {1, 2, 3};
  EXPECT_EQ(1, results.Validate());
  EXPECT_EQ(CString("Member Analysis Results"), results.GetTitle());
  EXPECT_EQ(3, results.GetCountResults());
  EXPECT_EQ(1, results.Select(2));
  EXPECT_EQ(1, results.Select(0));
  EXPECT_EQ(0, results.Select(3));
  EXPECT_EQ(2, results.GetSelectedAt(1));

  // Only the selected results are regenerated; a missing reset tree changes
  // nothing.
  manager->rows = {10, 20, 30};
  const ulong32 before = results.CheckSum();
  results.RefreshSelected();
  EXPECT_EQ(10, ValueAt(results, 0));
  EXPECT_EQ(2, ValueAt(results, 1));
  EXPECT_EQ(30, ValueAt(results, 2));
  EXPECT_NE(before, results.CheckSum());
  results.ResetSelected();
  EXPECT_EQ(10, ValueAt(results, 0));
  manager->resettable = true;
  results.Reset(nullptr, 0);
  EXPECT_EQ(120, ValueAt(results, 1));

  // A whole refresh with fewer results cuts the selection.
  manager->rows = {5};
  results.Refresh(nullptr, 0);
  EXPECT_EQ(1, results.GetCountSelected());
  manager->rows.clear();
  EXPECT_EQ(0, results.Refresh(nullptr, 0));
  EXPECT_EQ(0, results.GetCountSelected());
}

TEST(ResultsView, ArraySlotsAndSelection) {
  CIResultsArray array;
  EXPECT_TRUE(array.GetResultsAt(0).IsNull());
  ASSERT_FALSE(array.GetResultsAtGrow(2).IsNull());
  EXPECT_EQ(3, array.GetCountResults());
  EXPECT_EQ(-1, array.GetSelected());
  const ulong32 none = array.CheckSumSelected();
  array.SetSelected(1);
  array.SetSelected(5);
  EXPECT_EQ(1, array.GetSelected());
  EXPECT_NE(none, array.CheckSumSelected());
  EXPECT_EQ(0, array.Exists());
}

TEST(AnalysisElements, SelectionLocksAndNameHashes) {
  CEElement m1("M1", 0), m2("m2", 0), m3("M3", 0), again("m1", 0);
  CIAnalysisElementLst list("members");
  for (CEElement* e : {&m1, &m2, &m3, &again}) EXPECT_EQ(1, list.AddAnalysisElement(e));
  EXPECT_EQ(0, list.AddAnalysisElement(&m2));
  EXPECT_EQ(0, list.AddAnalysisElement(nullptr));
  EXPECT_EQ(&m2, list.FindAnalysisElement(CString("M2"))->Element());

  list.FindAnalysisElement(&m3)->SetLockedAnalysis(1);
  list.SetAnalysisAll(1);
  EXPECT_EQ(3, list.GetCountAnalysisElements(1));
  EXPECT_EQ(0, list.FindAnalysisElement(&m3)->BAnalysis());
  int count = 0;
  int* table = list.AllocateIndexTable(count, 0);
  ASSERT_EQ(1, count);
  EXPECT_EQ(2, table[0]);
  std::free(table);

  // The selection survives a rebuild through the name hashes: another
  // element of a selected name is selected.
  list.SetAnalysisAll(0);
  list.FindAnalysisElement(&m2)->SetBAnalysis(1);
  list.FindAnalysisElement(&m1)->SetBAnalysis(1);
  CMapHashNames* map = list.GenerateMapHashNamesSelected();
  ASSERT_NE(nullptr, map);
  EXPECT_EQ(2, map->GetCount());
  CIAnalysisElementLst rebuilt;
  CEElement other("M1", 0);
  for (CEElement* e : {&m3, &other, &m2}) rebuilt.AddAnalysisElement(e);
  rebuilt.SetAnalysisAll(1);
  rebuilt.ResetSelectedByMapHashNames(map);
  delete map;
  EXPECT_EQ(0, rebuilt.GetAnalysisElementAt(0)->BAnalysis());
  EXPECT_EQ(1, rebuilt.GetAnalysisElementAt(1)->BAnalysis());
  EXPECT_EQ(1, rebuilt.GetAnalysisElementAt(2)->BAnalysis());

  // Only the selected elements enter the selected checksum.
  const ulong32 selected = rebuilt.CheckSumSelected(), all = rebuilt.CheckSumElements();
  rebuilt.GetAnalysisElementAt(0)->SetLockedAnalysis(1);
  EXPECT_EQ(selected, rebuilt.CheckSumSelected());
  EXPECT_NE(all, rebuilt.CheckSumElements());
  EXPECT_EQ(1, rebuilt.RemoveAnalysisElement(&m2));
  EXPECT_NE(selected, rebuilt.CheckSumSelected());
}

TEST(AnalysisElements, RecordIsTheElementThenTheFlag) {
  CEElement m1("M1", 4);
  m1.SetID(9);
  CIAnalysisElementLst list;
  list.AddAnalysisElement(&m1);
  list.GetAnalysisElementAt(0)->SetBAnalysis(1);
  ByteWriter expect;
  expect.u32(1).i32(1);
  telio_test::PutElement(expect, {9, "M1", 0, 4});
  expect.i32(1);
  EXPECT_EQ(expect.data(), telio_test::SavedRecord(list));

  // Loaded elements keep their flags but refer to no element.
  CIAnalysisElementLst loaded;
  ASSERT_TRUE(telio_test::LoadRecord(loaded, expect));
  ASSERT_EQ(1, loaded.GetCount());
  EXPECT_EQ(nullptr, loaded.GetAnalysisElementAt(0)->Element());
  EXPECT_EQ(1, loaded.GetAnalysisElementAt(0)->BAnalysis());

  CIAnalysisData data;
  data.GetElementLists().AddList("members")->AddAnalysisElement(&m1);
  const ulong32 before = data.CheckSum();
  data.GetElementLists().GetListAt(0)->GetAnalysisElementAt(0)->SetBAnalysis(1);
  EXPECT_NE(before, data.CheckSum());
  data.ResetAnalysisData();
  EXPECT_EQ(0, data.GetElementLists().GetListAt(0)->GetCount());
}

}  // namespace
