#include "FileCommands.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "Command.h"
#include "DocumentWriter.h"
#include "ProjectFolder.h"
#include "Progress.h"

namespace telio_tool {

namespace {

constexpr long long kLargeDumpBytes = 10LL * 1000 * 1000;
long long g_largeDumpBytes = kLargeDumpBytes;

std::string KindList() {
  std::vector<std::string> names;
  for (const auto& k : Kinds()) names.push_back(k->Name());
  std::sort(names.begin(), names.end());
  std::string list;
  for (const std::string& n : names) list += (list.empty() ? "" : ", ") + n;
  return list;
}

// Says how much is coming before a dump that takes a while.
void AnnounceLargeDump(FileKind& kind, const std::string& path, const ToolOptions& opt) {
  if (!StderrIsTerminal()) return;
  const long long bytes = kind.DumpBytes(path, opt);
  if (bytes <= LargeDumpBytes()) return;
  char size[32];
  if (bytes >= 1000 * 1000) {
    std::snprintf(size, sizeof size, "%.1f MB", static_cast<double>(bytes) / 1e6);
  } else {
    std::snprintf(size, sizeof size, "%.0f kB", static_cast<double>(bytes) / 1e3);
  }
  std::cerr << "telio: " << path << ": dumping " << size
            << " of records; --lc R, --beam B or --node N narrow it\n";
}

int ShowFile(const std::string& path, const ToolOptions& opt, bool dump) {
  if (IsProjectFolderPath(path)) return ShowProjectFolder(path, opt, dump);
  FileKind* kind = FindKindForPath(path);
  if (!kind) {
    std::cerr << "telio: " << path << ": unknown file kind (extension \"" << UpperExtension(path)
              << "\"); telio help " << (dump ? "dump" : "info") << " lists the kinds\n";
    return 2;
  }
  Json head;
  head["schema_version"] = kSchemaVersion;
  head["kind"] = kind->Name();
  head["file"] = path;
  try {
    unsigned long code = 0;
    if (dump) {
      AnnounceLargeDump(*kind, path, opt);
      DocumentWriter w(std::cout, opt.json, head);
      code = kind->StreamDump(path, opt, w);
      // A failure after the first record still closes the document.
      if (code == 0 || w.Started()) w.Finish();
    } else {
      Json out = head;
      code = kind->Info(path, opt, out);
      if (code == 0) PrintResult(out, opt);
    }
    if (code == 0) return 0;
    ReportFailure(path, kind->Failure(path, code));
    return 1;
  } catch (const UsageError& e) {
    std::cerr << "telio: " << path << ": " << e.what() << '\n';
    return 2;
  }
}

constexpr const char* kFileHelp = "The file or project folder";

class InfoCommand : public PathCommand {
 public:
  InfoCommand()
      : PathCommand("info", "Summarise a file, or a project folder NAME.AJF", kRankFiles + 10, "FILE", kFileHelp) {}
  std::string Description() const override {
    return "Summarises a file of any kind the library reads: " + KindList() +
           ". The kind follows from the extension, in any letter case. Result files (RES, OUC) take "
           "their counts from the job's files beside them.\n\n"
           "Given a project folder NAME.AJF, lists the files it holds with their kinds, main counts and "
           "sizes, and the folder's total size. A file that cannot be read is listed with its code and "
           "makes the exit status 1.\n\n"
           "  telio info Bridge.AJF\n"
           "  telio info Bridge.AJF/Bridge.RES --json";
  }
  int Run(const ToolOptions& opt) override { return ShowFile(Path(), opt, false); }
};

class DumpCommand : public PathCommand {
 public:
  DumpCommand()
      : PathCommand("dump", "Print a file's records, or the summary of every file of a project folder",
                    kRankFiles + 20, "FILE", kFileHelp) {}
  std::string Description() const override {
    return "Prints every record of a file (the kinds of telio info). Results are printed per load "
           "result; --lc R keeps one (0-based, static load cases first, then the combinations), --beam B "
           "keeps one beam's forces (RES) or intermediate points (OUC), --node N one node's displacements "
           "and reactions (RES), --member M one member of a member-design job (MDD, MDL) or of a design "
           "project (MDP). A dump is written as it is read; one that goes through more than 10 MB of its "
           "file says so on stderr first when stderr is a terminal.\n\n"
           "Given a project folder NAME.AJF, prints every file's info.\n\n"
           "  telio dump Bridge.AJF/Bridge.RES --lc 3 --beam 7\n"
           "  telio dump Bridge.AJF/Bridge.OUC --lc 0 --json";
  }
  void Define(CLI::App& cmd, ToolOptions& opt) override {
    PathCommand::Define(cmd, opt);
    cmd.add_option("--lc", opt.lc, "Only this load result (0-based)")->type_name("R")->check(CLI::NonNegativeNumber);
    cmd.add_option("--beam", opt.beam, "Only this beam (1-based)")->type_name("B")->check(CLI::PositiveNumber);
    cmd.add_option("--node", opt.node, "Only this node (1-based)")->type_name("N")->check(CLI::PositiveNumber);
    cmd.add_option("--member", opt.member, "Only this member of a member-design job or design project (1-based)")
        ->type_name("M")
        ->check(CLI::PositiveNumber);
  }
  int Run(const ToolOptions& opt) override { return ShowFile(Path(), opt, true); }
};

CommandRegistrar<InfoCommand> infoReg;
CommandRegistrar<DumpCommand> dumpReg;

}  // namespace

long long LargeDumpBytes() { return g_largeDumpBytes; }

void SetLargeDumpBytes(long long bytes) { g_largeDumpBytes = bytes > 0 ? bytes : kLargeDumpBytes; }

}  // namespace telio_tool
