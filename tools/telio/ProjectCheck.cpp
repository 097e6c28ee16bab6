#include "ProjectCheck.h"

#include "DesignProject.h"
#include "FileKind.h"
#include "mdd/CMemberValidation.h"
#include "mdd/FileMDP.h"
#include "platform/LastError.h"

namespace telio_tool {

bool IsDesignProjectPath(const std::string& path) { return UpperExtension(path) == "MDP"; }

JobCheckReport CheckDesignProject(const std::string& path) {
  JobCheckReport report;
  report.project = path;
  CheckedFile file;
  file.kind = "MDP";
  file.path = path;
  MDD_OBJECTS::FileMDP mdp;
  const ulong32 code = mdp.Import(path.c_str());
  MDD_OBJECTS::CMDDMembersArray* project = mdp.GetMembersArray();
  file.present = code != telio::kErrorFileNotFound;
  file.read = code == 0;
  file.error = code;
  if (code != 0 || !project) {
    report.findings.push_back({"MDP", "read_error", telio::SystemErrorMessage(code), code, path});
    report.files.push_back(file);
    return report;
  }
  report.name = AnsiToUtf8(project->GetJobData()->ProjectName().GetString());
  file.counts = {{"members", project->GetCountMembers()},
                 {"groups", project->GetGroups().IsNull() ? 0 : project->GetGroups()->Count()},
                 {"load_cases", project->GetLoadCaseLst() ? project->GetLoadCaseLst()->GetCount() : 0}};
  report.files.push_back(file);
  const TELMARO_DATA_OBJECTS::CILinkJobData& link = *project->GetLinkJobData();
  if (link.Link() != 0 && (!project->IsValidLink() || !project->GetTopoRec())) {
    report.findings.push_back({"MDP", "bad_link",
                               "the linked analysis job " + AnsiToUtf8(link.LinkJobPath().GetString()) +
                                   " cannot be used; no member was validated",
                               0, path});
    return report;
  }
  for (const MemberFinding& f : ValidateMembers(*project)) {
    report.findings.push_back({"MDP", "invalid_member",
                               "member " + AnsiToUtf8(f.name.c_str()) + " (" + std::to_string(f.index + 1) + "): " + std::to_string(f.code) +
                                   ": " + MD_TOOLS::ValidationMessage(f.code),
                               0, path});
  }
  return report;
}

}  // namespace telio_tool
