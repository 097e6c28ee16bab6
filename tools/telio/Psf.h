// `telio psf [FILE]`: the sets of partial safety factors of a PSF file (the
// suite folder's EC3.PSF by default), each with its 19 factors.
#pragma once

#include <string>

#include "FileKind.h"

namespace CLI {
class App;
}

namespace telio_tool {

// Registers the command (FILE optional, --suffix S for the name keys);
// main runs it when the returned subcommand is given.
CLI::App* AddPsfCommand(CLI::App& app, std::string& file, ToolOptions& opt);

// Exit status 0, or 1 when the file does not exist.
int RunPsf(const std::string& path, const ToolOptions& opt);

}  // namespace telio_tool
