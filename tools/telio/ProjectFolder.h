// `telio info|dump` of a project folder NAME.AJF: the files it holds, each
// with its kind and main counts (info) or its whole summary (dump), their
// sizes and the folder's total.
#pragma once

#include <string>

#include "FileKind.h"

namespace telio_tool {

// True when path names a project folder: its last component ends in
// ".AJF" in any letter case (a trailing separator is allowed).
bool IsProjectFolderPath(const std::string& path);

// Prints the summary. Exit status 0; 1 when the folder does not exist or
// a file in it cannot be read (the summary still lists it, with its code).
int ShowProjectFolder(const std::string& path, const ToolOptions& opt, bool dump);

}  // namespace telio_tool
