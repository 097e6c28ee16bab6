#include "files/CFileRES.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/ByteWriter.h"
#include "support/CaseFilesFixture.h"
#include "support/RESFixture.h"
#include "support/TempDir.h"
#include "topology/CTOPO_REC.h"

using telio_test::BuildRes;
using telio_test::ResDisplacement;
using telio_test::ResForce;
using telio_test::ResReaction;
using telio_test::ResLayout;
using telio_test::SidePath;
using telio_test::TempDir;

namespace {

// Opens the offset rules for checking against the worked layout.
class ResProbe : public CFileRES {
 public:
  using CFileRES::GetDisplacementOffsetFor;
  using CFileRES::GetForcesOffsetFor;
  using CFileRES::GetNodeNumber;
  using CFileRES::GetReactionsOffsetFor;
};

// N = 3, P = 1 (node 2), M = 2, S = 2, K = 1.
ResLayout Small() {
  ResLayout s;
  s.nodes = 3;
  s.supports = 1;
  s.supportNodes = {2};
  s.beams = 2;
  s.staticCases = 2;
  s.combinations = 1;
  return s;
}

std::string WriteJob(const TempDir& dir, const ResLayout& s, uint8_t eak = 0) {
  std::string res = dir.File("A.RES");
  BuildRes(s).WriteTo(res);
  telio_test::WriteResSideFiles(s, res, eak);
  return res;
}

TEST(CFileRES, OffsetsFollowTheBlockLayout) {
  TempDir dir;
  ResLayout s = Small();
  ResProbe res;
  ASSERT_EQ(res.Import(WriteJob(dir, s).c_str()), 0u);
  EXPECT_EQ((std::vector<int>{res.NumberOfNodes(), res.NumberOfSupports(), res.NumberOfBeams(),
                              res.NumberOfStaticLCS(), res.NumberOfCombinaiosn(), res.NumberOfLoadsResults(),
                              res.IsJob3D()}),
            (std::vector<int>{3, 1, 2, 2, 1, 3, 1}));
  EXPECT_EQ(res.HeaderWord(), s.headerWord);

  // Block size 416: load result 2 starts at 52 + 832.
  EXPECT_EQ(res.GetDisplacementOffsetFor(2), 884);
  EXPECT_EQ(res.GetReactionsOffsetFor(2), 1040);
  EXPECT_EQ(res.GetForcesOffsetFor(2, 1), 1144);
  EXPECT_EQ((std::vector<long32>{res.GetForcesOffsetFor(0, 2), res.GetForcesOffsetFor(0, -1),
                                 res.GetDisplacementOffsetFor(3), res.GetReactionsOffsetFor(-1)}),
            std::vector<long32>(4, -1));

  // The topology's own rule (1-based load cases) lands on the same bytes.
  CTOPO_REC topo;
  ASSERT_EQ(topo.Open(SidePath(res.GetFilePath().GetString(), "TOP").c_str()), 1);
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(res.GetReactionsOffsetFor(r), topo.GetReactionsOffset(r + 1, false));
    EXPECT_EQ(res.GetForcesOffsetFor(r, 1), topo.GetForcesOffset(r + 1, 2, false));
  }
}

