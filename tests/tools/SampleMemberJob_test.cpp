#include "SampleMemberJob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "MemberJobCheck.h"
#include "mdd/CFileMDL.h"
#include "support/ByteWriter.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using telio_tool::SampleJobSize;

// The documented rules, written out again so that a slip in the writer's
// own arithmetic shows.
int Beams(int i) { return (i - 1) % 4 == 0 ? 1 : (i - 1) % 4 == 1 ? 2 : 3; }
int First(int i) { return 10 * ((i - 1) / 4) + 1 + ((i - 1) % 4 == 0 ? 0 : (i - 1) % 4 == 1 ? 1 : (i - 1) % 4 == 2 ? 3 : 6); }
float Force(const SampleJobSize& s, int r, int b, int end, int v) {
  return static_cast<float>((v + 1) * (static_cast<double>(s.seed % 1000) + r + 1 + b / 16.0 + 2.0 * end));
}

std::set<std::string> Findings(const telio_tool::JobCheckReport& r) {
  std::set<std::string> out;
  for (const auto& f : r.findings) out.insert(f.file + " " + f.code);
  return out;
}

void Patch(const std::string& path, size_t at, const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> file = telio_test::ReadFileBytes(path);
  ASSERT_LE(at + bytes.size(), file.size()) << path;
  std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<long>(at));
  telio_test::WriteFileBytes(path, file);
}

// 40 nodes, 60 beams, 3 static cases: 9 members over the first three rows.
class SampleMemberJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    size_.nodes = 40;
    size_.beams = 60;
    size_.cases = 3;
    size_.combinations = 1;
    size_.seed = 7;
    size_.members = 9;
    std::vector<telio_tool::SampleSection> sections;
    ASSERT_EQ(0u, telio_tool::PickSampleSections(TELIO_SOURCE_DIR "/data", sections));
    std::string failed;
    ASSERT_EQ(0u, telio_tool::WriteSampleJob(dir_.path(), "Hall", size_, sections, &failed)) << failed;
    ASSERT_EQ(0u, telio_tool::WriteSampleMemberJobs(dir_.path(), "Hall", size_, 9, sections, &failed)) << failed;
    paths_ = telio_tool::SampleMemberJobPaths(dir_.path(), "Hall");
  }
  std::string Own(const char* ext) const { return dir_.path() + "/Hall_own." + ext; }
  std::string Linked(const char* ext) const { return dir_.path() + "/Hall.AJF/Hall." + ext; }

  telio_test::TempDir dir_;
  SampleJobSize size_;
  telio_tool::MemberJobPaths paths_;
};

TEST_F(SampleMemberJobTest, SizesBeyondTheFilesAreRefused) {
  EXPECT_TRUE(telio_tool::SampleMemberJob::Validate(size_, 9).empty());
  EXPECT_FALSE(telio_tool::SampleMemberJob::Validate(size_, 0).empty());
  EXPECT_FALSE(telio_tool::SampleMemberJob::Validate(size_, 201).empty());
  // Member 16 ends at beam 39 (nodes 37 to 40); member 17 would start a
  // fifth row at beam 41.
  EXPECT_TRUE(telio_tool::SampleMemberJob::Validate(size_, 16).empty());
  EXPECT_FALSE(telio_tool::SampleMemberJob::Validate(size_, 17).empty());
}

