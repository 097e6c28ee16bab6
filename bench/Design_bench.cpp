// Design projects, each beside plain freads or fwrites of the bytes the work
// needs:
//   - linking: a project of 2,000 members (one analysis beam each) linked to
//     a sample analysis job of 9,999 nodes, 19,999 beams (the most a
//     topology holds) and 400 load results (static cases). Link opens the
//     job (its RES, TOP, JOB, CMI, NAM and the OUC index, one pass over the
//     whole OUC file); LinkIPsLCValuesToAllMembers then gives every point
//     of every member its forces of every load case, 3.8 million value
//     sets, reading the members' OUC blocks;
//   - the design project file: a project of 2,000 members of three beams
//     with the forces of 20 load cases at their points (30 MB) saved and
//     loaded.
// The jobs are written once per process (the analysis job is 2.2 GB).
#include <cstdio>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "../tools/telio/SampleJob.h"
#include "BenchUtil.h"
#include "files/CAJF_PATHS.h"
#include "mdd/FileMDP.h"
#include "topology/CTOPO_REC.h"

namespace {

using MDD_OBJECTS::CMDDMember;
using MDD_OBJECTS::CMDDMembersArray;
using MDD_OBJECTS::FileMDP;
using telio_bench::FileSize;

constexpr int kMembers = 2000;
constexpr int kSavedMembers = 2000;
constexpr int kSavedCases = 20;

telio_tool::SampleJobSize BigJob() {
  telio_tool::SampleJobSize size;
  size.nodes = 9999;
  size.beams = 19999;
  size.cases = 400;
  size.combinations = 0;
  return size;
}

// Member i (0-based) runs over beam MemberBeam(i): the first nine beams of
// each row of the grid, which run towards +x.
int MemberBeam(int i) { return 10 * (i / 9) + 1 + i % 9; }

const std::string& JobFolder() {
  static const std::string folder = [] {
    const std::vector<telio_tool::SampleSection> sections = {{"IPE200", 12, 0, 12007}, {"IPE300", 12, 0, 12011}};
    std::string failed;
    if (telio_tool::WriteSampleJob(telio_bench::ScratchDir(), "Big", BigJob(), sections, &failed) != 0) std::abort();
    return telio_bench::ScratchDir() + "/Big.AJF";
  }();
  return folder;
}

std::string JobFile(const char* ext) { return JobFolder() + "/Big." + ext; }

// The linked project, made once; Link(0) or a reset of its points brings it
// back to where a pass starts.
FileMDP& Linked() {
  static FileMDP* mdp = [] {
    FileMDP* p = new FileMDP;
    if (!p->NewFileLinked(JobFolder().c_str()) || !p->GetMembersArray()->IsValidLink()) std::abort();
    CMDDMembersArray& project = *p->GetMembersArray();
    for (int i = 0; i < kMembers; ++i) {
      GE_::Safe::PtrStrong<CMDDMember> m(new CMDDMember);
      CMDDMembersArray::AppendTopologyBeam(*m, *CTOPO_REC::GetBeam(project.GetTopoRec()->beams, MemberBeam(i)));
      project.AddMember(m);
    }
    return p;
  }();
  return *mdp;
}

// The members' points back to their ends alone, as Link leaves them.
void DropForces(CMDDMembersArray& project) {
  for (int i = 0; i < project.GetCountMembers(); ++i) {
    const auto m = project.MemberAt(i);
    m->SetIPsLCValuesLinked(0);
    for (int b = 0; b < m->GetCountInternalBeams(); ++b) m->GetInternalBeamAt(b)->CutLineIntoDst(0.0);
  }
}

// Bytes of beam b's OUC block, and where each load case's blocks start.
long long BlockBytes(int b) { return 6 + 28LL * telio_tool::SampleJob::IPCount(b); }
long long CaseBytes() {
  long long n = 0;
  for (int b = 1; b <= BigJob().beams; ++b) n += BlockBytes(b);
  return n;
}
long long OucHeaderBytes() { return 8 + 4LL * telio_tool::kMaxLCE; }

// The members' blocks of each load case, one read from the first to the
// last (the ninth beams between them included).
long long MemberBlockBytes() {
  long long n = 0;
  for (int b = 1; b <= MemberBeam(kMembers - 1); ++b) n += BlockBytes(b);
  return n;
}

void BM_Design_RawReadLinkedFiles(benchmark::State& state) {
  const char* const exts[] = {"OUC", "TOP", "JOB", "CMI", "NAM"};
  std::vector<char> buf(1 << 20);
  long long bytes = 0;
  for (const char* ext : exts) bytes += FileSize(JobFile(ext));
  for (auto _ : state) {
    for (const char* ext : exts) {
      std::FILE* f = std::fopen(JobFile(ext).c_str(), "rb");
      if (!f) {
        state.SkipWithError("cannot open");
        return;
      }
      while (std::fread(buf.data(), 1, buf.size(), f) == buf.size()) {
      }
      std::fclose(f);
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

void BM_Design_Link(benchmark::State& state) {
  CMDDMembersArray& project = *Linked().GetMembersArray();
  for (auto _ : state) {
    project.Link(0);
    if (!project.GetTopoRec() || project.GetLoadCaseLst()->GetCount() != BigJob().cases) {
      state.SkipWithError("link failed");
      return;
    }
  }
  long long bytes = 0;
  for (const char* ext : {"OUC", "TOP", "JOB", "CMI", "NAM"}) bytes += FileSize(JobFile(ext));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

void BM_Design_RawReadMemberBlocks(benchmark::State& state) {
  std::vector<char> buf(static_cast<size_t>(MemberBlockBytes()));
  const long long perCase = CaseBytes();
  for (auto _ : state) {
    std::FILE* f = std::fopen(JobFile("OUC").c_str(), "rb");
    for (int r = 0; f && r < BigJob().cases; ++r) {
      if (fseeko(f, static_cast<off_t>(OucHeaderBytes() + perCase * r), SEEK_SET) != 0) break;
      benchmark::DoNotOptimize(std::fread(buf.data(), 1, buf.size(), f));
    }
    if (f) std::fclose(f);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * MemberBlockBytes() * BigJob().cases);
}

void BM_Design_LinkMemberForces(benchmark::State& state) {
  CMDDMembersArray& project = *Linked().GetMembersArray();
  project.Link(0);
  for (auto _ : state) {
    state.PauseTiming();
    DropForces(project);
    state.ResumeTiming();
    if (project.LinkIPsLCValuesToAllMembers() != kMembers) {
      state.SkipWithError("linking failed");
      return;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * MemberBlockBytes() * BigJob().cases);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kMembers * BigJob().cases);
}

// An unlinked project of 2,000 members of three beams, each point with the
// forces of 20 load cases, saved once.
const std::string& SavedProject() {
  static const std::string path = [] {
    const std::string p = telio_bench::ScratchDir() + "/Saved.MDP";
    FileMDP mdp;
    mdp.NewFile(nullptr);
    CMDDMembersArray& project = *mdp.GetMembersArray();
    for (int c = 0; c < kSavedCases; ++c) project.AppendLoadCase(CString(("Case " + std::to_string(c + 1)).c_str()), c);
    *project.GetSettings()->PDefaultLength() = 9.0;
    for (int i = 0; i < kSavedMembers; ++i) {
      GE_::Safe::PtrStrong<CMDDMember> m(new CMDDMember);
      project.AddMember(m);
      m->CutMemberIntoCnt(2);
      project.SynchronizeLCValuesForMember(m.GetPtr(), true);
    }
    if (mdp.Export(p.c_str()) != 0) std::abort();
    return p;
  }();
  return path;
}

void BM_Design_RawReadProject(benchmark::State& state) { telio_bench::RawRead(state, SavedProject()); }

void BM_Design_LoadProject(benchmark::State& state) {
  for (auto _ : state) {
    FileMDP mdp;
    if (mdp.Import(SavedProject().c_str()) != 0 || mdp.GetMembersArray()->GetCountMembers() != kSavedMembers) {
      state.SkipWithError("load failed");
      return;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(SavedProject()));
}

void BM_Design_RawWriteProject(benchmark::State& state) {
  telio_bench::RawWrite(state, SavedProject(), telio_bench::ScratchDir() + "/Raw.MDP");
}

void BM_Design_SaveProject(benchmark::State& state) {
  FileMDP mdp;
  if (mdp.Import(SavedProject().c_str()) != 0) std::abort();
  telio_bench::Write(state, telio_bench::ScratchDir() + "/Again.MDP", [&](const char* path) { return mdp.Export(path); });
}

}  // namespace

BENCHMARK(BM_Design_RawReadLinkedFiles)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Design_Link)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Design_RawReadMemberBlocks)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Design_LinkMemberForces)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Design_RawReadProject)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Design_LoadProject)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Design_RawWriteProject)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Design_SaveProject)->UseRealTime()->Unit(benchmark::kMillisecond);
