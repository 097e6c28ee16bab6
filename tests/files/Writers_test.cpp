// Every writer saves through one path: a temporary file beside the target,
// renamed into place. The cases below run once per writer.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/CFileACE.h"
#include "files/CFileCMI.h"
#include "files/CFileJOB.h"
#include "files/CFileNAM.h"
#include "files/CFileT3L.h"
#include "files/CFileTOP.h"
#include "platform/LastError.h"
#include "platform/Profile.h"
#include "support/ByteWriter.h"
#include "support/T3LFixture.h"
#include "support/TOPFixture.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using telio_test::ReadFileBytes;
using telio_test::TempDir;
using telio_test::WriteFileBytes;

const std::vector<uint8_t> kOld = {'[', 'o', 'l', 'd', ']', '\r', '\n'};

struct Writer {
  const char* name;
  const char* ext;
  ulong32 (*save)(const std::string& path);
  bool countsTransfers;  // its writes go through the record transfers that tests can fail
};

const Writer kWriters[] = {
    {"T3L", "T3L",
     [](const std::string& p) {
       CFileT3L m;
       REC32A node{};
       m.AddNode(&node, 1);
       return m.Export(p.c_str());
     },
     true},
    {"TOP", "TOP",
     [](const std::string& p) {
       static CFileTOP* top = [] {
         TempDir src;
         telio_test::BuildTop(telio_test::SampleTopModel()).WriteTo(src.File("a.TOP"));
         auto* t = new CFileTOP;
         EXPECT_EQ(t->Import(src.File("a.TOP").c_str()), 0u);
         return t;
       }();
       return top->Export(p.c_str());
     },
     true},
    {"NAM", "NAM",
     [](const std::string& p) {
       CFileNAM nam;
       nam.AddLdsName("Wind");
       nam.AddLdsName("Snow");
       return nam.Export(p.c_str());
     },
     true},
    {"CMI", "CMI",
     [](const std::string& p) {
       CFileCMI cmi;
       std::vector<CMI_REC> rec(1);
       rec[0].SetCount(1);
       cmi.AddCombination(&rec[0], 0);
       return cmi.Export(p.c_str());
     },
     true},
    {"ACE", "ACE",
     [](const std::string& p) {
       CFileACE ace;
       ace.ActivateCmb(1, 1, 3);
       return ace.Export(p.c_str());
     },
     true},
    {"JOB", "JOB", [](const std::string& p) { return CFileJOB().Export(p.c_str()); }, false},
    {"settings", "INI",
     [](const std::string& p) {
       return WritePrivateProfileStringA("Dirs", "Telmaro", "/t", p.c_str()) ? 0u : telio::GetLastError();
     },
     false},
};

void PrintTo(const Writer& w, std::ostream* os) { *os << w.name; }

class Save : public ::testing::TestWithParam<Writer> {
 protected:
  std::string Target(const std::string& stem = "model") {
    std::string path = dir_.File(stem + "." + GetParam().ext);
    WriteFileBytes(path, kOld);
    return path;
  }
  // What the writer makes of the old file at a path of its own.
  std::vector<uint8_t> Expected() {
    std::string path = other_.File(std::string("ref.") + GetParam().ext);
    WriteFileBytes(path, kOld);
    EXPECT_EQ(GetParam().save(path), 0u);
    return ReadFileBytes(path);
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_.path())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static unsigned Mode(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
  }

  TempDir dir_;
  TempDir other_;
};

TEST_P(Save, ThroughASymbolicLinkReplacesTheFileItNamesAndKeepsTheLink) {
  fs::create_directory(dir_.File("real"));
  WriteFileBytes(dir_.File("real/model.x"), kOld);
  const std::string link = dir_.File(std::string("link.") + GetParam().ext);
  fs::create_symlink("real/model.x", link);
  ASSERT_EQ(GetParam().save(link), 0u);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link), "real/model.x");
  EXPECT_EQ(ReadFileBytes(dir_.File("real/model.x")), Expected());
  EXPECT_EQ(fs::directory_iterator(dir_.File("real"))->path().filename(), "model.x");
}

TEST_P(Save, KeepsThePermissionBitsAndRefusesAReadOnlyFile) {
  const std::string path = Target();
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  ASSERT_EQ(GetParam().save(path), 0u);
  EXPECT_EQ(Mode(path), 0600u);
  EXPECT_EQ(ReadFileBytes(path), Expected());

  WriteFileBytes(path, kOld);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_EQ(GetParam().save(path), telio::kErrorAccessDenied);
  EXPECT_EQ(ReadFileBytes(path), kOld);
  EXPECT_EQ(Mode(path), 0444u);
  EXPECT_EQ(Entries().size(), 1u);
}

TEST_P(Save, WritesInPlaceWhenTheFolderRefusesATemporaryFile) {
  // A name at the file system's limit leaves no room for a temporary name
  // beside it.
  const std::string stem(255 - 1 - std::string(GetParam().ext).size(), 'n');
  const std::string path = Target(stem);
  ASSERT_EQ(GetParam().save(path), 0u);
  EXPECT_EQ(ReadFileBytes(path), Expected());
  EXPECT_EQ(Entries().size(), 1u);
  if (geteuid() != 0) {  // the owner of every folder writes anywhere
    const std::string shut = Target();
    ASSERT_EQ(chmod(dir_.path().c_str(), 0555), 0);
    EXPECT_EQ(GetParam().save(shut), 0u);
    chmod(dir_.path().c_str(), 0755);
    EXPECT_EQ(ReadFileBytes(shut), Expected());
  }
}

TEST_P(Save, FailedWriteLeavesTheOldFileAndNothingElse) {
  const std::vector<uint8_t> want = Expected();
  const std::string path = Target();
  EXPECT_EQ(GetParam().save(dir_.File(std::string("no/such/x.") + GetParam().ext)), telio::kErrorPathNotFound);
  fs::create_directory(dir_.File("folder.x"));
  EXPECT_EQ(GetParam().save(dir_.File("folder.x")), telio::kErrorAccessDenied);
  fs::remove(dir_.File("folder.x"));
  if (!GetParam().countsTransfers) return;
  for (long n = 0;; ++n) {
    telio::FailRecordIoAfter(n);
    ulong32 code = GetParam().save(path);
    telio::FailRecordIoAfter(-1);
    if (code == 0) break;
    ASSERT_EQ(code, telio::kErrorWriteFault) << n;
    ASSERT_EQ(ReadFileBytes(path), kOld) << n;
    ASSERT_EQ(Entries().size(), 1u) << n;
  }
  EXPECT_EQ(ReadFileBytes(path), want);
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, Save, ::testing::ValuesIn(kWriters),
                         [](const ::testing::TestParamInfo<Writer>& i) { return std::string(i.param.name); });

TEST(ExportFile, ReplacesAFileWhoseNameDiffersInLetterCase) {
  TempDir dir;
  WriteFileBytes(dir.File("model.t3l"), kOld);
  ASSERT_EQ(CFileT3L().Export(dir.File("MODEL.T3L").c_str()), 0u);
  EXPECT_EQ(fs::directory_iterator(dir.path())->path().filename(), "model.t3l");
  EXPECT_EQ(ReadFileBytes(dir.File("model.t3l")).size(), 112u + 178u);
}

}  // namespace
