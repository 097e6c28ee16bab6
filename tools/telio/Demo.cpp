// `telio demo`: writes a sample job, checks it, reads every result back
// through the readers and compares it with the rules that wrote it.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "Command.h"
#include "DesignProject.h"
#include "JobCheck.h"
#include "JobCommands.h"
#include "Progress.h"
#include "SampleMemberJob.h"
#include "Suite.h"
#include "files/CAJF_PATHS.h"
#include "files/CFileOUC.h"
#include "files/CFileRES.h"
#include "mdd/CMDDNode.h"
#include "mdd/CMemberValidation.h"
#include "mdd/FileMDP.h"
#include "platform/LastError.h"

namespace telio_tool {

namespace {

namespace fs = std::filesystem;

class Stopwatch {
 public:
  double Lap() {
    auto now = std::chrono::steady_clock::now();
    double ms = std::chrono::duration<double, std::milli>(now - last_).count();
    last_ = now;
    return ms;
  }

 private:
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

double Round2(double v) { return static_cast<double>(static_cast<long long>(v * 100 + 0.5)) / 100; }

// Values compared and values that differ from their rule.
struct Tally {
  long long values = 0;
  long long wrong = 0;
  void Expect(bool ok) {
    ++values;
    if (!ok) ++wrong;
  }
};

void CheckEnd(Tally& t, const SampleJob& job, const AnasisData& d, int r, int beam, int end) {
  for (int v = 0; v < 6; ++v) t.Expect(d.Value(v) == job.Force(r, beam, end, v));
}

void CheckForces(Tally& t, const SampleJob& job, const AnasisForces& f, int r, int beam) {
  t.Expect(f.LoadResult() == r + 1 && f.BeamNumber() == beam);
  CheckEnd(t, job, f.first, r, beam, 0);
  CheckEnd(t, job, f.second, r, beam, 1);
}

// Every displacement, reaction and force of every load result; the
// one-beam reader for the first and the last load result.
Tally ReadStaticResults(const SampleJob& job, const std::string& path, ulong32* code) {
  Tally t;
  CFileRES res;
  *code = res.Import(path.c_str());
  if (*code != 0) return t;
  t.Expect(res.NumberOfLoadsResults() == job.LoadResults() && res.HeaderWord() == job.Size().seed &&
           res.IsJobEAK() == (job.Size().eak ? 1 : 0));
  for (int r = 0; r < res.NumberOfLoadsResults(); ++r) {
    CArrayEx<AnasisData, const AnasisData&> disp = res.GetDisplacementsFor(r);
    CArrayEx<AnasisData, const AnasisData&> reac = res.GetReactionsFor(r);
    t.Expect(disp.GetSize() == job.Nodes() && reac.GetSize() == job.Nodes());
    for (int n = 1; n <= job.Nodes() && n <= disp.GetSize() && n <= reac.GetSize(); ++n) {
      const AnasisData& d = disp[n - 1];
      const AnasisData& q = reac[n - 1];
      t.Expect(d.LoadResult() == r + 1 && d.NodeNumber() == n);
      for (int v = 0; v < 6; ++v) {
        t.Expect(d.Value(v) == job.Displacement(r, n, v));
        t.Expect(q.Value(v) == (job.IsSupported(n) ? job.Reaction(r, n, v) : 0.0f));
      }
    }
    CArrayEx<AnasisForces, const AnasisForces&> forces = res.GetForcesFor(r);
    t.Expect(forces.GetSize() == job.Beams());
    for (int b = 1; b <= forces.GetSize(); ++b) CheckForces(t, job, forces[b - 1], r, b);
    if (r == 0 || r == res.NumberOfLoadsResults() - 1) {
      for (int b = 1; b <= job.Beams(); ++b) {
        const AnasisForces* f = res.GetForcesFor(r, b - 1);
        t.Expect(f != nullptr);
        if (f) CheckForces(t, job, *f, r, b);
      }
    }
  }
  return t;
}

void CheckBlock(Tally& t, const SampleJob& job, CFileOUC& ouc, int lc, int beam) {
  const BEAM_DATA* d = ouc.GetBeamData(lc, beam - 1);
  const int n = SampleJob::IPCount(beam);
  t.Expect(d && d->BeamNumber() == beam && d->NumIPs() == n);
  if (!d) return;
  for (int i = 0; i < n && i < d->NumIPs(); ++i) {
    t.Expect(d->Table(0)[i] == job.IPPosition(beam, i));
    for (int v = 0; v < 6; ++v) t.Expect(d->Table(v + 1)[i] == job.IPValue(lc, beam, i, v));
  }
}

// Loaded mode: every block. Indexed mode (one file read per block): every
// block of the first and the last load case.
Tally ReadIPResults(const SampleJob& job, const std::string& path, bool indexed, ulong32* code) {
  Tally t;
  CFileOUC ouc;
  ouc.SetUseBmidx(indexed);
  *code = ouc.Import(path.c_str());
  if (*code != 0) return t;
  t.Expect(ouc.GetLCNum() == job.LoadResults() && ouc.GetMaxIP() == job.MaxIP() &&
           ouc.GetMaxLCE() == job.MaxLCE());
  for (int lc = 0; lc < ouc.GetLCNum(); ++lc) {
    if (indexed && lc != 0 && lc != ouc.GetLCNum() - 1) continue;
    for (int b = 1; b <= job.Beams(); ++b) CheckBlock(t, job, ouc, lc, b);
  }
  return t;
}

// The forces of every point of every member of the sample's linked
// member-design job: OUC values at the points, RES end forces at the ends
// of each member beam, each against the rule that wrote it. Member i runs
// over analysis beams FirstBeam(i) .. in their own direction.
Tally CheckMemberForces(const SampleJob& job, const SampleMemberJob& plan, MDD_OBJECTS::CMDDMembersArray& project) {
  Tally t;
  t.Expect(project.GetCountMembers() == plan.Members());
  for (int i = 1; i <= plan.Members() && i <= project.GetCountMembers(); ++i) {
    const auto member = project.MemberAt(i - 1);
    t.Expect(member->GetCountInternalBeams() == plan.BeamCount(i));
    for (int k = 0; k < plan.BeamCount(i) && k < member->GetCountInternalBeams(); ++k) {
      const int beam = plan.FirstBeam(i) + k;
      const auto line = member->GetInternalBeamAt(k);
      t.Expect(line->GetCountInternalPoints() == SampleJob::IPCount(beam));
      for (int p = 0; p < line->GetCountInternalPoints(); ++p) {
        const auto* node = dynamic_cast<const MDD_OBJECTS::CMDDNode*>(line->GetInternalPointAt(p).GetPtr());
        const TELMARO_DATA_OBJECTS::CILoadCaseValuesLst* values = node ? node->GetLoadCaseValuesLst() : nullptr;
        t.Expect(values && values->GetCount() == job.StaticCases());
        for (int r = 0; values && r < values->GetCount(); ++r) {
          for (int v = 0; v < 6; ++v) {
            t.Expect(values->GetLCValuesAt(r)->LCValue(v + 1) == job.IPValue(r, beam, p, v));
          }
        }
      }
      for (int r = 0; r < job.StaticCases(); ++r) {
        const AnasisForces* f = project.GetRES()->GetForcesFor(r, beam - 1);
        t.Expect(f != nullptr);
        if (f) CheckForces(t, job, *f, r, beam);
      }
    }
  }
  return t;
}

// The most members, up to wanted, that the sample job can hold; 0 for none.
int FittingMembers(const SampleJobSize& size, int wanted) {
  int k = std::min(wanted, kSampleMaxMembers);
  while (k > 0 && !SampleMemberJob::Validate(size, k).empty()) --k;
  return k;
}

struct DemoOptions {
  SampleJobSize size;
  int members = 40;  // of the member-design job; fewer when the job holds fewer
  std::string keep;  // a folder to write the job into and keep; empty: a temporary one
};

int RunDemo(const DemoOptions& demo, const ToolOptions& opt) {
  const std::string bad = SampleJob::Validate(demo.size);
  if (!bad.empty()) {
    std::cerr << "telio: demo: " << bad << '\n';
    return 2;
  }
  std::error_code ec;
  fs::path root;
  const bool temporary = demo.keep.empty();
  if (temporary) {
    std::string templ = (fs::temp_directory_path() / "telio-demo-XXXXXX").string();
    if (!mkdtemp(&templ[0])) {
      std::cerr << "telio: cannot make a temporary folder\n";
      return 1;
    }
    root = templ;
  } else {
    root = demo.keep;
  }
  struct Cleanup {
    fs::path root;
    bool on;
    ~Cleanup() {
      std::error_code e;
      if (on) fs::remove_all(root, e);
    }
  } cleanup{root, temporary};

  const SampleJob job(demo.size);
  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = "demo";
  Json steps = Json::array();
  Stopwatch clock;
  long long findings = 0;

  // 1. The job written.
  Suite suite;
  if (!UseCatalogue(opt, &suite)) return 1;
  std::vector<SampleSection> sections;
  ulong32 code = PickSampleSections(suite.Catalogue(), sections);
  if (code != 0) {
    ReportFileError(suite.Catalogue() + "/FilesSectionDB", code);
    return 1;
  }
  ProgressLine progress("demo");
  std::string failed;
  code = WriteSampleJob(root.string(), "Demo", demo.size, sections, &failed, progress.Fn());
  steps.push_back({{"step", "job written"}, {"ms", Round2(clock.Lap())}});
  if (code != 0) {
    progress.Clear();
    ReportFileError(failed, code);
    return 1;
  }
  CAJF_PATHS paths;
  paths.Set((root / "Demo.AJF").string().c_str(), "Demo", 0);

  // 2. Every file read and the counts cross-checked.
  const JobCheckReport report = CheckJob(paths.ProjectFolder().GetString(), progress.Fn());
  steps.push_back({{"step", "job checked"}, {"ms", Round2(clock.Lap())}, {"findings", report.findings.size()}});
  findings += static_cast<long long>(report.findings.size());
  if (!report.findings.empty()) progress.Clear();
  for (const CheckFinding& f : report.findings) std::cerr << "telio: " << f.file << ": " << f.code << ": " << f.message << '\n';

  // 3. Results read back and compared with their rules.
  struct Reading {
    const char* step;
    std::string path;
    Tally (*read)(const SampleJob&, const std::string&, ulong32*);
  };
  const Reading readings[] = {
      {"static results read back", paths.RES().GetString(), ReadStaticResults},
      {"intermediate points read back (loaded)", paths.OUC().GetString(),
       [](const SampleJob& j, const std::string& p, ulong32* c) { return ReadIPResults(j, p, false, c); }},
      {"intermediate points read back (indexed)", paths.OUC().GetString(),
       [](const SampleJob& j, const std::string& p, ulong32* c) { return ReadIPResults(j, p, true, c); }},
  };
  long long compared = 0;
  for (const Reading& r : readings) {
    progress.Show(r.step);
    ulong32 readCode = 0;
    const Tally t = r.read(job, r.path, &readCode);
    steps.push_back({{"step", r.step}, {"ms", Round2(clock.Lap())}, {"values", t.values}, {"differ", t.wrong}});
    if (readCode != 0 || t.wrong != 0) progress.Clear();
    if (readCode != 0) {
      ReportFileError(r.path, readCode);
      ++findings;
    }
    if (t.wrong != 0) std::cerr << "telio: " << r.path << ": " << t.wrong << " values differ from the sample\n";
    findings += t.wrong;
    compared += t.values;
  }

  // 4. The design road: a linked member-design job, imported into a design
  // project whose members take their forces from the analysis results;
  // the members validated against the topology; the project saved and
  // loaded again with the same checksum.
  Json design;
  const int members = FittingMembers(demo.size, demo.members);
  if (members > 0) {
    progress.Show("member-design job written");
    const SampleMemberJob plan(demo.size, members);
    const MemberJobPaths jobs = SampleMemberJobPaths(root.string(), "Demo");
    failed.clear();
    code = WriteSampleMemberJobs(root.string(), "Demo", demo.size, members, sections, &failed);
    steps.push_back({{"step", "member-design job written"}, {"ms", Round2(clock.Lap())}, {"members", members}});
    MDD_OBJECTS::FileMDP mdp;
    if (code == 0) code = static_cast<ulong32>(mdp.ImportMDD(jobs.linked.c_str()));
    if (code != 0) {
      progress.Clear();
      ReportFileError(failed.empty() ? jobs.linked : failed, code);
      return 1;
    }
    MDD_OBJECTS::CMDDMembersArray& project = *mdp.GetMembersArray();
    steps.push_back({{"step", "design project imported"}, {"ms", Round2(clock.Lap())}, {"linked", project.IsValidLink()}});
    progress.Show("member forces linked");
    project.LinkIPsLCValuesToAllMembers();
    const Tally forces = CheckMemberForces(job, plan, project);
    steps.push_back({{"step", "member forces linked and read back"}, {"ms", Round2(clock.Lap())},
                     {"values", forces.values}, {"differ", forces.wrong}});
    const std::vector<MemberFinding> invalid = ValidateMembers(project);
    steps.push_back({{"step", "members validated"}, {"ms", Round2(clock.Lap())}, {"invalid", invalid.size()}});
    const std::string mdpPath = (root / "Demo.MDP").string();
    ulong32 saved = mdp.Export(mdpPath.c_str());
    const ulong32 before = project.CheckSum();
    MDD_OBJECTS::FileMDP back;
    if (saved == 0) saved = back.Import(mdpPath.c_str());
    const ulong32 after = back.GetMembersArray() ? back.GetMembersArray()->CheckSum() : 0;
    steps.push_back({{"step", "design project saved and loaded"}, {"ms", Round2(clock.Lap())}, {"same_checksum", before == after}});
    const bool wrong = !project.IsValidLink() || forces.wrong != 0 || !invalid.empty() || saved != 0 || before != after;
    if (wrong) progress.Clear();
    if (!project.IsValidLink()) std::cerr << "telio: " << jobs.linked << ": the analysis job could not be linked\n";
    if (forces.wrong != 0) std::cerr << "telio: " << jobs.linked << ": " << forces.wrong << " member forces differ from the sample\n";
    for (const MemberFinding& f : invalid) {
      std::cerr << "telio: " << jobs.linked << ": member " << AnsiToUtf8(f.name.c_str()) << ": " << f.code << ": "
                << MD_TOOLS::ValidationMessage(f.code) << '\n';
    }
    if (saved != 0) ReportFileError(mdpPath, saved);
    if (saved == 0 && before != after) std::cerr << "telio: " << mdpPath << ": the loaded project's checksum differs\n";
    findings += (project.IsValidLink() ? 0 : 1) + forces.wrong + static_cast<long long>(invalid.size()) +
                (saved != 0 || before != after ? 1 : 0);
    compared += forces.values;
    design = ProjectSummary(project);
    design["invalid_members"] = invalid.size();
    design["checksum_loaded"] = after;
  }

  progress.Clear();

  // 5. Summary.
  out["project"] = temporary ? std::string("(temporary, removed)") : paths.ProjectFolder().GetString();
  long long bytes = 0;
  Json files = Json::object();
  for (const CheckedFile& f : report.files) {
    std::error_code e;
    const auto n = fs::file_size(f.path, e);
    if (!e) {
      files[f.kind] = static_cast<long long>(n);
      bytes += static_cast<long long>(n);
    }
  }
  out["job"] = {{"nodes", job.Nodes()},
                {"beams", job.Beams()},
                {"supports", job.Supports()},
                {"sections", sections.size()},
                {"static_load_cases", job.StaticCases()},
                {"combinations", job.Combinations()},
                {"eak", demo.size.eak},
                {"seed", demo.size.seed}};
  out["file_bytes"] = files;
  out["total_bytes"] = bytes;
  AddSuiteFields(suite, out);
  out["design"] = design;
  out["steps"] = steps;
  out["values_compared"] = compared;
  out["findings"] = findings;
  PrintResult(out, opt);
  return findings == 0 ? 0 : 1;
}

class DemoCommand : public Command {
 public:
  DemoCommand()
      : Command("demo", "Write a sample job, check it, read every result back and design its members",
                kRankJobs + 30) {}
  std::string Description() const override {
    return "Writes a sample job (as telio sample does) into a temporary folder, or into --keep DIR, "
           "checks it (as telio check does), reads every static result and every intermediate-point "
           "result back through the readers, in both of the OUC reader's modes, and compares each value "
           "with the rule that wrote it.\n\n"
           "Then the design road: a member-design job of --members K members linked to the job (fewer when "
           "the job holds fewer) is imported into a design project (as telio design import does); every "
           "member takes the forces of its intermediate points from the results, each compared with its "
           "rule, and is validated against the topology; the project is saved (Demo.MDP) and loaded again, "
           "and the two checksums compared.\n\n"
           "Prints the time of each step and the number of values compared; the exit status is 1 when any "
           "value differs or any finding is made.";
  }
  void Define(CLI::App& cmd, ToolOptions& opt) override {
    AddSizeOptions(cmd, demo_.size);
    cmd.add_option("--members", demo_.members, "Members of the member-design job (1 to 200)")
        ->type_name("K")
        ->check(CLI::Range(1, kSampleMaxMembers));
    cmd.add_option("--keep", demo_.keep, "Write the job into this folder and keep it")->type_name("DIR");
    AddJsonFlag(cmd, opt);
  }
  int Run(const ToolOptions& opt) override { return RunDemo(demo_, opt); }

 private:
  DemoOptions demo_;
};

CommandRegistrar<DemoCommand> reg;

}  // namespace

}  // namespace telio_tool
