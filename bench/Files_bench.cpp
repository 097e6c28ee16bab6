// Model (T3L) and topology (TOP) files: import and export of large
// generated jobs, each beside a plain fread or fwrite of the same bytes; the
// case files (NAM, CMI, ACE) of a large job written beside a plain fwrite.
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "../tools/telio/SampleModel.h"
#include "BenchUtil.h"
#include "files/CFileACE.h"
#include "files/CFileCMI.h"
#include "files/CFileNAM.h"
#include "files/CFileT3L.h"
#include "files/CFileTOP.h"
#include "support/TOPFixture.h"

namespace {

using telio_bench::FileSize;
using telio_bench::ScratchDir;

// A 60,000-node model (about 113,000 beams), written once per process.
const std::string& LargeT3L() {
  static const std::string path = [] {
    std::string p = ScratchDir() + "/Large.T3L";
    CFileT3L model;
    telio_tool::SampleSize size;
    size.nodes = 60000;
    size.cases = 400;
    if (!telio_tool::BuildSampleT3L(model, size) || model.Export(p.c_str()) != 0) std::abort();
    return p;
  }();
  return path;
}

// A topology of 30,000 nodes and 60,000 beams built from the layout.
const std::string& LargeTOP() {
  static const std::string path = [] {
    telio_test::TopModelLayout m;
    m.staticCases = 400;
    for (int i = 0; i < 30000; ++i) {
      telio_test::TopNodeLayout n;
      n.label = static_cast<int16_t>(i + 1);
      n.x = static_cast<float>(i % 100);
      n.y = static_cast<float>(i / 100);
      m.nodes.push_back(n);
    }
    for (int i = 0; i < 60000; ++i) {
      telio_test::TopBeamLayout b;
      b.section = static_cast<uint16_t>(1 + i % 4);
      b.start = static_cast<uint16_t>(1 + i % 30000);
      b.end = static_cast<uint16_t>(1 + (i + 1) % 30000);
      m.beams.push_back(b);
    }
    for (int i = 0; i < 100; ++i) m.supports.push_back({static_cast<uint16_t>(i + 1), {}});
    const auto sample = telio_test::SampleTopModel();
    for (int i = 0; i < 4 && i < static_cast<int>(sample.sections.size()); ++i)
      m.sections.push_back(sample.sections[static_cast<size_t>(i)]);
    std::string p = ScratchDir() + "/Large.TOP";
    telio_test::BuildTop(m).WriteTo(p);
    return p;
  }();
  return path;
}

void BM_T3L_RawRead(benchmark::State& state) { telio_bench::RawRead(state, LargeT3L()); }

void BM_T3L_Import(benchmark::State& state) {
  const std::string& path = LargeT3L();
  for (auto _ : state) {
    CFileT3L f;
    if (f.Import(path.c_str()) != 0) state.SkipWithError("import failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(path));
}

// Exports write to a file they replace; the raw baseline writes the same
// bytes to a fresh file.
void BM_T3L_Export(benchmark::State& state) {
  CFileT3L f;
  f.Import(LargeT3L().c_str());
  telio_bench::Write(state, ScratchDir() + "/Out.T3L", [&f](const char* p) { return f.Export(p); });
}

void BM_T3L_RawWrite(benchmark::State& state) {
  telio_bench::RawWrite(state, LargeT3L(), ScratchDir() + "/Raw.T3L");
}

void BM_TOP_RawRead(benchmark::State& state) { telio_bench::RawRead(state, LargeTOP()); }

void BM_TOP_Import(benchmark::State& state) {
  const std::string& path = LargeTOP();
  for (auto _ : state) {
    CFileTOP f;
    if (f.Import(path.c_str()) != 0) state.SkipWithError("import failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(path));
}

void BM_TOP_Export(benchmark::State& state) {
  CFileTOP f;
  f.Import(LargeTOP().c_str());
  telio_bench::Write(state, ScratchDir() + "/Out.TOP", [&f](const char* p) { return f.Export(p); });
}

void BM_TOP_RawWrite(benchmark::State& state) {
  telio_bench::RawWrite(state, LargeTOP(), ScratchDir() + "/Raw.TOP");
}

// The case files of a 400-case, 40-combination job.
void BM_NAM_Export(benchmark::State& state) {
  CFileNAM f;
  for (int i = 0; i < 400; ++i) f.AddLdsName(("Load case " + std::to_string(i)).c_str());
  telio_bench::Write(state, ScratchDir() + "/Out.NAM", [&f](const char* p) { return f.Export(p); });
}

void BM_NAM_RawWrite(benchmark::State& state) {
  telio_bench::RawWrite(state, ScratchDir() + "/Out.NAM", ScratchDir() + "/Raw.NAM");
}

void BM_CMI_Export(benchmark::State& state) {
  CFileCMI f;
  std::vector<CMI_REC> rec(1);
  rec[0].SetCount(20);
  for (int i = 0; i < 40; ++i) f.AddCombination(&rec[0], i % 2);
  telio_bench::Write(state, ScratchDir() + "/Out.CMI", [&f](const char* p) { return f.Export(p); });
}

void BM_CMI_RawWrite(benchmark::State& state) {
  telio_bench::RawWrite(state, ScratchDir() + "/Out.CMI", ScratchDir() + "/Raw.CMI");
}

void BM_ACE_Export(benchmark::State& state) {
  CFileACE f;
  f.ActivateCmb(1, 1, 40);
  telio_bench::Write(state, ScratchDir() + "/Out.ACE", [&f](const char* p) { return f.Export(p); });
}

void BM_ACE_RawWrite(benchmark::State& state) {
  telio_bench::RawWrite(state, ScratchDir() + "/Out.ACE", ScratchDir() + "/Raw.ACE");
}

}  // namespace

BENCHMARK(BM_T3L_RawRead)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_T3L_Import)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_T3L_Export)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_T3L_RawWrite)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TOP_RawRead)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TOP_Import)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TOP_Export)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TOP_RawWrite)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NAM_Export)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NAM_RawWrite)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CMI_Export)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CMI_RawWrite)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ACE_Export)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ACE_RawWrite)->UseRealTime()->Unit(benchmark::kMicrosecond);
