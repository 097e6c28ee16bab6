// Design-object records: a member of N beams (50, a large member, and 2000)
// with its N + 1 nodes, loaded and saved, beside a plain fread and fwrite of
// the same bytes. Loading is quadratic in N: every beam and node is checked
// against those already loaded for a duplicate.
#include <cstdio>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "objects/elements/CEMember.h"

namespace {

using ELEMENT_OBJECTS::CEMember;

// The record of a member of beams beams, written once.
std::string MemberFile(int beams) {
  std::string p = telio_bench::ScratchDir() + "/member" + std::to_string(beams) + ".rec";
  if (telio_bench::FileSize(p) > 0) return p;
  CEMember m;
  m.SetLine(GEOMETRY_OBJECTS::CGPoint(0, 0, 0), GEOMETRY_OBJECTS::CGPoint(beams, 0, 0));
  m.SetElement("M1", 0, 0);
  m.CutMemberIntoCnt(beams - 1);
  m.SynchronizePointsFromBeamsLst(1);
  FILE* f = std::fopen(p.c_str(), "wb");
  if (!f || !m.Serialize(f, false)) std::abort();
  std::fclose(f);
  return p;
}

void BM_Member_RawRead(benchmark::State& state) { telio_bench::RawRead(state, MemberFile(static_cast<int>(state.range(0)))); }

void BM_Member_Load(benchmark::State& state) {
  const std::string path = MemberFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    FILE* f = std::fopen(path.c_str(), "rb");
    CEMember m;
    if (!m.Serialize(f, true)) state.SkipWithError("load failed");
    std::fclose(f);
    benchmark::DoNotOptimize(m.GetCountInternalBeams());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * telio_bench::FileSize(path));
}

void BM_Member_RawWrite(benchmark::State& state) {
  std::vector<char> bytes(static_cast<size_t>(telio_bench::FileSize(MemberFile(static_cast<int>(state.range(0))))));
  const std::string out = telio_bench::ScratchDir() + "/member.out";
  for (auto _ : state) {
    FILE* f = std::fopen(out.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_Member_Save(benchmark::State& state) {
  CEMember m;
  const std::string path = MemberFile(static_cast<int>(state.range(0)));
  FILE* in = std::fopen(path.c_str(), "rb");
  m.Serialize(in, true);
  std::fclose(in);
  const std::string out = telio_bench::ScratchDir() + "/member.out";
  for (auto _ : state) {
    FILE* f = std::fopen(out.c_str(), "wb");
    m.Serialize(f, false);
    std::fclose(f);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * telio_bench::FileSize(path));
}

}  // namespace

BENCHMARK(BM_Member_RawRead)->Arg(50)->Arg(2000)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Member_Load)->Arg(50)->Arg(2000)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Member_RawWrite)->Arg(50)->Arg(2000)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Member_Save)->Arg(50)->Arg(2000)->UseRealTime()->Unit(benchmark::kMicrosecond);
