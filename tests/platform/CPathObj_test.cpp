#include "platform/CPathObj.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/LastError.h"
#include "support/ByteWriter.h"
#include "support/TempDir.h"

namespace {

using telio_test::TempDir;

TEST(CPathObjTest, SplitsBackslashPathsAndDropsTrailingSeparators) {
  CPathObj p("C:\\P\\\\Bridge.AJF\\");
  EXPECT_STREQ("C:/P/Bridge.AJF", p.GetFullPath());
  EXPECT_STREQ("C:/P/", p.GetFolder());
  EXPECT_STREQ("Bridge.AJF", p.GetLastComponent());
  EXPECT_STREQ("Bridge.AJF", p.GetFileName());
  EXPECT_STREQ("AJF", p.GetFileEXT());
  EXPECT_STREQ("Bridge", p.GetFileTitle());
  EXPECT_FALSE(p.IsRelativePath());

  p.SetPath("/");
  EXPECT_STREQ("/", p.GetFullPath());
  EXPECT_STREQ("/", p.GetFolder());
  EXPECT_STREQ("", p.GetFileName());

  p = CString("name.t3l");
  EXPECT_STREQ("", p.GetFolder());
  EXPECT_STREQ("name.t3l", p.GetFileName());
  EXPECT_TRUE(p.IsRelativePath());

  p.SetPath(nullptr);
  EXPECT_STREQ("", p.GetFullPath());
  EXPECT_EQ(0, p.ExistsPath());
}

TEST(CPathObjTest, ExtensionEditing) {
  CPathObj p("/a.b/job");
  EXPECT_STREQ("", p.GetFileEXT());  // the dot of a folder is not an extension
  p.AppendEXT(".T3L");
  EXPECT_STREQ("/a.b/job.T3L", p.GetFullPath());
  p.ChangeEXT("TOP");
  EXPECT_STREQ("/a.b/job.TOP", p.GetFullPath());
  p.RemoveEXT();
  EXPECT_STREQ("/a.b/job", p.GetFullPath());
  p.RemoveEXT();
  EXPECT_STREQ("/a.b/job", p.GetFullPath());

  CPathObj hidden("/x/.cfg");
  EXPECT_STREQ("", hidden.GetFileEXT());
  hidden.ChangeEXT("ini");
  EXPECT_STREQ("/x/.cfg.ini", hidden.GetFullPath());

  CPathObj q("/x/Job.Mdl");
  EXPECT_TRUE(q.IsFileEXTOneOf("MDL"));
  EXPECT_TRUE(q.IsFileEXTOneOf("MDD;MDL"));
  EXPECT_TRUE(q.IsFileEXTOneOf("*.mdd|*.mdl"));
  EXPECT_TRUE(q.IsFileEXTOneOf(".mdl"));
  EXPECT_FALSE(q.IsFileEXTOneOf("MD"));
  EXPECT_FALSE(q.IsFileEXTOneOf("MDLX"));
  EXPECT_FALSE(q.IsFileEXTOneOf(""));
  EXPECT_FALSE(q.IsFileEXTOneOf(nullptr));
  EXPECT_FALSE(CPathObj("/x/Job").IsFileEXTOneOf("MDL;"));
}

TEST(CPathObjTest, AppendFileAddsOneSeparator) {
  CPathObj p("/p/");
  p.AppendFile("\\Sub\\Bridge.T3L");
  EXPECT_STREQ("/p/Sub/Bridge.T3L", p.GetFullPath());
  EXPECT_STREQ("/p/Sub/", p.GetFolder());
  CPathObj root("/");
  root.AppendFile("etc");
  EXPECT_STREQ("/etc", root.GetFullPath());
  CPathObj empty;
  empty.AppendFile("x.T3L");
  EXPECT_STREQ("x.T3L", empty.GetFullPath());
}

TEST(CPathObjTest, BackSlashHelpers) {
  EXPECT_STREQ("/a/b/", CPathObj::AddBackSlash("/a/b", 0));
  EXPECT_STREQ("/a/b/", CPathObj::AddBackSlash("/a/b//", 0));
  EXPECT_STREQ("C:\\x\\", CPathObj::AddBackSlash("C:\\x", '\\'));
  EXPECT_STREQ("/", CPathObj::AddBackSlash("", 0));
  EXPECT_STREQ("\\", CPathObj::AddBackSlash(nullptr, '\\'));
  EXPECT_STREQ("C:\\x", CPathObj::RemoveBackSlash("C:\\x\\/"));
  EXPECT_STREQ("", CPathObj::RemoveBackSlash(nullptr));
}

TEST(CPathObjTest, RelativeAndAbsolutePaths) {
  CPathObj p("/Jobs/Bridge.AJF/Bridge.T3L");
  EXPECT_STREQ("Bridge.AJF/Bridge.T3L", p.GetRelativePath("/jobs"));
  EXPECT_STREQ("../Jobs/Bridge.AJF/Bridge.T3L", p.GetRelativePath("/other\\"));
  EXPECT_STREQ(".", CPathObj("/a/b").GetRelativePath("/A/B/"));
  EXPECT_STREQ("/Jobs/Bridge.AJF/Bridge.T3L", p.GetRelativePath("rel"));
  EXPECT_STREQ("C:/a", CPathObj("C:\\a").GetRelativePath("D:\\a"));

  CPathObj r("..\\x\\.\\y.T3L");
  EXPECT_STREQ("/base/x/y.T3L", r.GetAbsolutePath("/base/sub"));
  EXPECT_STREQ("/Jobs/Bridge.AJF/Bridge.T3L", p.GetAbsolutePath("/elsewhere"));
  EXPECT_STREQ("/x", CPathObj("../../x").GetAbsolutePath("/"));
}

TEST(CPathObjTest, FindsExistingEntriesIgnoringLetterCase) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() + "/Bridge.AJF");
  telio_test::WriteFileBytes(dir.path() + "/Bridge.AJF/Bridge.T3L", {1, 2, 3});

  EXPECT_TRUE(CPathObj((dir.path() + "/Bridge.AJF/Bridge.T3L").c_str()).ExistsPath());
  EXPECT_TRUE(CPathObj((dir.path() + "\\BRIDGE.ajf\\bridge.t3l").c_str()).ExistsPath());
  EXPECT_TRUE(CPathObj((dir.path() + "/bridge.ajf/").c_str()).ExistsPath());
  EXPECT_FALSE(CPathObj((dir.path() + "/bridge.ajf/bridge.top").c_str()).ExistsPath());

  std::FILE* f = telio::OpenFile((dir.path() + "/BRIDGE.AJF/BRIDGE.T3L").c_str(), "rb");
  ASSERT_NE(nullptr, f);
  EXPECT_EQ(1, std::fgetc(f));
  std::fclose(f);

  telio::SetLastError(0);
  EXPECT_EQ(nullptr, telio::OpenFile((dir.path() + "/bridge.ajf/x.T3L").c_str(), "rb"));
  EXPECT_EQ(telio::kErrorFileNotFound, telio::GetLastError());
  EXPECT_EQ(nullptr, telio::OpenFile((dir.path() + "/nothing/x.T3L").c_str(), "rb"));
  EXPECT_EQ(telio::kErrorPathNotFound, telio::GetLastError());
}

