// `telio sections`: the section catalogue of a suite data folder, with the
// properties computed from each section's dimensions.
#pragma once

#include "FileKind.h"

namespace telio_tool {

// family: only sections of this family id; 0 for all.
int RunSections(const ToolOptions& opt, int family);

}  // namespace telio_tool
