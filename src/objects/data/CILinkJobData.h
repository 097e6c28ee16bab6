// CILinkJobData: the link of a design project to the structural-analysis
// job whose results it uses, and the state of that job's files.
#pragma once

#include <cstdio>

#include "framework/PtrStrong.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

// Current record version (1 carried two texts since dropped; 2 holds the
// job name and the related path in their place).
const unsigned int _SerializeVersionCILinkJobData = 2;

// Status bits: set when the file is missing (frozen values).
enum : ulong32 {
  kLinkMissingAJF = 0x01,
  kLinkMissingTOP = 0x02,
  kLinkMissingRES = 0x04,
  kLinkMissingCMI = 0x08,
  kLinkMissingNAM = 0x10,
  kLinkMissingJOB = 0x20,
  kLinkMissingACE = 0x40,
  kLinkMissingOUC = 0x80,
};

class TELIO_EXPORT CILinkJobData : public GE_::Safe::ObjStrong {
 public:
  // Validity values.
  enum : int { kValid = 1, kNoLink = 0, kFilesMissing = -1, kProjectMissing = -2 };

  CILinkJobData();
  CILinkJobData(const CILinkJobData& other) = default;
  CILinkJobData& operator=(const CILinkJobData& other) = default;
  ~CILinkJobData() override;

  static GE_::Safe::PtrStrong<CILinkJobData> GetNewObject();
  GE_::Safe::PtrStrong<CILinkJobData> Clone() const;

  ulong32 Type() const { return m_status; }
  bool IsType(ulong32 mask) const { return (m_status & mask) == mask; }
  void SetType(ulong32 set, ulong32 clear) { m_status = (m_status | set) & ~clear; }

  CString JobName() const { return m_jobName; }
  void SetJobName(const CString& name) { m_jobName = name; }
  CString LinkJobPath() const { return m_linkPath; }
  CString RelatedLinkJobPath() const { return m_relatedPath; }
  ulong32 Kind() const { return m_kind; }
  int Link() const { return m_link; }
  void SetLink(int link) { m_link = link; }
  int Validity() const { return m_validity; }
  int ForcedValid() const { return m_forcedValid; }
  void ForceValid(int forced = 1) { m_forcedValid = forced; }
  bool IsValidLink() const { return m_link == 1 && m_validity == kValid; }

  // The job's files. For a link path that names a project folder NAME.AJF
  // they are the files NAME.EXT inside it; for any other path the path
  // with its extension changed.
  CString RESPath() const { return m_resPath; }
  CString TOPPath() const { return m_topPath; }
  CString CMIPath() const { return m_cmiPath; }
  CString NAMPath() const { return m_namPath; }
  CString JOBPath() const { return m_jobPath; }
  CString ACEPath() const { return m_acePath; }
  CString OUCPath() const { return m_oucPath; }

  // All texts empty, every number 0.
  void ResetLinkJobData();
  // Stores the kind and links to path (SetValidLinkJobDirectory).
  void SetLinkJobData(const CString& path, ulong32 kind);
  // Links to the analysis project file path: clears the link state (status,
  // validity, file paths), records which of the job's files are missing,
  // stores their paths, sets the link and validates it. The job name, the
  // related path and the kind are kept.
  void SetValidLinkJobDirectory(const CString& path);
  // Sets the validity from the status; a missing project file with a
  // non-empty base (the design project's path) starts a search for the
  // job next to the design project.
  void ValidateLinkJobData(const CString& base);
  // The related path becomes the link path relative to base's folder when
  // base exists, else empty.
  void RelateLinkJobPathWith(const CString& base);
  // The related path made absolute against base's folder.
  CString LinkJobPathByRelated(const CString& base) const;

  virtual bool Serialize(FILE* f, bool load);
  virtual ulong32 CheckSum() const;
  // The link path ignoring case, and the kind. False for null.
  virtual bool IsEqualWith(const CILinkJobData* other) const;
  virtual bool CopyFrom(const CILinkJobData* other);
  virtual bool CopyTo(CILinkJobData* other) const;

 protected:
  virtual bool ReadVersion1(FILE* f);
  virtual bool ReadVersion2(FILE* f);
  // Adopts the first existing candidate for a moved job: the related path
  // against base, then the job name with ".AJF" in base's folder.
  void LookForValidLinkPath(const CString& base);

 private:
  void Revalidate();

  ulong32 m_status;
  CString m_jobName;
  CString m_linkPath;
  CString m_relatedPath;
  ulong32 m_kind;
  int m_link;
  int m_validity;
  int m_forcedValid;
  CString m_resPath;
  CString m_topPath;
  CString m_cmiPath;
  CString m_namPath;
  CString m_jobPath;
  CString m_acePath;
  CString m_oucPath;
};

}  // namespace TELMARO_DATA_OBJECTS
