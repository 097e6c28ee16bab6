#include "mdd/FileMDP.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ProjectMembers.h"
#include "mdd/CMDDNode.h"
#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "platform/TelKrnl.h"
#include "support/DataRecords.h"
#include "support/DesignJobFixture.h"
#include "support/MDDFixture.h"
#include "support/ObjectRecords.h"
#include "support/ProjectRecords.h"
#include "support/TempDir.h"

using GE_::Safe::PtrStrong;
using MDD_OBJECTS::CMDDMember;
using MDD_OBJECTS::CMDDMembersArray;
using MDD_OBJECTS::FileMDP;
using telio_test::ByteWriter;
using telio_test::LoadRecord;
using telio_test::TempDir;

namespace {

namespace fs = std::filesystem;

// A linked project of two members (beams 1 and 2; 3 and 4) with their
// forces, and a group of both.
void MakeLinkedProject(FileMDP& mdp, const std::string& job) {
  ASSERT_EQ(1, mdp.NewFileLinked(job.c_str()));
  CMDDMembersArray& p = *mdp.GetMembersArray();
  for (const std::vector<int>& beams : {std::vector<int>{1, 2}, {3, 4}}) telio_test::AddMemberOver(p, beams);
  p.LinkIPsLCValuesToAllMembers();
  MDD_OBJECTS::CMDDMemGroup* g = p.GetGroups()->AddGroup();
  ASSERT_NE(nullptr, g);
  EXPECT_EQ(1, g->Add(CString("m1")));
  EXPECT_EQ(1, g->Add(CString("m2")));
}

// The forces at point i of internal beam b of member m, as text.
std::string ForcesAt(CMDDMembersArray& p, int m, int b, int i) {
  const TELMARO_DATA_OBJECTS::CILoadCaseValuesLst* values = telio_test::ValuesAt(p, m, b, i);
  std::string s;
  for (int k = 0; k < values->GetCount(); ++k) s += telio_test::ValuesText(*values->GetLCValuesAt(k)) + ";";
  return s;
}

// A member's record as its class writes it (the framing around it is
// built from the layout here).
ByteWriter MemberRecord(const char* name, ulong32 attr) {
  CMDDMember m;
  m.SetName(CString(name));
  m.SetAttr(attr, 0);
  ByteWriter w;
  w.data() = telio_test::SavedRecord(m);
  return w;
}

class Projects : public ::testing::Test {
 protected:
  void SetUp() override { SetGDirs(TELIO_SOURCE_DIR "/data"); }
  void TearDown() override { SetGDirs(nullptr); }
  TempDir dir_;
};

}  // namespace

TEST_F(Projects, SavedAndLoadedKeepsChecksumGroupsAndLink) {
  const std::string job = telio_test::WriteDesignJob(telio_test::DesignTestJob(), dir_.path(), "Hall");
  FileMDP mdp;
  MakeLinkedProject(mdp, job);
  EXPECT_EQ(dir_.File("Hall.MDP"), std::string(mdp.GetFilePath().GetString()));
  ASSERT_EQ(0u, mdp.Export(dir_.File("Hall.MDP").c_str()));
  CMDDMembersArray& saved = *mdp.GetMembersArray();
  EXPECT_EQ(CString("Hall.AJF"), saved.GetLinkJobData()->RelatedLinkJobPath());

  FileMDP loaded;
  ASSERT_EQ(0u, loaded.Import(dir_.File("Hall.MDP").c_str()));
  CMDDMembersArray& p = *loaded.GetMembersArray();
  EXPECT_EQ(saved.CheckSum(), p.CheckSum());
  EXPECT_TRUE(p.IsValidLink());
  EXPECT_EQ(CString("Hall.MDP"), p.GetJobData()->FileName());
  ASSERT_EQ(1, p.GetGroups()->Count());
  EXPECT_EQ(2, p.GetGroups()->GroupAt(0)->Count());
  EXPECT_EQ(3, p.GetCountMembers());  // and the group's template
  EXPECT_EQ(p.MemberAt(1).GetPtr(), p.GetGroups()->GroupAt(0)->MemberAt(1).GetPtr());

  // Unlinked, the same holds.
  saved.SetLinked(0);
  ASSERT_EQ(0u, mdp.Export(dir_.File("Free.MDP").c_str()));
  FileMDP free;
  ASSERT_EQ(0u, free.Import(dir_.File("Free.MDP").c_str()));
  EXPECT_EQ(saved.CheckSum(), free.GetMembersArray()->CheckSum());
  EXPECT_EQ(0, free.GetMembersArray()->GetLinkJobData()->Link());
}

