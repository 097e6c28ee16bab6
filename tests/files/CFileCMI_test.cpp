#include "files/CFileCMI.h"

#include <memory>

#include <gtest/gtest.h>

#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/ByteWriter.h"
#include "support/CaseFilesFixture.h"
#include "support/TempDir.h"

using telio_test::ByteWriter;
using telio_test::CmiHeader;
using telio_test::CmiRecord;

namespace {

std::vector<int32_t> Indexes(int n, int32_t first) {
  std::vector<int32_t> v;
  for (int k = 0; k < n; ++k) v.push_back(first + k);
  return v;
}

std::vector<float> Factors(int n) {
  std::vector<float> v;
  for (int k = 0; k < n; ++k) v.push_back(0.5f + k);
  return v;
}

TEST(CFileCMI, ReadsEveryRecordSizeAndWordVersion) {
  struct Case {
    size_t recordSize;
    int32_t sizeWord, version;
    uint16_t kind, link;
    uint16_t wantKind, wantLink;
  } cases[] = {
      {3204, 3204, 12, 8, 0x1234, 8, 0x1234},
      {804, 804, 12, 8, 77, 8, 77},
      {804, 0, 11, 0xFF, 5, 0xFFFF, 5},  // i8 -1 widens with its sign
      {3204, 3204, 10, 8, 9, 0, 0},      // no words in other versions
  };
  telio_test::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.recordSize * 100 + c.version);
    ByteWriter w = CmiHeader(c.recordSize, 2, 99, c.version, c.sizeWord);
    w.append(CmiRecord(c.recordSize, 3, Indexes(3, 1), Factors(3), c.version, c.kind, c.link));
    w.append(CmiRecord(c.recordSize, 1, {7}, {-1.25f}, c.version, 0, 0));
    w.WriteTo(dir.File("a.CMI"));

    CFileCMI cmi;
    ASSERT_EQ(cmi.Import(dir.File("a.CMI").c_str()), 0u);
    ASSERT_EQ(cmi.GetNumberOfCombinations(), 2);
    EXPECT_EQ(cmi.GetNumberOfLinkedCombinations(), c.wantLink != 0 ? 1 : 0);
    const CMI_REC* r = cmi.GetCombination(0);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Count(), 3);
    EXPECT_EQ(r->Index(2), 3);
    EXPECT_FLOAT_EQ(r->Factor(2), 2.5f);
    EXPECT_EQ(cmi.GetKind(0), c.wantKind);
    EXPECT_EQ(cmi.GetLink(0), c.wantLink);
    EXPECT_FLOAT_EQ(cmi.GetCombination(1)->Factor(0), -1.25f);
    EXPECT_FALSE(cmi.GetCombination(2));
    EXPECT_FALSE(cmi.GetCombination(-1));
  }
}

TEST(CFileCMI, TermsAreClampedOnReadingAndWriting) {
  telio_test::TempDir dir;
  // 450 terms claimed in a 3204-byte record: the 400 that fit are read.
  ByteWriter w = CmiHeader(3204, 1, 0, 12, 3204);
  w.append(CmiRecord(3204, 450, Indexes(400, 10), Factors(400), 0, 0, 0));
  w.WriteTo(dir.File("big.CMI"));
  CFileCMI cmi;
  ASSERT_EQ(cmi.Import(dir.File("big.CMI").c_str()), 0u);
  EXPECT_EQ(cmi.GetCombination(0)->Count(), 400);
  EXPECT_EQ(cmi.GetCombination(0)->Index(399), 409);
  EXPECT_FLOAT_EQ(cmi.GetCombination(0)->Factor(399), 399.5f);

  ASSERT_EQ(cmi.Export(dir.File("out.CMI").c_str()), 0u);
  ByteWriter want = CmiHeader(3204, 1, 0, 12, 3204);
  std::fill(want.data().begin() + 804, want.data().end(), 0);  // only 804 bytes are read
  want.append(CmiRecord(3204, 399, Indexes(399, 10), Factors(399), 12, 0, 0));
  EXPECT_EQ(telio_test::ReadFileBytes(dir.File("out.CMI")), want.data());
}

// A record of 400 (or 100) terms has no room for its words: they are read
// from the 4 bytes after it, the next record's term count.
TEST(CFileCMI, AFullRecordTakesItsWordsFromTheNextFourBytes) {
  telio_test::TempDir dir;
  struct Case {
    size_t recordSize;
    int terms;
    int32_t version;
    uint16_t wantKind, wantLink;
  } cases[] = {{3204, 400, 12, 3, 0}, {804, 100, 12, 3, 0}, {804, 100, 11, 3, 0}};
  for (const Case& c : cases) {
    ByteWriter w = CmiHeader(c.recordSize, 2, 0, c.version, static_cast<int32_t>(c.recordSize));
    w.append(CmiRecord(c.recordSize, c.terms, Indexes(c.terms, 1), Factors(c.terms), 0, 0, 0));
    w.append(CmiRecord(c.recordSize, 3, Indexes(3, 1), Factors(3), c.version, 8, 9));
    w.WriteTo(dir.File("f.CMI"));
    CFileCMI cmi;
    ASSERT_EQ(cmi.Import(dir.File("f.CMI").c_str()), 0u) << c.recordSize;
    EXPECT_EQ(cmi.GetKind(0), c.wantKind) << c.recordSize;
    EXPECT_EQ(cmi.GetLink(0), c.wantLink) << c.recordSize;
    EXPECT_EQ(cmi.GetKind(1), 8);
  }
  // The last record full: the file ends where its words would be.
  ByteWriter last = CmiHeader(804, 1, 0, 12, 804);
  last.append(CmiRecord(804, 100, Indexes(100, 1), Factors(100), 0, 0, 0));
  last.WriteTo(dir.File("l.CMI"));
  CFileCMI cmi;
  EXPECT_EQ(cmi.Import(dir.File("l.CMI").c_str()), 0u);
  EXPECT_EQ(cmi.GetKind(0), 0);
}

