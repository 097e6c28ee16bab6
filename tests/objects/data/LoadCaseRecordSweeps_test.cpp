// Every load-case, value-set, restraint and buckling record kind, cut at
// every byte and loaded under failing allocations: each load fails with its
// code and leaks nothing; loaded whole, saved and loaded again, it keeps
// its checksum. The sample records also seed the load-case fuzz target.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "objects/data/CIConstraintLst.h"
#include "objects/data/CILTBLst.h"
#include "objects/data/CILoadCaseLstSyn.h"
#include "support/LoadCaseRecords.h"
#include "support/RecordSweep.h"

using namespace TELMARO_DATA_OBJECTS;
using namespace GEOMETRY_OBJECTS;

namespace {

// Loads a record into a T made by make(); with check, saves it and checks
// that the saved bytes load to an object with the same checksum.
template <class Make>
bool Load(FILE* f, bool check, Make make) {
  auto object = make();
  if (!object->Serialize(f, true)) return false;
  if (check) {
    auto again = make();
    const std::vector<uint8_t> saved = telio_test::SavedRecord(*object);
    EXPECT_TRUE(telio_test::LoadRecord(*again, telio_test::ByteWriter().bytes(saved.data(), saved.size())));
    EXPECT_EQ(object->CheckSum(), again->CheckSum());
  }
  return true;
}

template <class T>
std::unique_ptr<T> Make() {
  return std::unique_ptr<T>(new T);
}

bool LoadKind(uint8_t kind, FILE* f, bool check) {
  CGLine line(CGPoint(0, 0, 0), CGPoint(10, 0, 0));
  switch (kind) {
    case 0:
      return Load(f, check, Make<CILoadCase>);
    case 1:
      return Load(f, check, Make<CILoadCaseValues>);
    case 2:
      return Load(f, check, Make<CILoadCaseLstSyn>);
    case 3:
      return Load(f, check, Make<CILoadCaseValuesLst>);
    case 4:
      return Load(f, check, Make<CILTB>);
    case 5:
      return Load(f, check, Make<CILTBData>);
    case 6:
      return Load(f, check, [&line]() { return std::unique_ptr<CILTBLst>(new CILTBLst(&line)); });
    case 7:
      return Load(f, check, Make<CIConstraint>);
    case 8:
      return Load(f, check, Make<CIConstraintData>);
    case 9:
      return Load(f, check, [&line]() { return std::unique_ptr<CIConstraintLst>(new CIConstraintLst(&line)); });
    case 10:
      return Load(f, check, Make<CILTBLCValues>);
    default:
      return Load(f, check, Make<CIConstraintLCValues>);
  }
}

bool LoadWhole(uint8_t kind, FILE* f) { return LoadKind(kind, f, true); }
bool LoadOnly(uint8_t kind, FILE* f) { return LoadKind(kind, f, false); }

class LoadCaseRecordSweep : public ::testing::TestWithParam<std::string> {
 protected:
  telio_test::ByteWriter Sample() {
    return telio_test::SampleNamed(telio_test::SampleLoadCaseRecords(), GetParam());
  }
};

TEST_P(LoadCaseRecordSweep, CutAtEveryByteFailsWithEndOfFile) {
  telio_test::ByteWriter sample = Sample();
  ASSERT_TRUE(telio_test::LoadSamplePrefix(sample, sample.size() - 1, LoadWhole));
  telio_test::ExpectCutsFailWithEndOfFile(sample, LoadOnly);
}

TEST_P(LoadCaseRecordSweep, FailedAllocationGivesNotEnoughMemory) {
  telio_test::ExpectFailedAllocationsGiveNotEnoughMemory(Sample(), LoadOnly);
}

INSTANTIATE_TEST_SUITE_P(LoadCases, LoadCaseRecordSweep,
                         ::testing::ValuesIn(telio_test::SampleNames(telio_test::SampleLoadCaseRecords())));

// The load-case fuzz target's corpus holds these samples as they are now;
// TELIO_WRITE_SEEDS=1 rewrites it.
TEST(LoadCaseRecords, SeedCorpusFollowsTheSamples) {
  telio_test::ExpectSeedCorpus(TELIO_SOURCE_DIR "/fuzz/corpus/loadcases/", telio_test::SampleLoadCaseRecords());
}

}  // namespace
