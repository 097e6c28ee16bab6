// Writes the seed corpus of the design project fuzz target (fuzz/corpus/mdp)
// and the analysis job it reads beside its input (fuzz/data/mdp/Job.AJF)
// when TELIO_WRITE_SEEDS is set; skipped otherwise. The job and the
// records around the members come from the layout tables; the projects
// are saved beside the job, so they name it relative to themselves.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mdd/FileMDP.h"
#include "platform/TelKrnl.h"
#include "support/DesignJobFixture.h"
#include "support/MDDFixture.h"
#include "support/ProjectRecords.h"
#include "support/TempDir.h"
#include "topology/CTOPO_REC.h"

namespace {

namespace fs = std::filesystem;
using MDD_OBJECTS::CMDDMember;
using MDD_OBJECTS::CMDDMembersArray;
using MDD_OBJECTS::FileMDP;
using telio_test::ByteWriter;

const std::string kSource = TELIO_SOURCE_DIR;

void Save(FileMDP& mdp, const std::string& folder, const std::string& name, size_t cut = SIZE_MAX) {
  ASSERT_EQ(0u, mdp.Export((folder + "/P.MDP").c_str()));
  std::vector<uint8_t> bytes = telio_test::ReadFileBytes(folder + "/P.MDP");
  if (bytes.size() > cut) bytes.resize(cut);
  ByteWriter().bytes(bytes.data(), bytes.size()).WriteTo(kSource + "/fuzz/corpus/mdp/" + name);
}

}  // namespace

TEST(MDPSeeds, WriteCorpus) {
  if (!std::getenv("TELIO_WRITE_SEEDS")) GTEST_SKIP() << "set TELIO_WRITE_SEEDS to write fuzz/corpus/mdp";
  SetGDirs((kSource + "/data").c_str());
  fs::remove_all(kSource + "/fuzz/data/mdp");
  fs::create_directories(kSource + "/fuzz/corpus/mdp");
  telio_test::WriteDesignJob(telio_test::DesignTestJob(), kSource + "/fuzz/data/mdp", "Job");

  telio_test::TempDir dir;
  const std::string job = telio_test::WriteDesignJob(telio_test::DesignTestJob(), dir.path(), "Job");
  FileMDP mdp;
  ASSERT_EQ(1, mdp.NewFileLinked(job.c_str()));
  CMDDMembersArray& p = *mdp.GetMembersArray();
  for (const std::vector<int>& beams : {std::vector<int>{1, 2}, {3, 4}, {5}}) {
    GE_::Safe::PtrStrong<CMDDMember> m(new CMDDMember);
    for (int b : beams) CMDDMembersArray::AppendTopologyBeam(*m, *CTOPO_REC::GetBeam(p.GetTopoRec()->beams, b));
    m->SynchronizePointsFromBeamsLst(0);
    p.UpdateMemberSectionFromTopology(p.AddMember(m));
  }
  p.LinkIPsLCValuesToAllMembers();
  MDD_OBJECTS::CMDDMemGroup* g = p.GetGroups()->AddGroup();
  g->Add(CString("m1"));
  g->Add(CString("m3"));
  Save(mdp, dir.path(), "linked_with_group");
  Save(mdp, dir.path(), "linked_cut", 6000);
  p.SetLinked(0);
  Save(mdp, dir.path(), "unlinked");

  telio_test::WriteMddJob(telio_test::SmallUnlinkedJob(), dir.File("Shed.MDD"));
  FileMDP imported;
  ASSERT_EQ(0, imported.ImportMDD(dir.File("Shed.MDD").c_str()));
  Save(imported, dir.path(), "imported_job");

  telio_test::JobDataFields jobData;
  telio_test::LinkDataFields link;
  ByteWriter v1;
  telio_test::PutProjectHead(v1, 1, jobData, link, {"Dead"}, 0);
  v1.WriteTo(kSource + "/fuzz/corpus/mdp/version1_empty");
  ByteWriter lying;
  link.link = 1;
  link.path = "/nowhere/Job.AJF";
  link.related = "Job.AJF";
  telio_test::PutProjectHead(lying, 3, jobData, link, {"Dead", "Live"}, 0x7FFFFFFF);
  lying.WriteTo(kSource + "/fuzz/corpus/mdp/related_job_lying_count");
  SetGDirs(nullptr);
}
