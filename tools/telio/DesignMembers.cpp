#include "DesignMembers.h"

#include <filesystem>

#include "mdd/CMemberValidation.h"
#include "platform/CString.h"

namespace telio_tool {

using GE_::Safe::PtrStrong;
using MDD_OBJECTS::CMDDMember;
using MDD_OBJECTS::CMDDMembersArray;

int ImportDesignJob(MDD_OBJECTS::FileMDP& mdp, const std::string& path) {
  // The extension as the tool reads one: after trailing separators.
  size_t end = path.size();
  while (end > 1 && (path[end - 1] == '/' || path[end - 1] == '\\')) --end;
  const bool mdl = end >= 4 && CString(path.substr(end - 4, 4).c_str()).CompareNoCase(".MDL") == 0;
  const int code = mdl ? mdp.ImportMDL(path.c_str()) : mdp.ImportMDD(path.c_str());
  if (code == 0 && mdp.GetMembersArray()->IsValidLink()) mdp.GetMembersArray()->LinkIPsLCValuesToAllMembers();
  return code;
}

std::string AbsoluteJobPath(const std::string& path) {
  std::error_code ec;
  const std::string full = std::filesystem::absolute(path, ec).lexically_normal().string();
  return ec ? path : full;
}

int AddMemberOverBeams(CMDDMembersArray& project, const std::vector<const TOPOStructs::BEAM_REC*>& beams) {
  PtrStrong<CMDDMember> member(new CMDDMember);
  for (const TOPOStructs::BEAM_REC* b : beams) {
    if (b) CMDDMembersArray::AppendTopologyBeam(*member, *b);
  }
  if (member->GetCountInternalBeams() == 0) return -1;
  MD_TOOLS::CMemberValidation::UpdateBeamNodeNamesFromTopology(member.GetPtr(), project.GetTopoRec(), 0);
  const int index = project.AddMember(member);
  project.UpdateMemberSectionFromTopology(index);
  return index;
}

int AddMembersFromPhysicalBeams(CMDDMembersArray& project, const ProgressFn& progress) {
  const TOPOStructs::TOPO_REC* topo = project.GetTopoRec();
  if (!topo) return 0;
  int made = 0;
  for (const TOPOStructs::CURPHBM_REC* p = topo->physBeams; p; p = p->next) {
    std::vector<const TOPOStructs::BEAM_REC*> beams;
    for (int i = 0; i < p->beamCount; ++i) beams.push_back(p->beams ? p->beams[i] : nullptr);
    if (AddMemberOverBeams(project, beams) >= 0) ++made;
    if (progress) progress("members from physical beams", p->index, topo->physBeamCount);
  }
  if (progress) progress("forces of the members", 0, 0);
  project.LinkIPsLCValuesToAllMembers();
  return made;
}

std::vector<MemberFinding> ValidateMembers(CMDDMembersArray& project) {
  std::vector<MemberFinding> out;
  if (!project.IsValidLink()) return out;
  for (int i = 0; i < project.GetCountMembers(); ++i) {
    const PtrStrong<CMDDMember> m = project.MemberAt(i);
    const int code = MD_TOOLS::CMemberValidation(m.GetPtr(), project.GetTopoRec()).ValidateLinkMember();
    if (code != MD_TOOLS::kMemberValid) {
      out.push_back({i, m.IsNull() ? std::string() : std::string(m->Name().GetString()), code});
    }
  }
  return out;
}

}  // namespace telio_tool
