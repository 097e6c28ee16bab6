// Every member-design record kind, cut at every byte and loaded under
// failing allocations: each load fails with its code and leaks nothing. The
// sample records also seed the member fuzz target.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "mdd/CMDDBeam.h"
#include "mdd/CMDDLoadCaseValues.h"
#include "mdd/CMDDMember.h"
#include "mdd/CMDDNode.h"
#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/MemberRecords.h"

using namespace MDD_OBJECTS;
using GE_::Safe::PtrStrong;

namespace {

// Loads a record of the kind its first byte names from f.
bool LoadKind(uint8_t kind, FILE* f) {
  switch (kind) {
    case 5:
      return CMDDBeam().Serialize(f, true);
    case 6:
      return CMDDNode().Serialize(f, true);
    case 7:
      return CMDDLoadCaseValues().Serialize(f, true);
    default: {
      PtrStrong<CMDDMember> m(new CMDDMember);
      return m->Serialize(f, true);
    }
  }
}

bool LoadPrefix(const telio_test::ByteWriter& sample, size_t n) {
  FILE* f = telio_test::StreamOf(sample, n, 1);
  bool ok = LoadKind(sample.data()[0], f);
  std::fclose(f);
  return ok;
}

class MemberRecordSweep : public ::testing::TestWithParam<std::string> {
 protected:
  telio_test::ByteWriter Sample() {
    for (const auto& s : telio_test::SampleMemberRecords()) {
      if (s.first == GetParam()) return s.second;
    }
    ADD_FAILURE() << "no sample " << GetParam();
    return telio_test::ByteWriter().u8(0);
  }
};

TEST_P(MemberRecordSweep, CutAtEveryByteFailsWithEndOfFile) {
  telio_test::ByteWriter sample = Sample();
  const size_t size = sample.size() - 1;
  ASSERT_TRUE(LoadPrefix(sample, size));
  for (size_t n = 0; n < size; ++n) {
    telio::SetLastError(0);
    EXPECT_FALSE(LoadPrefix(sample, n)) << n;
    EXPECT_EQ(telio::kErrorHandleEof, telio::GetLastError()) << n;
  }
}

TEST_P(MemberRecordSweep, FailedAllocationGivesNotEnoughMemory) {
  telio_test::ByteWriter sample = Sample();
  for (long n = 0;; ++n) {
    telio::SetLastError(0);
    telio::FailAllocationsAfter(n);
    bool ok = LoadPrefix(sample, sample.size() - 1);
    telio::FailAllocationsAfter(-1);
    if (ok) break;
    EXPECT_EQ(telio::kErrorNotEnoughMemory, telio::GetLastError()) << n;
    ASSERT_LT(n, 5000);
  }
}

std::vector<std::string> RecordNames() {
  std::vector<std::string> names;
  for (const auto& s : telio_test::SampleMemberRecords()) {
    if (s.second.data()[0] != 8) names.push_back(s.first);
  }
  return names;
}

INSTANTIATE_TEST_SUITE_P(Members, MemberRecordSweep, ::testing::ValuesIn(RecordNames()));

// The member fuzz target's corpus holds these samples as they are now;
// TELIO_WRITE_SEEDS=1 rewrites it.
TEST(MemberRecords, SeedCorpusFollowsTheSamples) {
  const std::string folder = TELIO_SOURCE_DIR "/fuzz/corpus/member/";
  for (const auto& s : telio_test::SampleMemberRecords()) {
    if (std::getenv("TELIO_WRITE_SEEDS")) s.second.WriteTo(folder + s.first);
    EXPECT_EQ(s.second.data(), telio_test::ReadFileBytes(folder + s.first)) << s.first;
  }
}

}  // namespace