TEST(CFileRES, ReadsDisplacementsReactionsAndForcesOfEveryLoadResult) {
  TempDir dir;
  ResLayout s = Small();
  CFileRES res;
  ASSERT_EQ(res.Import(WriteJob(dir, s).c_str()), 0u);
  for (int r = 0; r < 3; ++r) {
    auto disp = res.GetDisplacementsFor(r);
    ASSERT_EQ(disp.GetSize(), 3);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(disp[i].LoadResult(), r + 1);
      EXPECT_EQ(disp[i].NodeNumber(), i + 1);
      for (int k = 0; k < 6; ++k) EXPECT_EQ(disp[i].Value(k), ResDisplacement(r, i, k));
    }
    // N elements although one record is read: only node 2 is supported.
    auto reac = res.GetReactionsFor(r);
    ASSERT_EQ(reac.GetSize(), 3);
    EXPECT_EQ((std::vector<long32>{reac[0].NodeNumber(), reac[1].NodeNumber()}), (std::vector<long32>{0, 2}));
    EXPECT_EQ(reac[1].Value(5), ResReaction(r, 0, 5));

    auto forces = res.GetForcesFor(r);
    ASSERT_EQ(forces.GetSize(), 2);
    for (int b = 0; b < 2; ++b) {
      const AnasisForces& f = forces[b];
      EXPECT_EQ((std::vector<long32>{f.LoadResult(), f.BeamNumber(), f.first.LoadResult(), f.first.NodeNumber(),
                                     f.second.NodeNumber()}),
                (std::vector<long32>{r + 1, b + 1, 0, -1, -1}));
      for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(f.first.Value(k), ResForce(r, b, 0, k));
        EXPECT_EQ(f.second.Value(k), ResForce(r, b, 1, k));
      }
      AnasisForces* one = res.GetForcesFor(r, b);
      ASSERT_NE(one, nullptr);
      EXPECT_EQ(0, std::memcmp(one, &f, sizeof(f)));
    }
  }
  EXPECT_EQ(res.GetForcesFor(0, 2), nullptr);
  EXPECT_EQ(res.GetForcesFor(3).GetSize(), 0);
  EXPECT_EQ(res.GetDisplacementsFor(-1).GetSize(), 0);

  // A copy reads the same file; a closed object reads nothing.
  CFileRES copy(res);
  EXPECT_EQ(copy.GetForcesFor(2).CheckSum(), res.GetForcesFor(2).CheckSum());
  res.Close();
  EXPECT_EQ(res.GetForcesFor(0).GetSize(), 0);
  EXPECT_EQ(res.NumberOfNodes(), 3);
}

TEST(CFileRES, ForcesOfManyBeamsComeWholeAndInOrder) {
  TempDir dir;
  ResLayout s;
  s.nodes = 2;
  s.beams = 3001;
  s.staticCases = 2;
  std::string path = WriteJob(dir, s);
  const size_t forcesAt = 52 + (2 * 3001 + 2) * 52 + 2 * 52;  // load result 1
  for (long32 whole : {3001, 2500, 3}) {
    if (whole < 3001) BuildRes(s).WriteTo(path, forcesAt + whole * 52 + 51);
    CFileRES res;
    ASSERT_EQ(res.Import(path.c_str()), 0u);
    auto forces = res.GetForcesFor(1);
    ASSERT_EQ(forces.GetSize(), whole);
    for (int b = 0; b < whole; ++b) {
      ASSERT_EQ(forces[b].BeamNumber(), b + 1);
      ASSERT_EQ(forces[b].LoadResult(), 2);
      ASSERT_EQ(forces[b].first.NodeNumber(), -1);
      for (int k = 0; k < 6; ++k) {
        ASSERT_EQ(forces[b].first.Value(k), ResForce(1, b, 0, k)) << b;
        ASSERT_EQ(forces[b].second.Value(k), ResForce(1, b, 1, k)) << b;
      }
    }
  }
}

TEST(CFileRES, NodeNumbersComeFromTheRecordNames) {
  ResProbe p;
  EXPECT_EQ(p.GetNodeNumber("N7"), 7);
  EXPECT_EQ(p.GetNodeNumber("X32767"), 32767);
  EXPECT_EQ(p.GetNodeNumber("N"), -1);
  EXPECT_EQ(p.GetNodeNumber(nullptr), -1);
  EXPECT_EQ(p.GetNodeNumber("N40000"), static_cast<short>(40000 - 65536));
  // Only the eight bytes of the field count, with or without a NUL.
  EXPECT_EQ(p.GetNodeNumber("N12345678"), static_cast<short>(1234567 % 65536));

  TempDir dir;
  ResLayout s = Small();
  s.nodes = 8;
  s.nodeNames = {"X7", "Q", "N3", "N4", "N5", "N6", "N1", "N8"};
  CFileRES res;
  ASSERT_EQ(res.Import(WriteJob(dir, s).c_str()), 0u);
  auto disp = res.GetDisplacementsFor(1);
  ASSERT_EQ(disp.GetSize(), 8);
  EXPECT_EQ(disp[6].NodeNumber(), 7);
  EXPECT_EQ(disp[6].Value(0), ResDisplacement(1, 0, 0));
  EXPECT_EQ(disp[0].Value(0), ResDisplacement(1, 6, 0));
  EXPECT_EQ(disp[1].NodeNumber(), 0);  // no record names node 2
}

