// `telio info|dump` for design projects (MDP). info: the counts, the link
// and the checksum; dump: also the load cases, the groups and every member
// (--member M for the M-th, 1-based) with its beams, points, section,
// grade, restraints, buckling points and the forces at its beams' points
// (read from the analysis job when the project is linked).
#include <string>

#include "DesignProject.h"
#include "FileKind.h"
#include "mdd/FileMDP.h"

namespace telio_tool {
namespace {

using MDD_OBJECTS::CMDDMembersArray;
using MDD_OBJECTS::FileMDP;

class KindMDP : public FileKind {
 public:
  const char* Name() const override { return "MDP"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "MDP"; }

  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    FileMDP mdp;
    const unsigned long code = mdp.Import(path.c_str());
    if (mdp.GetMembersArray()) out.update(ProjectSummary(*mdp.GetMembersArray()));
    return code;
  }

  unsigned long Dump(const std::string& path, const ToolOptions& opt, Json& out) override {
    FileMDP mdp;
    const unsigned long code = mdp.Import(path.c_str());
    if (!mdp.GetMembersArray()) return code;
    CMDDMembersArray& project = *mdp.GetMembersArray();
    out.update(ProjectSummary(project));
    if (code != 0) return code;
    CheckChoice(opt.member, 1, project.GetCountMembers(), "member");
    Json cases = Json::array();
    for (int i = 0; project.GetLoadCaseLst() && i < project.GetLoadCaseLst()->GetCount(); ++i) {
      const auto lc = project.GetLoadCaseLst()->GetLoadCaseAt(i);
      if (!lc.IsNull()) cases.push_back(AnsiToUtf8(lc->Name().GetString()));
    }
    out["load_case_names"] = cases;
    Json groups = Json::array();
    for (int g = 0; !project.GetGroups().IsNull() && g < project.GetGroups()->Count(); ++g) {
      const MDD_OBJECTS::CMDDMemGroup* group = project.GetGroups()->GroupAt(g);
      if (!group) continue;
      Json members = Json::array();
      for (int m = 0; m < group->Count(); ++m) members.push_back(AnsiToUtf8(group->MemberNameAt(m).GetString()));
      groups.push_back({{"name", AnsiToUtf8(group->Name().GetString())}, {"options", group->Options()}, {"members", members}});
    }
    out["groups_data"] = groups;
    Json members = Json::array();
    if (opt.member >= 1) {
      members.push_back(MemberJson(project, opt.member - 1));
    } else {
      // One force pass over every member; MemberJson then finds each linked.
      if (project.IsValidLink()) project.LinkIPsLCValuesToAllMembers();
      for (int m = 0; m < project.GetCountMembers(); ++m) members.push_back(MemberJson(project, m));
    }
    out["members_data"] = members;
    return 0;
  }
};

KindRegistrar<KindMDP> reg;

}  // namespace
}  // namespace telio_tool
