// `telio check PROJECT.MDP`: reads a design project and validates every
// member against the topology of the analysis job it is linked to, in the
// report form of the analysis job check (JobCheck.h).
//
// Finding codes beyond those of JobCheck.h:
//   - bad_link: the project is linked to a job that cannot be used (its
//     files are missing or cannot be read); no member is validated;
//   - invalid_member: one per member that fails its validation, with the
//     validation code and what it means (mdd/CMemberValidation.h).
// An unlinked project has nothing to be validated against: it is clean
// when it reads.
#pragma once

#include <string>

#include "JobCheck.h"

namespace telio_tool {

// True for a path whose extension is MDP (any letter case).
bool IsDesignProjectPath(const std::string& path);

JobCheckReport CheckDesignProject(const std::string& path);

}  // namespace telio_tool
