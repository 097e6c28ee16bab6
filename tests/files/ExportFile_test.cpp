#include "files/ExportFile.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/CFileBase.h"
#include "files/CFileT3L.h"
#include "platform/LastError.h"
#include "support/ByteWriter.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using telio_test::ReadFileBytes;

std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
  return out;
}

TEST(ExportFile, FailedExportKeepsTheOldFileAndLeavesNothingBehind) {
  telio_test::TempDir dir;
  const std::string path = dir.File("Model.T3L");
  CFileT3L model;
  REC32A node{};
  ASSERT_EQ(model.AddNode(&node, 1), 1);
  ASSERT_EQ(model.Export(path.c_str()), 0u);
  const std::vector<uint8_t> before = ReadFileBytes(path);

  ASSERT_EQ(model.AddNode(&node, 1), 1);
  for (long n = 0; n < 3; ++n) {  // fail the header, the settings, the nodes
    telio::FailRecordIoAfter(n);
    EXPECT_EQ(model.Export(path.c_str()), telio::kErrorWriteFault) << n;
    telio::FailRecordIoAfter(-1);
    EXPECT_EQ(ReadFileBytes(path), before) << n;
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"Model.T3L"});
  }
  ASSERT_EQ(model.Export(path.c_str()), 0u);
  EXPECT_EQ(ReadFileBytes(path).size(), before.size() + 32);
}

TEST(ExportFile, ReplacesAFileWhoseNameDiffersInCase) {
  telio_test::TempDir dir;
  telio_test::ByteWriter().u8(1).WriteTo(dir.File("model.t3l"));
  CFileT3L model;
  ASSERT_EQ(model.Export(dir.File("MODEL.T3L").c_str()), 0u);
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"model.t3l"});
  EXPECT_EQ(ReadFileBytes(dir.File("model.t3l")).size(), 112u + 178u);
}

TEST(ExportFile, UncommittedOrUnopenableExportsReportAndClean) {
  telio_test::TempDir dir;
  {
    telio::ExportFile out(dir.File("a.bin").c_str());
    ASSERT_NE(out.get(), nullptr);
    std::fputs("partial", out.get());
  }  // never committed
  EXPECT_TRUE(Names(dir.path()).empty());

  telio::ExportFile missingFolder(dir.File("no/such/a.bin").c_str());
  EXPECT_EQ(missingFolder.get(), nullptr);
  EXPECT_EQ(missingFolder.OpenError(), telio::kErrorFileNotFound);
  EXPECT_EQ(missingFolder.Commit(0), telio::kErrorFileNotFound);
}

}  // namespace
