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

#include "ProjectMembers.h"
#include "mdd/FileMDP.h"
#include "platform/TelKrnl.h"
#include "support/DesignJobFixture.h"
#include "support/MDDFixture.h"
#include "support/ProjectRecords.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
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
  fs::remove_all(kSource + "/fuzz/corpus/mdp");
  fs::create_directories(kSource + "/fuzz/corpus/mdp");
  telio_test::WriteDesignJob(telio_test::DesignTestJob(), kSource + "/fuzz/data/mdp", "Job");

  // Small projects keep the fuzz target fast: a member's record is 10 kB
  // (mostly its purlin data), so one member each, and the group (whose
  // template is a member too) in a project of its own.
  telio_test::TempDir dir;
  const std::string job = telio_test::WriteDesignJob(telio_test::DesignTestJob(), dir.path(), "Job");
  auto linked = [&](const std::vector<int>& beams, bool group, FileMDP& mdp) {
    ASSERT_EQ(1, mdp.NewFileLinked(job.c_str()));
    CMDDMembersArray& p = *mdp.GetMembersArray();
    telio_test::AddMemberOver(p, beams);
    p.LinkIPsLCValuesToAllMembers();
    if (group) p.GetGroups()->AddGroup()->Add(CString("m1"));
  };
  FileMDP two, single, grouped;
  linked({3, 4}, false, two);
  Save(two, dir.path(), "linked_two_beams");
  Save(two, dir.path(), "linked_cut", 6000);
  two.GetMembersArray()->SetLinked(0);
  Save(two, dir.path(), "unlinked_with_forces");
  linked({5}, true, grouped);
  Save(grouped, dir.path(), "linked_group");

  telio_test::MddJobFiles shed = telio_test::SmallUnlinkedJob();
  shed.mdd.members.resize(1);
  shed.mdd.positions.resize(1);
  shed.mlc.b = 1;
  shed.cns.resize(1);
  shed.ltb.resize(1);
  telio_test::WriteMddJob(shed, dir.File("Shed.MDD"));
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