TEST_F(Projects, AMovedJobLoadsUnlinkedWithTheStoredGeometryAndForces) {
  const std::string job = telio_test::WriteDesignJob(telio_test::DesignTestJob(), dir_.path() + "/a", "Hall");
  FileMDP mdp;
  MakeLinkedProject(mdp, job);
  const std::string forces = ForcesAt(*mdp.GetMembersArray(), 1, 0, 0);
  ASSERT_EQ(0u, mdp.Export((dir_.path() + "/a/Hall.MDP").c_str()));

  // Project and job moved together: the job is found again.
  fs::rename(dir_.path() + "/a", dir_.path() + "/b");
  FileMDP together;
  ASSERT_EQ(0u, together.Import((dir_.path() + "/b/Hall.MDP").c_str()));
  EXPECT_TRUE(together.GetMembersArray()->IsValidLink());

  // The job alone moved.
  fs::rename(dir_.path() + "/b/Hall.AJF", dir_.path() + "/Hall.AJF");
  FileMDP alone;
  ASSERT_EQ(0u, alone.Import((dir_.path() + "/b/Hall.MDP").c_str()));
  CMDDMembersArray& p = *alone.GetMembersArray();
  EXPECT_EQ(0, p.GetLinkJobData()->Link());
  EXPECT_EQ(5, p.MemberAt(1)->GetInternalBeamAt(0)->GetCountInternalPoints());
  EXPECT_EQ(12.0, p.MemberAt(1)->EPoint().X());
  EXPECT_EQ(forces, ForcesAt(p, 1, 0, 0));
  EXPECT_NE(std::string::npos, forces.find("Live"));
}

TEST(ProjectRecords, OlderAndOtherVersions) {
  telio_test::JobDataFields job;
  job.project = "Shed";
  telio_test::LinkDataFields link;
  // Version 1: no stamps, no groups; regulation 0 gives the safety code 1.
  job.regulation = 0;
  ByteWriter v1;
  telio_test::PutProjectHead(v1, 1, job, link, {"Dead", "Live"}, 1);
  v1.append(MemberRecord("M1", 0));
  CMDDMembersArray p;
  ASSERT_TRUE(LoadRecord(p, v1));
  EXPECT_EQ(1, p.GetCountMembers());
  EXPECT_EQ(2, p.GetLoadCaseLst()->GetCount());
  EXPECT_EQ(CString("Shed"), p.GetJobData()->ProjectName());
  EXPECT_EQ(1u, p.GetAnalysisData()->SafetyFactor());
  EXPECT_EQ(1, p.GetAnalysisData()->GetElementLists().GetListAt(0)->GetCount());

  // Version 3 drops a template whose group is missing; regulation 1 gives
  // the safety code 4.
  job.regulation = 1;
  ByteWriter v3;
  telio_test::PutProjectHead(v3, 3, job, link, {}, 2);
  v3.append(MemberRecord("G1", MDD_OBJECTS::kMemberTemplate)).append(MemberRecord("M1", 0));
  v3.i32(7).i32(5);
  telio_test::PutEmptyGroupLst(v3);
  ASSERT_TRUE(LoadRecord(p, v3));
  ASSERT_EQ(1, p.GetCountMembers());
  EXPECT_EQ(CString("M1"), p.MemberAt(0)->Name());
  EXPECT_EQ(0, p.TopoBeamStamp());  // read, then zeroed by the link pass of an unlinked project
  EXPECT_EQ(4u, p.GetAnalysisData()->SafetyFactor());

  // A negative member count is no member.
  ByteWriter none;
  telio_test::PutProjectHead(none, 3, job, link, {}, -5);
  none.i32(0).i32(0);
  telio_test::PutEmptyGroupLst(none);
  ASSERT_TRUE(LoadRecord(p, none));
  EXPECT_EQ(0, p.GetCountMembers());

  // A version word of 1 and empty lists: an empty project. A later version
  // reads nothing more.
  ByteWriter empty;
  telio_test::PutProjectHead(empty, 1, job, link, {}, 0);
  ASSERT_TRUE(LoadRecord(p, empty));
  EXPECT_EQ(0, p.GetCountMembers());
  CMDDMembersArray later;
  ASSERT_TRUE(LoadRecord(later, ByteWriter().u32(4).u32(0xDEADBEEF)));
  EXPECT_TRUE(later.GetJobData()->ProjectName().IsEmpty());
}

