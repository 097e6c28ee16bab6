// Progress of long work, as one line on stderr that is redrawn in place.
//
// Shown only when stderr is a terminal: a script or a pipe that collects
// stderr sees nothing, so errors stay easy to read there. The line is
// erased when the work ends, before the command prints its result.
//
//   ProgressLine progress("check");
//   for (...) progress.Show("reading " + kind, done, total);
//
// Work that runs inside a library-like function takes a ProgressFn and
// calls it; an empty ProgressFn costs nothing.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace telio_tool {

// what: the step ("writing Job.RES"); done/total: how far, total 0 when
// unknown.
using ProgressFn = std::function<void(const std::string& what, long long done, long long total)>;

// True when stderr is a terminal (or a test said so).
bool StderrIsTerminal();
// Tests: 1 or 0 stands in for the answer; -1 asks the system again.
void SetStderrIsTerminal(int answer);

class ProgressLine {
 public:
  // command: the command's name, the line's prefix ("telio: check: ").
  explicit ProgressLine(std::string command);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // Redraws the line, at most ten times a second; the first step, a new
  // step name and the last count of a step are always drawn.
  void Show(const std::string& what, long long done = 0, long long total = 0);
  // Erases the line (also done by the destructor).
  void Clear();
  // A ProgressFn that draws on this line.
  ProgressFn Fn();

 private:
  std::string prefix_;
  std::string lastWhat_;
  size_t width_ = 0;  // characters drawn, to blank a longer old line
  bool shown_ = false;
  bool on_;
  std::chrono::steady_clock::time_point last_;
};

}  // namespace telio_tool
