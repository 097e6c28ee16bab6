// `telio demo`: writes a sample job, reads it back, checks and summarises it.
#pragma once

#include <string>

#include "FileKind.h"

namespace telio_tool {

struct DemoOptions {
  int nodes = 2000;
  int cases = 4;
  std::string keep;  // a folder to write the job into and keep; empty: a temporary one
};

int RunDemo(const DemoOptions& demo, const ToolOptions& opt);

}  // namespace telio_tool