TEST(ProjectRecords, CutAtEveryByteOrLyingCountsFailWithACode) {
  // A small unlinked project: two load cases, one member of two beams with
  // the forces of both at each point.
  FileMDP mdp;
  mdp.NewFile(nullptr);
  CMDDMembersArray& p = *mdp.GetMembersArray();
  p.AppendLoadCase(CString("Dead"), 0);
  p.AppendLoadCase(CString("Live"), 1);
  *p.GetSettings()->PDefaultLength() = 4.0;
  PtrStrong<CMDDMember> m(new CMDDMember);
  p.AddMember(m);
  m->CutMemberIntoCnt(1);
  p.SynchronizeLCValuesForMember(m.GetPtr(), true);
  ByteWriter w;
  w.data() = telio_test::SavedRecord(p);
  const size_t size = w.size();
  ASSERT_NE(0u, size);  // saved

  CMDDMembersArray whole;
  ASSERT_TRUE(LoadRecord(whole, w));
  EXPECT_EQ(p.CheckSum(), whole.CheckSum());
  for (size_t n = 0; n < size; ++n) {
    CMDDMembersArray cut;
    telio::SetLastError(0);
    ASSERT_FALSE(LoadRecord(cut, w, n)) << n;
    ASSERT_EQ(telio::kErrorHandleEof, telio::GetLastError()) << n;
  }

  // The member count follows the version word (4), the job data (4 +
  // 4 x 260 + 16 + 8), the link data (4 + 4 + 260 + 4 + 2 x 260), the
  // section list (8) and the load-case list (8, then for each of the two
  // load cases 4 + an element of 4 + 4 + 4 + 4 name bytes + 4 + 4).
  const size_t countAt = 4 + 1068 + 792 + 8 + 8 + 2 * 28;
  ASSERT_EQ(1u, w.data()[countAt]);
  w.put_u32(countAt, 0x7FFFFFFF);
  CMDDMembersArray lying;
  EXPECT_FALSE(LoadRecord(lying, w));
  EXPECT_EQ(telio::kErrorHandleEof, telio::GetLastError());
  EXPECT_EQ(1, lying.GetCountMembers());  // the member read whole is kept
}

TEST(ProjectRecords, FailedAllocationsGiveEightAndLeakNothing) {
  TempDir dir;
  FileMDP mdp;
  mdp.NewFile(nullptr);
  CMDDMembersArray& p = *mdp.GetMembersArray();
  p.AppendLoadCase(CString("Dead"), 0);
  *p.GetSettings()->PDefaultLength() = 4.0;
  p.AddMember(PtrStrong<CMDDMember>(new CMDDMember));
  ASSERT_EQ(0u, mdp.Export(dir.File("P.MDP").c_str()));
  for (long n = 0;; ++n) {
    FileMDP loaded;
    telio::FailAllocationsAfter(n);
    const ulong32 code = loaded.Import(dir.File("P.MDP").c_str());
    telio::FailAllocationsAfter(-1);
    if (code == 0) {
      EXPECT_EQ(p.CheckSum(), loaded.GetMembersArray()->CheckSum());
      break;
    }
    ASSERT_EQ(telio::kErrorNotEnoughMemory, code) << n;
    ASSERT_LT(n, 100000);
  }
}

