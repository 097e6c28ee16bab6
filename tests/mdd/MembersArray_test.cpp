#include "mdd/CMDDMembersArray.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ProjectMembers.h"
#include "mdd/CMDDLoadCaseValues.h"
#include "mdd/FileMDP.h"
#include "platform/TelKrnl.h"
#include "support/DataRecords.h"
#include "support/DesignJobFixture.h"
#include "support/RESFixture.h"
#include "support/TempDir.h"

using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGPoint;
using MDD_OBJECTS::CMDDMember;
using MDD_OBJECTS::CMDDMembersArray;
using MDD_OBJECTS::FileMDP;
using telio_test::DesignIPValue;
using telio_test::ResForce;

namespace {

PtrStrong<CMDDMember> Member(const char* name) {
  PtrStrong<CMDDMember> m(new CMDDMember);
  m->SetName(CString(name));
  return m;
}

// The values of point i of internal beam b of member m for the value set
// of load case name, or an empty vector when it has none.
std::vector<double> At(CMDDMembersArray& p, int m, int b, int i, const char* lc) {
  const TELMARO_DATA_OBJECTS::CILoadCaseValuesLst* values = telio_test::ValuesAt(p, m, b, i);
  for (int k = 0; k < values->GetCount(); ++k) {
    const TELMARO_DATA_OBJECTS::CILoadCaseValues* v = values->GetLCValuesAt(k);
    if (v->Name() != CString(lc)) continue;
    std::vector<double> six;
    for (int key = 1; key <= 6; ++key) six.push_back(v->LCValue(key));
    return six;
  }
  return {};
}

std::vector<double> Ip(int lc, int beam, int ip) {
  std::vector<double> six;
  for (int k = 1; k <= 6; ++k) six.push_back(DesignIPValue(lc, beam, k, ip));
  return six;
}

std::vector<double> ResEnd(int r, int beam, int end) {
  std::vector<double> six;
  for (int k = 0; k < 6; ++k) six.push_back(-ResForce(r, beam - 1, end, k));
  return six;
}

// Every value of every point of every member, with its load case.
std::vector<std::string> AllForces(CMDDMembersArray& p) {
  std::vector<std::string> out;
  for (int m = 0; m < p.GetCountMembers(); ++m) {
    for (int b = 0; b < p.MemberAt(m)->GetCountInternalBeams(); ++b) {
      for (int i = 0; i < p.MemberAt(m)->GetInternalBeamAt(b)->GetCountInternalPoints(); ++i) {
        const TELMARO_DATA_OBJECTS::CILoadCaseValuesLst* values = telio_test::ValuesAt(p, m, b, i);
        for (int k = 0; k < values->GetCount(); ++k) {
          out.push_back(std::to_string(m) + "/" + std::to_string(b) + "/" + std::to_string(i) + " " +
                        telio_test::ValuesText(*values->GetLCValuesAt(k)));
        }
      }
    }
  }
  return out;
}

class LinkedProject : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGDirs(TELIO_SOURCE_DIR "/data");
    job_ = telio_test::WriteDesignJob(telio_test::DesignTestJob(), dir_.path(), "Hall");
    ASSERT_EQ(1, mdp_.NewFileLinked(job_.c_str()));
    ASSERT_TRUE(Project().IsValidLink());
    // A: beams 1, 2; B: 3 and 4 (4 runs against it); C: 5 alone (up z);
    // D: 6 alone (towards -x).
    for (const std::vector<int>& beams : {std::vector<int>{1, 2}, {3, 4}, {5}, {6}}) {
      telio_test::AddMemberOver(Project(), beams);
    }
  }
  void TearDown() override { SetGDirs(nullptr); }
  CMDDMembersArray& Project() { return *mdp_.GetMembersArray(); }

  telio_test::TempDir dir_;
  std::string job_;
  FileMDP mdp_;
};

}  // namespace

TEST(MembersArray, MemberNamesAreShortAndFree) {
  CMDDMembersArray p;
  p.AddMember(Member("m1"));
  p.AddMember(Member("Beam"));
  p.AddMember(Member("M3"));
  struct Case {
    const char* given;
    int skip;
    const char* name;
    int result;
  } cases[] = {
      {"ABCDEFGHI", -1, "m2", 0},  // 9 characters: emptied, and so not kept
      {"ABCDEFGH", -1, "ABCDEFGH", 1},
      {"", -1, "m2", 1},
      {"BEAM", -1, "m2", 0},  // taken, letter case aside: an m-number, not extended
      {"beam", 1, "beam", 1},
      {"m3", -1, "m2", 0},
  };
  for (const Case& c : cases) {
    CString name(c.given);
    EXPECT_EQ(c.result, p.GetValidMemberName(name, c.skip)) << c.given;
    EXPECT_EQ(CString(c.name), name) << c.given;
  }
  PtrStrong<CMDDMember> unnamed(new CMDDMember);
  p.AddMember(unnamed);
  EXPECT_EQ(CString("m2"), unnamed->Name());
}

