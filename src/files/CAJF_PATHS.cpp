#include "files/CAJF_PATHS.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/CPathObj.h"
#include "platform/PathCase.h"
#include "platform/Profile.h"

namespace {

const char kSettingsFile[] = "TELMARO.INI";
const char kDirsSection[] = "Dirs";
constexpr int kValueSize = 260;

bool IsExistingFolder(const char* path) {
  if (!path || !*path) return false;
  std::error_code ec;
  return std::filesystem::is_directory(telio::ResolvePathCase(path), ec);
}

bool IsExistingFile(const char* path) {
  if (!path || !*path) return false;
  std::error_code ec;
  return std::filesystem::is_regular_file(telio::ResolvePathCase(path), ec);
}

CString ReadDirsKey(const char* key) {
  CString ini = GetPathIni(CString(), CString(kSettingsFile));
  if (ini.IsEmpty()) return CString();
  char value[kValueSize] = {0};
  GetPrivateProfileStringA(kDirsSection, key, "", value, kValueSize, ini);
  return CString(value);
}

// The folder a key names, or the suite folder's subfolder when the key names
// no existing folder; empty when neither exists.
CString SuiteSubfolder(const char* key, const char* subfolder) {
  CString value = ReadDirsKey(key);
  if (IsExistingFolder(value)) return CString(CPathObj(value).GetFullPath());
  CString suite = GetTelmaroDir();
  if (suite.IsEmpty()) return CString();
  CPathObj p(suite);
  p.AppendFile(subfolder);
  return IsExistingFolder(p.GetFullPath()) ? CString(p.GetFullPath()) : CString();
}

}  // namespace

CAJF_PATHS::CAJF_PATHS(const char* path, const char* name) { Set(path, name, 0); }

CAJF_PATHS::CAJF_PATHS(const CAJF_PATHS& other) { CopyFrom(other); }

CAJF_PATHS& CAJF_PATHS::operator=(const CAJF_PATHS& other) {
  CopyFrom(other);
  return *this;
}

void CAJF_PATHS::CopyFrom(const CAJF_PATHS& other) {
  if (&other == this) return;
  m_givenPath = other.m_givenPath;
  m_name = other.m_name;
  m_parentFolder = other.m_parentFolder;
  m_projectFolder = other.m_projectFolder;
  m_t3l = other.m_t3l;
  m_top = other.m_top;
  m_job = other.m_job;
  m_nam = other.m_nam;
  m_cmi = other.m_cmi;
  m_ace = other.m_ace;
  m_res = other.m_res;
  m_ouc = other.m_ouc;
}

void CAJF_PATHS::Clear() {
  for (CString* s : {&m_givenPath, &m_name, &m_parentFolder, &m_projectFolder, &m_t3l, &m_top,
                     &m_job, &m_nam, &m_cmi, &m_ace, &m_res, &m_ouc}) {
    s->Empty();
  }
}

int CAJF_PATHS::Set(const char* path, const char* name, int validate) {
  Clear();
  if (path) m_givenPath = path;
  if (name) m_name = name;
  if (!GenerateAJFPaths(this)) return 0;
  if (!validate) return 1;
  return ValidatePaths(0) == 0 ? 1 : 0;
}

