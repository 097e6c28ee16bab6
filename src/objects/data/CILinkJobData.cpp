#include "objects/data/CILinkJobData.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "files/CAJF_PATHS.h"
#include "framework/Persist.h"
#include "platform/CCheckSum.h"
#include "platform/CPathObj.h"
#include "platform/PathCase.h"

namespace TELMARO_DATA_OBJECTS {

namespace {

namespace fs = std::filesystem;

// Existence tests ignore letter case: jobs are copied from Windows.
bool Exists(const CString& path) {
  return !path.IsEmpty() && CPathObj(path.GetString()).ExistsPath() != 0;
}

bool IsFolder(const CString& path) {
  if (!Exists(path)) return false;
  std::error_code ec;
  return fs::is_directory(telio::ResolvePathCase(path.GetString()), ec);
}

// path with its extension replaced (or added) by ext.
CString ChangeExt(const CString& path, const char* ext) {
  CPathObj p(path.GetString());
  p.ChangeEXT(ext);
  return CString(p.GetFullPath());
}

// The folder a design project path stands for: the path itself when it is
// a folder, else its folder part.
CString FolderOf(const CString& base) {
  CPathObj p(base.GetString());
  if (IsFolder(base)) return CString(p.GetFullPath());
  return CString(p.GetFolder());
}

}  // namespace

CILinkJobData::CILinkJobData() { ResetLinkJobData(); }

CILinkJobData::~CILinkJobData() = default;

GE_::Safe::PtrStrong<CILinkJobData> CILinkJobData::GetNewObject() {
  return GE_::Safe::PtrStrong<CILinkJobData>(new CILinkJobData);
}

GE_::Safe::PtrStrong<CILinkJobData> CILinkJobData::Clone() const {
  return GE_::Safe::PtrStrong<CILinkJobData>(new CILinkJobData(*this));
}

void CILinkJobData::ResetLinkJobData() {
  m_status = 0;
  m_jobName.Empty();
  m_linkPath.Empty();
  m_relatedPath.Empty();
  m_kind = 0;
  m_link = 0;
  m_validity = 0;
  m_forcedValid = 0;
  m_resPath.Empty();
  m_topPath.Empty();
  m_cmiPath.Empty();
  m_namPath.Empty();
  m_jobPath.Empty();
  m_acePath.Empty();
  m_oucPath.Empty();
}

void CILinkJobData::SetLinkJobData(const CString& path, ulong32 kind) {
  m_kind = kind;
  SetValidLinkJobDirectory(path);
}

void CILinkJobData::SetValidLinkJobDirectory(const CString& path) {
  m_status = 0;
  m_link = 0;
  m_validity = 0;
  m_forcedValid = 0;
  m_linkPath = path;
  if (!Exists(path)) m_status |= kLinkMissingAJF;
  struct JobFile {
    const char* ext;
    ulong32 bit;
    CString* stored;
  };
  const JobFile files[] = {
      {"RES", kLinkMissingRES, &m_resPath}, {"TOP", kLinkMissingTOP, &m_topPath},
      {"CMI", kLinkMissingCMI, &m_cmiPath}, {"NAM", kLinkMissingNAM, &m_namPath},
      {"JOB", kLinkMissingJOB, &m_jobPath}, {"ACE", kLinkMissingACE, &m_acePath},
      {"OUC", kLinkMissingOUC, &m_oucPath},
  };
  // A project folder NAME.AJF holds its files as NAME.EXT; a path of a
  // file stands beside them.
  const bool folder = IsFolder(path);
  CAJF_PATHS paths;
  if (folder) paths.Set(path.GetString(), nullptr, 0);
  for (const JobFile& file : files) {
    *file.stored = ChangeExt(folder ? paths.T3L() : path, file.ext);
    if (!Exists(*file.stored)) m_status |= file.bit;
  }
  m_link = 1;
  ValidateLinkJobData(CString());
}

void CILinkJobData::ValidateLinkJobData(const CString& base) {
  if (m_link == 0) {
    m_validity = kNoLink;
  } else if (m_status & kLinkMissingAJF) {
    m_validity = kProjectMissing;
  } else if (m_status == 0 || m_status == kLinkMissingACE) {
    m_validity = kValid;  // the combinations file is optional
  } else {
    m_validity = kFilesMissing;
  }
  if (m_validity == kProjectMissing && !base.IsEmpty()) LookForValidLinkPath(base);
}

void CILinkJobData::LookForValidLinkPath(const CString& base) {
  if (IsValidLink() || !(m_status & kLinkMissingAJF)) return;
  CString candidates[3];
  candidates[0] = LinkJobPathByRelated(base);
  if (!m_jobName.IsEmpty()) {
    CPathObj beside(FolderOf(base).GetString());
    beside.AppendFile(m_jobName.GetString());
    beside.ChangeEXT(".AJF");
    candidates[1] = beside.GetFullPath();
    CString projects = GetTelmaroProjectsDir();
    if (!projects.IsEmpty()) {
      CPathObj inProjects(projects.GetString());
      inProjects.AppendFile(m_jobName.GetString());
      inProjects.ChangeEXT("AJF");
      candidates[2] = inProjects.GetFullPath();
    }
  }
  for (const CString& candidate : candidates) {
    if (Exists(candidate)) {
      SetValidLinkJobDirectory(candidate);
      return;
    }
  }
}

void CILinkJobData::RelateLinkJobPathWith(const CString& base) {
  if (base.IsEmpty() || !Exists(base) || m_linkPath.IsEmpty()) {
    m_relatedPath.Empty();
    return;
  }
  m_relatedPath = CPathObj(m_linkPath.GetString()).GetRelativePath(FolderOf(base).GetString());
}

CString CILinkJobData::LinkJobPathByRelated(const CString& base) const {
  if (m_relatedPath.IsEmpty()) return CString();
  return CPathObj(m_relatedPath.GetString()).GetAbsolutePath(FolderOf(base).GetString());
}

// Record (after the version word), texts in the fixed 260-byte form:
//   2: link (4), link path, kind (4), job name, related path
//   1: link (4), link path, kind (4), two texts no longer used
// A linked record is revalidated against the disk after loading.
bool CILinkJobData::Serialize(FILE* f, bool load) {
  CPersist io(f, load);
  ulong32 version = _SerializeVersionCILinkJobData;
  io.Version(version);
  if (!load) {
    io.Int(m_link).FixedText(m_linkPath).UInt32(m_kind).FixedText(m_jobName).FixedText(m_relatedPath);
    return io.ok();
  }
  ResetLinkJobData();
  if (!io.ok()) return false;
  switch (version) {
    case 1:
      return ReadVersion1(f);
    case 2:
      return ReadVersion2(f);
    default:
      return true;  // a later layout: keep the defaults
  }
}

bool CILinkJobData::ReadVersion1(FILE* f) {
  CPersist io(f, true);
  io.Int(m_link).FixedText(m_linkPath).UInt32(m_kind).Reserved(2 * kFixedTextSize);
  Revalidate();
  return io.ok();
}

bool CILinkJobData::ReadVersion2(FILE* f) {
  CPersist io(f, true);
  io.Int(m_link).FixedText(m_linkPath).UInt32(m_kind).FixedText(m_jobName).FixedText(m_relatedPath);
  Revalidate();
  return io.ok();
}

// An unlinked record stays unlinked: revalidating would turn "no link" into
// a link to a missing project.
void CILinkJobData::Revalidate() {
  if (m_link != 0) SetLinkJobData(m_linkPath, m_kind);
}

ulong32 CILinkJobData::CheckSum() const {
  CCheckSum sum;
  sum.AddI32(m_link);
  sum.AddI32(m_validity);
  sum.Add(m_linkPath);
  sum.Add(m_jobName);
  sum.AddU32(m_kind);
  return sum.get();
}

bool CILinkJobData::IsEqualWith(const CILinkJobData* other) const {
  if (!other) return false;
  return m_linkPath.CompareNoCase(other->m_linkPath) == 0 && m_kind == other->m_kind;
}

bool CILinkJobData::CopyFrom(const CILinkJobData* other) {
  if (!other) return false;
  if (other != this) *this = *other;
  return true;
}

bool CILinkJobData::CopyTo(CILinkJobData* other) const {
  if (!other) return false;
  return other->CopyFrom(this);
}

}  // namespace TELMARO_DATA_OBJECTS
