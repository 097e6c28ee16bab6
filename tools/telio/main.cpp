// telio: inspect, check and convert the files of an analysis or design job.
//
// Exit status: 0 success, 1 a bad file or findings, 2 a usage error.
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "Demo.h"
#include "Entities.h"
#include "FileKind.h"
#include "JobCommands.h"
#include "Psf.h"
#include "Sections.h"
#include "Tables.h"
#include "Topology.h"
#include "platform/LastError.h"

namespace telio_tool {
namespace {

int ReportFileError(const std::string& path, unsigned long code) {
  std::cerr << "telio: " << path << ": error " << code << ": "
            << telio::SystemErrorMessage(static_cast<ulong32>(code)) << '\n';
  return 1;
}

int RunFileCommand(const std::string& path, const ToolOptions& opt, bool dump) {
  FileKind* kind = FindKindForPath(path);
  if (!kind) {
    std::cerr << "telio: " << path << ": unknown file kind (extension \"" << UpperExtension(path)
              << "\")\n";
    return 2;
  }
  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = kind->Name();
  out["file"] = path;
  unsigned long code = dump ? kind->Dump(path, opt, out) : kind->Info(path, opt, out);
  if (code != 0) return ReportFileError(path, code);
  if (opt.json) {
    std::cout << out.dump(2) << '\n';
  } else {
    PrintText(out, std::cout);
  }
  return 0;
}

void AddSizeOptions(CLI::App* cmd, SampleJobSize& size) {
  cmd->add_option("--nodes", size.nodes, "Nodes")->check(CLI::Range(2, kSampleMaxNodes));
  cmd->add_option("--beams", size.beams, "Beams")->check(CLI::Range(1, kSampleMaxBeams));
  cmd->add_option("--cases", size.cases, "Static load cases")->check(CLI::Range(1, static_cast<int>(kMaxLCEEak)));
  cmd->add_option("--combinations", size.combinations, "Combinations")->check(CLI::Range(0, kSampleMaxCombinations));
  cmd->add_flag("--eak", size.eak, "An EAK job (20803-entry load-case table)");
  cmd->add_option("--seed", size.seed, "Seed of the result values (RES header word)");
}

}  // namespace
}  // namespace telio_tool

int main(int argc, char** argv) {
  using namespace telio_tool;
  CLI::App app{"telio: inspect, check and convert steel-structure analysis and design jobs"};
  app.require_subcommand(1);
  app.fallthrough();  // --suite may follow the subcommand
  ToolOptions opt;
  std::string file;
  app.add_option("--suite", opt.suite, "Suite data folder (grades, bolts, concrete, sections)");

  auto* info = app.add_subcommand("info", "Summarise a file");
  info->add_option("FILE", file, "The file")->required();
  info->add_flag("--json", opt.json, "Print JSON");

  auto* dump = app.add_subcommand("dump", "Print a file's records");
  dump->add_option("FILE", file, "The file")->required();
  dump->add_flag("--json", opt.json, "Print JSON");
  dump->add_option("--lc", opt.lc, "Only this load result (0-based)");
  dump->add_option("--beam", opt.beam, "Only this beam (1-based)");

  auto* topology = app.add_subcommand("topology", "Open a TOP file as a topology model");
  topology->add_option("FILE", file, "The TOP file")->required();
  topology->add_flag("--json", opt.json, "Print JSON");

  auto* grades = app.add_subcommand("grades", "List the steel grades in use");
  grades->add_flag("--json", opt.json, "Print JSON");
  auto* bolts = app.add_subcommand("bolts", "List the bolt sizes and grades");
  bolts->add_flag("--json", opt.json, "Print JSON");
  auto* concrete = app.add_subcommand("concrete", "List the concrete classes");
  concrete->add_flag("--json", opt.json, "Print JSON");

  int sectionFamily = 0;
  auto* sections = app.add_subcommand("sections", "List the section catalogue with computed properties");
  sections->add_option("--family", sectionFamily, "Only this family id");
  std::string sectionKey;
  sections->add_option("--key", sectionKey, "F,P,ID: the section object the bridge builds for this catalogue key");
  sections->add_flag("--json", opt.json, "Print JSON");

  DemoOptions demo;
  auto* demoCmd = app.add_subcommand("demo", "Write a sample job, check it and read every result back");
  AddSizeOptions(demoCmd, demo.size);
  demoCmd->add_option("--keep", demo.keep, "Write the job into this folder and keep it");
  demoCmd->add_flag("--json", opt.json, "Print JSON");

  SampleJobSize sampleSize;
  std::string sampleName = "Sample";
  auto* sample = app.add_subcommand("sample", "Write a complete sample analysis job DIR/NAME.AJF");
  sample->add_option("DIR", file, "Folder to write the job into")->required();
  sample->add_option("--name", sampleName, "Project name (default Sample)");
  AddSizeOptions(sample, sampleSize);
  sample->add_flag("--json", opt.json, "Print JSON");

  auto* check = app.add_subcommand("check", "Read every file of a job and cross-check their counts");
  check->add_option("PROJECT", file, "The project folder NAME.AJF")->required();
  check->add_flag("--json", opt.json, "Print JSON");

  auto* entities = AddEntitiesCommand(app, file, opt);
  auto* psf = AddPsfCommand(app, file, opt);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int rc = app.exit(e);
    return rc == 0 ? 0 : 2;
  }

  if (app.got_subcommand(info)) return RunFileCommand(file, opt, false);
  if (app.got_subcommand(dump)) return RunFileCommand(file, opt, true);
  if (app.got_subcommand(topology)) return RunTopology(file, opt);
  if (app.got_subcommand(demoCmd)) return RunDemo(demo, opt);
  if (app.got_subcommand(sample)) return RunSample(file, sampleName, sampleSize, opt);
  if (app.got_subcommand(check)) return RunCheck(file, opt);
  if (app.got_subcommand(grades)) return RunGrades(opt);
  if (app.got_subcommand(sections)) return RunSections(opt, sectionFamily, sectionKey);
  if (app.got_subcommand(bolts)) return RunBolts(opt);
  if (app.got_subcommand(concrete)) return RunConcrete(opt);
  if (app.got_subcommand(entities)) return RunEntities(file, opt);
  if (app.got_subcommand(psf)) return RunPsf(file, opt);
  return 2;
}
