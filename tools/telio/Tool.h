// The command line of `telio`: the global options and every registered
// command (Command.h), parsed and run.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "Command.h"

namespace telio_tool {

// The project version ("0.1.0").
const char* ToolVersion();

// Every command defined on one CLI::App. Built afresh for each run, so the
// options start from their defaults; not copyable or movable (the options
// are bound to its members).
struct ToolCli {
  ToolCli();
  ToolCli(const ToolCli&) = delete;
  ToolCli& operator=(const ToolCli&) = delete;

  // The registered command a top-level subcommand belongs to, or null.
  const Command* CommandOf(const CLI::App& sub) const;

  ToolOptions opt;
  std::vector<std::unique_ptr<Command>> commands;
  CLI::App app;
};

// Parses argv and runs the chosen command; returns the exit status (0
// success, 1 a bad file or findings, 2 a usage error). Prints to std::cout
// and std::cerr.
int RunTool(int argc, const char* const* argv);

}  // namespace telio_tool
