// Every design-data record kind, cut at every byte and loaded under failing
// allocations: each load fails with its code and leaks nothing. The sample
// records also seed the design-data fuzz target.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "objects/data/CICompositeData.h"
#include "objects/data/CIEtaData.h"
#include "objects/data/CIGradeData.h"
#include "objects/data/CISectionElement.h"
#include "objects/data/CITegidaData.h"
#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/DataRecords.h"

using namespace TELMARO_DATA_OBJECTS;
using namespace MATERIAL_OBJECTS;

namespace {

// Loads a record from f; with check, saves it again and checks that the
// saved bytes load to an equal object with the same checksum.
template <class T>
bool Load(FILE* f, bool check) {
  T object;
  if (!object.Serialize(f, true)) return false;
  if (check) {
    T again;
    const std::vector<uint8_t> saved = telio_test::SavedRecord(object);
    EXPECT_TRUE(telio_test::LoadRecord(again, telio_test::ByteWriter().bytes(saved.data(), saved.size())));
    EXPECT_TRUE(again.IsEqualWith(&object));
    EXPECT_EQ(object.CheckSum(), again.CheckSum());
  }
  return true;
}

// Loads a record of the kind its first byte names.
bool LoadKind(uint8_t kind, FILE* f, bool check) {
  switch (kind) {
    case 0:
      return Load<CISectionData>(f, check);
    case 1:
      return Load<CISectionElement>(f, check);
    case 2:
      return Load<CIGradeData>(f, check);
    case 3:
      return Load<CMaterialData>(f, check);
    case 4:
      return Load<CStudsData>(f, check);
    case 5:
      return Load<CICompositeData>(f, check);
    case 6:
      return Load<CITegidaData>(f, check);
    default:
      return Load<CIEtaData>(f, check);
  }
}

bool LoadPrefix(const telio_test::ByteWriter& sample, size_t n, bool check = false) {
  FILE* f = telio_test::StreamOf(sample, n, 1);
  bool ok = LoadKind(sample.data()[0], f, check);
  std::fclose(f);
  return ok;
}

class DataRecordSweep : public ::testing::TestWithParam<std::string> {
 protected:
  telio_test::ByteWriter Sample() {
    for (const auto& s : telio_test::SampleDataRecords()) {
      if (s.first == GetParam()) return s.second;
    }
    ADD_FAILURE() << "no sample " << GetParam();
    return telio_test::ByteWriter().u8(0);
  }
};

TEST_P(DataRecordSweep, CutAtEveryByteFailsWithEndOfFile) {
  telio_test::ByteWriter sample = Sample();
  const size_t size = sample.size() - 1;
  ASSERT_TRUE(LoadPrefix(sample, size, true));
  // The purlin block is long and read in one piece: cut it at its ends.
  const size_t step = size > 4096 ? 97 : 1;
  for (size_t n = 0; n < size; n += (n < 16 || n + 16 > size) ? 1 : step) {
    telio::SetLastError(0);
    EXPECT_FALSE(LoadPrefix(sample, n)) << n;
    EXPECT_EQ(telio::kErrorHandleEof, telio::GetLastError()) << n;
  }
}

TEST_P(DataRecordSweep, FailedAllocationGivesNotEnoughMemory) {
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
  for (const auto& s : telio_test::SampleDataRecords()) {
    if (s.second.data()[0] != 8) names.push_back(s.first);
  }
  return names;
}

INSTANTIATE_TEST_SUITE_P(DesignData, DataRecordSweep, ::testing::ValuesIn(SampleNames()));

}  // namespace
