// Design members: N members (2,000 by default), each of 5 internal beams
// whose 10 points carry the forces of 400 load cases (4,000 force sets a
// member, about 470 KB of records), saved and loaded one after another, in
// memory and to a file, beside a raw fwrite and fread of the same bytes.
//
// Files are read and written through a 1 MB stream buffer, as a host
// saving a project would set it (the raw baselines make one call for all
// the bytes).
//
// Saving uses 20 distinct members in turn (2,000 live members would take
// some GB); loading reads every record into a fresh member and drops the
// member loaded 20 records before, so the destruction of the members is
// part of the load.
#include <cstdio>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "mdd/CMDDLoadCaseValues.h"
#include "mdd/CMDDMember.h"
#include "mdd/CMDDNode.h"
#include "objects/data/CILoadCaseLstSyn.h"

namespace {

using GE_::Safe::PtrStrong;
using MDD_OBJECTS::CMDDLoadCaseValues;
using MDD_OBJECTS::CMDDMember;
using MDD_OBJECTS::CMDDNode;
using TELMARO_DATA_OBJECTS::CILoadCase;
using TELMARO_DATA_OBJECTS::CILoadCaseLstSyn;

const int kLoadCases = 400;
const int kBeams = 5;
const int kDistinct = 20;

PtrStrong<CILoadCaseLstSyn> LoadCases() {
  static PtrStrong<CILoadCaseLstSyn> lcs;
  if (lcs.IsNull()) {
    lcs = new CILoadCaseLstSyn;
    for (int i = 1; i <= kLoadCases; ++i) {
      CString name;
      name.Format("lc%d", i);
      lcs->AddLoadCase(PtrStrong<CILoadCase>(new CILoadCase(name, 0)));
    }
  }
  return lcs;
}

// Member k: a line of length 10 + k cut into 5 beams, forces on every
// beam point for every load case.
PtrStrong<CMDDMember> NewMember(int k) {
  PtrStrong<CMDDMember> m(new CMDDMember);
  CString name;
  name.Format("m%d", k + 1);
  m->SetElement(name, 0, 0);
  m->SetLine(GEOMETRY_OBJECTS::CGPoint(0, k, 0), GEOMETRY_OBJECTS::CGPoint(10 + k, k, 0));
  m->CutMemberIntoCnt(kBeams - 1);
  m->SynchronizePointsFromBeamsLst(0);
  m->SynchronizeLCValues(LoadCases().GetPtr());
  for (int b = 0; b < m->GetCountInternalBeams(); ++b) {
    PtrStrong<GEOMETRY_OBJECTS::CGLine> beam = m->GetInternalBeamAt(b);
    for (int p = 0; p < beam->GetCountInternalPoints(); ++p) {
      auto* node = dynamic_cast<CMDDNode*>(beam->GetInternalPointAt(p).GetPtr());
      for (int lc = 0; lc < kLoadCases; ++lc) {
        auto* v = dynamic_cast<CMDDLoadCaseValues*>(node->GetLoadCaseValuesLst()->CreateLCValuesFor(lc));
        v->SetValues(k + b, p * 0.5, lc * 0.25, -1.0 * lc, 2.0 * b, 0.125 * p);
      }
    }
  }
  m->PTegida()->SetDefaultTegida(m->Length());
  return m;
}

const std::vector<PtrStrong<CMDDMember>>& Members() {
  static std::vector<PtrStrong<CMDDMember>> members;
  if (members.empty()) {
    for (int k = 0; k < kDistinct; ++k) members.push_back(NewMember(k));
  }
  return members;
}

// The members' records, n of them in turn, in one file (written once).
std::string RecordsFile(int n) {
  std::string path = telio_bench::ScratchDir() + "/members" + std::to_string(n) + ".rec";
  if (telio_bench::FileSize(path) > 0) return path;
  FILE* f = std::fopen(path.c_str(), "wb");
  for (int i = 0; i < n && f; ++i) {
    if (!Members()[static_cast<size_t>(i % kDistinct)]->Serialize(f, false)) std::abort();
  }
  if (!f || std::fclose(f) != 0) std::abort();
  return path;
}

std::vector<char>& Bytes(int n) {
  static std::vector<char> bytes;
  static int held = -1;
  if (held != n) {
    const std::string path = RecordsFile(n);
    bytes.assign(static_cast<size_t>(telio_bench::FileSize(path)), 0);
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f || std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
    held = n;
  }
  return bytes;
}

void SaveAll(FILE* f, int n, benchmark::State& state) {
  for (int i = 0; i < n; ++i) {
    if (!Members()[static_cast<size_t>(i % kDistinct)]->Serialize(f, false)) {
      state.SkipWithError("save failed");
      return;
    }
  }
}

void LoadAll(FILE* f, int n, benchmark::State& state) {
  std::vector<PtrStrong<CMDDMember>> ring(kDistinct);
  for (int i = 0; i < n; ++i) {
    PtrStrong<CMDDMember> m(new CMDDMember);
    if (!m->Serialize(f, true)) {
      state.SkipWithError("load failed");
      return;
    }
    ring[static_cast<size_t>(i % kDistinct)] = m;
  }
}

// The file with a 1 MB stream buffer.
FILE* OpenFile(const std::string& path, const char* mode, std::vector<char>& buffer) {
  FILE* f = std::fopen(path.c_str(), mode);
  buffer.resize(1 << 20);
  if (f) std::setvbuf(f, buffer.data(), _IOFBF, buffer.size());
  return f;
}

void Processed(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

void BM_Members_RawWriteMemory(benchmark::State& state) {
  std::vector<char>& bytes = Bytes(static_cast<int>(state.range(0)));
  std::vector<char> out(bytes.size());
  for (auto _ : state) {
    FILE* f = fmemopen(out.data(), out.size(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  Processed(state, bytes.size());
}

void BM_Members_SaveMemory(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<char> out(Bytes(n).size());
  for (auto _ : state) {
    FILE* f = fmemopen(out.data(), out.size(), "wb");
    SaveAll(f, n, state);
    std::fclose(f);
  }
  Processed(state, out.size());
}

void BM_Members_RawReadMemory(benchmark::State& state) {
  std::vector<char>& bytes = Bytes(static_cast<int>(state.range(0)));
  std::vector<char> in(bytes.size());
  for (auto _ : state) {
    FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
    benchmark::DoNotOptimize(std::fread(in.data(), 1, in.size(), f));
    std::fclose(f);
  }
  Processed(state, bytes.size());
}

void BM_Members_LoadMemory(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<char>& bytes = Bytes(n);
  for (auto _ : state) {
    FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
    LoadAll(f, n, state);
    std::fclose(f);
  }
  Processed(state, bytes.size());
}

void BM_Members_RawWriteFile(benchmark::State& state) {
  std::vector<char>& bytes = Bytes(static_cast<int>(state.range(0)));
  const std::string out = telio_bench::ScratchDir() + "/members.out";
  for (auto _ : state) {
    FILE* f = std::fopen(out.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  Processed(state, bytes.size());
}

void BM_Members_SaveFile(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const size_t size = Bytes(n).size();
  const std::string out = telio_bench::ScratchDir() + "/members.out";
  std::vector<char> buffer;
  for (auto _ : state) {
    FILE* f = OpenFile(out, "wb", buffer);
    SaveAll(f, n, state);
    std::fclose(f);
  }
  Processed(state, size);
}

void BM_Members_RawReadFile(benchmark::State& state) {
  telio_bench::RawRead(state, RecordsFile(static_cast<int>(state.range(0))));
}

void BM_Members_LoadFile(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string path = RecordsFile(n);
  std::vector<char> buffer;
  for (auto _ : state) {
    FILE* f = OpenFile(path, "rb", buffer);
    LoadAll(f, n, state);
    std::fclose(f);
  }
  Processed(state, static_cast<size_t>(telio_bench::FileSize(path)));
}

}  // namespace

BENCHMARK(BM_Members_RawWriteMemory)->Arg(2000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Members_SaveMemory)->Arg(2000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Members_RawReadMemory)->Arg(2000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Members_LoadMemory)->Arg(2000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Members_RawWriteFile)->Arg(2000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Members_SaveFile)->Arg(2000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Members_RawReadFile)->Arg(2000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Members_LoadFile)->Arg(2000)->UseRealTime()->Unit(benchmark::kMillisecond);
