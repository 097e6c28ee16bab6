// FileMDP: the file object of a member design project (extension "MDP").
// It owns one members array and stores it in the design project file; it
// also builds a new project from a member-design job (CFileMDD, CFileMDL):
// the job data, the load cases, the members with their sections, grades,
// geometry, forces, restraints and buckling points and, for an MDL job, the
// purlin data of its TGD file.
//
// File layout: the members array record (CMDDMembersArray.h, version 3)
// and nothing else, no header, magic number or trailer:
//   i32 version 3 | CIJobData | CILinkJobData (job path relative to the
//   project) | CISectionLst | CILoadCaseLstSyn | i32 member count N |
//   N x CMDDMember | i32 topology beam count | i32 topology node count |
//   CMDDMemGroupLst
// Every record starts with its own version word (framing of
// framework/Persist.h). The project defaults, the selection, the results
// and the run-time link state are not stored.
//
// Departures, each for this platform or for safety:
//   - Export is atomic (files/ExportFile.h): the record goes to a temporary
//     file that replaces the project only when whole. The job path is made
//     relative to the project's folder even when the project does not exist
//     yet.
//   - Import returns the code of a record that the file ends inside (38) or
//     that cannot be right (1392), or 8 when memory runs out, not only the
//     stream's error indicator; what was read whole is kept and the link is
//     validated all the same.
//   - ImportMDL reads the purlin records from the TGD file beside the MDL
//     job: the project has no path of its own yet at that point.
#pragma once

#include "files/CFileBase.h"
#include "mdd/CFileMDD.h"
#include "mdd/CMDDMembersArray.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace MDD_OBJECTS {

class TELIO_EXPORT FileMDP : public CFileBase {
 public:
  FileMDP();
  // The path, name and extension of other; no members array.
  FileMDP(const FileMDP& other);
  FileMDP& operator=(const FileMDP&) = delete;
  ~FileMDP() override;

  // Close(), then a new members array; a path given is recorded and its
  // file name becomes the job data's. Nonzero when the array exists.
  int NewFile(const char* path) override;
  // Reads a project. 0; 1 when the path is refused; the open's code; 38 /
  // 1392 / 8 as above (8 also when no members array can be made).
  ulong32 Import(const char* path) override;
  // Writes the project to path: 1 without a members array or path; else 0
  // or the code of the failed write (an existing file stays as it was).
  ulong32 Export(const char* path) override;
  // Empties the path and the name and deletes the members array.
  void Close() override;

  // A new project from a member-design job: the reader's nonzero import
  // code, else that of building the project (0; 1 when no members array
  // could be made; 8 when memory ran out).
  virtual int ImportMDD(const char* path);
  virtual int ImportMDL(const char* path);
  // A new project linked to the analysis job jobPath (a project folder
  // NAME.AJF or a file of its set). With a usable link the project's path
  // becomes the job's path with the extension "MDP". 1, or 0 when memory
  // ran out (no members array is left then).
  virtual int NewFileLinked(const char* jobPath);

  // The project, owned by this object; null until NewFile or an import.
  CMDDMembersArray* GetMembersArray() const { return m_members; }

 private:
  // Builds the project from a read job: 0; 13 for a null reader; 1 when no
  // members array could be made; 8 when memory ran out.
  virtual int ImportMDDMDL(CFileMDD* reader);

  CMDDMembersArray* m_members;
};

}  // namespace MDD_OBJECTS