TEST(CPathObjTest, CreateFilePathReusesFoldersOfOtherCase) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() + "/Jobs");
  CPathObj p((dir.path() + "\\JOBS\\New.AJF\\New.T3L").c_str());
  EXPECT_TRUE(p.CreateFilePath(1, 0));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() + "/Jobs/New.AJF"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "/Jobs/New.AJF/New.T3L"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "/JOBS"));

  CPathObj folder((dir.path() + "/Jobs/A/B").c_str());
  EXPECT_TRUE(folder.CreateFilePath(0, 0));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() + "/Jobs/A/B"));

  // A file in the way of the chain.
  telio_test::WriteFileBytes(dir.path() + "/plain", {0});
  EXPECT_FALSE(CPathObj((dir.path() + "/plain/sub").c_str()).CreateFilePath(0, 0));
}

TEST(CPathObjTest, SpecialFolderTwoIsSettable) {
  TempDir dir;
  telio::SetSpecialFolder(kPathSpecialDefault, (dir.path() + "\\cfg\\").c_str());
  CPathObj p;
  EXPECT_TRUE(p.SetPathSpecial(kPathSpecialDefault));
  EXPECT_EQ(dir.path() + "/cfg", std::string(p.GetFullPath()));
  EXPECT_FALSE(p.SetPathSpecial(99));
  EXPECT_STREQ("", p.GetFullPath());
  telio::SetSpecialFolder(kPathSpecialDefault, nullptr);
  // The default never names the real home folder here: point it at ours.
  std::string xdg = dir.path() + "/xdg";
  setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
  EXPECT_STREQ((xdg + "/telio").c_str(), telio::GetSpecialFolder(kPathSpecialDefault));
  unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
