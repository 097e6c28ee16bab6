#include "files/CFileBase.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/LastError.h"
#include "support/ByteWriter.h"
#include "support/TempDir.h"

namespace {

using telio_test::TempDir;

// The smallest concrete file class, to reach the protected members.
class ProbeFile : public CFileBase {
 public:
  ProbeFile() { SetFileDefExt("MDD;MDL"); }
  int NewFile(const char*) override { return 0; }
  ulong32 Import(const char* path) override {
    Close();
    return SetFilePath(path, true) ? 0 : telio::GetLastError();
  }
  ulong32 Export(const char* path) override { return SetFilePath(path, false) ? 0 : 1; }
  void Close() override { Init(); }
};

TEST(CFileBaseTest, SetFilePathChecksExistenceAndExtension) {
  TempDir dir;
  telio_test::WriteFileBytes(dir.File("Job.mdl"), {0});
  telio_test::WriteFileBytes(dir.File("Job.TOP"), {0});
  ProbeFile f;
  EXPECT_EQ(0u, f.Import((dir.path() + "\\JOB.MDL").c_str()));
  EXPECT_EQ(CString("JOB.MDL"), f.GetFileName());
  const std::pair<std::string, ulong32> refused[] = {{dir.File("Job.TOP"), telio::kErrorInvalidName},
                                                     {dir.File("None.MDD"), telio::kErrorFileNotFound},
                                                     {dir.File("no/such/Job.MDD"), telio::kErrorPathNotFound}};
  for (const auto& r : refused) {
    EXPECT_EQ(r.second, f.Import(r.first.c_str())) << r.first;
    EXPECT_TRUE(f.GetFilePath().IsEmpty());
    EXPECT_TRUE(f.GetFileName().IsEmpty());
  }
  EXPECT_EQ(0u, f.Export(dir.File("new/Other.xyz").c_str()));  // any path, existing or not
  EXPECT_EQ(CString("Other.xyz"), f.GetFileName());
  ProbeFile copy(f);
  EXPECT_TRUE(copy.GetFileDefExt().IsEmpty());  // the derived class sets it again
}

TEST(CFileBaseTest, RecordTransfers) {
  char buf[4] = {};
  EXPECT_EQ(0u, FReadBuff(nullptr, nullptr, 0, 0));
  EXPECT_EQ(160, CFileBase::FReadBuff(nullptr, buf, 4, 0));
  TempDir dir;
  telio_test::ByteWriter w;
  for (int i = 0; i < 16; ++i) w.u8(static_cast<uint8_t>(i));
  w.WriteTo(dir.File("data.bin"));
  std::FILE* f = std::fopen(dir.File("data.bin").c_str(), "rb");
  ASSERT_NE(nullptr, f);
  EXPECT_EQ(160, CFileBase::FWriteBuff(f, buf, 0, 1));
  unsigned char rec[4] = {};
  EXPECT_EQ(0u, FReadBuffAtPos(f, rec, 2, 2, 8));
  EXPECT_EQ(0u, FReadBuffAtPos(f, rec, 4, 1, -1));  // current position
  EXPECT_EQ(12, rec[0]);
  EXPECT_EQ(0u, FileSetPositionAt(f, 16));  // exactly the end is a position
  std::memset(rec, 0xEE, sizeof rec);
  EXPECT_EQ(telio::kErrorFileCorrupt, FReadBuffAtPos(f, rec, 4, 1, 17));
  EXPECT_EQ(0xEE, rec[0]);
  EXPECT_EQ(telio::kErrorFileCorrupt, FileSetPositionAt(f, -4));
  // A record the file ends inside is the end of the file, not success.
  EXPECT_EQ(telio::kErrorHandleEof, FReadBuffAtPos(f, rec, 4, 1, 14));
  EXPECT_NE(0u, FWriteBuff(f, rec, 4, 1));  // writing to a read stream
  std::fclose(f);

  // Writing beyond the end of a write stream is allowed.
  f = std::fopen(dir.File("out.bin").c_str(), "wb");
  ASSERT_NE(nullptr, f);
  EXPECT_EQ(0u, FWriteBuffAtPos(f, rec, 4, 1, 8));
  std::fclose(f);
  EXPECT_EQ(12u, telio_test::ReadFileBytes(dir.File("out.bin")).size());
}

}  // namespace
