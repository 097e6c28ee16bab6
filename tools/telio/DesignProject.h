// Design projects (MDP) as the tool shows them: the summary that `telio
// design`, `telio info` and `telio demo` print, and one member in full.
#pragma once

#include <string>
#include <vector>

#include "DesignMembers.h"
#include "FileKind.h"
#include "mdd/CMDDMembersArray.h"
#include "mdd/FileMDP.h"
#include "topology/TOPO_REC.h"

namespace telio_tool {

// The summary of a project: members, groups, sections, load_cases, linked,
// link_valid, checksum, and the linked job.
Json ProjectSummary(MDD_OBJECTS::CMDDMembersArray& project);

// One member: its beams (with their points and the forces there), points,
// section, grade, restraints and buckling points.
Json MemberJson(MDD_OBJECTS::CMDDMembersArray& project, int index);

}  // namespace telio_tool
