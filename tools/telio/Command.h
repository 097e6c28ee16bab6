// The commands of `telio`. Each command is one class, in its own source
// file, that registers itself:
//
//   class FooCommand : public Command {
//    public:
//     FooCommand() : Command("foo", "One line for telio --help", kRankFiles + 40) {}
//     std::string Description() const override { return "Paragraphs for telio help foo."; }
//     void Define(CLI::App& cmd, ToolOptions& opt) override {
//       cmd.add_option("FILE", file_, "The file")->required()->type_name("FILE");
//       AddJsonFlag(cmd, opt);
//     }
//     int Run(const ToolOptions& opt) override { ... return 0; }
//    private:
//     std::string file_;
//   };
//   static CommandRegistrar<FooCommand> reg;
//
// A command on one file or folder derives from PathCommand below instead.
// A command with commands of its own ("design import", "design link") adds
// them in Define with cmd.add_subcommand, keeps the CLI::App pointers and
// asks them in Run which one was given (CLI::App::parsed()); their pages and
// completion are made like the others'.
// A fresh instance of every command is made for each run of the tool, so a
// command keeps its option values in members. `telio --help`, `telio help
// COMMAND`, the man page and the bash completion are all made from these
// definitions: a command's type names ("FILE", "DIR", "PROJECT", "COMMAND")
// decide what the completion offers for its arguments.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "FileKind.h"

namespace telio_tool {

// Places in `telio --help`: a command takes a group's rank plus a step of
// ten (kRankFiles + 20); commands of one rank are listed by name.
constexpr int kRankFiles = 100;   // info, dump, topology: one file
constexpr int kRankJobs = 200;    // sample, check, demo: a whole job
constexpr int kRankSuite = 300;   // grades, bolts, concrete, sections
constexpr int kRankDesign = 400;  // member design: projects and their jobs
constexpr int kRankTool = 900;    // help, completion

class Command {
 public:
  Command(const char* name, const char* summary, int rank) : name_(name), summary_(summary), rank_(rank) {}
  virtual ~Command() = default;
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  const char* Name() const { return name_; }
  const char* Summary() const { return summary_; }
  int Rank() const { return rank_; }
  // The help page's text: paragraphs separated by a blank line; lines that
  // start with two spaces (examples) are kept as they stand.
  virtual std::string Description() const { return std::string(); }

  // Adds the command's arguments and options. Bind them to members of the
  // command, or to opt for the ones the file kinds read.
  virtual void Define(CLI::App& cmd, ToolOptions& opt) = 0;
  // Runs the parsed command; returns the exit status (0, 1 a bad file or
  // findings, 2 a usage error).
  virtual int Run(const ToolOptions& opt) = 0;

 private:
  const char* name_;
  const char* summary_;
  int rank_;
};

// A command on one file or folder, with --json: info, dump, check ...
// arg is the argument's name and type ("FILE", "PROJECT", "DIR"), which
// also decides its completion.
class PathCommand : public Command {
 public:
  PathCommand(const char* name, const char* summary, int rank, const char* arg, const char* argHelp)
      : Command(name, summary, rank), arg_(arg), argHelp_(argHelp) {}
  // Override to add options, calling this first.
  void Define(CLI::App& cmd, ToolOptions& opt) override;

 protected:
  const std::string& Path() const { return path_; }

 private:
  const char* arg_;
  const char* argHelp_;
  std::string path_;
};

using CommandFactory = std::function<std::unique_ptr<Command>()>;
std::vector<CommandFactory>& CommandFactories();

template <class C>
struct CommandRegistrar {
  CommandRegistrar() {
    CommandFactories().push_back([] { return std::unique_ptr<Command>(new C); });
  }
};

// One fresh instance of every registered command, in --help order.
std::vector<std::unique_ptr<Command>> MakeCommands();

// The --json flag every command that prints a result has.
void AddJsonFlag(CLI::App& cmd, ToolOptions& opt);

// Prints a result object as JSON or as text, as the options say.
void PrintResult(const Json& out, const ToolOptions& opt);

// "telio: PATH: error CODE: MEANING" on stderr.
void ReportFileError(const std::string& path, unsigned long code);
// The same for a file kind's failure: a side file at fault is named with
// its own code ("telio: X.RES: side file X.TOP: error 2: ...").
void ReportFailure(const std::string& path, const FileFailure& failure);

}  // namespace telio_tool
