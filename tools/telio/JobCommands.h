// `telio sample` and `telio check`, and what `telio demo` shares with them.
#pragma once

#include <CLI/CLI.hpp>

#include "SampleJob.h"

namespace telio_tool {

// --nodes, --beams, --cases, --combinations, --eak, --seed.
void AddSizeOptions(CLI::App& cmd, SampleJobSize& size);

}  // namespace telio_tool
