#include "mdd/CMemberValidation.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mdd/CMDDBeam.h"
#include "mdd/FileMDP.h"
#include "platform/TelKrnl.h"
#include "support/DesignJobFixture.h"
#include "support/TempDir.h"
#include "topology/CTOPO_REC.h"

using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGLine;
using GEOMETRY_OBJECTS::CGPoint;
using MD_TOOLS::CMembersArrayValidation;
using MD_TOOLS::CMemberValidation;
using MDD_OBJECTS::CMDDBeam;
using MDD_OBJECTS::CMDDMember;
using MDD_OBJECTS::CMDDMembersArray;
using telio_test::DesignJobLayout;
using telio_test::TopSectionLayout;

namespace {

TopSectionLayout Tapered(const char* name, int16_t sub, float start, float end) {
  TopSectionLayout s;
  s.name = name;
  s.family = 80;
  s.sub = sub;
  std::memcpy(&s.prs[2], &start, 4);  // the property block: values at 2 and 6
  std::memcpy(&s.prs[6], &end, 4);
  return s;
}

// A member of internal beams between the given points.
PtrStrong<CMDDMember> Between(const std::vector<CGPoint>& points) {
  PtrStrong<CMDDMember> m(new CMDDMember);
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    PtrStrong<CMDDBeam> b(new CMDDBeam);
    b->SetBeam(points[i], points[i + 1], CString(), 0, 0);
    m->AddInternalBeam(PtrStrong<CGLine>(b));
  }
  return m;
}

PtrStrong<CMDDMember> AlongX(const std::vector<double>& xs) {
  std::vector<CGPoint> points;
  for (double x : xs) points.emplace_back(x, 0, 0);
  return Between(points);
}

class Validation : public ::testing::Test {
 protected:
  // Writes job and opens its topology.
  const TOPOStructs::TOPO_REC* Open(const DesignJobLayout& job) {
    const std::string folder = telio_test::WriteDesignJob(job, dir_.path(), "J" + std::to_string(++jobs_));
    topo_.Close();
    EXPECT_EQ(1, topo_.Open((folder + "/J" + std::to_string(jobs_) + ".TOP").c_str()));
    return topo_.GetTOPO_REC();
  }
  int Code(const PtrStrong<CMDDMember>& m, const TOPOStructs::TOPO_REC* topo) {
    return CMemberValidation(m.GetPtr(), topo).ValidateLinkMember();
  }

  telio_test::TempDir dir_;
  CTOPO_REC topo_;
  int jobs_ = 0;
};

}  // namespace

TEST_F(Validation, CodesOfTheStraightMembers) {
  DesignJobLayout job = telio_test::DesignTestJob();
  TopSectionLayout user;
  user.name = "USER";
  job.top.sections.push_back(user);  // section 3: family 0
  job.top.beams[4].section = 3;      // beam 5 (12,0,0)-(12,0,4)
  job.top.beams[5].section = 9;      // beam 6: no such section
  const TOPOStructs::TOPO_REC* topo = Open(job);

  PtrStrong<CMDDMember> member = AlongX({0, 3, 6});
  EXPECT_EQ(0, Code(member, topo));
  EXPECT_EQ(-99, Code(member, nullptr));
  EXPECT_EQ(-100, Code(PtrStrong<CMDDMember>(), topo));
  member->SetAttr(MDD_OBJECTS::kMemberTemplate, 0);
  EXPECT_EQ(0, Code(member, nullptr));

  EXPECT_EQ(0, Code(AlongX({6, 3}), topo));           // one beam, reversed: still beam 2
  EXPECT_EQ(-98, Code(AlongX({0, 3, 7}), topo));      // 3-7 is no beam
  EXPECT_EQ(-98, Code(AlongX({1, 3}), topo));
  EXPECT_EQ(-97, Code(Between({{12, 0, 4}, {0, 0, 4}}), topo));
  EXPECT_EQ(-95, Code(Between({{12, 0, 0}, {12, 0, 4}}), topo));
  EXPECT_EQ(-93, Code(Between({{0, 0, 0}, {0, 0, 4}, {0, 0, 8}}), topo));  // beams 7 and 8
  // 47 beams: refused before their sections are compared.
  std::vector<double> xs = {0, 3};
  while (xs.size() < 48) xs.push_back(xs.back() + 1);
  EXPECT_EQ(-96, Code(AlongX(xs), topo));
  xs.pop_back();
  EXPECT_EQ(-98, Code(AlongX(xs), topo));
}

TEST_F(Validation, RotationsWithinATolerance) {
  for (float angle : {0.0005f, 0.002f}) {
    DesignJobLayout job = telio_test::DesignTestJob();
    job.top.beams[1].angle = angle;
    EXPECT_EQ(angle < 0.001f ? 0 : -94, Code(AlongX({0, 3, 6}), Open(job))) << angle;
  }
}

