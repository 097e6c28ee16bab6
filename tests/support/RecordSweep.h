// The two sweeps every record kind goes through, for any family of sample
// records whose first byte names the kind: a record cut at every byte fails
// to load with 38, and a load under failing allocations (the Nth, for N =
// 0, 1, ... until it succeeds) fails with 8. Both run under the sanitizers,
// which catch what a failure leaks or overruns. Header only: it uses
// GoogleTest, which the support library does not link.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/ByteWriter.h"
#include "support/ObjectRecords.h"

namespace telio_test {

// Loads a record of the kind from f; true when it loaded whole.
typedef std::function<bool(uint8_t kind, FILE* f)> KindLoader;
typedef std::vector<std::pair<std::string, ByteWriter>> NamedSamples;

inline bool LoadSamplePrefix(const ByteWriter& sample, size_t n, const KindLoader& load) {
  FILE* f = StreamOf(sample, n, 1);
  bool ok = load(sample.data()[0], f);
  std::fclose(f);
  return ok;
}

// The sample of that name (a failure, and one byte, when there is none).
inline ByteWriter SampleNamed(const NamedSamples& samples, const std::string& name) {
  for (const auto& s : samples) {
    if (s.first == name) return s.second;
  }
  ADD_FAILURE() << "no sample " << name;
  return ByteWriter().u8(0);
}

inline std::vector<std::string> SampleNames(const NamedSamples& samples) {
  std::vector<std::string> names;
  for (const auto& s : samples) names.push_back(s.first);
  return names;
}

// A record longer than 4 KB (a block read in one piece) is cut at every
// byte near its ends and at every bigStep-th byte between them.
inline void ExpectCutsFailWithEndOfFile(const ByteWriter& sample, const KindLoader& load, size_t bigStep = 97) {
  const size_t size = sample.size() - 1;
  ASSERT_TRUE(LoadSamplePrefix(sample, size, load));
  const size_t step = size > 4096 ? bigStep : 1;
  for (size_t n = 0; n < size; n += (n < 16 || n + 16 > size) ? 1 : step) {
    telio::SetLastError(0);
    EXPECT_FALSE(LoadSamplePrefix(sample, n, load)) << n;
    EXPECT_EQ(telio::kErrorHandleEof, telio::GetLastError()) << n;
  }
}

inline void ExpectFailedAllocationsGiveNotEnoughMemory(const ByteWriter& sample, const KindLoader& load,
                                                       long maxTries = 1000) {
  for (long n = 0;; ++n) {
    telio::SetLastError(0);
    telio::FailAllocationsAfter(n);
    bool ok = LoadSamplePrefix(sample, sample.size() - 1, load);
    telio::FailAllocationsAfter(-1);
    if (ok) break;
    EXPECT_EQ(telio::kErrorNotEnoughMemory, telio::GetLastError()) << n;
    ASSERT_LT(n, maxTries);
  }
}

// Each sample equals its seed file in folder; with TELIO_WRITE_SEEDS set
// the files are written first.
inline void ExpectSeedCorpus(const std::string& folder, const NamedSamples& samples) {
  for (const auto& s : samples) {
    if (std::getenv("TELIO_WRITE_SEEDS")) s.second.WriteTo(folder + s.first);
    EXPECT_EQ(s.second.data(), ReadFileBytes(folder + s.first)) << s.first;
  }
}

}  // namespace telio_test
