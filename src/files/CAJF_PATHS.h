// The file set of an analysis project, and the suite's own folders.
//
// An analysis project is a folder named "<name>.AJF" whose files share the
// project's name and differ by extension. CAJF_PATHS turns a location and a
// name into the full paths of those files and checks that they exist. The
// free functions find the suite's folders through the section "Dirs" of the
// settings file "TELMARO.INI", which lives in the folder that
// CPathObj::SetPathSpecial(2) names (see telio::SetSpecialFolder).
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

class TELIO_EXPORT CAJF_PATHS {
 public:
  // Both may be null. Sets the paths without validating them.
  CAJF_PATHS(const char* path = nullptr, const char* name = nullptr);
  CAJF_PATHS(const CAJF_PATHS& other);
  CAJF_PATHS& operator=(const CAJF_PATHS& other);
  void CopyFrom(const CAJF_PATHS& other);
  void Clear();

  // Takes the location (the project folder or a file inside it) and the
  // project name (null: taken from the folder name) and generates the file
  // set. With validate nonzero, 1 only when the folder and the five
  // essential files exist.
  int Set(const char* path, const char* name, int validate);

  // 0 for a null p, else fills p's fields from its given path and name.
  static int GenerateAJFPaths(CAJF_PATHS* p);

  // (ulong32)-1 when the project folder is missing (and, with create, could
  // not be made); else the number of missing files among the model,
  // topology, run-control, load-case names and combinations files (0 to 5).
  // With create nonzero missing ones are created empty first.
  ulong32 ValidatePaths(int create);

  int HasResultFile() const;
  // Nonzero when the parent folder is the suite's projects folder, ignoring
  // letter case and trailing separators; 0 when either is empty.
  int IsInTelmaroProjectFolder() const;

  const CString& GivenPath() const { return m_givenPath; }
  const CString& Name() const { return m_name; }
  const CString& ParentFolder() const { return m_parentFolder; }
  const CString& ProjectFolder() const { return m_projectFolder; }
  const CString& T3L() const { return m_t3l; }
  const CString& TOP() const { return m_top; }
  const CString& JOB() const { return m_job; }
  const CString& NAM() const { return m_nam; }
  const CString& CMI() const { return m_cmi; }
  const CString& ACE() const { return m_ace; }
  const CString& RES() const { return m_res; }
  const CString& OUC() const { return m_ouc; }

 private:
  CString m_givenPath;
  CString m_name;
  CString m_parentFolder;
  CString m_projectFolder;
  CString m_t3l;
  CString m_top;
  CString m_job;
  CString m_nam;
  CString m_cmi;
  CString m_ace;
  CString m_res;
  CString m_ouc;
};

// The path of fileName in folder (in the settings folder when folder is
// empty), when that file exists (its name may differ in letter case); else
// an empty string.
TELIO_EXPORT CString GetPathIni(CString folder, CString fileName);

// The suite's folders, each empty when it does not exist.
TELIO_EXPORT CString GetTelmaroDir();
TELIO_EXPORT CString GetTelmaroProjectsDir();
TELIO_EXPORT CString GetTelmaroUserModDir();
TELIO_EXPORT CString GetTelmaroBinDir();
TELIO_EXPORT CString GetTelmaroBinDataDir();
