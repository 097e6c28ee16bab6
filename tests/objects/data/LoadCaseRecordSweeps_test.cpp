// Every load-case, value-set, restraint and buckling record kind, cut at
// every byte and loaded under failing allocations: each load fails with its
// code and leaks nothing; loaded whole, saved and loaded again, it keeps
// its checksum. The sample records also seed the load-case fuzz target.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "objects/data/CIConstraintLst.h"
#include "objects/data/CILTBLst.h"
#include "objects/data/CILoadCaseLstSyn.h"
#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/LoadCaseRecords.h"

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

bool LoadPrefix(const telio_test::ByteWriter& sample, size_t n, bool check = false) {
  FILE* f = telio_test::StreamOf(sample, n, 1);
  bool ok = LoadKind(sample.data()[0], f, check);
  std::fclose(f);
  return ok;
}

class LoadCaseRecordSweep : public ::testing::TestWithParam<std::string> {
 protected:
  telio_test::ByteWriter Sample() {
    for (const auto& s : telio_test::SampleLoadCaseRecords()) {
      if (s.first == GetParam()) return s.second;
    }
    ADD_FAILURE() << "no sample " << GetParam();
    return telio_test::ByteWriter().u8(0);
  }
};

TEST_P(LoadCaseRecordSweep, CutAtEveryByteFailsWithEndOfFile) {
  telio_test::ByteWriter sample = Sample();
  const size_t size = sample.size() - 1;
  ASSERT_TRUE(LoadPrefix(sample, size, true));
  for (size_t n = 0; n < size; ++n) {
    telio::SetLastError(0);
    EXPECT_FALSE(LoadPrefix(sample, n)) << n;
    EXPECT_EQ(telio::kErrorHandleEof, telio::GetLastError()) << n;
  }
}

TEST_P(LoadCaseRecordSweep, FailedAllocationGivesNotEnoughMemory) {
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
  for (const auto& s : telio_test::SampleLoadCaseRecords()) names.push_back(s.first);
  return names;
}

INSTANTIATE_TEST_SUITE_P(LoadCases, LoadCaseRecordSweep, ::testing::ValuesIn(SampleNames()));

// The load-case fuzz target's corpus holds these samples as they are now;
// TELIO_WRITE_SEEDS=1 rewrites it.
TEST(LoadCaseRecords, SeedCorpusFollowsTheSamples) {
  const std::string folder = TELIO_SOURCE_DIR "/fuzz/corpus/loadcases/";
  for (const auto& s : telio_test::SampleLoadCaseRecords()) {
    if (std::getenv("TELIO_WRITE_SEEDS")) s.second.WriteTo(folder + s.first);
    EXPECT_EQ(s.second.data(), telio_test::ReadFileBytes(folder + s.first)) << s.first;
  }
}

}  // namespace
