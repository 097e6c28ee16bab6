// `telio grades`, `telio bolts`, `telio concrete`: the material tables in
// use, read from a suite data folder.
#pragma once

#include <string>

#include "FileKind.h"

namespace telio_tool {

// The suite data folder: --suite when given, else the installed sample
// data when it exists, else empty (built-in grades, no bolts or concrete).
std::string ResolveSuiteFolder(const ToolOptions& opt);

int RunGrades(const ToolOptions& opt);
int RunBolts(const ToolOptions& opt);
int RunConcrete(const ToolOptions& opt);

// Prints a result object as JSON or as text, as the options say.
void PrintResult(const Json& out, const ToolOptions& opt);

}  // namespace telio_tool
