// `telio entities FILE.TOP`: the analysis entity lists made from a topology,
// with the count of each list, what the fill merged or refused, the extent
// of the nodes and the extreme values the model keeps.
#pragma once

#include <string>

#include "FileKind.h"

namespace CLI {
class App;
}

namespace telio_tool {

// Registers the command; main runs it when the returned subcommand is given.
CLI::App* AddEntitiesCommand(CLI::App& app, std::string& file, ToolOptions& opt);

// Exit status 0, or 1 when the topology cannot be opened or filled.
int RunEntities(const std::string& path, const ToolOptions& opt);

}  // namespace telio_tool
