// `telio topology FILE.TOP`: the topology model opened as the analysis
// readers see it (counts, sections with their catalogue names and keys after
// resolution, composite sections from the CS companion).
#pragma once

#include <string>

#include "FileKind.h"

namespace telio_tool {

// Exit status 0, or 1 when the topology cannot be opened.
int RunTopology(const std::string& path, const ToolOptions& opt);

}  // namespace telio_tool