int CAJF_PATHS::GenerateAJFPaths(CAJF_PATHS* p) {
  if (!p) return 0;
  p->m_parentFolder.Empty();
  const char* name = p->m_name;
  p->m_projectFolder.Format("%s.AJF", name);
  p->m_t3l.Format("%s.T3L", name);
  p->m_top.Format("%s.TOP", name);
  p->m_job.Format("%s.JOB", name);
  p->m_nam.Format("%s.NAM", name);
  p->m_cmi.Format("%s.CMI", name);
  p->m_ace.Format("%s.ACE", name);
  p->m_res.Format("%s.RES", name);
  p->m_ouc.Format("%s.OUC", name);
  if (p->m_givenPath.IsEmpty()) return 1;

  CPathObj path(p->m_givenPath);
  if (!IsExistingFolder(path.GetFullPath())) {
    // The given path named a file inside the project folder; a root folder
    // keeps its separator.
    const std::string folder = path.GetFolder();
    path.SetPath(folder.c_str());
  }
  p->m_projectFolder = path.GetFullPath();
  p->m_parentFolder = path.GetFolder();

  if (p->m_name.IsEmpty()) {
    CString last(path.GetLastComponent());
    const int n = last.GetLength();
    if (n >= 4 && last.Right(4) == ".AJF") last = last.Left(n - 4);
    p->m_name = last;
  }

  path.AppendFile(p->m_name);
  path.AppendEXT("T3L");
  p->m_t3l = path.GetFullPath();
  struct {
    const char* ext;
    CString* field;
  } const rest[] = {{"TOP", &p->m_top}, {"JOB", &p->m_job}, {"NAM", &p->m_nam},
                    {"CMI", &p->m_cmi}, {"ACE", &p->m_ace}, {"RES", &p->m_res},
                    {"OUC", &p->m_ouc}};
  for (const auto& r : rest) {
    path.ChangeEXT(r.ext);
    *r.field = path.GetFullPath();
  }
  return 1;
}

ulong32 CAJF_PATHS::ValidatePaths(int create) {
  if (!IsExistingFolder(m_projectFolder)) {
    if (!create) return static_cast<ulong32>(-1);
    CPathObj folder(m_projectFolder);
    if (!folder.CreateFilePath(0, 0)) return static_cast<ulong32>(-1);
  }
  ulong32 missing = 0;
  for (const CString* file : {&m_t3l, &m_top, &m_job, &m_nam, &m_cmi}) {
    if (IsExistingFile(*file)) continue;
    if (create) {
      std::FILE* f = telio::OpenFile(*file, "ab");
      if (f) {
        std::fclose(f);
        continue;
      }
    }
    ++missing;
  }
  return missing;
}

int CAJF_PATHS::HasResultFile() const { return IsExistingFile(m_res) ? 1 : 0; }

int CAJF_PATHS::IsInTelmaroProjectFolder() const {
  CString projects = CPathObj::RemoveBackSlash(GetTelmaroProjectsDir());
  CString parent = CPathObj::RemoveBackSlash(m_parentFolder);
  // Without a projects folder, or a folder of its own, no project lies in it.
  if (projects.IsEmpty() || parent.IsEmpty()) return 0;
  projects.MakeUpper();
  parent.MakeUpper();
  return projects == parent ? 1 : 0;
}

CString GetPathIni(CString folder, CString fileName) {
  CPathObj path;
  if (folder.IsEmpty()) {
    if (!path.SetPathSpecial(kPathSpecialDefault)) return CString();
  } else {
    path.SetPath(folder);
  }
  path.AppendFile(fileName);
  return IsExistingFile(path.GetFullPath()) ? CString(path.GetFullPath()) : CString();
}

CString GetTelmaroDir() {
  CString value = ReadDirsKey("Telmaro");
  return IsExistingFolder(value) ? CString(CPathObj(value).GetFullPath()) : CString();
}

CString GetTelmaroProjectsDir() { return SuiteSubfolder("Projects", "Projects"); }

CString GetTelmaroUserModDir() { return SuiteSubfolder("Usermode", "UserMod"); }

CString GetTelmaroBinDir() {
  CString suite = GetTelmaroDir();
  if (!suite.IsEmpty()) {
    CPathObj p(suite);
    p.AppendFile("Bin");
    if (IsExistingFolder(p.GetFullPath())) return CString(p.GetFullPath());
  }
  CPathObj special;
  if (!special.SetPathSpecial(kPathSpecialDefault)) return CString();
  special.AppendFile("Bin");
  return IsExistingFolder(special.GetFullPath()) ? CString(special.GetFullPath()) : CString();
}

CString GetTelmaroBinDataDir() {
  CString bin = GetTelmaroBinDir();
  if (bin.IsEmpty()) return CString();
  CPathObj p(bin);
  p.AppendFile("Data");
  return IsExistingFolder(p.GetFullPath()) ? CString(p.GetFullPath()) : CString();
}
