#include "Command.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "platform/LastError.h"

namespace telio_tool {

std::vector<CommandFactory>& CommandFactories() {
  static std::vector<CommandFactory> factories;
  return factories;
}

std::vector<std::unique_ptr<Command>> MakeCommands() {
  std::vector<std::unique_ptr<Command>> commands;
  for (const CommandFactory& make : CommandFactories()) commands.push_back(make());
  std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) {
    if (a->Rank() != b->Rank()) return a->Rank() < b->Rank();
    return std::strcmp(a->Name(), b->Name()) < 0;
  });
  return commands;
}

void PathCommand::Define(CLI::App& cmd, ToolOptions& opt) {
  cmd.add_option(arg_, path_, argHelp_)->required()->type_name(arg_);
  AddJsonFlag(cmd, opt);
}

void AddJsonFlag(CLI::App& cmd, ToolOptions& opt) { cmd.add_flag("--json", opt.json, "Print JSON"); }

void PrintResult(const Json& out, const ToolOptions& opt) {
  if (opt.json) {
    std::cout << out.dump(2) << '\n';
  } else {
    PrintText(out, std::cout);
  }
}

void ReportFileError(const std::string& path, unsigned long code) {
  std::cerr << "telio: " << path << ": error " << code << ": "
            << telio::SystemErrorMessage(static_cast<ulong32>(code)) << '\n';
}

void ReportFailure(const std::string& path, const FileFailure& failure) {
  if (failure.path == path && failure.role.empty()) {
    ReportFileError(path, failure.code);
    return;
  }
  std::cerr << "telio: " << path << ": " << (failure.role.empty() ? "" : failure.role + " ") << failure.path
            << ": error " << failure.code << ": " << telio::SystemErrorMessage(static_cast<ulong32>(failure.code))
            << '\n';
}

}  // namespace telio_tool
