#include "files/CFileOUC.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "files/CFileJOB.h"
#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/ByteWriter.h"
#include "support/OUCFixture.h"
#include "support/RESFixture.h"
#include "support/TempDir.h"

using telio_test::BuildOuc;
using telio_test::OucBeam;
using telio_test::OucLayout;
using telio_test::OucValue;
using telio_test::TempDir;

namespace {

// Three load cases, beams numbered 1..count in each, IP counts 0 to 4.
OucLayout Regular(size_t maxLCE = 400) {
  OucLayout s;
  s.maxLCE = maxLCE;
  s.lcs = {{{1, 3}, {2, 0}, {3, 4}}, {{1, 1}, {2, 2}}, {{1, 4}, {2, 4}, {3, 0}, {4, 2}}};
  return s;
}

std::string Write(const TempDir& dir, const OucLayout& s, bool eak = false) {
  std::string path = dir.File("A.OUC");
  BuildOuc(s).WriteTo(path);
  telio_test::WriteOucJob(path, eak);
  return path;
}

// Every lookup of both readers, over and just past the blocks held.
void ExpectSameAnswers(CFileOUC& a, CFileOUC& b, int lcs, int beams) {
  for (int lc = -1; lc <= lcs; ++lc) {
    for (int beam = -1; beam <= beams; ++beam) {
      ASSERT_EQ(a.GetBeamData(lc, beam) == nullptr, b.GetBeamData(lc, beam) == nullptr) << lc << " " << beam;
      ASSERT_EQ(a.GetNumIPs(lc, beam), b.GetNumIPs(lc, beam)) << lc << " " << beam;
      for (int kind = 0; kind < 7; ++kind) {
        for (int ip = 0; ip < a.GetMaxIP(); ++ip) {
          ASSERT_EQ(a.GetValue(lc, beam, ip, kind), b.GetValue(lc, beam, ip, kind));
        }
      }
    }
  }
}

TEST(CFileOUC, LoadedAndIndexedModesGiveTheLaidOutValues) {
  for (bool eak : {false, true}) {
    TempDir dir;
    OucLayout s = Regular(eak ? 20803 : 400);
    std::string path = Write(dir, s, eak);
    // The first block sits right after the table: 1608 or 83220.
    ASSERT_EQ(telio_test::OucBlockOffsets(s)[0][0], eak ? 83220u : 1608u);

    CFileOUC loaded;
    ASSERT_EQ(loaded.Import(path.c_str()), 0u);
    EXPECT_EQ(loaded.GetMaxLCE(), eak ? 20803 : 400);
    EXPECT_EQ(loaded.GetLCNum(), 3);
    EXPECT_EQ(loaded.GetMaxIP(), 4);
    EXPECT_EQ(loaded.GetMaxBeamPerLC(), 4);
    for (size_t lc = 0; lc < s.lcs.size(); ++lc) {
      for (size_t b = 0; b < s.lcs[lc].size(); ++b) {
        const OucBeam& want = s.lcs[lc][b];
        BEAM_DATA* bd = loaded.GetBeamData(static_cast<int>(lc), static_cast<int>(b));
        ASSERT_NE(bd, nullptr);
        EXPECT_EQ(bd->BeamNumber(), want.beam);
        EXPECT_EQ(loaded.GetNumIPs(static_cast<int>(lc), static_cast<int>(b)), want.n);
        // Kind 6 is the fourth table of the block.
        const float* kind6 = loaded.GetDataTable(static_cast<int>(lc), static_cast<int>(b), 6);
        for (int ip = 0; ip < want.n; ++ip) {
          EXPECT_EQ(kind6[ip], OucValue(static_cast<int>(lc), want.beam, 3, ip));
          EXPECT_EQ(loaded.GetValue(static_cast<int>(lc), static_cast<int>(b), ip, 3),
                    OucValue(static_cast<int>(lc), want.beam, 4, ip));
        }
        for (int ip = want.n; ip < 4; ++ip) EXPECT_EQ(kind6[ip], 0.0f);
      }
    }
    EXPECT_EQ(loaded.GetValue(0, 0, 0, 7), 0.0f);
    EXPECT_EQ(loaded.GetValue(0, 0, -1, 1), 0.0f);
    EXPECT_EQ(loaded.GetValue(0, 0, 3, 1), 0.0f);  // past n = 3
    EXPECT_EQ(loaded.GetDataTable(0, 0, -1), nullptr);

    CFileOUC indexed;
    indexed.SetUseBmidx(true);
    ASSERT_EQ(indexed.Import(path.c_str()), 0u);
    ExpectSameAnswers(loaded, indexed, 3, 4);
    // A block without points after one with points: zero tables.
    ASSERT_EQ(indexed.GetNumIPs(0, 0), 3);
    const float* t = indexed.GetDataTable(0, 1, 0);
    ASSERT_NE(t, nullptr);
    for (int ip = 0; ip < 4; ++ip) EXPECT_EQ(t[ip], 0.0f);

    // A copy of either mode answers alike.
    CFileOUC copy(indexed);
    EXPECT_TRUE(copy.UseBmidxFile());
    ExpectSameAnswers(loaded, copy, 3, 4);
  }
}

TEST(CFileOUC, LoadedModeCountsPositionsIndexedModeFindsNumbers) {
  TempDir dir;
  OucLayout s;
  s.lcs = {{{1, 1}, {2, 1}, {7, 2}}};
  std::string path = Write(dir, s);
  CFileOUC ouc;
  ASSERT_EQ(ouc.Import(path.c_str()), 0u);
  ASSERT_NE(ouc.GetBeamData(0, 2), nullptr);
  EXPECT_EQ(ouc.GetBeamData(0, 2)->BeamNumber(), 7);

  ouc.SetUseBmidx(true);
  EXPECT_EQ(ouc.LastImportCode(), 0u);
  EXPECT_EQ(ouc.GetBeamData(0, 2), nullptr);
  ASSERT_NE(ouc.GetBeamData(0, 6), nullptr);
  EXPECT_EQ(ouc.GetBeamData(0, 6)->BeamNumber(), 7);
  EXPECT_EQ(ouc.GetValue(0, 6, 1, 5), OucValue(0, 7, 6, 1));

  // Numbers out of order: the walk stops at the first larger number.
  s.lcs = {{{3, 1}, {1, 1}, {5, 1}}};
  BuildOuc(s).WriteTo(path);
  ouc.SetUseBmidx(false);
  ouc.SetUseBmidx(true);
  EXPECT_NE(ouc.GetBeamData(0, 2), nullptr);
  EXPECT_EQ(ouc.GetBeamData(0, 0), nullptr);
  EXPECT_EQ(ouc.GetBeamData(0, 1), nullptr);
  EXPECT_NE(ouc.GetBeamData(0, 4), nullptr);

  // Setting the current mode again does not import again.
  std::remove(telio_test::SidePath(path, "JOB").c_str());
  ouc.SetUseBmidx(true);
  EXPECT_EQ(ouc.GetMaxLCE(), 400);
  ouc.SetUseBmidx(false);  // re-imports: without a JOB there is no table
  EXPECT_EQ(ouc.LastImportCode(), 0u);
  EXPECT_EQ(ouc.GetMaxLCE(), 0);
  EXPECT_EQ(ouc.GetLCNum(), 0);
  EXPECT_EQ(ouc.GetBeamData(0, 0), nullptr);
}

// Opens the protected steps of the reader.
class OucProbe : public CFileOUC {
 public:
  using CFileOUC::MakeBidx;
  using CFileOUC::ReadIPperBeam;
};

TEST(CFileOUC, HeadersTheTablesCannotHoldAndEmptyTables) {
  TempDir dir;
  OucLayout beyond = Regular();
  beyond.lcNum = 401;  // more load cases than the job's table
  for (bool indexed : {false, true}) {
    CFileOUC ouc;
    ouc.SetUseBmidx(indexed);
    EXPECT_EQ(ouc.Import(Write(dir, beyond).c_str()), telio::kErrorFileCorrupt);
    EXPECT_EQ(ouc.GetBeamData(0, 0), nullptr);
  }
  // A negative LCNum or table entry is an empty table: load case 1 has no
  // blocks, so those of load case 2 follow those of load case 0.
  OucLayout negative = Regular();
  negative.lcs[1].clear();
  negative.table[1] = -2;
  OucLayout none = Regular();
  none.lcNum = -2;
  // A MaxIP no block could have sizes the tables by the file instead.
  OucLayout huge = Regular();
  huge.maxIP = 1 << 28;
  for (bool indexed : {false, true}) {
    CFileOUC ouc;
    ouc.SetUseBmidx(indexed);
    ASSERT_EQ(ouc.Import(Write(dir, negative).c_str()), 0u);
    EXPECT_EQ(ouc.GetBeamData(1, 0), nullptr);
    ASSERT_NE(ouc.GetBeamData(2, 3), nullptr);
    EXPECT_EQ(ouc.GetValue(2, 3, 1, 0), OucValue(2, 4, 0, 1));
    ASSERT_EQ(ouc.Import(Write(dir, none).c_str()), 0u);
    EXPECT_EQ(ouc.GetBeamData(0, 0), nullptr);
    ASSERT_EQ(ouc.Import(Write(dir, huge).c_str()), 0u);
    EXPECT_EQ(ouc.GetMaxIP(), 1 << 28);
    EXPECT_EQ(ouc.GetValue(0, 2, 3, 5), OucValue(0, 3, 6, 3));
  }
}

TEST(CFileOUC, BlocksWithoutPointsStillHaveTables) {
  TempDir dir;
  OucLayout s;
  s.lcs = {{{1, 0}, {2, 0}}};
  std::string path = Write(dir, s);
  for (bool indexed : {false, true}) {
    CFileOUC ouc;
    ouc.SetUseBmidx(indexed);
    ASSERT_EQ(ouc.Import(path.c_str()), 0u);
    EXPECT_EQ(ouc.GetMaxIP(), 0);
    EXPECT_NE(ouc.GetDataTable(0, 1, 6), nullptr);
    EXPECT_EQ(ouc.GetNumIPs(0, 1), 0);
  }
}

TEST(CFileOUC, IndexAndBlockStepsAnswerAsTheFormatReads) {
  TempDir dir;
  std::string path = Write(dir, Regular());
  OucProbe ouc;
  ouc.SetUseBmidx(true);
  ASSERT_EQ(ouc.Import(path.c_str()), 0u);
  EXPECT_EQ(ouc.MakeBidx(), 1);
  std::remove(telio_test::SidePath(path, "JOB").c_str());
  ouc.SetUseBmidx(false);
  ouc.SetUseBmidx(true);  // no JOB: no table, no index
  EXPECT_EQ(ouc.MakeBidx(), 0);

  // The third block of load case 0: beam 3 with 4 points.
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(std::fseek(f, static_cast<long>(telio_test::OucBlockOffsets(Regular())[0][2]), SEEK_SET), 0);
  float tables[7][4] = {};
  BEAM_DATA bd{};
  for (int t = 0; t < 7; ++t) bd.tables[t] = tables[t];
  ouc.ReadIPperBeam(f, &bd);
  std::fclose(f);
  EXPECT_EQ(bd.BeamNumber(), 3);
  EXPECT_EQ(bd.NumIPs(), 4);
  EXPECT_EQ(tables[6][3], OucValue(0, 3, 6, 3));
}

// Indexed mode reads the file it indexed until the next import: a file
// replaced on disk meanwhile is not read half old, half new.
TEST(CFileOUC, IndexedModeServesTheIndexedFileUntilTheNextImport) {
  TempDir dir;
  OucLayout before = Regular();
  std::string path = Write(dir, before);
  CFileOUC ouc;
  ouc.SetUseBmidx(true);
  ASSERT_EQ(ouc.Import(path.c_str()), 0u);
  EXPECT_EQ(ouc.GetValue(0, 2, 1, 0), OucValue(0, 3, 0, 1));
  OucLayout after = Regular();
  after.lcs[0][0].n = 4;  // every later block moves by one point
  after.lcs[2][3].beam = 9;
  BuildOuc(after).WriteTo(path);
  for (int lc = 0; lc < 3; ++lc) {
    for (int b = 0; b < static_cast<int>(before.lcs[lc].size()); ++b) {
      const OucBeam& was = before.lcs[static_cast<size_t>(lc)][static_cast<size_t>(b)];
      ASSERT_EQ(ouc.GetNumIPs(lc, was.beam - 1), was.n) << lc << " " << b;
      for (int ip = 0; ip < was.n; ++ip) {
        ASSERT_EQ(ouc.GetValue(lc, was.beam - 1, ip, 5), OucValue(lc, was.beam, 6, ip)) << lc << " " << b;
      }
    }
  }
  ASSERT_EQ(ouc.Import(path.c_str()), 0u);
  EXPECT_EQ(ouc.GetNumIPs(0, 0), 4);
  EXPECT_EQ(ouc.GetBeamData(2, 3), nullptr);
  EXPECT_NE(ouc.GetBeamData(2, 8), nullptr);
}

TEST(CFileOUC, BadOrShortBlocksKeepTheWholeBlocksBefore) {
  // A block with more points than MaxIP in load case 1.
  OucLayout tooMany = Regular();
  tooMany.maxIP = 4;
  tooMany.lcs[1][1].n = 5;
  // Load case 0 promises a million blocks in a small file.
  OucLayout lying = Regular();
  lying.table[0] = 1000000;
  struct Case {
    const char* what;
    OucLayout model;
    size_t cut;
    ulong32 code;
    int keptInLc1;
  } cases[] = {
      {"IP count beyond MaxIP", tooMany, 0, telio::kErrorFileCorrupt, 1},
      {"cut inside the fourth block", Regular(), telio_test::OucBlockOffsets(Regular())[1][0] + 10,
       telio::kErrorHandleEof, 0},
      {"lying count", lying, 0, telio::kErrorHandleEof, 0},
  };
  for (const Case& c : cases) {
    TempDir dir;
    std::string path = Write(dir, c.model);
    if (c.cut) BuildOuc(c.model).WriteTo(path, c.cut);
    CFileOUC loaded, indexed;
    indexed.SetUseBmidx(true);
    EXPECT_EQ(loaded.Import(path.c_str()), c.code) << c.what;
    EXPECT_EQ(indexed.Import(path.c_str()), c.code) << c.what;
    EXPECT_FALSE(loaded.GetFilePath().IsEmpty());
    bool lcZeroWhole = c.cut == 0 || c.cut > 1608;
    if (std::string(c.what) != "lying count") {
      EXPECT_EQ(loaded.GetBeamData(0, 2) != nullptr, lcZeroWhole) << c.what;
      EXPECT_EQ(loaded.GetNumIPs(1, 0), c.keptInLc1 ? 1 : 0) << c.what;
    }
    EXPECT_EQ(loaded.GetBeamData(1, 1), nullptr) << c.what;
    // Past a lying count the load cases run into each other: positions and
    // numbers no longer agree.
    if (std::string(c.what) != "lying count") ExpectSameAnswers(loaded, indexed, 3, 4);
  }
}

}  // namespace
