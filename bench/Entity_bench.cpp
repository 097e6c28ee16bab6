// The analysis entity model: filling the entity lists of a 10,000-node,
// 20,000-beam topology, beside the topology's own open of the same TOP file
// and a plain fread of it; and a deep copy of the filled model.
#include <cstdint>
#include <string>

#include <benchmark/benchmark.h>

#include "BenchUtil.h"
#include "support/TOPFixture.h"
#include "topology/CEntity.h"
#include "topology/CTOPO_REC.h"

namespace {

constexpr int kNodes = 10000;
constexpr int kBeams = 20000;
constexpr int kRow = 125;  // nodes per storey row: a 125 x 80 frame

// A plane frame of 80 storeys of 125 nodes: the columns and beams of every
// bay, then braces in the lower storeys up to 20,000 members, over twelve
// sections. Written once per process.
const std::string& FrameTOP() {
  static const std::string path = [] {
    telio_test::TopModelLayout m;
    m.space = false;
    for (int i = 0; i < kNodes; ++i) {
      m.nodes.push_back({static_cast<int16_t>(i + 1), 0, 6.0f * static_cast<float>(i % kRow),
                         3.5f * static_cast<float>(i / kRow), 0, static_cast<int16_t>(i < kRow)});
    }
    auto add = [&m](int a, int b) {
      m.beams.push_back({static_cast<uint16_t>(1 + m.beams.size() % 12), static_cast<int16_t>(m.beams.size() + 1),
                         static_cast<uint16_t>(a + 1), static_cast<uint16_t>(b + 1), 0});
    };
    for (int i = 0; i < kNodes; ++i) {
      if (i % kRow + 1 < kRow) add(i, i + 1);    // beam of the bay
      if (i + kRow < kNodes) add(i, i + kRow);   // column above
    }
    for (int i = 0; static_cast<int>(m.beams.size()) < kBeams; ++i) {
      if (i % kRow + 1 < kRow) add(i, i + kRow + 1);  // brace
    }
    for (int i = 0; i < kRow; ++i) m.supports.push_back({static_cast<uint16_t>(i + 1), {}});
    for (int s = 0; s < 12; ++s) {
      m.sections.push_back({"IPE" + std::to_string(200 + 20 * s), 12, 0, 1000u + s, {}, {}});
    }
    std::string p = telio_bench::ScratchDir() + "/Frame.TOP";
    telio_test::BuildTop(m).WriteTo(p);
    return p;
  }();
  return path;
}

void BM_Entity_RawRead(benchmark::State& state) { telio_bench::RawRead(state, FrameTOP()); }

void BM_Entity_TopologyOpen(benchmark::State& state) {
  const std::string& path = FrameTOP();
  for (auto _ : state) {
    CTOPO_REC t;
    if (!t.Open(path.c_str())) state.SkipWithError("open failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * telio_bench::FileSize(path));
}

void BM_Entity_Fill(benchmark::State& state) {
  CTOPO_REC t;
  if (!t.Open(FrameTOP().c_str())) {
    state.SkipWithError("open failed");
    return;
  }
  CEntity e;
  for (auto _ : state) {
    if (!e.GenerateFromTOPO_REC(t.GetTOPO_REC())) state.SkipWithError("fill failed");
  }
  if (e.GetEntity(ENTITIESConstants::EntBeam)->Count() != kBeams) state.SkipWithError("beams lost");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * (kNodes + kBeams));
}

void BM_Entity_OpenAndFill(benchmark::State& state) {
  const std::string& path = FrameTOP();
  for (auto _ : state) {
    CTOPO_REC t;
    CEntity e;
    if (!t.Open(path.c_str()) || !e.GenerateFromTOPO_REC(t.GetTOPO_REC())) {
      state.SkipWithError("open or fill failed");
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * telio_bench::FileSize(path));
}

void BM_Entity_Copy(benchmark::State& state) {
  CTOPO_REC t;
  CEntity e;
  if (!t.Open(FrameTOP().c_str()) || !e.GenerateFromTOPO_REC(t.GetTOPO_REC())) {
    state.SkipWithError("open or fill failed");
    return;
  }
  for (auto _ : state) {
    CEntity copy(e);
    benchmark::DoNotOptimize(copy.GetEntities());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * (kNodes + kBeams));
}

}  // namespace

BENCHMARK(BM_Entity_RawRead)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Entity_TopologyOpen)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Entity_Fill)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Entity_OpenAndFill)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Entity_Copy)->UseRealTime()->Unit(benchmark::kMillisecond);
