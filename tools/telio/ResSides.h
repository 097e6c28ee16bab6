// Why a static results (RES) file could not be placed. CFileRES::Import
// reads the run control (JOB), the topology (TOP) and the combinations
// (CMI) beside the results file, in that order, and answers 0xFFFFFFFF
// when one of them fails. ResSideFailure reads them again the same way to
// name the one at fault with its own code.
#pragma once

#include <string>

#include "FileKind.h"

namespace telio_tool {

// The first side file that cannot be read, with its code (role "side
// file"); when all three read, the results file itself with 1392: their
// counts cannot lay out a block.
FileFailure ResSideFailure(const std::string& resPath);

}  // namespace telio_tool
