#include "Progress.h"

#include <cstdio>
#include <iostream>
#include <utility>

#ifdef _WIN32
#include <io.h>
#define TELIO_ISATTY _isatty
#define TELIO_FILENO _fileno
#else
#include <unistd.h>
#define TELIO_ISATTY isatty
#define TELIO_FILENO fileno
#endif

namespace telio_tool {

namespace {

int g_terminalAnswer = -1;

constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

}  // namespace

bool StderrIsTerminal() {
  if (g_terminalAnswer >= 0) return g_terminalAnswer != 0;
  return TELIO_ISATTY(TELIO_FILENO(stderr)) != 0;
}

void SetStderrIsTerminal(int answer) { g_terminalAnswer = answer; }

ProgressLine::ProgressLine(std::string command)
    : prefix_("telio: " + std::move(command) + ": "), on_(StderrIsTerminal()) {}

ProgressLine::~ProgressLine() { Clear(); }

void ProgressLine::Show(const std::string& what, long long done, long long total) {
  if (!on_) return;
  const auto now = std::chrono::steady_clock::now();
  const bool newStep = !shown_ || what != lastWhat_;
  const bool last = total > 0 && done >= total;
  if (!newStep && !last && now - last_ < kRedrawEvery) return;
  last_ = now;
  lastWhat_ = what;
  std::string line = prefix_ + what;
  if (total > 0) {
    line += " (" + std::to_string(done) + " of " + std::to_string(total) + ")";
  } else if (done > 0) {
    line += " (" + std::to_string(done) + ")";
  }
  const size_t drawn = line.size();
  if (drawn < width_) line.append(width_ - drawn, ' ');
  width_ = drawn;
  std::cerr << '\r' << line << std::flush;
  shown_ = true;
}

void ProgressLine::Clear() {
  if (!shown_) return;
  std::cerr << '\r' << std::string(width_, ' ') << '\r' << std::flush;
  shown_ = false;
  width_ = 0;
  lastWhat_.clear();
}

ProgressFn ProgressLine::Fn() {
  if (!on_) return ProgressFn();
  return [this](const std::string& what, long long done, long long total) { Show(what, done, total); };
}

}  // namespace telio_tool
