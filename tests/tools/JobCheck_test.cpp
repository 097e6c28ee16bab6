#include "JobCheck.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "SampleJob.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using Found = std::set<std::string>;  // "FILE code"

// Overwrites bytes of a file in place.
void Patch(const std::string& path, long at, const std::vector<unsigned char>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "r+b");
  ASSERT_NE(nullptr, f) << path;
  ASSERT_EQ(0, std::fseek(f, at, SEEK_SET));
  ASSERT_EQ(bytes.size(), std::fwrite(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
}

void Cut(const std::string& path, long bytes) {
  fs::resize_file(path, fs::file_size(path) - static_cast<uintmax_t>(bytes));
}

Found Findings(const telio_tool::JobCheckReport& r) {
  Found out;
  for (const auto& f : r.findings) out.insert(f.file + " " + f.code);
  return out;
}

// A job of 30 nodes (3 supports), 50 beams, 3 static cases and 2
// combinations: 5 load results.
class JobCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    telio_tool::SampleJobSize s;
    s.nodes = 30;
    s.beams = 50;
    s.cases = 3;
    s.combinations = 2;
    std::vector<telio_tool::SampleSection> sections;
    ASSERT_EQ(0u, telio_tool::PickSampleSections(TELIO_SOURCE_DIR "/data", sections));
    std::string failed;
    ASSERT_EQ(0u, telio_tool::WriteSampleJob(dir_.path(), "Bridge", s, sections, &failed)) << failed;
  }
  std::string File(const char* ext) const { return dir_.path() + "/Bridge.AJF/Bridge." + ext; }
  telio_test::TempDir dir_;
};

TEST_F(JobCheckTest, SampleJobIsCleanFromTheFolderOrAnyFileInIt) {
  const auto r = telio_tool::CheckJob(dir_.path() + "/Bridge.AJF");
  EXPECT_TRUE(r.Clean()) << r.findings.size() << " findings, first: "
                         << (r.findings.empty() ? "" : r.findings[0].message);
  EXPECT_EQ("Bridge", r.name);
  for (const auto& f : r.files) EXPECT_TRUE(f.present && f.read) << f.kind;
  ASSERT_NE(nullptr, r.File("OUC"));
  EXPECT_TRUE(telio_tool::CheckJob(File("RES")).Clean());
}

TEST_F(JobCheckTest, OneDamagedFileOrChangedCountGivesItsFindings) {
  struct Case {
    const char* what;
    std::function<void()> damage;
    Found expected;
  };
  const Case cases[] = {
      {"RES one record short", [&] { Cut(File("RES"), 52); }, {"RES size_mismatch"}},
      {"NAM one name short", [&] { Cut(File("NAM"), 32); }, {"NAM count_mismatch"}},
      // DYN then reads past its envelope record: one name fewer than counted.
      {"DEN counts two envelopes", [&] { Patch(File("DEN"), 0, {2, 0, 0, 0}); }, {"DYN count_mismatch"}},
      // One combination fewer: ACE activates one too many, and RES and OUC
      // hold one load result more than the job counts.
      {"CMI count lowered",
       [&] { Patch(File("CMI"), 0, {1, 0, 0, 0}); },
       {"ACE count_mismatch", "RES size_mismatch", "OUC count_mismatch"}},
      // The topology claims a fourth static case that no other file has.
      {"TOP static cases raised",
       [&] { Patch(File("TOP"), 54, {4, 0}); },
       {"T3L count_mismatch", "JOB count_mismatch", "NAM count_mismatch", "RES size_mismatch",
        "OUC count_mismatch"}},
      {"CMI term beyond the cases",
       [&] { Patch(File("CMI"), 3204 + 4, {9, 0, 0, 0}); },
       {"CMI bad_reference"}},
      {"OUC cut inside its table", [&] { fs::resize_file(File("OUC"), 100); }, {"OUC read_error"}},
      {"CS without records",
       [&] { Patch(File("CS"), 4, {0, 0, 0, 0}); },
       {"CS bad_reference"}},
      {"CS cut inside its record", [&] { Cut(File("CS"), 3); }, {"CS size_mismatch", "CS bad_reference"}},
      {"NAM missing", [&] { fs::remove(File("NAM")); }, {"NAM missing_file"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    c.damage();
    const auto r = telio_tool::CheckJob(File("T3L"));
    EXPECT_EQ(c.expected, Findings(r));
  }
}

TEST_F(JobCheckTest, BadFilesAreReportedWithTheirCode) {
  fs::resize_file(File("OUC"), 6);  // inside LCNum and MaxIP
  fs::remove(File("TOP"));
  const auto r = telio_tool::CheckJob(File("T3L"));
  EXPECT_EQ(1, r.Count("missing_file", "TOP"));
  // RES needs the topology beside it.
  EXPECT_EQ(1, r.Count("read_error", "RES"));
  ASSERT_EQ(1, r.Count("read_error", "OUC"));
  for (const auto& f : r.findings) {
    if (f.file == "OUC") {
      EXPECT_EQ(38u, f.error);
    }
  }
  EXPECT_EQ(1, telio_tool::CheckJob(dir_.path() + "/Nothing.AJF").Count("no_project"));
}

}  // namespace
