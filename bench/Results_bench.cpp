// The result readers on a job of 10,000 nodes, 20,000 beams and 400 load
// results (360 static cases, 40 combinations), each beside a plain fread:
//   - RES: every beam force of every load result, beside the whole file and
//     beside plain freads of exactly the force blocks;
//   - OUC (three points per beam): building the beam index and fetching
//     every block through it beside plain positioned reads of the same
//     blocks, and the loaded-mode import beside plain freads into a reused
//     buffer and into fresh memory.
// The files (about 1 GB of RES, 0.7 GB of OUC) are written once per process
// from the test fixtures and removed at exit.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "BenchUtil.h"
#include "files/CFileOUC.h"
#include "files/CFileRES.h"
#include "support/OUCFixture.h"
#include "support/RESFixture.h"

namespace {

using telio_bench::FileSize;
using telio_bench::ScratchDir;

constexpr int kNodes = 10000;
constexpr int kBeams = 20000;
constexpr int kSupports = 100;
constexpr int kStatic = 360;
constexpr int kCombinations = 40;
constexpr int kLoadResults = kStatic + kCombinations;
constexpr int16_t kIPs = 3;

std::vector<std::string>& Written() {
  static std::vector<std::string> files;
  return files;
}

void RemoveWritten() {
  for (const std::string& f : Written()) std::remove(f.c_str());
}

void Track(const std::string& path) {
  if (Written().empty()) std::atexit(RemoveWritten);
  Written().push_back(path);
}

telio_test::ResLayout JobLayout() {
  telio_test::ResLayout s;
  s.nodes = kNodes;
  s.beams = kBeams;
  s.supports = kSupports;
  s.staticCases = kStatic;
  s.combinations = kCombinations;
  return s;
}

const std::string& ResPath() {
  static const std::string path = [] {
    std::string p = ScratchDir() + "/Job.RES";
    telio_test::ResLayout s = JobLayout();
    telio_test::WriteRes(s, p);
    telio_test::WriteResSideFiles(s, p);
    for (const char* ext : {"RES", "TOP", "JOB", "CMI"}) Track(telio_test::SidePath(p, ext));
    return p;
  }();
  return path;
}

const std::string& OucPath() {
  static const std::string path = [] {
    ResPath();  // the JOB beside it
    std::string p = ScratchDir() + "/Job.OUC";
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    std::vector<int32_t> table(kLoadResults, kBeams);
    auto put = [&out](const telio_test::ByteWriter& w) {
      out.write(reinterpret_cast<const char*>(w.data().data()), static_cast<std::streamsize>(w.size()));
    };
    put(telio_test::OucHeader(400, kLoadResults, kIPs, table));
    for (int lc = 0; lc < kLoadResults; ++lc) {
      telio_test::ByteWriter w;
      for (int b = 1; b <= kBeams; ++b) w.append(telio_test::OucBlock(lc, b, kIPs));
      put(w);
    }
    out.close();
    if (!out) std::abort();
    Track(p);
    return p;
  }();
  return path;
}

const long long kForceBytes = static_cast<long long>(kLoadResults) * kBeams * CFileRES::kRecordSize;

void BM_Results_RES_RawRead(benchmark::State& state) { telio_bench::RawRead(state, ResPath()); }

// Plain freads of the bytes the force reader takes: one open, seek and read
// of the force records per load result.
void BM_Results_RES_RawReadForceBlocks(benchmark::State& state) {
  const std::string& path = ResPath();
  const long long block = (kNodes + kSupports + 2LL * kBeams) * CFileRES::kRecordSize;
  const long long forcesAt = (kNodes + kSupports + 1LL) * CFileRES::kRecordSize;
  std::vector<char> buf(static_cast<size_t>(kBeams) * CFileRES::kRecordSize);
  for (auto _ : state) {
    for (int r = 0; r < kLoadResults; ++r) {
      std::FILE* f = std::fopen(path.c_str(), "rb");
      if (!f || fseeko(f, static_cast<off_t>(block * r + forcesAt), SEEK_SET) != 0) {
        state.SkipWithError("cannot read");
        return;
      }
      size_t n = std::fread(buf.data(), 1, buf.size(), f);
      std::fclose(f);
      benchmark::DoNotOptimize(n);
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kForceBytes);
}

void BM_Results_RES_AllForces(benchmark::State& state) {
  CFileRES res;
  if (res.Import(ResPath().c_str()) != 0 || res.NumberOfLoadsResults() != kLoadResults) {
    state.SkipWithError("import failed");
    return;
  }
  for (auto _ : state) {
    for (int r = 0; r < kLoadResults; ++r) {
      auto forces = res.GetForcesFor(r);
      if (forces.GetSize() != kBeams) {
        state.SkipWithError("short read");
        return;
      }
      benchmark::DoNotOptimize(forces.GetData());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kForceBytes);
}

void BM_Results_OUC_RawRead(benchmark::State& state) { telio_bench::RawRead(state, OucPath()); }
void BM_Results_OUC_RawReadFresh(benchmark::State& state) { telio_bench::RawReadFresh(state, OucPath()); }

void BM_Results_OUC_BuildIndex(benchmark::State& state) {
  const std::string& path = OucPath();
  for (auto _ : state) {
    CFileOUC ouc;
    ouc.SetUseBmidx(true);
    if (ouc.Import(path.c_str()) != 0) state.SkipWithError("import failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(path));
}

// Plain positioned reads of every block, in the same order, on one open
// file: the limit of a fetch through the index.
void BM_Results_OUC_RawPreadEveryBlock(benchmark::State& state) {
  const int fd = open(OucPath().c_str(), O_RDONLY);
  if (fd < 0) {
    state.SkipWithError("cannot open");
    return;
  }
  const long long blockBytes = 6 + 28LL * kIPs;
  const long long first = 8 + 4LL * 400;
  std::vector<char> buf(static_cast<size_t>(blockBytes));
  for (auto _ : state) {
    for (int lc = 0; lc < kLoadResults; ++lc) {
      for (int b = 0; b < kBeams; ++b) {
        const off_t at = static_cast<off_t>(first + (static_cast<long long>(lc) * kBeams + b) * blockBytes);
        if (pread(fd, buf.data(), buf.size(), at) != static_cast<ssize_t>(buf.size())) {
          state.SkipWithError("short read");
          break;
        }
        benchmark::DoNotOptimize(buf.data());
      }
    }
  }
  close(fd);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(OucPath()));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kLoadResults * kBeams);
}

void BM_Results_OUC_FetchEveryBlock(benchmark::State& state) {
  CFileOUC ouc;
  ouc.SetUseBmidx(true);
  if (ouc.Import(OucPath().c_str()) != 0) {
    state.SkipWithError("import failed");
    return;
  }
  for (auto _ : state) {
    for (int lc = 0; lc < kLoadResults; ++lc) {
      for (int b = 0; b < kBeams; ++b) {
        BEAM_DATA* bd = ouc.GetBeamData(lc, b);
        if (!bd) {
          state.SkipWithError("block missing");
          return;
        }
        benchmark::DoNotOptimize(bd);
      }
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(OucPath()));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kLoadResults * kBeams);
}

void BM_Results_OUC_LoadedImport(benchmark::State& state) {
  const std::string& path = OucPath();
  for (auto _ : state) {
    CFileOUC ouc;
    if (ouc.Import(path.c_str()) != 0) state.SkipWithError("import failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(path));
}

}  // namespace

BENCHMARK(BM_Results_RES_RawRead)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Results_RES_RawReadForceBlocks)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Results_RES_AllForces)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Results_OUC_RawRead)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Results_OUC_RawReadFresh)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Results_OUC_BuildIndex)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Results_OUC_RawPreadEveryBlock)->UseRealTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Results_OUC_FetchEveryBlock)->UseRealTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Results_OUC_LoadedImport)->UseRealTime()->Unit(benchmark::kMillisecond);
