// The topology model: opening a 10,000-node, 20,000-beam job (its beam
// index included) beside a plain fread of its TOP file, and beam lookups by
// end coordinates over it, walking the list and through the index.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

#include <benchmark/benchmark.h>

#include "BenchUtil.h"
#include "support/CSFixture.h"
#include "support/TOPFixture.h"
#include "topology/CTOPO_REC.h"

namespace {

using telio_bench::FileSize;
using telio_bench::ScratchDir;

constexpr int kSide = 100;  // nodes on a kSide x kSide grid

int NodeAt(int col, int row) { return 1 + row * kSide + col; }

// A 100 x 100 grid of nodes; the 19,800 grid edges and 200 diagonals are the
// beams. Written once per process with its composite-section companion.
const std::string& GridTOP() {
  static const std::string path = [] {
    telio_test::TopModelLayout m;
    m.staticCases = 40;
    for (int i = 0; i < kSide * kSide; ++i) {
      telio_test::TopNodeLayout n;
      n.label = static_cast<int16_t>(i + 1);
      n.x = static_cast<float>(i % kSide);
      n.y = static_cast<float>(i / kSide);
      m.nodes.push_back(n);
    }
    auto beam = [&m](int a, int b) {
      telio_test::TopBeamLayout s;
      s.section = static_cast<uint16_t>(1 + m.beams.size() % 4);
      s.label = static_cast<int16_t>(m.beams.size() + 1);
      s.start = static_cast<uint16_t>(a);
      s.end = static_cast<uint16_t>(b);
      m.beams.push_back(s);
    };
    for (int r = 0; r < kSide; ++r) {
      for (int c = 0; c + 1 < kSide; ++c) beam(NodeAt(c, r), NodeAt(c + 1, r));
    }
    for (int c = 0; c < kSide; ++c) {
      for (int r = 0; r + 1 < kSide; ++r) beam(NodeAt(c, r), NodeAt(c, r + 1));
    }
    for (int k = 0; m.beams.size() < 20000; ++k) {
      int c = k % (kSide - 1), r = k / (kSide - 1);
      beam(NodeAt(c, r), NodeAt(c + 1, r + 1));
    }
    for (int c = 0; c < kSide; ++c) m.supports.push_back({static_cast<uint16_t>(NodeAt(c, 0)), {}});
    const auto sample = telio_test::SampleTopModel();
    m.sections.assign(sample.sections.begin(), sample.sections.end());
    m.physBeams.push_back({1, 1, static_cast<int16_t>(kSide), {}});
    for (uint16_t b = 1; b < kSide; ++b) m.physBeams.back().beams.push_back(b);

    std::string p = ScratchDir() + "/Grid.TOP";
    telio_test::BuildTop(m).WriteTo(p);
    telio_test::BuildCs({1, 4}).WriteTo(CTOPO_REC::CompSectsPath(p.c_str()).GetString());
    return p;
  }();
  return path;
}

void BM_Topology_RawRead(benchmark::State& state) { telio_bench::RawRead(state, GridTOP()); }

void BM_Topology_Open(benchmark::State& state) {
  const std::string& path = GridTOP();
  for (auto _ : state) {
    CTOPO_REC t;
    if (!t.Open(path.c_str())) state.SkipWithError("open failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(path));
}

// Beams spread over the list, each given with its ends exchanged every
// other time: the walk of the list, and the opened topology's index.
template <bool kIndexed>
void BM_Topology_FindBeam(benchmark::State& state) {
  CTOPO_REC t;
  if (!t.Open(GridTOP().c_str())) {
    state.SkipWithError("open failed");
    return;
  }
  const TOPOStructs::TOPO_REC* r = t.GetTOPO_REC();
  unsigned i = 0;
  for (auto _ : state) {
    int b = 1 + static_cast<int>(i * 7919u % static_cast<unsigned>(r->beamCount));
    int s = r->startNode[b], e = r->endNode[b];
    if (i & 1) std::swap(s, e);
    benchmark::DoNotOptimize(kIndexed ? t.FindBeam(r->x[s], r->y[s], r->z[s], r->x[e], r->y[e], r->z[e])
                                      : CTOPO_REC::FindBeam(r->beams, r->x[s], r->y[s], r->z[s], r->x[e],
                                                            r->y[e], r->z[e]));
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}
void BM_Topology_FindBeamWalk(benchmark::State& state) { BM_Topology_FindBeam<false>(state); }
void BM_Topology_FindBeamIndexed(benchmark::State& state) { BM_Topology_FindBeam<true>(state); }

}  // namespace

BENCHMARK(BM_Topology_RawRead)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Topology_Open)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Topology_FindBeamWalk)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Topology_FindBeamIndexed)->UseRealTime()->Unit(benchmark::kMicrosecond);
