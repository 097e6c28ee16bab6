#include "JobCommands.h"

#include <filesystem>
#include <iostream>

#include "MemberJobCheck.h"
#include "SampleMemberJob.h"
#include "Tables.h"
#include "platform/LastError.h"

namespace telio_tool {

namespace {

void ReportError(const std::string& path, ulong32 code) {
  std::cerr << "telio: " << path << ": error " << code << ": " << telio::SystemErrorMessage(code) << '\n';
}

}  // namespace

std::string SampleCatalogueFolder(const ToolOptions& opt) {
  std::error_code ec;
  std::string suite = ResolveSuiteFolder(opt);
  if (!suite.empty() && std::filesystem::is_directory(suite + "/FilesSectionDB", ec)) return suite;
  return TELIO_SOURCE_DATA_DIR;
}

int RunSample(const std::string& dir, const std::string& name, const SampleJobSize& size,
              const ToolOptions& opt) {
  std::string bad = SampleJob::Validate(size);
  if (bad.empty() && size.members != 0) bad = SampleMemberJob::Validate(size, size.members);
  if (!bad.empty()) {
    std::cerr << "telio: sample: " << bad << '\n';
    return 2;
  }
  std::vector<SampleSection> sections;
  const std::string catalogue = SampleCatalogueFolder(opt);
  ulong32 code = PickSampleSections(catalogue, sections);
  if (code != 0) {
    ReportError(catalogue + "/FilesSectionDB", code);
    return 1;
  }
  std::string failed;
  code = WriteSampleJob(dir, name, size, sections, &failed);
  if (code == 0 && size.members != 0) code = WriteSampleMemberJobs(dir, name, size, size.members, sections, &failed);
  if (code != 0) {
    ReportError(failed, code);
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

int RunCheck(const std::string& path, const ToolOptions& opt) {
  const JobCheckReport report = IsMemberJobPath(path) ? CheckMemberJob(path) : CheckJob(path);
  for (const CheckFinding& f : report.findings) {
    if (f.code == "read_error" || f.code == "no_project") ReportError(f.path, f.error);
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

}  // namespace telio_tool
