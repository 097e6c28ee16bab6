#include "files/CAJF_PATHS.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "platform/CPathObj.h"

namespace {

namespace fs = std::filesystem;

void Touch(const std::string& path) { std::ofstream(path).put('x'); }

class AjfPathsTest : public ::testing::Test {
 protected:
  void SetUp() override { telio::SetSpecialFolder(2, settings_.path().c_str()); }
  void TearDown() override { telio::SetSpecialFolder(2, nullptr); }

  // A settings file whose "Dirs" section holds the given lines.
  void WriteSettings(const std::string& dirs) {
    std::ofstream(settings_.File("telmaro.ini")) << "[Dirs]\r\n" << dirs;
  }

  telio_test::TempDir settings_;
  telio_test::TempDir root_;
};

TEST_F(AjfPathsTest, FolderOrFileInsideGiveTheSameFileSet) {
  const std::string project = root_.File("Bridge.AJF");
  fs::create_directory(project);
  Touch(project + "/Bridge.T3L");

  CAJF_PATHS fromFolder(project.c_str(), nullptr);
  EXPECT_STREQ(fromFolder.Name(), "Bridge");
  EXPECT_EQ(std::string(fromFolder.ProjectFolder()), project);
  EXPECT_EQ(std::string(fromFolder.ParentFolder()), root_.path() + "/");
  EXPECT_EQ(std::string(fromFolder.T3L()), project + "/Bridge.T3L");
  EXPECT_EQ(std::string(fromFolder.OUC()), project + "/Bridge.OUC");

  // With a backslash and a trailing separator the folder is the same one.
  std::string windowsStyle = project + "\\";
  CAJF_PATHS fromWindows(windowsStyle.c_str(), nullptr);
  EXPECT_EQ(std::string(fromWindows.T3L()), project + "/Bridge.T3L");

  CAJF_PATHS fromFile((project + "/Bridge.T3L").c_str(), nullptr);
  EXPECT_EQ(std::string(fromFile.ProjectFolder()), project);
  EXPECT_EQ(std::string(fromFile.RES()), project + "/Bridge.RES");
  EXPECT_STREQ(fromFile.Name(), "Bridge");
}

TEST_F(AjfPathsTest, NameOnlyGivesBareFileNames) {
  CAJF_PATHS p(nullptr, "Job1");
  EXPECT_STREQ(p.ProjectFolder(), "Job1.AJF");
  EXPECT_STREQ(p.T3L(), "Job1.T3L");
  EXPECT_STREQ(p.ParentFolder(), "");
  EXPECT_EQ(p.IsInTelmaroProjectFolder(), 0);  // no projects folder either
  EXPECT_EQ(CAJF_PATHS::GenerateAJFPaths(nullptr), 0);
}

TEST_F(AjfPathsTest, AModelFileInARootFolderKeepsItsFolder) {
  for (const char* given : {"/Bridge.T3L", "C:\\Bridge.T3L"}) {
    CAJF_PATHS p(given, "Bridge");
    const std::string root = given[0] == '/' ? "/" : "C:/";
    EXPECT_EQ(std::string(p.ProjectFolder()), root) << given;
    EXPECT_EQ(std::string(p.T3L()), root + "Bridge.T3L") << given;
  }
}

TEST_F(AjfPathsTest, AjfSuffixIsStrippedOnlyWhenExact) {
  const std::string lower = root_.File("Deck.ajf");
  fs::create_directory(lower);
  CAJF_PATHS p(lower.c_str(), nullptr);
  EXPECT_STREQ(p.Name(), "Deck.ajf");
}

TEST_F(AjfPathsTest, ValidationCountsOnlyTheFiveEssentialFiles) {
  // A project that does not exist yet is named by a file inside it: a path
  // that names no existing folder stands for a file in the project folder.
  const std::string project = root_.File("Frame.AJF");
  const std::string inside = project + "/Frame.T3L";
  CAJF_PATHS p;
  ASSERT_EQ(p.Set(inside.c_str(), "Frame", 0), 1);
  EXPECT_EQ(std::string(p.ProjectFolder()), project);
  EXPECT_EQ(p.ValidatePaths(0), static_cast<ulong32>(-1));
  EXPECT_EQ(p.Set(inside.c_str(), "Frame", 1), 0);

  fs::create_directory(project);
  Touch(project + "/Frame.T3L");
  Touch(project + "/FRAME.top");  // copied from Windows: other letter case
  EXPECT_EQ(p.ValidatePaths(0), 3u);
  EXPECT_EQ(p.ValidatePaths(1), 0u);  // creates JOB, NAM and CMI
  EXPECT_TRUE(fs::exists(project + "/Frame.CMI"));
  EXPECT_FALSE(fs::exists(project + "/Frame.ACE"));
  EXPECT_EQ(p.Set(project.c_str(), "Frame", 1), 1);
  EXPECT_EQ(p.HasResultFile(), 0);
  Touch(project + "/frame.res");
  EXPECT_EQ(p.HasResultFile(), 1);
}

TEST_F(AjfPathsTest, ValidateWithCreateMakesTheFolderChain) {
  CAJF_PATHS p;
  p.Set(root_.File("a/b/Job.AJF/Job.T3L").c_str(), "Job", 0);
  EXPECT_EQ(p.ValidatePaths(1), 0u);
  EXPECT_TRUE(fs::is_regular_file(root_.File("a/b/Job.AJF/Job.NAM")));
}

TEST_F(AjfPathsTest, SuiteFoldersComeFromTheSettingsFile) {
  EXPECT_STREQ(GetTelmaroDir(), "");  // no settings file yet
  EXPECT_STREQ(GetTelmaroBinDir(), "");

  const std::string suite = root_.File("Suite");
  fs::create_directories(suite + "/Projects");
  fs::create_directories(suite + "/Bin/Data");
  WriteSettings("Telmaro=" + suite + "\r\nUsermode=" + root_.File("nowhere") + "\r\n");

  EXPECT_EQ(std::string(GetTelmaroDir()), suite);
  EXPECT_EQ(std::string(GetTelmaroProjectsDir()), suite + "/Projects");
  EXPECT_STREQ(GetTelmaroUserModDir(), "");  // neither the key nor UserMod exists
  fs::create_directories(suite + "/UserMod");
  EXPECT_EQ(std::string(GetTelmaroUserModDir()), suite + "/UserMod");
  EXPECT_EQ(std::string(GetTelmaroBinDataDir()), suite + "/Bin/Data");

  // Bin falls back to the settings folder when the suite has none.
  fs::remove_all(suite + "/Bin");
  fs::create_directories(settings_.File("Bin"));
  EXPECT_EQ(std::string(GetTelmaroBinDir()), settings_.File("Bin"));
}

TEST_F(AjfPathsTest, ProjectFolderTestIgnoresCaseAndTrailingSeparator) {
  const std::string suite = root_.File("Suite");
  fs::create_directories(suite + "/Projects/Hall.AJF");
  WriteSettings("Telmaro=" + suite + "\\\r\n");

  std::string upper = suite + "/PROJECTS/Hall.AJF";
  CAJF_PATHS p;
  p.Set((suite + "/Projects/Hall.AJF").c_str(), nullptr, 0);
  EXPECT_EQ(p.IsInTelmaroProjectFolder(), 1);
  p.Set(upper.c_str(), "Hall", 0);  // does not exist under this case: parent differs only in case
  EXPECT_EQ(p.IsInTelmaroProjectFolder(), 1);
  p.Set(root_.File("Other.AJF").c_str(), "Other", 0);
  EXPECT_EQ(p.IsInTelmaroProjectFolder(), 0);
}

TEST_F(AjfPathsTest, GetPathIniFindsFilesInAnyLetterCase) {
  std::ofstream(root_.File("grades.ini")) << "[x]\n";
  EXPECT_FALSE(CString(GetPathIni(CString(root_.path().c_str()), CString("GRADES.INI"))).IsEmpty());
  EXPECT_TRUE(CString(GetPathIni(CString(root_.path().c_str()), CString("BOLTS.LIB"))).IsEmpty());
  EXPECT_TRUE(CString(GetPathIni(CString(), CString("TELMARO.INI"))).IsEmpty());
}

}  // namespace
