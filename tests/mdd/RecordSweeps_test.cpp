// Every member-design record kind, cut at every byte and loaded under
// failing allocations: each load fails with its code and leaks nothing. The
// sample records also seed the member fuzz target.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "mdd/CMDDBeam.h"
#include "mdd/CMDDLoadCaseValues.h"
#include "mdd/CMDDMember.h"
#include "mdd/CMDDNode.h"
#include "support/MemberRecords.h"
#include "support/RecordSweep.h"

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

class MemberRecordSweep : public ::testing::TestWithParam<std::string> {
 protected:
  telio_test::ByteWriter Sample() { return telio_test::SampleNamed(telio_test::SampleMemberRecords(), GetParam()); }
};

// Member records are small enough to cut at every byte.
TEST_P(MemberRecordSweep, CutAtEveryByteFailsWithEndOfFile) {
  telio_test::ExpectCutsFailWithEndOfFile(Sample(), LoadKind, 1);
}

TEST_P(MemberRecordSweep, FailedAllocationGivesNotEnoughMemory) {
  telio_test::ExpectFailedAllocationsGiveNotEnoughMemory(Sample(), LoadKind, 5000);
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
  telio_test::ExpectSeedCorpus(TELIO_SOURCE_DIR "/fuzz/corpus/member/", telio_test::SampleMemberRecords());
}

}  // namespace