TEST_F(SampleMemberJobTest, BothJobsCheckCleanAndReadBackEqualTheirRules) {
  for (const std::string& path : {paths_.linked, paths_.own}) {
    const telio_tool::JobCheckReport report = telio_tool::CheckMemberJob(path);
    for (const auto& f : report.findings) ADD_FAILURE() << path << ": " << f.file << ": " << f.code << ": " << f.message;
  }

  CFileMDD linked;
  ASSERT_EQ(0u, linked.Import(paths_.linked.c_str()));
  EXPECT_TRUE(linked.IsLinked());
  EXPECT_EQ(19, linked.GetCapacity());
  ASSERT_EQ(1, linked.ReadMLCLinked(Linked("MLC").c_str()));
  EXPECT_EQ(3, linked.GetMLCHeader().LoadCases());
  EXPECT_EQ("Load case 3", std::string(linked.GetMLCHeader().Name(2).GetString()));
  CFileMDL own;
  ASSERT_EQ(0u, own.Import(paths_.own.c_str()));
  EXPECT_EQ(9, own.GetCapacity());
  for (int i = 1; i <= 9; ++i) {
    const int m = i - 1, c = Beams(i);
    for (CFileMDD* job : {&linked, static_cast<CFileMDD*>(&own)}) {
      const MDDStrucst::BLIST& r = job->GetMembers()[m];
      ASSERT_EQ("M" + std::to_string(i), std::string(r.Name().GetString()));
      EXPECT_EQ(6.0f * c, r.Length());
      ASSERT_EQ(c, r.BeamCount());
      const bool isLinked = job == &linked;
      const int node0 = isLinked ? First(i) : 1;
      for (int j = 0; j < c; ++j) {
        EXPECT_EQ(isLinked ? First(i) + j : j + 1, job->BeamsPerMemberPos(job->GetBeamsPerMemberPos(m) + j));
      }
      const CArrayEx<short>& set0 = (*job->GetConstraintsX(0))[m];
      EXPECT_EQ(c + 1, set0[0]);
      EXPECT_EQ(node0 + c, set0[c + 1]);
      EXPECT_EQ(node0 + c, (*job->GetConstraintsX(1))[m][2]);
      const MDDStrucst::CONSTRAINT& rec = (*job->GetConstraints(1))[m][1];
      EXPECT_EQ(1 + 2 * ((i + 1 + 1) % 3), rec.Kind());
      EXPECT_EQ(0.25f, rec.Eta());
      EXPECT_EQ(1.25f, rec.Factor());
      EXPECT_EQ(0, rec.Byte(13));
      EXPECT_EQ(c + 1, (*job->GetConstraintsLTB())[m].Count());
      const MDDStrucst::LTB_CONS& p = (*job->GetLTBbuf())[m][c];
      EXPECT_EQ(c % 2 == 0 ? 1 : 2, p.KType());
      EXPECT_EQ(1.0f - c / 8.0f, p.K());
      EXPECT_EQ(4 + c / 4.0f, (*job->GetC1())[m][0][0]);
    }
    // The own job's forces are the analysis job's beam-end forces.
    const CFileMDD::MemLCData& data = *own.GetMemLCData();
    ASSERT_EQ(3, data[m].GetSize());
    for (int lc = 1; lc <= 3; ++lc) {
      ASSERT_EQ(2 * c, data[m][lc - 1].GetSize());
      for (int p = 0; p < 2 * c; ++p) {
        const CArrayEx<float>& v = data[m][lc - 1][p];
        ASSERT_EQ(6.0f * ((p + 1) / 2), v[0]);
        for (int k = 0; k < 6; ++k) ASSERT_EQ(Force(size_, lc - 1, First(i) + p / 2, p % 2, k), v[k + 1]);
      }
    }
    MDDStrucst::TEGIDA t;
    ASSERT_EQ(0, own.ReadTegida(Own("TGD").c_str(), t, m));
    EXPECT_EQ(1 + m % 3, t.Type());
    EXPECT_EQ(c + 1, t.Count());
    EXPECT_EQ(6.0 * c, t.Length());
    EXPECT_EQ(c, t.Int(24));
    EXPECT_EQ(6.0 * c, t.LongValue(c + 1));
  }
}

TEST_F(SampleMemberJobTest, DamagedFilesGiveTheirFindings) {
  // Member 2's second beam becomes one that does not meet its first.
  Patch(paths_.linked, 4 + 432 + 15 + 40 + 9 * 137 + 2 * 2, {9, 0});
  // A name the analysis job does not have.
  Patch(Linked("MLC"), 4 + 21, {'X'});
  // The CNS file loses its last block; the TGD file its last record.
  fs::resize_file(Linked("CNS"), fs::file_size(Linked("CNS")) - 100);
  fs::resize_file(Own("TGD"), fs::file_size(Own("TGD")) - 4150);
  // Member 1 of the own job is said to be 7 long.
  Patch(paths_.own, 4 + 432 + 15 + 9, {0, 0, 0xE0, 0x40});
  EXPECT_EQ((std::set<std::string>{"MDD bad_reference", "MLC value_mismatch", "CNS read_error"}),
            Findings(telio_tool::CheckMemberJob(paths_.linked)));
  EXPECT_EQ((std::set<std::string>{"MLC value_mismatch", "TGD size_mismatch"}),
            Findings(telio_tool::CheckMemberJob(paths_.own)));

  // A beam beyond the topology; an analysis job that cannot be linked; an
  // own job (of the right length again) whose MLC file holds fewer blocks
  // than it names.
  Patch(paths_.own, 4 + 432 + 15 + 9, {0, 0, 0xC0, 0x40});
  Patch(paths_.linked, 4 + 432 + 15 + 40 + 9 * 137, {0x10, 0x27});
  fs::remove(Linked("NAM"));
  fs::resize_file(Own("MLC"), 3092 + 16800 * 8);
  EXPECT_EQ((std::set<std::string>{"MDD bad_reference", "MDD bad_link", "CNS read_error"}),
            Findings(telio_tool::CheckMemberJob(paths_.linked)));
  EXPECT_EQ((std::set<std::string>{"MLC size_mismatch", "TGD size_mismatch"}),
            Findings(telio_tool::CheckMemberJob(paths_.own)));
  EXPECT_EQ((std::set<std::string>{"MDD missing_file"}), Findings(telio_tool::CheckMemberJob(Own("MDD"))));
}

}  // namespace
