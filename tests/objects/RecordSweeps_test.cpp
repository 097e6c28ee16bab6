// Every geometry and element record kind, cut at every byte and loaded
// under failing allocations: each load fails with its code and leaks
// nothing. The sample records also seed the geometry fuzz target.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "objects/elements/CEMember.h"
#include "objects/elements/CENode.h"
#include "objects/geometry/CGDistance.h"
#include "objects/geometry/CGLineLst.h"
#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/ObjectRecords.h"

using namespace GEOMETRY_OBJECTS;
using namespace ELEMENT_OBJECTS;
using GE_::Safe::PtrStrong;

namespace {

// Loads a record of the kind its first byte names from f.
bool LoadKind(uint8_t kind, FILE* f) {
  switch (kind) {
    case 0:
      return CGPoint().Serialize(f, true);
    case 1:
      return CGPointLst().Serialize(f, true);
    case 2:
      return CGLine().Serialize(f, true);
    case 3:
      return CGLineLst().Serialize(f, true);
    case 4: {
      CGLine line(CGPoint(0, 0, 0), CGPoint(10, 0, 0));
      return CGDistanceLst(&line, 0x1FF).Serialize(f, true);
    }
    case 5:
      return CEElement().Serialize(f, true);
    case 6:
      return CENode().Serialize(f, true);
    case 7:
      return CEBeam().Serialize(f, true);
    default:
      return CEMember().Serialize(f, true);
  }
}

bool LoadPrefix(const telio_test::ByteWriter& sample, size_t n) {
  FILE* f = telio_test::StreamOf(sample, n, 1);
  bool ok = LoadKind(sample.data()[0], f);
  std::fclose(f);
  return ok;
}

class RecordSweep : public ::testing::TestWithParam<std::string> {
 protected:
  telio_test::ByteWriter Sample() {
    for (const auto& s : telio_test::SampleObjectRecords()) {
      if (s.first == GetParam()) return s.second;
    }
    ADD_FAILURE() << "no sample " << GetParam();
    return telio_test::ByteWriter().u8(0);
  }
};

TEST_P(RecordSweep, CutAtEveryByteFailsWithEndOfFile) {
  telio_test::ByteWriter sample = Sample();
  const size_t size = sample.size() - 1;
  ASSERT_TRUE(LoadPrefix(sample, size));
  for (size_t n = 0; n < size; ++n) {
    telio::SetLastError(0);
    EXPECT_FALSE(LoadPrefix(sample, n)) << n;
    EXPECT_EQ(telio::kErrorHandleEof, telio::GetLastError()) << n;
  }
}

TEST_P(RecordSweep, FailedAllocationGivesNotEnoughMemory) {
  telio_test::ByteWriter sample = Sample();
  for (long n = 0;; ++n) {
    telio::SetLastError(0);
    telio::FailAllocationsAfter(n);
    bool ok = LoadPrefix(sample, sample.size() - 1);
    telio::FailAllocationsAfter(-1);
    if (ok) break;
    EXPECT_EQ(telio::kErrorNotEnoughMemory, telio::GetLastError()) << n;
    ASSERT_LT(n, 1000);
  }
}

std::vector<std::string> SampleNames() {
  std::vector<std::string> names;
  for (const auto& s : telio_test::SampleObjectRecords()) names.push_back(s.first);
  return names;
}

INSTANTIATE_TEST_SUITE_P(Objects, RecordSweep, ::testing::ValuesIn(SampleNames()));

// The geometry fuzz target's corpus holds these samples as they are now;
// TELIO_WRITE_SEEDS=1 rewrites it.
TEST(ObjectRecords, SeedCorpusFollowsTheSamples) {
  const std::string folder = TELIO_SOURCE_DIR "/fuzz/corpus/geometry/";
  for (const auto& s : telio_test::SampleObjectRecords()) {
    if (std::getenv("TELIO_WRITE_SEEDS")) s.second.WriteTo(folder + s.first);
    EXPECT_EQ(s.second.data(), telio_test::ReadFileBytes(folder + s.first)) << s.first;
  }
}

}  // namespace
