#include <fstream>

#include <gtest/gtest.h>

#include "platform/CPathObj.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "objects/data/CIJobData.h"
#include "objects/data/CILinkJobData.h"
#include "support/ByteWriter.h"
#include "support/TempDir.h"

using namespace TELMARO_DATA_OBJECTS;
using telio_test::ByteWriter;

namespace {

FILE* StreamOf(const ByteWriter& w) {
  FILE* f = std::tmpfile();
  std::fwrite(w.data().data(), 1, w.size(), f);
  std::rewind(f);
  return f;
}

std::vector<uint8_t> Saved(CIJobData& job) {
  FILE* f = std::tmpfile();
  EXPECT_TRUE(job.Serialize(f, false));
  std::vector<uint8_t> bytes(static_cast<size_t>(std::ftell(f)));
  std::rewind(f);
  EXPECT_EQ(bytes.size(), std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  return bytes;
}

bool Load(CIJobData& job, const ByteWriter& w) {
  FILE* f = StreamOf(w);
  bool ok = job.Serialize(f, true);
  std::fclose(f);
  return ok;
}

CIJobData Sample() {
  CIJobData job;
  job.SetFileName("C:\\Work\\Hall.MDP");
  job.SetJobData("Hall", "", "Smith", "roof trusses");
  job.SetDate(SYSTEMTIME{2024, 3, 1, 25, 0, 0, 0, 0});
  job.SetRegulation(static_cast<REGULATION>(4));
  job.SetType(0x5, 0);
  return job;
}

TEST(JobData, DateTextAndDateAgree) {
  CIJobData job;
  EXPECT_EQ(1, job.Regulation());
  job.SetDate(SYSTEMTIME{2024, 3, 0, 25, 0, 0, 0, 0});
  EXPECT_EQ(CString("25 / 3 / 2024"), job.Date());
  job.SetDate(CString("25 / 3 / 2024"));
  EXPECT_EQ(2024, job.SystemDate().wYear);
  EXPECT_EQ(3, job.SystemDate().wMonth);
  EXPECT_EQ(25, job.SystemDate().wDay);
  SYSTEMTIME d = CIJobData::ConvertDateStrToSystemTime("on 7.11.1999, noon");
  EXPECT_EQ(1999, d.wYear);
  EXPECT_EQ(11, d.wMonth);
  EXPECT_EQ(7, d.wDay);
  EXPECT_EQ(0, CIJobData::ConvertDateStrToSystemTime("").wYear);
  EXPECT_EQ(0xFFFF, CIJobData::ConvertDateStrToSystemTime("1/1/99999999999").wYear);
}

TEST(JobData, SaveWritesVersion3AndLoadsBackEqual) {
  CIJobData job = Sample();
  ByteWriter expect;
  expect.u32(3).text("C:\\Work\\Hall.MDP", 260).text("Hall", 260);
  expect.u16(2024).u16(3).u16(1).u16(25).zeros(8);
  expect.text("Smith", 260).text("roof trusses", 260).i32(4).u32(5);
  EXPECT_EQ(expect.data(), Saved(job));

  CIJobData loaded;
  ASSERT_TRUE(Load(loaded, expect));
  EXPECT_TRUE(loaded.IsEqualWith(&job));
  EXPECT_EQ(job.CheckSum(), loaded.CheckSum());
  EXPECT_EQ(CString("25 / 3 / 2024"), loaded.Date());

  CIJobData fresh, reloaded;
  ASSERT_TRUE(Load(reloaded, ByteWriter().bytes(Saved(fresh).data(), Saved(fresh).size())));
  EXPECT_TRUE(reloaded.IsEqualWith(&fresh));
  EXPECT_EQ(fresh.CheckSum(), reloaded.CheckSum());
}

TEST(JobData, OlderVersionsLoadAsTheirLayoutSays) {
  ByteWriter v2;
  v2.u32(2).text("a.mdp", 260).text("P", 260).text("1/2/2003", 260).text("E", 260).text("C", 260);
  v2.i32(7).u32(0x10);
  CIJobData job;
  ASSERT_TRUE(Load(job, v2));
  EXPECT_EQ(7, job.Regulation());
  EXPECT_EQ(0x10u, job.Type());
  EXPECT_EQ(CString("1/2/2003"), job.Date());
  EXPECT_EQ(2003, job.SystemDate().wYear);
  EXPECT_EQ(1, job.SystemDate().wDay);

  ByteWriter v1;
  v1.u32(1).text("a.mdp", 260).text("P", 260).text("", 260).text("E", 260).text("C", 260).u32(0x3);
  ASSERT_TRUE(Load(job, v1));
  EXPECT_EQ(0, job.Regulation());
  EXPECT_TRUE(job.IsType(0x3));
  EXPECT_EQ(CString("C"), job.Comments());
  EXPECT_EQ(0, job.SystemDate().wYear);
}

TEST(JobData, UnknownVersionAndShortRecordKeepDefaults) {
  CIJobData job = Sample();
  ASSERT_TRUE(Load(job, ByteWriter().u32(4).text("x", 260).text("y", 260)));
  CIJobData defaults;
  EXPECT_TRUE(job.IsEqualWith(&defaults));
  EXPECT_EQ(defaults.CheckSum(), job.CheckSum());

  job = Sample();
  EXPECT_FALSE(Load(job, ByteWriter().u32(3).text("f", 260).text("p", 100)));
  EXPECT_EQ(CString("f"), job.FileName());
  EXPECT_TRUE(job.ProjectName().IsEmpty());
  EXPECT_EQ(1, job.Regulation());
}

class LinkJobData : public ::testing::Test {
 protected:
  // A job folder holding JOB1.AJF and its files in lower case, as copied
  // from Windows, less the files named in missing.
  std::string MakeJob(const std::string& folder, const std::vector<std::string>& missing) {
    std::filesystem::create_directories(dir_.File(folder));
    for (const char* ext : {"ajf", "top", "res", "cmi", "nam", "job", "ace", "ouc"}) {
      bool skip = false;
      for (const auto& m : missing) skip = skip || m == ext;
      if (!skip) ByteWriter().u8(0).WriteTo(dir_.File(folder + "/job1." + ext));
    }
    return dir_.File(folder + "/JOB1.AJF");
  }
  telio_test::TempDir dir_;
};

TEST_F(LinkJobData, ValidityFollowsMissingFiles) {
  CILinkJobData link;
  EXPECT_EQ(0, link.Validity());
  link.SetLinkJobData(MakeJob("a", {"ace"}).c_str(), 9);
  EXPECT_TRUE(link.IsValidLink());
  EXPECT_EQ(kLinkMissingACE, link.Type());

  link.SetLinkJobData(MakeJob("b", {"res"}).c_str(), 9);
  EXPECT_EQ(-1, link.Validity());
  EXPECT_EQ(kLinkMissingRES, link.Type());
  EXPECT_FALSE(link.IsValidLink());

  link.SetLinkJobData(dir_.File("nowhere/JOB1.AJF").c_str(), 9);
  EXPECT_EQ(-2, link.Validity());
  EXPECT_EQ(0xFFu, link.Type());
}

TEST_F(LinkJobData, ProjectFolderLinksToTheFilesInside) {
  // Hall.AJF is the folder itself, holding hall.top ... (no ACE).
  const std::string folder = dir_.File("p/Hall.AJF");
  std::filesystem::create_directories(folder);
  for (const char* ext : {"top", "res", "cmi", "nam", "job", "ouc"}) {
    ByteWriter().u8(0).WriteTo(folder + "/hall." + ext);
  }
  CILinkJobData link;
  link.SetLinkJobData(folder.c_str(), 0);
  EXPECT_TRUE(link.IsValidLink());
  EXPECT_EQ(kLinkMissingACE, link.Type());
  EXPECT_EQ(CString((folder + "/Hall.RES").c_str()), link.RESPath());
  EXPECT_EQ(CString((folder + "/Hall.TOP").c_str()), link.TOPPath());
}

TEST_F(LinkJobData, SavedLinkLoadsBackAndFollowsAMovedProject) {
  std::string ajf = MakeJob("old/job", {});
  std::string project = dir_.File("old/Hall.MDP");
  ByteWriter().u8(0).WriteTo(project);
  CILinkJobData link;
  link.SetJobName("JOB1");
  link.SetLinkJobData(ajf.c_str(), 2);
  link.RelateLinkJobPathWith(project.c_str());
  EXPECT_EQ(CString("job/JOB1.AJF"), link.RelatedLinkJobPath());

  FILE* f = std::tmpfile();
  ASSERT_TRUE(link.Serialize(f, false));
  EXPECT_EQ(4 + 4 + 260 + 4 + 260 + 260, std::ftell(f));
  std::rewind(f);
  CILinkJobData loaded;
  ASSERT_TRUE(loaded.Serialize(f, true));
  std::fclose(f);
  EXPECT_TRUE(loaded.IsEqualWith(&link));
  EXPECT_EQ(link.CheckSum(), loaded.CheckSum());
  EXPECT_TRUE(loaded.IsValidLink());

  // Design project and job moved together.
  std::filesystem::rename(dir_.File("old"), dir_.File("new"));
  CILinkJobData moved;
  moved.CopyFrom(&loaded);
  moved.SetLinkJobData(moved.LinkJobPath(), moved.Kind());
  EXPECT_EQ(-2, moved.Validity());
  moved.ValidateLinkJobData(dir_.File("new/Hall.MDP").c_str());
  EXPECT_TRUE(moved.IsValidLink());
  EXPECT_NE(std::string::npos, moved.LinkJobPath().str().find("new"));
}

TEST_F(LinkJobData, MissingJobIsLookedForInTheSuiteProjectsFolder) {
  // The suite: settings folder -> TELMARO.INI -> suite folder -> Projects.
  telio_test::TempDir settings;
  telio::SetSpecialFolder(2, settings.path().c_str());
  std::ofstream(settings.File("TELMARO.INI")) << "[Dirs]\nTelmaro=" << dir_.File("suite") << "\n";
  std::filesystem::create_directories(dir_.File("suite/Projects"));
  MakeJob("suite/Projects", {});  // holds job1.ajf, in lower case

  CILinkJobData link;
  link.SetJobName("JOB1");
  link.SetLinkJobData(dir_.File("gone/JOB1.AJF").c_str(), 2);
  EXPECT_EQ(-2, link.Validity());
  link.ValidateLinkJobData(dir_.File("elsewhere/Hall.MDP").c_str());
  EXPECT_TRUE(link.IsValidLink());
  EXPECT_NE(std::string::npos, link.LinkJobPath().str().find("Projects"));
  telio::SetSpecialFolder(2, nullptr);
}

TEST_F(LinkJobData, Version1RecordRevalidatesAndUnknownVersionKeepsDefaults) {
  std::string ajf = MakeJob("v1", {"ouc"});
  ByteWriter v1;
  v1.u32(1).i32(1).text(ajf, 260).u32(3).text("old1", 260).text("old2", 260).u32(0xDEAD);
  FILE* f = StreamOf(v1);
  CILinkJobData link;
  ASSERT_TRUE(link.Serialize(f, true));
  EXPECT_EQ(-1, link.Validity());
  EXPECT_EQ(kLinkMissingOUC, link.Type());
  EXPECT_TRUE(link.JobName().IsEmpty());
  ulong32 next = 0;
  ASSERT_EQ(4u, std::fread(&next, 1, 4, f));  // the stream stands after the record
  std::fclose(f);

  f = StreamOf(ByteWriter().u32(3).i32(1).text(ajf, 260));
  ASSERT_TRUE(link.Serialize(f, true));
  std::fclose(f);
  EXPECT_EQ(0, link.Link());
  EXPECT_TRUE(link.LinkJobPath().IsEmpty());
}

}  // namespace
