// The member-design job reader on a job of 2,000 members and 400 load cases
// with its own MLC forces (four positions a member), beside plain freads of
// the same files:
//   - the whole import (MDD, MLC, CNS, LTB, DB0 and the topology);
//   - the MLC file alone, the reader's largest part.
// A member's MLC area holds 20 load-case blocks and the count area 200
// members, so at this size the areas overlap as the layout places them: the
// reader reads every block the header names, about 90 MB of floats from a
// 34 MB file. The files are written once per process from the test fixtures.
#include <cstdio>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchUtil.h"
#include "mdd/CFileMDD.h"
#include "support/MDDFixture.h"
#include "support/RESFixture.h"

namespace {

using telio_bench::FileSize;

constexpr int kMembers = 2000;
constexpr int kCases = 400;
constexpr int16_t kPositions = 4;
const char* const kSetFiles[] = {"MDD", "MLC", "CNS", "LTB", "DB0", "TOP"};

const std::string& JobPath() {
  static const std::string path = [] {
    const std::string p = telio_bench::ScratchDir() + "/Big.MDD";
    telio_test::MddJobFiles job;
    job.mdd.jobName = "Big";
    job.mdd.capacity = kMembers;
    for (int m = 1; m <= kMembers; ++m) {
      job.mdd.members.push_back({"M" + std::to_string(m), 12.0f, 12, 0, 1, 2, 1, 0.0f, 1201});
      job.mdd.positions.push_back(static_cast<int16_t>(1));
      job.mdd.positions.push_back(static_cast<int16_t>(2));
      telio_test::CnsMember c;
      c.words[0] = {2, 1, 3};
      c.records[0] = {telio_test::CnsRecord(3, 1.0f, 1.0f, 0), telio_test::CnsRecord(3, 1.0f, 1.0f, 0)};
      job.cns.push_back(c);
      job.ltb.push_back({{1, 3}, {{2, 2, 1.0f, 1.0f}, {2, 2, 1.0f, 1.0f}}});
      job.db0.push_back({8, static_cast<int16_t>(m), 1, 1, 1.0f});
    }
    job.mlc.a = kCases;
    job.mlc.b = kMembers;
    job.mlc.names.assign(kCases, "Case");
    job.mlc.counts.assign(kMembers, kPositions);
    for (int n = 0; n < 3; ++n) job.top.nodes.push_back({static_cast<int16_t>(n + 1), 0, 6.0f * n, 0, 0, 0});
    job.top.beams = {{1, 1, 1, 2, 0.f}, {1, 2, 2, 3, 0.f}};
    job.top.sections = {{"S", 12, 0, 5, {}, {}}};
    job.hasMlc = false;
    telio_test::WriteMddJob(job, p);
    // The blocks overwrite the count area where the two overlap: the counts
    // go in last, so that every member keeps its four positions.
    telio_test::ByteWriter mlc = telio_test::BuildMlc(job.mlc);
    for (int m = 0; m < kMembers; ++m) mlc.put_u16(2692 + 2 * static_cast<size_t>(m), kPositions);
    mlc.WriteTo(telio_test::SidePath(p, "MLC"));
    return p;
  }();
  return path;
}

long long SetBytes() {
  long long n = 0;
  for (const char* ext : kSetFiles) n += FileSize(telio_test::SidePath(JobPath(), ext));
  return n;
}

// Plain freads of every file of the set, each into its own buffer.
void BM_MDD_RawReadSet(benchmark::State& state) {
  std::vector<std::vector<char>> bufs;
  for (const char* ext : kSetFiles) {
    bufs.emplace_back(static_cast<size_t>(FileSize(telio_test::SidePath(JobPath(), ext))) + 1);
  }
  for (auto _ : state) {
    size_t i = 0;
    for (const char* ext : kSetFiles) {
      std::FILE* f = std::fopen(telio_test::SidePath(JobPath(), ext).c_str(), "rb");
      if (!f) {
        state.SkipWithError("cannot open");
        return;
      }
      benchmark::DoNotOptimize(std::fread(bufs[i].data(), 1, bufs[i].size(), f));
      std::fclose(f);
      ++i;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * SetBytes());
}

void BM_MDD_Import(benchmark::State& state) {
  for (auto _ : state) {
    CFileMDD job;
    if (job.Import(JobPath().c_str()) != 0 || job.GetMemLCData()->GetSize() != kMembers ||
        (*job.GetMemLCData())[kMembers - 1].GetSize() != kCases) {
      state.SkipWithError("import failed");
      return;
    }
    benchmark::DoNotOptimize(job.GetMemLCData());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * SetBytes());
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kMembers * kCases * kPositions);
}

void BM_MDD_RawReadMLC(benchmark::State& state) {
  telio_bench::RawRead(state, telio_test::SidePath(JobPath(), "MLC"));
}

void BM_MDD_ReadMLC(benchmark::State& state) {
  CFileMDD job;
  if (job.Import(JobPath().c_str()) != 0) {
    state.SkipWithError("import failed");
    return;
  }
  const std::string mlc = telio_test::SidePath(JobPath(), "MLC");
  for (auto _ : state) {
    if (!job.ReadMLC(mlc.c_str())) state.SkipWithError("read failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(mlc));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kMembers * kCases * kPositions);
}

}  // namespace

BENCHMARK(BM_MDD_RawReadSet)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MDD_Import)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MDD_RawReadMLC)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MDD_ReadMLC)->UseRealTime()->Unit(benchmark::kMillisecond);
