#include "files/CFileACE.h"

#include <gtest/gtest.h>

#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/CaseFilesFixture.h"
#include "support/TempDir.h"

using telio_test::AceLayout;

namespace {

TEST(CFileACE, FlagsInterleaveActiveEntriesAndSecondKindPositions) {
  telio_test::TempDir dir;
  AceLayout layout;
  layout.cmbAct = {{1, 1}, {2, 0}, {3, 1}};  // 0 is in the set but not active
  layout.cmbPos = {{0, 2}, {1, 2}, {2, 4}};  // positions 2 and 4 are second kind
  layout.envAct = {{10000, 1}};
  telio_test::AceFile(layout).WriteTo(dir.File("a.ACE"));

  CFileACE ace;
  ASSERT_EQ(ace.Import(dir.File("a.ACE").c_str()), 0u);
  EXPECT_EQ(ace.GetCmbListSize(), 801);
  EXPECT_EQ(ace.GetActiveCombinations(), 3);
  // positions: 1 <- comb 1, 2 second, 3 <- comb 2 (value 0), 4 second, 5 <- comb 3
  const uint16_t want[] = {0, 1, 2, 0, 2, 1, 0xFFFF};
  for (int p = 0; p <= 6; ++p) EXPECT_EQ(ace.CmbFlag(p), want[p]) << p;
  EXPECT_EQ(ace.IsActiveCombination(5), 1);
  EXPECT_EQ(ace.IsActiveCombination(3), 0);
  EXPECT_EQ(ace.IsActiveCombination(1602), 0);
  int real = -1;
  ASSERT_EQ(ace.FindRealIndexActiveCombination(2, real), 1);
  EXPECT_EQ(real, 4);  // counts active and second-kind positions only
  EXPECT_EQ(ace.FindRealIndexActiveCombination(0, real), 0);

  // Only the first (active + second-kind count) entries are placed: a lone
  // active 10000th envelope gets no flag.
  EXPECT_EQ(ace.GetActiveEnvelopes(), 1);
  EXPECT_EQ(ace.IsActiveEnvelope(10000), 0);
  EXPECT_EQ(ace.FindRealIndexActiveEnvelope(1, real), 1);
  EXPECT_EQ(real, 0);
}

TEST(CFileACE, OldFileHasFourListsOf101Words) {
  telio_test::TempDir dir;
  AceLayout layout;
  layout.cmbSize = layout.envSize = 101;
  layout.cmbAct = {{1, 1}, {100, 1}};
  layout.envAct = {{1, 1}, {2, 1}};
  layout.envPos = {{0, 1}, {1, 1}};
  auto bytes = telio_test::AceFile(layout);
  ASSERT_EQ(bytes.size(), 808u);
  bytes.WriteTo(dir.File("o.ACE"));
  CFileACE ace;
  ASSERT_EQ(ace.Import(dir.File("o.ACE").c_str()), 0u);
  EXPECT_EQ(ace.GetCmbListSize(), 101);
  EXPECT_EQ(ace.CmbActivation(100), 1);
  EXPECT_EQ(ace.CmbActivation(101), 0xFFFF);  // beyond the old list: not in the set
  EXPECT_EQ(ace.GetActiveCombinations(), 2);
  EXPECT_EQ(ace.IsActiveCombination(1), 1);
  EXPECT_EQ(ace.IsActiveEnvelope(1), 0);  // position 1 is second kind
  EXPECT_EQ(ace.IsActiveEnvelope(2), 1);
  EXPECT_EQ(ace.IsActiveEnvelope(3), 1);
}

TEST(CFileACE, ActivationRangesAndExportRoundTrip) {
  telio_test::TempDir dir;
  CFileACE ace;
  ace.ActivateCmb(1, -1, -1);
  EXPECT_EQ(ace.GetActiveCombinations(), 800);
  EXPECT_EQ(ace.IsActiveCombination(1), 0);  // no path recorded yet
  ace.ActivateCmb(0, -1, -1);
  EXPECT_EQ(ace.GetActiveCombinations(), 0);
  ace.ActivateCmb(1, 0, 3);
  ace.ActivateCmb(1, 799, 5000);
  ace.ActivateEnv(1, 1, 2);
  EXPECT_EQ(ace.GetActiveCombinations(), 5);
  EXPECT_EQ(ace.CmbActivation(800), 1);

  const std::string path = dir.File("r.ACE");
  ASSERT_EQ(ace.Export(path.c_str()), 0u);
  AceLayout layout;
  layout.cmbAct = {{1, 1}, {2, 1}, {3, 1}, {799, 1}, {800, 1}};
  layout.envAct = {{1, 1}, {2, 1}};
  EXPECT_EQ(telio_test::ReadFileBytes(path), telio_test::AceFile(layout).data());

  CFileACE back;
  ASSERT_EQ(back.Import(path.c_str()), 0u);
  int real = 0;
  ASSERT_EQ(back.FindRealIndexActiveCombination(3, real), 1);
  EXPECT_EQ(real, 3);
  ASSERT_EQ(back.FindRealIndexActiveCombination(4, real), 1);  // walks to the end
  EXPECT_EQ(real, 3);
  EXPECT_EQ(back.IsActiveEnvelope(2), 1);
}

TEST(CFileACE, ShortFileAndMissingTables) {
  telio_test::TempDir dir;
  AceLayout layout;
  layout.cmbAct = {{1, 1}};
  telio_test::AceFile(layout).WriteTo(dir.File("s.ACE"), 1000);
  CFileACE ace;
  EXPECT_EQ(ace.Import(dir.File("s.ACE").c_str()), telio::kErrorHandleEof);
  EXPECT_EQ(ace.IsActiveCombination(1), 1);  // the words read still count

  telio::FailAllocationsAfter(0);
  CFileACE bare;
  telio::FailAllocationsAfter(-1);
  EXPECT_EQ(bare.Export(dir.File("t.ACE").c_str()), telio::kErrorNotEnoughMemory);
  bare.ActivateCmb(1, -1, -1);
  int real = 0;
  EXPECT_EQ(bare.FindRealIndexActiveCombination(1, real), 0);
}

}  // namespace
