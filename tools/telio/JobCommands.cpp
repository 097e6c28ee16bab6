#include "JobCommands.h"

#include <filesystem>
#include <iostream>

#include "Command.h"
#include "JobCheck.h"
#include "MemberJobCheck.h"
#include "ProjectCheck.h"
#include "Progress.h"
#include "SampleMemberJob.h"
#include "Suite.h"
#include "platform/LastError.h"

namespace telio_tool {

void AddSizeOptions(CLI::App& cmd, SampleJobSize& size) {
  cmd.add_option("--nodes", size.nodes, "Nodes")->type_name("N")->check(CLI::Range(2, kSampleMaxNodes));
  cmd.add_option("--beams", size.beams, "Beams")->type_name("N")->check(CLI::Range(1, kSampleMaxBeams));
  cmd.add_option("--cases", size.cases, "Static load cases")
      ->type_name("N")
      ->check(CLI::Range(1, static_cast<int>(kMaxLCEEak)));
  cmd.add_option("--combinations", size.combinations, "Combinations")
      ->type_name("N")
      ->check(CLI::Range(0, kSampleMaxCombinations));
  cmd.add_flag("--eak", size.eak, "An EAK job (20803-entry load-case table)");
  cmd.add_option("--seed", size.seed, "Seed of the result values (RES header word)")->type_name("N");
}

namespace {

// Writes NAME.AJF into dir. Exit status 0, 1 when a file cannot be written
// or the catalogue cannot be read, 2 for a bad size.
int WriteSample(const std::string& dir, const std::string& name, const SampleJobSize& size,
                const ToolOptions& opt) {
  std::string bad = SampleJob::Validate(size);
  if (bad.empty() && size.members != 0) bad = SampleMemberJob::Validate(size, size.members);
  if (!bad.empty()) {
    std::cerr << "telio: sample: " << bad << '\n';
    return 2;
  }
  Suite suite;
  if (!UseCatalogue(opt, &suite)) return 1;
  std::vector<SampleSection> sections;
  ulong32 code = PickSampleSections(suite.Catalogue(), sections);
  if (code != 0) {
    ReportFileError(suite.Catalogue() + "/FilesSectionDB", code);
    return 1;
  }
  std::string failed;
  {
    ProgressLine progress("sample");
    code = WriteSampleJob(dir, name, size, sections, &failed, progress.Fn());
  }
  if (code == 0 && size.members != 0) code = WriteSampleMemberJobs(dir, name, size, size.members, sections, &failed);
  if (code != 0) {
    ReportFileError(failed, code);
    return 1;
  }
  const SampleJob job(size);
  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = "sample";
  out["project"] = (std::filesystem::path(dir) / (name + ".AJF")).string();
  out["nodes"] = job.Nodes();
  out["beams"] = job.Beams();
  out["supports"] = job.Supports();
  out["sections"] = sections.size();
  out["static_load_cases"] = job.StaticCases();
  out["combinations"] = job.Combinations();
  out["load_results"] = job.LoadResults();
  out["eak"] = size.eak;
  out["seed"] = size.seed;
  out["max_lce"] = job.MaxLCE();
  out["max_ip"] = job.MaxIP();
  if (size.members != 0) {
    const MemberJobPaths paths = SampleMemberJobPaths(dir, name);
    out["member_jobs"] = {paths.linked, paths.own};
  }
  AddSuiteFields(suite, out);
  PrintResult(out, opt);
  return 0;
}

Json CheckReportJson(const JobCheckReport& report) {
  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = "check";
  out["project"] = report.project;
  out["name"] = report.name;
  Json files = Json::array();
  for (const CheckedFile& f : report.files) {
    Json j = {{"kind", f.kind}, {"path", f.path}, {"present", f.present}, {"read", f.read}};
    if (f.error != 0) {
      j["error"] = f.error;
      j["error_message"] = telio::SystemErrorMessage(f.error);
    }
    Json counts = Json::object();
    for (const auto& c : f.counts) counts[c.first] = c.second;
    if (!f.counts.empty()) j["counts"] = counts;
    files.push_back(j);
  }
  out["files"] = files;
  Json findings = Json::array();
  for (const CheckFinding& f : report.findings) {
    Json j = {{"file", f.file}, {"code", f.code}, {"message", f.message}};
    if (f.error != 0) j["error"] = f.error;
    if (!f.path.empty()) j["path"] = f.path;
    findings.push_back(j);
  }
  out["findings"] = findings;
  out["clean"] = report.Clean();
  return out;
}

// Exit status 0 when every file agrees, 1 with findings or a bad file.
int Check(const std::string& path, const ToolOptions& opt) {
  JobCheckReport report;
  {
    ProgressLine progress("check");
    report = IsDesignProjectPath(path) ? CheckDesignProject(path)
             : IsMemberJobPath(path)   ? CheckMemberJob(path)
                                       : CheckJob(path, progress.Fn());
  }
  for (const CheckFinding& f : report.findings) {
    if (f.code == "read_error" || f.code == "no_project") ReportFileError(f.path, f.error);
  }
  if (opt.json) {
    std::cout << CheckReportJson(report).dump(2) << '\n';
  } else {
    for (const CheckFinding& f : report.findings) {
      std::cout << f.file << ": " << f.code << ": " << f.message << '\n';
    }
    int read = 0;
    for (const CheckedFile& f : report.files) read += f.read ? 1 : 0;
    std::cout << report.project << ": " << read << " files read, " << report.findings.size()
              << (report.findings.size() == 1 ? " finding" : " findings") << '\n';
  }
  return report.Clean() ? 0 : 1;
}

class SampleCommand : public Command {
 public:
  SampleCommand() : Command("sample", "Write a complete sample analysis job DIR/NAME.AJF", kRankJobs + 10) {}
  std::string Description() const override {
    return "Writes a complete, consistent analysis job: model, topology with its composite sections, "
           "run control, load-case names, dynamic names and counts, combinations, static and "
           "intermediate-point results. Every value follows documented rules (tools/telio/SampleJob.h), "
           "so what a reader gives back can be checked without this tool. The sections come from the "
           "suite's catalogue. With --members K it also writes a member-design job linked to the "
           "analysis job (DIR/NAME.AJF/NAME.MDD) and one carrying its own forces (DIR/NAME_own.MDL) "
           "(tools/telio/SampleMemberJob.h).\n\n"
           "  telio sample /tmp --name Bridge --nodes 200 --beams 350 --cases 3 --combinations 2";
  }
  void Define(CLI::App& cmd, ToolOptions& opt) override {
    cmd.add_option("DIR", dir_, "Folder to write the job into")->required()->type_name("DIR");
    cmd.add_option("--name", name_, "Project name (default Sample)")->type_name("NAME");
    AddSizeOptions(cmd, size_);
    cmd.add_option("--members", size_.members, "Also write member-design jobs of this many members")
        ->type_name("K");
    AddJsonFlag(cmd, opt);
  }
  int Run(const ToolOptions& opt) override { return WriteSample(dir_, name_, size_, opt); }

