// `telio demo`: writes a sample job, checks it, reads every result back
// through the readers and compares it with the rules that wrote it.
#pragma once

#include <string>

#include "FileKind.h"
#include "SampleJob.h"

namespace telio_tool {

struct DemoOptions {
  SampleJobSize size;
  std::string keep;  // a folder to write the job into and keep; empty: a temporary one
};

int RunDemo(const DemoOptions& demo, const ToolOptions& opt);

}  // namespace telio_tool