TEST(CFileRES, EakFlagIsOneOnlyForOne) {
  for (uint8_t flag : {0, 1, 2}) {
    TempDir dir;
    CFileRES res;
    ASSERT_EQ(res.Import(WriteJob(dir, Small(), flag).c_str()), 0u);
    EXPECT_EQ(res.IsJobEAK(), flag == 1 ? 1 : 0) << int(flag);
  }
}

TEST(CFileRES, ShortFileGivesTheRecordsBeforeTheCut) {
  TempDir dir;
  ResLayout s = Small();
  std::string path = WriteJob(dir, s);
  // Cut inside the second node record of load result 1 (block at 468).
  const size_t cut = 52 + 416 + 52 + 30;
  BuildRes(s).WriteTo(path, cut);
  CFileRES res;
  ASSERT_EQ(res.Import(path.c_str()), 0u);

  telio::SetLastError(0);
  auto disp = res.GetDisplacementsFor(1);
  ASSERT_EQ(disp.GetSize(), 3);
  EXPECT_EQ(disp[0].Value(3), ResDisplacement(1, 0, 3));
  EXPECT_EQ(disp[1].LoadResult(), 0);
  EXPECT_EQ(disp[2].Value(0), 0.0f);
  EXPECT_EQ(telio::GetLastError(), telio::kErrorHandleEof);

  EXPECT_EQ(res.GetForcesFor(1).GetSize(), 0);
  EXPECT_EQ(res.GetForcesFor(1, 0), nullptr);
  EXPECT_EQ(res.GetForcesFor(0).GetSize(), 2);  // load result 0 is whole
  EXPECT_EQ(res.GetDisplacementsFor(2).GetSize(), 0);
  EXPECT_EQ(telio::GetLastError(), telio::kErrorFileCorrupt);

  // Header word cut: the import reports the end of the file.
  BuildRes(s).WriteTo(path, 3);
  EXPECT_EQ(res.Import(path.c_str()), telio::kErrorHandleEof);
}

TEST(CFileRES, MissingOrBadSideFilesFailTheImport) {
  for (const char* ext : {"JOB", "TOP", "CMI"}) {
    TempDir dir;
    std::string path = WriteJob(dir, Small());
    std::remove(SidePath(path, ext).c_str());
    CFileRES res;
    EXPECT_EQ(res.Import(path.c_str()), 0xFFFFFFFFu) << ext;
    EXPECT_TRUE(res.GetFilePath().IsEmpty());
    EXPECT_EQ(res.GetForcesFor(0).GetSize(), 0);
  }
  TempDir dir;
  std::string path = WriteJob(dir, Small());
  // A CMI that promises combinations it does not hold still gives its count;
  // a negative one is none.
  CFileRES res;
  for (int32_t count : {2, -3}) {
    telio_test::CmiHeader(3204, count, 0, 12, 3204).WriteTo(SidePath(path, "CMI"));
    EXPECT_EQ(res.Import(path.c_str()), 0u);
    EXPECT_EQ(res.NumberOfCombinaiosn(), count < 0 ? 0 : count);
  }
  EXPECT_NE(res.Import(dir.File("NONE.RES").c_str()), 0u);
}

TEST(CFileRES, ReadersOutOfMemoryGiveEmptyResults) {
  TempDir dir;
  std::string path = WriteJob(dir, Small());
  CFileRES res;
  ASSERT_EQ(res.Import(path.c_str()), 0u);
  telio::FailAllocationsAfter(0);
  auto forces = res.GetForcesFor(0);
  auto disp = res.GetDisplacementsFor(0);
  telio::FailAllocationsAfter(-1);
  EXPECT_EQ(forces.GetSize(), 0);
  EXPECT_EQ(disp.GetSize(), 0);
  EXPECT_EQ(telio::GetLastError(), telio::kErrorNotEnoughMemory);
  telio::FailAllocationsAfter(1);  // the node buffer, but not the array
  disp = res.GetDisplacementsFor(0);
  telio::FailAllocationsAfter(-1);
  EXPECT_EQ(disp.GetSize(), 0);
}

}  // namespace
