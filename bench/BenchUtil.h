// Shared pieces of the benchmarks: a scratch folder for generated jobs and
// the raw-read baseline that every reader is compared with.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace telio_bench {

// A folder under the system's temporary folder, made once per process.
const std::string& ScratchDir();

// Size of a file in bytes (0 when missing).
long long FileSize(const std::string& path);

// Reads the whole file with plain fread into a reused buffer: the limit a
// reader of the same bytes can approach.
void RawRead(benchmark::State& state, const std::string& path);

}  // namespace telio_bench