TEST(MembersArray, NewMembersTakeTheProjectDefaults) {
  CMDDMembersArray p;
  *p.GetSettings()->PDefaultLength() = 6.0;
  p.GetSettings()->PDefaultGrade()->SetGrade(2);
  p.GetSettings()->PDefaultSpecialGrade()->SetGrade(5);
  *p.GetSettings()->PDefaultPurlinType() = 3;
  *p.GetSettings()->PLTBByDefault() = 1;

  p.GetSettings()->PDefaultSection()->SetSection(12007, 12, 0);
  PtrStrong<CMDDMember> plain = Member("a");
  p.AddMember(plain);
  EXPECT_EQ(6.0, plain->EPoint().X());
  EXPECT_EQ(2u, plain->GetGrade()->Grade());
  EXPECT_EQ(1, plain->HasLTB());
  EXPECT_EQ(20.0, plain->CompositeData().FirstMaterial().Strength());
  EXPECT_EQ(CString("StudsMaterial"), plain->CompositeData().Studs().Name());
  EXPECT_EQ(15.0, plain->CompositeData().Composite_C4Factor());

  // Family 74 is not a special family; 71 is, and takes a purlin type.
  for (ulong32 family : {74u, 71u}) {
    p.GetSettings()->PDefaultSection()->SetSection(1, family, 0);
    PtrStrong<CMDDMember> m = Member(family == 74 ? "b" : "c");
    p.AddMember(m);
    EXPECT_EQ(family == 74 ? 2u : 5u, m->GetGrade()->Grade()) << family;
    EXPECT_EQ(family == 74 ? 0 : 3, m->Tegida().TegidaWord(telio_test::kTegidaTypeAt));
  }

  *p.GetSettings()->PDefaultLength() = 0.0;
  PtrStrong<CMDDMember> kept = Member("d");
  kept->SetLine(CGPoint(1, 2, 3), CGPoint(4, 2, 3));
  p.AddMember(kept);
  EXPECT_EQ(4.0, kept->EPoint().X());
}

TEST(MembersArray, SelectionFiltersAndRemoval) {
  CMDDMembersArray p;
  for (const char* name : {"a", "b", "c", "d"}) p.AddMember(Member(name));
  p.MemberAt(3)->SetAttr(MDD_OBJECTS::kMemberTemplate, 0);
  EXPECT_EQ(1, p.SelectMember(CString("B"), 1, 0));
  p.SelectMember(3, 1, 0);
  EXPECT_EQ(2, p.GetCountSelectedMembers());
  EXPECT_EQ(CString("d"), p.GetSelectedMember(1)->Name());
  EXPECT_EQ(1, p.ArrayMembersWith(0, 1)->GetSize());  // b: d's template bit lies outside the mask
  EXPECT_EQ(2, p.ArrayMembersWith(MDD_OBJECTS::kMemberTemplate, 1)->GetSize());
  EXPECT_EQ(2, p.ArrayMembersWith(0, 0)->GetSize());  // a, c
  p.SelectMemberLast();
  EXPECT_EQ(1, p.GetCountSelectedMembers());

  EXPECT_EQ(4, p.GetAnalysisData()->GetElementLists().GetListAt(0)->GetCount());
  const PtrStrong<CMDDMember> d = p.MemberAt(3);
  PtrStrong<CMDDMember> removed = p.RemoveMember(CString("D"));
  ASSERT_FALSE(removed.IsNull());
  EXPECT_NE(d.GetPtr(), removed.GetPtr());  // a copy
  EXPECT_EQ(CString("d"), removed->Name());
  EXPECT_EQ(3, p.GetCountMembers());
  EXPECT_EQ(0, p.GetCountSelectedMembers());
  EXPECT_EQ(3, p.GetAnalysisData()->GetElementLists().GetListAt(0)->GetCount());
  EXPECT_TRUE(p.RemoveMember(7).IsNull());
}

TEST(MembersArray, UnlinkingKeepsTwentyLoadCases) {
  CMDDMembersArray p;
  for (int i = 0; i < 25; ++i) p.AppendLoadCase(CString(("LC " + std::to_string(i)).c_str()), i);
  ASSERT_EQ(25, p.GetLoadCaseLst()->GetCount());
  p.SetLinked(0);
  EXPECT_EQ(20, p.GetLoadCaseLst()->GetCount());
  EXPECT_EQ(CString("LC 19"), p.GetLoadCaseLst()->GetLoadCaseAt(19)->Name());
  EXPECT_EQ(20, p.GetAnalysisData()->GetElementLists().GetListAt(1)->GetCount());
}