TEST_F(Validation, TaperedSegmentsShareOneRate) {
  // Beams 1 and 2, 3.0 long each.
  struct Case {
    float s0, e0, s1, e1;
    int code;
  } cases[] = {
      {300, 400, 400, 500, 0},
      {300, 400, 400, 450, -93},  // another rate
      {300, 400, 300, 400, -93},  // both start at 300
      {300, 300, 300, 300, 0},    // straight segments
  };
  for (const Case& c : cases) {
    DesignJobLayout job = telio_test::DesignTestJob();
    job.top.sections = {Tapered("T1", 1, c.s0, c.e0), Tapered("T2", 2, c.s1, c.e1)};
    job.top.beams[0].section = 1;
    job.top.beams[1].section = 2;
    job.top.beams[7].section = 1;
    EXPECT_EQ(c.code, Code(AlongX({0, 3, 6}), Open(job))) << c.s1 << "-" << c.e1;
  }
  DesignJobLayout job = telio_test::DesignTestJob();
  job.top.sections.push_back(Tapered("T", 1, 300, 400));
  job.top.beams[1].section = 3;  // a tapered segment after a plain one
  EXPECT_EQ(-93, Code(AlongX({0, 3, 6}), Open(job)));
}

TEST_F(Validation, BeamsAndPointsTakeTheTopologyNames) {
  const TOPOStructs::TOPO_REC* topo = Open(telio_test::DesignTestJob());
  PtrStrong<CMDDMember> m = AlongX({0, 3, 6});
  EXPECT_EQ(1, CMemberValidation::UpdateBeamNodeNamesFromTopology(m.GetPtr(), topo, 0));
  auto name = [](const PtrStrong<CGPoint>& p) { return dynamic_cast<ELEMENT_OBJECTS::CEElement*>(p.GetPtr())->Name(); };
  EXPECT_EQ(CString("B2"), dynamic_cast<CMDDBeam*>(m->GetInternalBeamAt(1).GetPtr())->Name());
  EXPECT_EQ(CString("N3"), name(m->GetInternalBeamAt(1)->GetInternalPointAt(1)));
  EXPECT_EQ(CString("N1"), name(m->GetInternalPointAt(0)));
  EXPECT_EQ(CString("N2"), name(m->GetInternalPointAt(1)));
  EXPECT_EQ(0, CMemberValidation::UpdateBeamNodeNamesFromTopology(AlongX({0, 3, 7}).GetPtr(), topo, 0));
}

TEST_F(Validation, WhetherASectionMayChange) {
  SetGDirs(TELIO_SOURCE_DIR "/data");
  const std::string job = telio_test::WriteDesignJob(telio_test::DesignTestJob(), dir_.path(), "Hall");
  MDD_OBJECTS::FileMDP mdp;
  ASSERT_EQ(1, mdp.NewFileLinked(job.c_str()));
  CMDDMembersArray& p = *mdp.GetMembersArray();
  auto add = [&](const PtrStrong<CMDDMember>& m) {
    const int i = p.AddMember(m);
    p.UpdateMemberSectionFromTopology(i);
    return i;
  };
  const CMembersArrayValidation check(&p);
  const int a = add(AlongX({0, 3, 6}));
  EXPECT_EQ(1, check.CanChangeMemberSection(a, false));
  EXPECT_EQ(0, check.CanChangeMemberSection(a, true));  // not selected for analysis
  p.GetAnalysisData()->GetElementLists().GetListAt(0)->SetAnalysisAll(1);
  EXPECT_EQ(1, check.IsSelectedForAnalysis(a));
  EXPECT_EQ(1, check.CanChangeMemberSection(a, true));

  const int up = add(Between({{12, 0, 0}, {12, 0, 4}}));  // beam 5, alone on its line
  p.MemberAt(up)->GetSection()->SetSection(12011, 12, 0);
  EXPECT_EQ(2, check.CanChangeMemberSection(up, false));
  const int e = add(AlongX({6, 9}));  // beam 3: inside physical beam 2, touching a
  p.MemberAt(e)->GetSection()->SetSection(12011, 12, 0);
  EXPECT_EQ(3, check.CanChangeMemberSection(e, false));
  p.RemoveMember(a);  // e is now 1
  EXPECT_EQ(4, check.CanChangeMemberSection(1, false));

  EXPECT_EQ(-9, check.CanChangeMemberSection(9, false));
  EXPECT_EQ(-10, CMembersArrayValidation(nullptr).CanChangeMemberSection(0, false));
  p.SetLinked(0);
  EXPECT_EQ(-8, check.CanChangeMemberSection(0, false));
  SetGDirs(nullptr);
}
