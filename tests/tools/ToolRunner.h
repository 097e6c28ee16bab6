// Runs the tool's commands in-process, as a user runs them, for the tool's
// tests.
#pragma once

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "FileKind.h"
#include "Tool.h"

namespace telio_test {

struct ToolResult {
  int rc;
  std::string out;
  std::string err;
  telio_tool::Json json() const { return telio_tool::Json::parse(out); }
};

// `telio args...` with stdout and stderr captured.
inline ToolResult RunTelio(std::vector<std::string> args) {
  args.insert(args.begin(), "telio");
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  std::streambuf* oldOut = std::cout.rdbuf(out.rdbuf());
  std::streambuf* oldErr = std::cerr.rdbuf(err.rdbuf());
  const int rc = telio_tool::RunTool(static_cast<int>(argv.size()), argv.data());
  std::cout.rdbuf(oldOut);
  std::cerr.rdbuf(oldErr);
  return {rc, out.str(), err.str()};
}

}  // namespace telio_test