 private:
  std::string dir_;
  std::string name_ = "Sample";
  SampleJobSize size_;
};

class CheckCommand : public PathCommand {
 public:
  CheckCommand()
      : PathCommand("check", "Read every file of a job and cross-check their counts", kRankJobs + 20, "PROJECT",
                    "The project folder NAME.AJF, a member-design job NAME.MDD|NAME.MDL or a design project "
                    "NAME.MDP") {}
  std::string Description() const override {
    return "Reads every file of an analysis job that is present and checks that the counts they must "
           "share agree: model and topology, the load cases of the names, run-control and combination "
           "files, the dynamic counts, the blocks of the static results and the load cases and table "
           "length of the intermediate-point results. Each finding is one line: FILE: code: message. A "
           "file that cannot be read is also reported on stderr with its code (a results file whose side "
           "files cannot be read names the side file). A member-design job (MDD or MDL) is checked "
           "the same way: its side files against each other and, when it is linked, against the "
           "analysis job. A design project (MDP) linked to an analysis job has every member validated "
           "against the job's topology, one line for each member that fails.\n\n"
           "  telio check Bridge.AJF\n"
           "  telio check Bridge.AJF/Bridge.MDD\n"
           "  telio check Bridge.MDP";
  }
  int Run(const ToolOptions& opt) override { return Check(Path(), opt); }
};

CommandRegistrar<SampleCommand> sampleReg;
CommandRegistrar<CheckCommand> checkReg;

}  // namespace

}  // namespace telio_tool