TEST(CFileCMI, AddedCombinationsWriteTheLayout) {
  telio_test::TempDir dir;
  CFileCMI cmi;
  auto rec = std::make_unique<CMI_REC>();
  *rec = CMI_REC{};
  EXPECT_EQ(cmi.AddCombination(rec.get(), 3), 0);  // no terms
  EXPECT_EQ(cmi.AddCombination(nullptr, 3), 0);
  rec->SetCount(2);
  rec->SetIndex(0, 4);
  rec->SetIndex(1, 6);
  rec->SetFactor(0, 1.5f);
  rec->SetFactor(1, -2.0f);
  EXPECT_EQ(cmi.AddCombination(rec.get(), 0), 1);
  EXPECT_EQ(cmi.AddCombination(rec.get(), 0x10005), 2);
  EXPECT_EQ(cmi.AddCombination(cmi.GetCombination(0), 0), 3);  // its own record
  ASSERT_EQ(cmi.Export(dir.File("n.CMI").c_str()), 0u);

  ByteWriter want = CmiHeader(3204, 3, 1, 12, 3204);
  std::fill(want.data().begin() + 8, want.data().end(), 0);
  want.put_u32(20, 12);
  want.put_u32(24, 3204);
  want.append(CmiRecord(3204, 2, {4, 6}, {1.5f, -2.0f}, 12, 0, 0));
  want.append(CmiRecord(3204, 2, {4, 6}, {1.5f, -2.0f}, 12, 8, 5));
  want.append(CmiRecord(3204, 2, {4, 6}, {1.5f, -2.0f}, 12, 0, 0));
  EXPECT_EQ(telio_test::ReadFileBytes(dir.File("n.CMI")), want.data());

  cmi.RemoveAll();
  EXPECT_EQ(cmi.GetNumberOfCombinations(), 0);
  EXPECT_FALSE(cmi.GetCombination(0));
}

TEST(CFileCMI, DamagedFilesGiveCodesAndKeepWhatWasRead) {
  telio_test::TempDir dir;
  const std::string path = dir.File("d.CMI");
  CFileCMI cmi;

  CmiHeader(804, 1, 0, 12, 804).WriteTo(path, 803);  // header cut
  EXPECT_EQ(cmi.Import(path.c_str()), telio::kErrorHandleEof);

  CmiHeader(804, -1, 0, 12, 804).WriteTo(path);  // a negative count: no combination
  EXPECT_EQ(cmi.Import(path.c_str()), 0u);
  EXPECT_FALSE(cmi.GetCombination(0));

  // The header promises 2^31-1 combinations; the file holds one and a half.
  ByteWriter w = CmiHeader(804, 0x7FFFFFFF, 0, 12, 804);
  w.append(CmiRecord(804, 2, {1, 2}, {1, 1}, 12, 8, 1));
  w.append(CmiRecord(804, 50, Indexes(50, 0), Factors(50), 12, 0, 0));
  w.WriteTo(path, w.size() - 500);
  EXPECT_EQ(cmi.Import(path.c_str()), telio::kErrorHandleEof);
  EXPECT_EQ(cmi.GetNumberOfCombinations(), 0x7FFFFFFF);
  ASSERT_TRUE(cmi.GetCombination(0));
  EXPECT_EQ(cmi.GetCombination(0)->Index(1), 2);
  EXPECT_FALSE(cmi.GetCombination(1));
  // Saved again, its count and records agree.
  ASSERT_EQ(cmi.Export(dir.File("again.CMI").c_str()), 0u);
  CFileCMI again;
  ASSERT_EQ(again.Import(dir.File("again.CMI").c_str()), 0u);
  EXPECT_EQ(again.GetNumberOfCombinations(), 1);
  EXPECT_EQ(again.GetNumberOfLinkedCombinations(), 1);

  EXPECT_EQ(cmi.Import(dir.File("missing.CMI").c_str()), telio::kErrorFileNotFound);
  EXPECT_EQ(cmi.Export(nullptr), 1u);
}

TEST(CFileCMI, AddingOutOfMemoryThrowsAndAddsNothing) {
  CFileCMI cmi;
  auto rec = std::make_unique<CMI_REC>();
  *rec = CMI_REC{};
  rec->SetCount(1);
  for (long n = 0; n < 3; ++n) {
    telio::FailAllocationsAfter(n);
    EXPECT_THROW(cmi.AddCombination(rec.get(), 1), CException*);
    telio::FailAllocationsAfter(-1);
    EXPECT_EQ(cmi.GetNumberOfCombinations(), 0);
    EXPECT_EQ(cmi.GetKind(0), 0);
  }
}

}  // namespace
