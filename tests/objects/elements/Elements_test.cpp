#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "objects/elements/CEMember.h"
#include "objects/elements/CENode.h"
#include "objects/elements/CGRGraph.h"
#include "support/ObjectRecords.h"

using namespace ELEMENT_OBJECTS;
using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGLine;
using GEOMETRY_OBJECTS::CGPoint;
using telio_test::ByteWriter;
using telio_test::LoadRecord;
using telio_test::SavedRecord;

namespace {

// The lengths of a member's beams.
std::vector<double> BeamLengths(const CEMember& m) {
  std::vector<double> v;
  for (int i = 0; i < m.GetCountInternalBeams(); ++i) v.push_back(m.GetInternalBeamAt(i)->Length());
  return v;
}

CEBeam* BeamAt(const CEMember& m, int i) { return dynamic_cast<CEBeam*>(m.GetInternalBeamAt(i).GetPtr()); }

CEMember Member10() {
  CEMember m;
  m.SetLine(CGPoint(0, 0, 0), CGPoint(10, 0, 0));
  m.SetElement("M1", 0, 0x8);
  return m;
}

TEST(Element, BitsEqualityAndRecords) {
  CEElement e("B1", 0x6);
  e.SetID(7);
  e.SetFlags(0x1, 0x4);
  EXPECT_EQ(0x3u, e.Flags());
  e.SetAttr(0x2, 0);
  EXPECT_TRUE(e.HasAttr(0x3));
  GRAPH_OBJECTS::CGRGraph graph;
  graph.SetAttr(0x2, 0);
  EXPECT_FALSE(graph.HasAttr(0x3));
  CEElement other("b1", 0x3);
  other.SetID(99);
  EXPECT_TRUE(e.IsEqualWith(&other));
  EXPECT_FALSE(e.IsEqualWith(nullptr));

  ByteWriter v2;
  telio_test::PutElement(v2, {7, "B1", 0x2, 0x3});
  EXPECT_EQ(v2.data(), SavedRecord(e));
  CEElement loaded;
  ASSERT_TRUE(LoadRecord(loaded, v2));
  EXPECT_EQ(e.CheckSum(), loaded.CheckSum());
  ByteWriter v1;
  telio_test::PutElementV1(v1, {7, "B1", 0x2, 0x3});
  ASSERT_TRUE(LoadRecord(loaded, v1));
  EXPECT_EQ(e.CheckSum(), loaded.CheckSum());
  ASSERT_TRUE(LoadRecord(loaded, ByteWriter().u32(3).u32(7)));  // a later layout: defaults
  EXPECT_EQ(CEElement().CheckSum(), loaded.CheckSum());

  // The checksum follows every stored field.
  const ulong32 sum = e.CheckSum();
  CEElement changed[4] = {e, e, e, e};
  changed[0].SetID(8);
  changed[1].SetName("B2");
  changed[2].SetAttr(0x10, 0);
  changed[3].SetFlags(0, 0x1);
  for (const CEElement& c : changed) EXPECT_NE(sum, c.CheckSum());
}

TEST(Node, RecordAndChecksum) {
  CENode node(CGPoint(4, 0, 0), "N2", 0);
  node.SetID(2);
  ByteWriter record;
  telio_test::PutNode(record, {{2, "N2", 0, 0}, {4, 0, 0}});
  EXPECT_EQ(record.data(), SavedRecord(node));
  CENode loaded;
  ASSERT_TRUE(LoadRecord(loaded, record));
  EXPECT_TRUE(loaded.IsEqualWith(&node));
  EXPECT_EQ(node.CheckSum(), loaded.CheckSum());
  loaded.SetID(3);  // the ID is not in a node's checksum
  EXPECT_EQ(node.CheckSum(), loaded.CheckSum());
  loaded.SetX(4.5);
  EXPECT_NE(node.CheckSum(), loaded.CheckSum());
}

TEST(Member, CuttingIntoBeams) {
  CEMember m = Member10();
  EXPECT_EQ(1, m.CutMemberIntoDst(3));
  EXPECT_EQ((std::vector<double>{3, 3, 3, 1}), BeamLengths(m));
  EXPECT_EQ(10.0, m.EPoint().X());
  EXPECT_TRUE(BeamAt(m, 3)->Name().IsEmpty());
  EXPECT_EQ(0x8u, BeamAt(m, 3)->Flags());
  EXPECT_EQ(1, m.CutMemberIntoDst(10));
  EXPECT_EQ(1, m.GetCountInternalBeams());
  EXPECT_EQ(0, m.CutMemberIntoDst(11));
  EXPECT_EQ(1, m.CutMemberIntoCnt(4));
  EXPECT_EQ((std::vector<double>{2, 2, 2, 2, 2}), BeamLengths(m));

  const double lengths[] = {0, 4, 4, 4};
  EXPECT_EQ(1, m.CutMemberIntoDsts(lengths, 4));
  EXPECT_EQ((std::vector<double>{4, 4, 2}), BeamLengths(m));
  const double tooLong[] = {12};
  EXPECT_EQ(0, m.CutMemberIntoDsts(tooLong, 1));
  EXPECT_EQ(3, m.GetCountInternalBeams());

  EXPECT_EQ(0, m.AddInternalBeam(-2, false, "X", 0, 0));
  EXPECT_EQ(0, m.AddInternalBeam(0.0005, false, "X", 0, 0));
  EXPECT_EQ(1, m.AddInternalBeam(2, true, "B0", 0, 0x1));
  EXPECT_EQ((std::vector<double>{2, 4, 4, 2}), BeamLengths(m));
  EXPECT_EQ(-2.0, m.SPoint().X());
  EXPECT_EQ(12.0, m.Length());
  EXPECT_EQ(0, m.AddInternalBeam(PtrStrong<CGLine>(new CGLine(CGPoint(20, 0, 0), CGPoint(22, 0, 0)))));
}

TEST(Member, NodesFromBeamsAndBeamsFromNodes) {
  CEMember m = Member10();
  const double lengths[] = {4, 6};
  m.CutMemberIntoDsts(lengths, 2);
  const char* names[] = {"A", "B", "C", "D"};
  for (int b = 0; b < 2; ++b) {
    for (int end = 0; end < 2; ++end) {
      PtrStrong<CGPoint> node = BeamAt(m, b)->GetInternalPointAt(end);
      dynamic_cast<CENode*>(node.GetPtr())->SetName(names[2 * b + end]);
    }
  }
  m.SynchronizePointsFromBeamsLst(0);
  ASSERT_EQ(3, m.GetCountInternalPoints());
  std::vector<CString> got;
  for (int i = 0; i < 3; ++i) got.push_back(dynamic_cast<CENode*>(m.GetInternalPointAt(i).GetPtr())->Name());
  EXPECT_EQ((std::vector<CString>{"A", "B", "D"}), got);

  m.SynchronizePointsFromBeamsLst(1);  // shares the beams' own nodes
  ASSERT_EQ(3, m.GetCountInternalPoints());
  EXPECT_EQ(BeamAt(m, 0)->GetInternalPointAt(1).GetRawPtr(), m.GetInternalPointAt(1).GetRawPtr());

  m.AddInternalPoint(7.0, false);
  m.SynchronizeBeamsFromPointsLst();
  EXPECT_EQ((std::vector<double>{4, 3, 3}), BeamLengths(m));
}

TEST(Member, RecordKeepsBeamsNamesAndFlags) {
  // M1 on nodes N1 (0), N2 (4), N3 (10), with beams B1 (ID 11) N1-N2 and
  // B2 (ID 12) N2-N3, both with flags 8.
  ByteWriter record = telio_test::SampleObjectRecord("member");
  CEMember m;
  ASSERT_TRUE(LoadRecord(m, record));
  EXPECT_EQ((std::vector<double>{4, 6}), BeamLengths(m));
  EXPECT_EQ(CString("B2"), BeamAt(m, 1)->Name());
  EXPECT_EQ(0x8u, BeamAt(m, 1)->Flags());
  EXPECT_EQ(12u, BeamAt(m, 1)->ID());
  EXPECT_EQ(CString("N2"), dynamic_cast<CENode*>(m.GetInternalPointAt(1).GetPtr())->Name());
  EXPECT_EQ(record.data(), SavedRecord(m));

  CEMember copy(m);
  EXPECT_TRUE(copy.IsEqualWith(&m));
  EXPECT_EQ(m.CheckSum(), copy.CheckSum());
  BeamAt(copy, 0)->SetName("renamed");
  EXPECT_EQ(CString("B1"), BeamAt(m, 0)->Name());  // beams copied, not shared
  EXPECT_NE(m.CheckSum(), copy.CheckSum());

  CEMember fresh;
  PtrStrong<CGLine> clone = Member10().Clone();
  std::vector<uint8_t> bytes = SavedRecord(*clone);
  ASSERT_TRUE(LoadRecord(fresh, bytes));
  EXPECT_EQ(clone->CheckSum(), fresh.CheckSum());
  EXPECT_EQ(1, fresh.GetCountInternalBeams());
}

}  // namespace
