// The tool's own documentation, made from the command definitions: the
// overview of `telio --help`, the page of `telio help COMMAND` (also
// `telio COMMAND --help`), the man page telio(1) and the bash completion
// script. A command added later gets all four without further work.
#pragma once

#include <string>

#include <CLI/CLI.hpp>

namespace telio_tool {

struct ToolCli;

constexpr const char* kToolTitle = "inspect, check and convert steel-structure analysis and design jobs";
constexpr const char* kSuiteOptionHelp =
    "Suite data folder: steel grades, bolts, concrete and the section catalogue FilesSectionDB";
constexpr const char* kExitStatusText = "0 success, 1 a bad file or findings, 2 a usage error.";

// telio --help: usage, one entry per command (its synopsis and summary),
// the global options, the suite folder rule and the exit status.
std::string OverviewText(const ToolCli& cli);
// The man-style page of a command (or of a subcommand of one).
std::string CommandPage(const ToolCli& cli, const CLI::App& cmd);
// telio(1) in man(7) format: the overview and every command's page.
std::string ManPage(const ToolCli& cli);
// A bash script that completes commands, their options and arguments:
// FILE and PROJECT arguments complete paths, DIR ones folders, COMMAND ones
// the command names.
std::string BashCompletion(const ToolCli& cli);

}  // namespace telio_tool
