// Every beam force of a job's RES file into one float array, the C++ side
// of the Python package's benchmark (python/bench/forces.py): the reader's
// forces of each load result, both ends' six values copied per beam into
// one (results x beams x 2 x 6) array, beside plain freads of the force
// records of each load result. The job is the RES file that
// TELIO_BENCH_RES names; without it these benchmarks are not registered.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "files/CFileRES.h"

namespace {

constexpr int kEndValues = 2 * CFileRES::kValues;

// The job's results; false (the benchmark skipped) when they cannot be read.
bool Open(benchmark::State& state, const std::string& path, CFileRES& res) {
  if (res.Import(path.c_str()) == 0) return true;
  state.SkipWithError("import failed");
  return false;
}

void ForcesIntoOneArray(benchmark::State& state, const std::string& path) {
  CFileRES res;
  if (!Open(state, path, res)) return;
  const int results = res.NumberOfLoadsResults(), beams = res.NumberOfBeams();
  std::vector<float> out(static_cast<size_t>(results) * beams * kEndValues);
  for (auto _ : state) {
    float* o = out.data();
    for (int r = 0; r < results; ++r) {
      auto forces = res.GetForcesFor(r);
      if (forces.GetSize() != beams) {
        state.SkipWithError("short read");
        return;
      }
      for (int b = 0; b < beams; ++b) {
        for (int k = 0; k < CFileRES::kValues; ++k) *o++ = forces[b].first.Value(k);
        for (int k = 0; k < CFileRES::kValues; ++k) *o++ = forces[b].second.Value(k);
      }
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * results * beams * CFileRES::kRecordSize);
}

// One open, seek and read of the force records per load result, as the
// reader does.
void RawReadForceBlocks(benchmark::State& state, const std::string& path) {
  CFileRES res;
  if (!Open(state, path, res)) return;
  const int results = res.NumberOfLoadsResults(), beams = res.NumberOfBeams();
  const long long block = (res.NumberOfNodes() + res.NumberOfSupports() + 2LL * beams) * CFileRES::kRecordSize;
  const long long forcesAt = (res.NumberOfNodes() + res.NumberOfSupports() + 1LL) * CFileRES::kRecordSize;
  std::vector<char> buf(static_cast<size_t>(beams) * CFileRES::kRecordSize);
  for (auto _ : state) {
    for (int r = 0; r < results; ++r) {
      std::FILE* f = std::fopen(path.c_str(), "rb");
      if (!f || fseeko(f, static_cast<off_t>(block * r + forcesAt), SEEK_SET) != 0) {
        if (f) std::fclose(f);
        state.SkipWithError("cannot read");
        return;
      }
      size_t n = std::fread(buf.data(), 1, buf.size(), f);
      std::fclose(f);
      benchmark::DoNotOptimize(n);
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * results * beams * CFileRES::kRecordSize);
}

[[maybe_unused]] const bool kRegistered = [] {
  const char* path = std::getenv("TELIO_BENCH_RES");
  if (!path || !*path) return false;
  const std::string p = path;
  benchmark::RegisterBenchmark("BM_JobForces_RawReadForceBlocks",
                               [p](benchmark::State& s) { RawReadForceBlocks(s, p); })
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_JobForces_IntoOneArray", [p](benchmark::State& s) { ForcesIntoOneArray(s, p); })
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  return true;
}();

}  // namespace