TEST_F(LinkedProject, LinkReadsTheJobsLoadCasesAndCounts) {
  CMDDMembersArray& p = Project();
  EXPECT_EQ(2, p.GetLoadCaseLst()->GetCount());
  EXPECT_EQ(CString("Live"), p.GetLoadCaseLst()->GetLoadCaseAt(1)->Name());
  EXPECT_EQ(8, p.TopoBeamStamp());
  EXPECT_EQ(8, p.TopoNodeStamp());
  EXPECT_EQ(1, p.MemberAt(0)->LinkStatus());
  EXPECT_EQ(CString("IPE200"), p.MemberAt(0)->GetSection()->Name());
  EXPECT_EQ(1, p.GetSectionLst()->GetCount());  // one section for the four members
}

TEST_F(LinkedProject, PointsCarryTheForcesOfTheirAnalysisBeams) {
  CMDDMembersArray& p = Project();
  EXPECT_EQ(4, p.LinkIPsLCValuesToAllMembers());
  // A: beam 1 at its three OUC points, beam 2 at its two.
  EXPECT_EQ(3, p.MemberAt(0)->GetInternalBeamAt(0)->GetCountInternalPoints());
  EXPECT_EQ(Ip(0, 1, 2), At(p, 0, 0, 2, "Dead"));
  EXPECT_EQ(Ip(1, 2, 0), At(p, 0, 1, 0, "Live"));
  // B: beam 3 has no OUC block in load case 1: the RES end forces (signs
  // inverted) at its ends, nothing between them.
  EXPECT_EQ(5, p.MemberAt(1)->GetInternalBeamAt(0)->GetCountInternalPoints());
  EXPECT_EQ(Ip(0, 3, 1), At(p, 1, 0, 1, "Dead"));
  EXPECT_EQ(ResEnd(1, 3, 0), At(p, 1, 0, 0, "Live"));
  EXPECT_EQ(ResEnd(1, 3, 1), At(p, 1, 0, 4, "Live"));
  EXPECT_TRUE(At(p, 1, 0, 2, "Live").empty());
  // Beam 4 runs against the member: its OUC positions are taken from the
  // last.
  EXPECT_EQ(Ip(0, 4, 1), At(p, 1, 1, 0, "Dead"));
  // C runs up z, so its beam is not reversed; D, a member of one beam, is
  // reversed because it runs towards -x, as its analysis beam does.
  EXPECT_EQ(Ip(1, 5, 0), At(p, 2, 0, 0, "Live"));
  EXPECT_EQ(Ip(1, 6, 1), At(p, 3, 0, 0, "Live"));
  EXPECT_EQ(1, p.MemberAt(3)->IPsLCValuesLinked());

  // Distances along A: beam 1 (points at 0, 1.5, 3), beam 2 (3, 6).
  EXPECT_EQ(1, p.GetIPPerLCIndex(0, 0, 1.5));
  EXPECT_EQ(2, p.GetIPPerLCIndex(0, 0, 3.0));
  EXPECT_EQ(4, p.GetIPPerLCIndex(0, 0, 6.0));
  EXPECT_EQ(-1, p.GetIPPerLCIndex(0, 0, 2.0));
  EXPECT_EQ(-1, p.GetIPPerLCIndex(0, 2, 1.5));  // no such load case
}

TEST_F(LinkedProject, OneMemberAtATimeGivesWhatOnePassGives) {
  FileMDP other;
  ASSERT_EQ(1, other.NewFileLinked(job_.c_str()));
  CMDDMembersArray& q = *other.GetMembersArray();
  for (const std::vector<int>& beams : {std::vector<int>{1, 2}, {3, 4}, {5}, {6}}) telio_test::AddMemberOver(q, beams);
  for (int m = 0; m < q.GetCountMembers(); ++m) {
    EXPECT_EQ(1, q.LinkIPsLCValuesToMember(m, 1));
    EXPECT_EQ(1, q.LinkIPsLCValuesToMember(m, 0));
  }
  EXPECT_EQ(0, q.LinkIPsLCValuesToMember(0, 2));
  Project().LinkIPsLCValuesToAllMembers();
  std::vector<std::string> one = AllForces(q), all = AllForces(Project());
  // Per load case, a point's value sets still come in load-case order.
  EXPECT_EQ(all, one);
  EXPECT_EQ(31u, all.size());
}

TEST_F(LinkedProject, UnlinkedProjectOnlyMakesTheValueSets) {
  CMDDMembersArray& p = Project();
  p.LinkIPsLCValuesToAllMembers();
  p.SetLinked(0);
  EXPECT_FALSE(p.IsValidLink());
  EXPECT_EQ(0, p.MemberAt(0)->LinkStatus());
  // The member's own forces stay; a new member gets zero value sets.
  EXPECT_EQ(Ip(0, 1, 2), At(p, 0, 0, 2, "Dead"));
  PtrStrong<CMDDMember> m = Member("new");
  m->SetLine(CGPoint(0, 0, 0), CGPoint(5, 0, 0));
  p.AddMember(m);
  EXPECT_EQ(std::vector<double>(6, 0.0), At(p, 4, 0, 1, "Live"));
  // Unlinked, a point's index counts both ends of each inner point.
  EXPECT_EQ(3, p.GetIPPerLCIndex(0, 0, 6.0));
}
