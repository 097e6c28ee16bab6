// Runs the tool's commands in-process, as a user runs them, and the
// settings every test of the tool runs with.
#pragma once

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FileKind.h"
#include "Progress.h"
#include "Tool.h"
#include "platform/CPathObj.h"
#include "support/TempDir.h"

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

// Every test of the tool runs with an empty settings folder and stderr
// taken for a pipe.
class ToolSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    telio::SetSpecialFolder(2, settings_.path().c_str());
    telio_tool::SetStderrIsTerminal(0);
  }
  void TearDown() override {
    telio::SetSpecialFolder(2, nullptr);
    telio_tool::SetStderrIsTerminal(-1);
  }

  TempDir settings_;
};

}  // namespace telio_test
