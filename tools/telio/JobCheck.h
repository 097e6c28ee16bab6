// `telio check`: reads every file of an analysis job that is present and
// cross-checks the counts the files must share.
//
// What must agree:
//   - the model (T3L) and the topology (TOP): nodes, beams, supports,
//     sections, physical beams and static load cases;
//   - the topology's composite sections and the composite-section file;
//   - the static load cases and the names (NAM) and the run control's
//     per-case records (JOB);
//   - the dynamic names (DYN) and the counts of TOP, DCM and DEN;
//   - the combinations (CMI): every term names a static load case; the
//     active combinations (ACE) lie among them;
//   - the static results (RES): the file holds exactly the blocks of the
//     topology's nodes, supports and beams for every load result;
//   - the intermediate-point results (OUC): one load case per load result,
//     no more beam blocks than beams, and the table length that the run
//     control's EAK flag calls for.
// The model, topology, run-control, names and combinations files must be
// there; the others are checked when present.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Progress.h"
#include "platform/Types.h"

namespace telio_tool {

struct CheckFinding {
  std::string file;     // the kind of the file the finding is about ("RES")
  std::string code;     // snake_case: no_project, missing_file, read_error,
                        // count_mismatch, size_mismatch, bad_reference
  std::string message;  // one line for people
  ulong32 error = 0;    // the library's code for read_error, else 0
  std::string path;     // the file's path, when it is one file's fault
};

struct CheckedFile {
  std::string kind;
  std::string path;
  bool present = false;
  bool read = false;
  ulong32 error = 0;
  std::vector<std::pair<std::string, long long>> counts;  // snake_case names
};

struct JobCheckReport {
  std::string project;  // the project folder
  std::string name;
  std::vector<CheckedFile> files;
  std::vector<CheckFinding> findings;
  bool Clean() const { return findings.empty(); }
  // The file entry of a kind, or null.
  const CheckedFile* File(const std::string& kind) const;
  // Findings with this code (any file when file is empty).
  int Count(const std::string& code, const std::string& file = std::string()) const;
};

// path: the project folder NAME.AJF or a file inside it. progress hears
// of each file as it is read.
JobCheckReport CheckJob(const std::string& path, const ProgressFn& progress = ProgressFn());

}  // namespace telio_tool
