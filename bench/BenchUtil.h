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

// The same into a buffer of the file's size allocated and freed anew each
// time: the limit for a reader that must fill fresh memory, as a whole
// import does.
void RawReadFresh(benchmark::State& state, const std::string& path);

// Writes the bytes of the file at `like` to a fresh file at path with plain
// fwrite, as often as the state asks: the limit a writer of the same bytes
// can approach.
void RawWrite(benchmark::State& state, const std::string& like, const std::string& path);

// A writer saving to path as often as the state asks, its bytes counted.
template <class Save>
void Write(benchmark::State& state, const std::string& path, Save save) {
  for (auto _ : state) {
    if (save(path.c_str()) != 0) state.SkipWithError("export failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(path));
}

}  // namespace telio_bench