TEST_F(Projects, MemberDesignJobsBecomeProjects) {
  // An unlinked job: its own forces and its members on the x axis.
  telio_test::MddJobFiles own = telio_test::SmallUnlinkedJob();
  own.mdd.members[0].length = 1.0f / 256;  // what the MLC positions of M1 span
  own.mdd.members[1].family = 104;
  telio_test::WriteMddJob(own, dir_.File("Shed.MDD"));
  FileMDP mdp;
  ASSERT_EQ(0, mdp.ImportMDD(dir_.File("Shed.MDD").c_str()));
  CMDDMembersArray& p = *mdp.GetMembersArray();
  EXPECT_EQ(CString("Shed frame"), p.GetJobData()->ProjectName());
  EXPECT_EQ(0, p.GetLinkJobData()->Link());
  ASSERT_EQ(3, p.GetCountMembers());
  ASSERT_EQ(2, p.GetLoadCaseLst()->GetCount());
  // M1: one beam between its positions, kept at its stored length.
  const PtrStrong<CMDDMember> m1 = p.MemberAt(0);
  EXPECT_EQ(1, m1->GetCountInternalBeams());
  EXPECT_FLOAT_EQ(telio_test::MlcValue(1, 1, 0, 0), static_cast<float>(m1->SPoint().X()));
  EXPECT_EQ(CString("S275"), m1->GetGrade()->Name());
  EXPECT_EQ(1, m1->HasLTB());
  // M2 (composite): no section from the job. M3 (tapered): only its codes.
  EXPECT_EQ(0u, p.MemberAt(1)->GetSection()->Family());
  const auto s3 = p.MemberAt(2)->GetSection();
  EXPECT_EQ(8003u, s3->Section());
  EXPECT_EQ(80u, s3->Family());
  EXPECT_EQ(5u, s3->Profile());
  EXPECT_FLOAT_EQ(0.5f, static_cast<float>(s3->BAnnet()));
  // M3: its positions span far less than its 18.0, so it lies 18.0 long on
  // the x axis and keeps its beams (the fixture's positions leave a gap
  // after each pair: the beam list takes the first pair's beam alone).
  const PtrStrong<CMDDMember> m3 = p.MemberAt(2);
  EXPECT_EQ(1, m3->GetCountInternalBeams());
  EXPECT_EQ(0.0, m3->SPoint().X());
  EXPECT_EQ(18.0, m3->EPoint().X());
  // Forces: position p of a load case at point p mod 2 of beam p / 2.
  auto* node = dynamic_cast<MDD_OBJECTS::CMDDNode*>(m1->GetInternalBeamAt(0)->GetInternalPointAt(1).GetPtr());
  const TELMARO_DATA_OBJECTS::CILoadCaseValues* v = node->GetLoadCaseValuesLst()->GetLCValuesAt(1);
  EXPECT_FLOAT_EQ(telio_test::MlcValue(1, 2, 4, 1), static_cast<float>(v->LCValue(4)));
  // Restraints and buckling points of M3 at its nodes; the factors of the
  // restraint records.
  EXPECT_EQ(4, m3->GetConstraintXYLst()->GetCount());
  EXPECT_DOUBLE_EQ(1.5, m3->GetConstraintXYLst()->GetConstraintDataAt(1)->Factor());
  EXPECT_EQ(4, m3->GetLTBLst()->GetCount());
  EXPECT_DOUBLE_EQ(0.875, m3->GetLTBLst()->GetLTBDataAt(1)->K());

  // A linked job whose analysis job can be used: its load cases and beams.
  const std::string ajf = dir_.File("Bridge.AJF");
  fs::create_directories(ajf);
  telio_test::WriteLinkedAnalysis(ajf, "Bridge");
  telio_test::WriteMddJob(telio_test::SmallLinkedJob("Bridge", ajf), ajf + "/Bridge.MDD");
  FileMDP linked;
  ASSERT_EQ(0, linked.ImportMDD((ajf + "/Bridge.MDD").c_str()));
  CMDDMembersArray& q = *linked.GetMembersArray();
  EXPECT_TRUE(q.IsValidLink());
  EXPECT_EQ(CString("Live"), q.GetLoadCaseLst()->GetLoadCaseAt(1)->Name());
  ASSERT_EQ(2, q.GetCountMembers());
  EXPECT_EQ(2, q.MemberAt(1)->GetCountInternalBeams());
  EXPECT_EQ(CString("B3"), dynamic_cast<ELEMENT_OBJECTS::CEElement*>(q.MemberAt(1)->GetInternalBeamAt(1).GetPtr())->Name());
  EXPECT_EQ(3.0, q.MemberAt(1)->EPoint().X());  // 12 stored, 2 found: within 10

  EXPECT_NE(0, linked.ImportMDD(dir_.File("None.MDD").c_str()));
}

TEST_F(Projects, MdlJobsBringTheirPurlinRecords) {
  telio_test::MddJobFiles own = telio_test::SmallUnlinkedJob();
  telio_test::WriteMddJob(own, dir_.File("Shed.MDL"));
  telio_test::TgdRecord purlin;
  purlin.type = 2;
  purlin.count = 3;
  purlin.f2 = 6.0f;
  purlin.shortValue = 6.0f;  // the length, so the defaults are not given
  telio_test::BuildTgd({purlin, purlin}).WriteTo(dir_.File("Shed.TGD"));
  FileMDP mdp;
  ASSERT_EQ(0, mdp.ImportMDL(dir_.File("Shed.MDL").c_str()));
  CMDDMembersArray& p = *mdp.GetMembersArray();
  EXPECT_EQ(2, p.MemberAt(1)->Tegida().TegidaWord(telio_test::kTegidaTypeAt));
  EXPECT_EQ(3, p.MemberAt(1)->Tegida().TegidaWord(telio_test::kTegidaCountAt));
  EXPECT_EQ(6.0, p.MemberAt(1)->Tegida().TegidaDouble(4));
  EXPECT_EQ(0, p.MemberAt(2)->Tegida().TegidaWord(telio_test::kTegidaTypeAt));  // no third record
}
