// `telio sections`: the section catalogue of a suite data folder, with the
// properties computed from each section's dimensions; with --key F,P,ID the
// section object the section bridge builds for that catalogue key (family
// F, sub-number P, catalogue key ID), with its keyed values and the section
// data it converts to.
#pragma once

#include <string>

#include "FileKind.h"

namespace telio_tool {

// family: only sections of this family id; 0 for all. key: "F,P,ID", or
// empty for the catalogue list.
int RunSections(const ToolOptions& opt, int family, const std::string& key = std::string());

}  // namespace telio_tool
