// Reads arbitrary bytes as a design project (P.MDP) beside a small analysis
// job (Job.AJF, from fuzz/data/mdp, written by the design tests from the
// layout tables), so a project that names the job relative to itself links
// to it. Each project read is validated member by member and its points'
// forces are taken from the job; now and then one is saved. Nothing may
// crash or read outside a table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "mdd/CMemberValidation.h"
#include "mdd/FileMDP.h"

#include "FuzzScratch.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// The analysis job, copied once beside the project.
void PlaceJob() {
  static const bool placed = [] {
    std::error_code ec;
    std::filesystem::copy(std::string(TELIO_FUZZ_DIR) + "/data/mdp", fuzz_scratch::Folder(),
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing,
                          ec);
    return !ec;
  }();
  if (!placed) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PlaceJob();
  const std::string path = fuzz_scratch::Put("P.MDP", data, size);
  if (path.empty()) return 0;
  MDD_OBJECTS::FileMDP mdp;
  mdp.Import(path.c_str());
  MDD_OBJECTS::CMDDMembersArray* project = mdp.GetMembersArray();
  if (!project) return 0;
  const int members = project->GetCountMembers();
  Check(members >= 0);
  volatile unsigned long sink = project->CheckSum();
  for (int m = 0; m < members && m < 4; ++m) {
    sink = sink + static_cast<unsigned long>(
                      MD_TOOLS::CMemberValidation(project->MemberAt(m).GetPtr(), project->GetTopoRec()).ValidateLinkMember());
    project->LinkIPsLCValuesToMember(m, -1);
    sink = sink + static_cast<unsigned long>(project->GetIPPerLCIndex(m, 0, 1.5));
  }
  Check(project->MemberAt(members).IsNull());
  // Saving is the writers' part; a small project is saved now and then.
  static unsigned runs = 0;
  if (++runs % 16 == 0 && size < 16384) mdp.Export((fuzz_scratch::Folder() + "/Q.MDP").c_str());
  return 0;
}
