// Members of design projects as the tool (and the Python package) make and
// check them: projects imported from member-design jobs or linked to
// analysis jobs, members over beams of the linked topology, one per
// physical beam, and the validation of every member.
#pragma once

#include <string>
#include <vector>

#include "Progress.h"
#include "mdd/CMDDMembersArray.h"
#include "mdd/FileMDP.h"
#include "topology/TOPO_REC.h"

namespace telio_tool {

// Imports the member-design job at path into mdp: an MDL job when its
// extension says so in any letter case, an MDD job otherwise. A linked job
// whose analysis job can be used then takes every member's forces from it,
// so that the project keeps them for when that job is gone. The import's
// code.
int ImportDesignJob(MDD_OBJECTS::FileMDP& mdp, const std::string& path);

// The analysis job's path made absolute, as a new linked project takes
// it: the project stores it beside the path relative to itself, and a
// load finds the job again through the latter. The path as given when it
// cannot be made absolute.
std::string AbsoluteJobPath(const std::string& path);

// Adds a member over the topology beams given in order (they must follow
// one another on a straight line): each becomes an internal beam named
// after the topology beam, turned to run the member's way; the points take
// the topology's node names; the member gets the default name, its link
// status, and the catalogue section of its first beam's topology section.
// The new member's index, or -1 when no beam could be added.
int AddMemberOverBeams(MDD_OBJECTS::CMDDMembersArray& project, const std::vector<const TOPOStructs::BEAM_REC*>& beams);

// One member per physical beam of the linked topology, then the forces of
// every member's intermediate points. The number of members made.
int AddMembersFromPhysicalBeams(MDD_OBJECTS::CMDDMembersArray& project, const ProgressFn& progress = ProgressFn());

// A member that fails its validation against the linked topology.
struct MemberFinding {
  int index;  // 0-based
  std::string name;  // in the ANSI code page
  int code;   // the validation code (CMemberValidation.h)
};

// Every member that fails validation, in project order; empty for a
// project without a usable link.
std::vector<MemberFinding> ValidateMembers(MDD_OBJECTS::CMDDMembersArray& project);

}  // namespace telio_tool
