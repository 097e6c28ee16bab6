#include "files/CFileJOB.h"

#include <cstdio>
#include <cstring>

#include <gtest/gtest.h>

#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/ByteWriter.h"
#include "support/CaseFilesFixture.h"
#include "support/TempDir.h"

using telio_test::ByteWriter;

namespace {

ByteWriter WithRecords(ByteWriter w, int records) {
  for (int i = 0; i < records; ++i) w.append(telio_test::JobExtraRecord(uint8_t(i), 7, 1.5f * i));
  return w;
}

TEST(CFileJOB, FlagsAndRecordOffsetsFollowTheVersion) {
  struct Case {
    int16_t version;
    size_t recordsAt;
  } cases[] = {{2047, 295}, {2048, 296}, {2049, 296}, {2050, 297}, {2046, 293}, {0, 293}};
  telio_test::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    ByteWriter w = telio_test::JobHeader(c.version, {1, 2, 3, 4, 5}, {0, 1, 0, 1, 0, 0, 0, 0, 0, 2});
    w.data().resize(c.recordsAt);  // drop the flags this version does not carry
    w = WithRecords(w, 3);
    w.u8(0xEE).u8(0xEE);  // an incomplete fourth record
    w.WriteTo(dir.File("a.JOB"));

    CFileJOB job;
    ASSERT_EQ(job.Import(dir.File("a.JOB").c_str()), 0u);
    EXPECT_EQ(job.GetVersion(), c.version);
    const size_t flags = c.recordsAt - 292;
    EXPECT_EQ(job.IsJobEAK(), 1);
    EXPECT_EQ(job.IsJobDiaph(), flags >= 3 ? 2 : 0);
    EXPECT_EQ(job.IsJobEccen(), flags >= 3 ? 3 : 0);
    EXPECT_EQ(job.IsStructEccen(), flags >= 4 ? 4 : 0);
    EXPECT_EQ(job.IsTGVResults(), flags >= 5 ? 5 : 0);
    const auto& recs = job.GetLoadingCaseExtraData();
    ASSERT_EQ(recs.GetSize(), 3);
    EXPECT_EQ(0, std::memcmp(recs[2].data, w.data().data() + c.recordsAt + 28, 14));
    EXPECT_EQ(job.RunStatic(), 1);
    EXPECT_EQ(job.RunFreeVibration(), 1);
    EXPECT_EQ(job.RunDynamic(), 0);
    EXPECT_EQ(job.RunSpectral(), 1);
    EXPECT_EQ(0, std::memcmp(job.GetExportType(), w.data().data(), 20));
  }
}

TEST(CFileJOB, MaxLCEIsSetOnlyByVersion2050) {
  telio_test::TempDir dir;
  const std::string path = dir.File("m.JOB");
  CFileJOB job;
  telio_test::JobHeader(2050, {1, 0, 0, 0, 0}).WriteTo(path);
  ASSERT_EQ(job.Import(path.c_str()), 0u);
  EXPECT_EQ(CFileJOB::MaxLCE(), 20803u);
  telio_test::JobHeader(2049, {0, 0, 0, 0}).WriteTo(path);
  ASSERT_EQ(job.Import(path.c_str()), 0u);
  EXPECT_EQ(CFileJOB::MaxLCE(), 20803u);
  telio_test::JobHeader(2050, {0, 0, 0, 0, 1}).WriteTo(path);
  ASSERT_EQ(job.Import(path.c_str()), 0u);
  EXPECT_EQ(CFileJOB::MaxLCE(), 400u);
}

TEST(CFileJOB, ShortHeaderIsAcceptedWithUnreadFieldsZero) {
  telio_test::TempDir dir;
  const std::string path = dir.File("s.JOB");
  telio_test::JobHeader(2050, {1, 1, 1, 1, 1}, {3, 4, 5, 6, 7, 8, 9, 10, 11, 12}).WriteTo(path, 24);
  CFileJOB job;
  ASSERT_EQ(job.Import(path.c_str()), 0u);
  EXPECT_EQ(job.GetRunStatus(1), 4);
  EXPECT_EQ(job.GetRunStatus(2), 0);  // word 2 starts at the end of the file
  EXPECT_EQ(job.GetVersion(), 0);
  EXPECT_EQ(job.IsJobEAK(), 0);
  EXPECT_EQ(job.GetLoadingCaseExtraData().GetSize(), 0);
  EXPECT_EQ(job.GetRunStatus(10), 0);
  EXPECT_EQ(job.GetRunStatus(-1), 0);
}

TEST(CFileJOB, PatchesRunStatusAndExportTypeInPlace) {
  telio_test::TempDir dir;
  const std::string path = dir.File("p.JOB");
  ByteWriter w = WithRecords(telio_test::JobHeader(2048, {0, 0, 0, 0}), 2);
  w.WriteTo(path);
  CFileJOB job;
  ASSERT_EQ(job.Import(path.c_str()), 0u);
  job.SetRunStatus(4, 9);
  job.SetRunStatus(10, 9);
  job.SetRunStatus(-1, 9);
  unsigned char type[20];
  for (int i = 0; i < 20; ++i) type[i] = static_cast<unsigned char>(0xC0 + i);
  job.SetExportType(type);
  ASSERT_EQ(job.WriteRunStatus(nullptr), 0u);
  ASSERT_EQ(job.WriteExportType(nullptr), 0u);

  w.put_u16(20 + 2 * 4, 9);
  for (int i = 0; i < 20; ++i) w.put_u8(static_cast<size_t>(i), type[i]);
  EXPECT_EQ(telio_test::ReadFileBytes(path), w.data());

  std::remove(path.c_str());
  EXPECT_EQ(job.WriteRunStatus(nullptr), telio::kErrorFileNotFound);
  EXPECT_FALSE(std::fopen(path.c_str(), "rb"));
  EXPECT_EQ(job.Export(nullptr), 1u);
}

TEST(CFileJOB, CopyKeepsEveryJobField) {
  telio_test::TempDir dir;
  const std::string path = dir.File("c.JOB");
  WithRecords(telio_test::JobHeader(2049, {1, 1, 0, 1}, {1}), 2).WriteTo(path);
  CFileJOB job;
  ASSERT_EQ(job.Import(path.c_str()), 0u);
  CFileJOB copy(job);
  CFileJOB assigned;
  assigned = job;
  for (const CFileJOB* j : {&copy, &assigned}) {
    EXPECT_STREQ(j->GetFileDefExt().GetString(), "JOB");
    EXPECT_EQ(j->RunPEP(), 1);
    EXPECT_EQ(j->IsStructEccen(), 1);
    EXPECT_EQ(j->GetLoadingCaseExtraData().CheckSum(), job.GetLoadingCaseExtraData().CheckSum());
  }
}

}  // namespace
