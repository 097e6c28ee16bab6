#include "DesignMembers.h"

#include <cctype>
#include <filesystem>

#include "mdd/CMemberValidation.h"

namespace telio_tool {

using GE_::Safe::PtrStrong;
using MDD_OBJECTS::CMDDMember;
using MDD_OBJECTS::CMDDMembersArray;

int ImportDesignJob(MDD_OBJECTS::FileMDP& mdp, const std::string& path) {
  std::string name = path;
  while (name.size() > 1 && (name.back() == '/' || name.back() == '\\')) name.pop_back();
  const size_t slash = name.find_last_of("/\\");
  const size_t dot = name.find_last_of('.');
  std::string ext = dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "" : name.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const int code = ext == "MDL" ? mdp.ImportMDL(path.c_str()) : mdp.ImportMDD(path.c_str());
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
