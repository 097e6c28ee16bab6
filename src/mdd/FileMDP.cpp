#include "mdd/FileMDP.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

#include "connections/CConElmData_base.h"
#include "files/ExportFile.h"
#include "mdd/CFileMDL.h"
#include "mdd/CMDDBeam.h"
#include "mdd/CMDDLoadCaseValues.h"
#include "mdd/CMDDNode.h"
#include "platform/CException.h"
#include "platform/CPathObj.h"
#include "platform/LastError.h"
#include "platform/PathCase.h"
#include "sections/SectionFamilies.h"
#include "sections/SectionObjectBridge.h"
#include "sections/SteelGrades.h"
#include "topology/CTOPO_REC.h"

namespace MDD_OBJECTS {

using GE_::Safe::PtrStrong;
using GEOMETRY_OBJECTS::CGLine;
using GEOMETRY_OBJECTS::CGPoint;
using TELMARO_DATA_OBJECTS::CIConstraintLst;
using TELMARO_DATA_OBJECTS::CILoadCaseValuesLst;
using TELMARO_DATA_OBJECTS::CILTBLst;
using TELMARO_DATA_OBJECTS::CISectionData;

namespace {

constexpr double kTolerance = 0.001;
// A linked member whose beams make a length this far from the job's keeps
// the job's length on a line of its own.
constexpr double kLinkedLengthSlack = 10.0;
constexpr int kErrorNullReader = 13;

// Families whose section the job does not take from the catalogue; of
// them, the tapered ones keep the job's codes in an empty section.
bool IsTopologyFamily(int f) { return f == 80 || f == 81 || f == 104 || f == 108 || f == 109; }

CGPoint NodePoint(const TOPOStructs::NODE_REC* n) { return CGPoint(n->x, n->y, n->z); }

// A path made absolute, normalised and in the letter case of the folders
// and files that exist: the project's place, and the job's, are compared
// and stored as such texts.
CString FullPath(const CString& path) {
  if (path.IsEmpty()) return path;
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(path.GetString(), ec).lexically_normal();
  if (ec) return path;
  return CString(telio::ResolvePathCase(full.string().c_str()).c_str());
}

// The point of internal beam b at its first (end 0) or second end, or null.
CILoadCaseValuesLst* EndValues(CMDDMember& m, int b, int end) {
  const PtrStrong<CGLine> beam = m.GetInternalBeamAt(b);
  if (beam.IsNull() || beam->GetCountInternalPoints() < 2) return nullptr;
  auto* node = dynamic_cast<CMDDNode*>(beam->GetInternalPointAt(end == 0 ? 0 : 1).GetPtr());
  return node ? node->GetLoadCaseValuesLst() : nullptr;
}

// The member's beams from the analysis beams at its positions.
void LinkedGeometry(CMDDMember& m, CFileMDD& job, const TOPOStructs::TOPO_REC* topo, int i, int count) {
  const int first = job.GetBeamsPerMemberPos(i);
  for (int p = 0; p < count && topo; ++p) {
    const TOPOStructs::BEAM_REC* b = CTOPO_REC::GetBeam(topo->beams, job.BeamsPerMemberPos(first + p));
    if (b) CMDDMembersArray::AppendTopologyBeam(m, *b);
  }
}

// The member on the x axis, one beam for each pair of positions of its
// first load case.
void OwnGeometry(CMDDMember& m, CFileMDD& job, int i) {
  const CFileMDD::MemLCData& data = *job.GetMemLCData();
  if (i >= data.GetSize() || data[i].GetSize() == 0) return;
  const CArrayEx<CArrayEx<float>>& positions = data[i][0];
  for (int p = 0; p + 1 < positions.GetSize(); p += 2) {
    if (positions[p].GetSize() < 1 || positions[p + 1].GetSize() < 1) continue;
    PtrStrong<CMDDBeam> beam(new CMDDBeam);
    beam->SetBeam(CGPoint(positions[p][0], 0, 0), CGPoint(positions[p + 1][0], 0, 0), CString(), 0, 0);
    m.AddInternalBeam(PtrStrong<CGLine>(beam));
  }
}

// The forces of the MLC positions: position p gives the first (even p) or
// second point of beam p / 2.
void OwnForces(CMDDMember& m, CFileMDD& job, int i, int loadCases) {
  const CFileMDD::MemLCData& data = *job.GetMemLCData();
  if (i >= data.GetSize()) return;
  for (int c = 0; c < loadCases && c < data[i].GetSize(); ++c) {
    for (int p = 0; p < data[i][c].GetSize(); ++p) {
      const CArrayEx<float>& k = data[i][c][p];
      CILoadCaseValuesLst* values = EndValues(m, p / 2, p % 2);
      auto* forces = values ? dynamic_cast<CMDDLoadCaseValues*>(values->CreateLCValuesFor(c)) : nullptr;
      if (forces && k.GetSize() >= CFileMDD::kKinds) forces->SetValues(k[1], k[2], k[3], k[4], k[5], k[6]);
    }
  }
}

// The distance of job node n from the member's start; false without the
// node.
bool NodeDistance(CFileMDD& job, const CMDDMember& m, int n, double* d, CGPoint* at) {
  const TOPOStructs::NODE_REC* node = job.GetNode(n);
  if (!node) return false;
  *at = NodePoint(node);
  *d = at->GetDistanceFromPoint(m.SPoint());
  return true;
}

// The restraints of set s (0 XY, 1 XZ) of member i.
void Restraints(CMDDMember& m, CFileMDD& job, int i, int s) {
  const CFileMDD::RestraintWords& words = *job.GetConstraintsX(s);
  const CFileMDD::Restraints& records = *job.GetConstraints(s);
  const PtrStrong<CIConstraintLst> list = s == 0 ? m.GetConstraintXYLst() : m.GetConstraintXZLst();
  if (list.IsNull() || i >= words.GetSize() || words[i].GetSize() == 0) return;
  const int k = words[i][0];
  const int have = i < records.GetSize() ? records[i].GetSize() : 0;
  for (int j = 0; j < k && j + 1 < words[i].GetSize() && j < have; ++j) {
    double d = 0;
    CGPoint at;
    if (!NodeDistance(job, m, words[i][j + 1], &d, &at)) continue;
    if (j == 0 && at.GetDistanceFromPoint(m.SPoint()) <= kTolerance) list->RemoveConstraintsAtDistance(0.0);
    if (j == k - 1 && at.GetDistanceFromPoint(m.EPoint()) <= kTolerance) list->RemoveConstraintsAtDistance(m.Length());
    const MDDStrucst::CONSTRAINT& r = records[i][j];
    const int kind = r.Kind() == 5 && r.Byte(13) != 0 ? 6 : r.Kind();
    list->AddConstraintFromOld(d, kind, r.Eta());
  }
  list->ResetConstraintsData();
  for (int j = 0; j < have; ++j) {
    TELMARO_DATA_OBJECTS::CIConstraintData* data = list->GetConstraintDataAt(j);
    if (!data || data->IsLockedConstraintData()) break;
    data->SetFactor(records[i][j].Factor());
  }
}

// The buckling points of member i.
void BucklingPoints(CMDDMember& m, CFileMDD& job, int i) {
  const CArrayEx<MDDStrucst::CONSTRAINTS_LTB>& heads = *job.GetConstraintsLTB();
  const CArrayEx<CArrayEx<MDDStrucst::LTB_CONS>>& points = *job.GetLTBbuf();
  const PtrStrong<CILTBLst> list = m.GetLTBLst();
  if (list.IsNull() || i >= heads.GetSize()) return;
  const int k = heads[i].Count();
  const int have = i < points.GetSize() ? points[i].GetSize() : 0;
  for (int j = 0; j < k && j < MDDStrucst::CONSTRAINTS_LTB::kMaxNodes && j < have; ++j) {
    double d = 0;
    CGPoint at;
    if (!NodeDistance(job, m, heads[i].Node(j), &d, &at)) continue;
    if (j == 0 && at.GetDistanceFromPoint(m.SPoint()) <= kTolerance) list->RemoveLTBAtDistance(0.0);
    if (j == k - 1 && at.GetDistanceFromPoint(m.EPoint()) <= kTolerance) list->RemoveLTBAtDistance(m.Length());
    list->AddLTBFromOld(d, points[i][j].KType(), points[i][j].KwType());
  }
  list->ResetLTBData();
  for (int s = 0; s < list->GetCountLTBData() && s < have; ++s) {
    TELMARO_DATA_OBJECTS::CILTBData* data = list->GetLTBDataAt(s);
    if (!data) continue;
    data->SetK(points[i][s].K());
    data->SetKw(points[i][s].KW());
  }
}

// The section of a job member record.
void Section(CMDDMember& m, CMDDMembersArray& project, const MDDStrucst::BLIST& r) {
  const int family = r.Family();
  const int profile = r.Profile();
  const long32 id = r.SectionId();
  if (IsTopologyFamily(family)) {
    if (!IsTaperedSection(family)) return;
    PtrStrong<CISectionData> section(new CISectionData);
    section->SetSection(static_cast<ulong32>(id), static_cast<ulong32>(family), static_cast<ulong32>(profile));
    section->SetBAnnet(r.Angle());
    m.SetSection(section);
    return;
  }
  if (id == 0 && profile == 0) return;
  PtrStrong<CConElmData_base> obj(new CConElmData_base);
  StoreSMDBSectionID(obj.GetPtr(), family, profile, static_cast<ulong32>(id), nullptr);
  const PtrStrong<CISectionData> catalogue = GetSectionDataFromObj(obj.GetPtr());
  if (catalogue.IsNull()) return;
  project.AddProjectSection(catalogue);
  if (m.GetSection().IsNull()) m.SetSection(new CISectionData);
  m.GetSection()->SetSection(static_cast<ulong32>(id), static_cast<ulong32>(family), static_cast<ulong32>(profile));
  m.GetSection()->SetName(catalogue->Name());
  m.GetSection()->SetBAnnet(r.Angle());
}

}  // namespace

FileMDP::FileMDP() : m_members(nullptr) { SetFileDefExt("MDP"); }

FileMDP::FileMDP(const FileMDP& other) : CFileBase(other), m_members(nullptr) {
  SetFileDefExt(other.GetFileDefExt().GetString());
  if (!other.GetFilePath().IsEmpty()) SetFilePath(other.GetFilePath().GetString(), false);
}

FileMDP::~FileMDP() { Close(); }

void FileMDP::Close() {
  Init();
  delete m_members;
  m_members = nullptr;
}

int FileMDP::NewFile(const char* path) {
  Close();
  try {
    m_members = new (std::nothrow) CMDDMembersArray;
  } catch (CMemoryException*) {
    m_members = nullptr;  // the constructor's own allocations failed
  }
  if (!m_members) telio::SetLastError(telio::kErrorNotEnoughMemory);
  if (m_members && path) {
    SetFilePath(path, false);
    m_members->GetJobData()->SetFileName(GetFileName());
    m_members->SetProjectPath(FullPath(GetFilePath()));
  }
  return m_members ? 1 : 0;
}

int FileMDP::NewFileLinked(const char* jobPath) {
  if (!NewFile(nullptr)) return 0;
  m_members->GetLinkJobData()->SetLink(1);
  try {
    m_members->LinkWithJob(FullPath(CString(jobPath ? jobPath : "")));
  } catch (CMemoryException*) {
    Close();
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return 0;
  }
  if (m_members->IsValidLink()) {
    CPathObj p(m_members->GetLinkJobData()->LinkJobPath().GetString());
    p.ChangeEXT(GetFileDefExt().GetString());
    SetFilePath(p.GetFullPath(), false);
    m_members->SetProjectPath(FullPath(GetFilePath()));
  }
  m_members->GetJobData()->SetFileName(GetFileName());
  return 1;
}

ulong32 FileMDP::Export(const char* path) {
  if (!m_members || !path) return 1;
  if (!SetFilePath(path, false)) return telio::GetLastError();
  telio::ExportFile out(path);
  if (!out.get()) return out.OpenError();
  m_members->GetJobData()->SetFileName(GetFileName());
  // The job path is stored relative to the project's folder, which the
  // temporary file shares; the project itself may not exist yet.
  const CString full = FullPath(GetFilePath());
  const bool exists = CPathObj(path).ExistsPath() != 0;
  m_members->SetProjectPath(exists ? full : FullPath(CString(out.TempPath().c_str())));
  const bool ok = m_members->Serialize(out.get(), false);
  m_members->SetProjectPath(full);
  return out.Commit(ok ? 0 : telio::GetLastError());
}

ulong32 FileMDP::Import(const char* path) {
  if (!NewFile(nullptr)) return telio::kErrorNotEnoughMemory;
  if (!SetFilePath(path, true)) return 1;
  std::FILE* f = telio::OpenFile(GetFilePath().GetString(), "rb");
  if (!f) return telio::GetLastError();
  m_members->SetProjectPath(FullPath(GetFilePath()));
  bool ok;
  try {
    ok = m_members->Serialize(f, true);
  } catch (CMemoryException*) {
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    ok = false;
  }
  m_members->GetJobData()->SetFileName(GetFileName());
  const ulong32 code = ok ? (std::ferror(f) ? telio::StreamErrorCode(f, false) : 0) : telio::GetLastError();
  std::fclose(f);
  return code;
}

int FileMDP::ImportMDD(const char* path) {
  CFileMDD reader;
  const ulong32 code = reader.Import(path);
  if (code != 0) return static_cast<int>(code);
  return ImportMDDMDL(&reader);
}

int FileMDP::ImportMDL(const char* path) {
  CFileMDL reader;
  const ulong32 code = reader.Import(path);
  if (code != 0) return static_cast<int>(code);
  const int built = ImportMDDMDL(&reader);
  if (built != 0) return built;
  CPathObj purlin(path);
  purlin.ChangeEXT("TGD");
  const char* const tgdPath = purlin.GetFullPath();
  // Opened at the first member, so a job without members never touches it.
  bool opened = false;
  std::FILE* tgd = nullptr;
  for (int i = 0; i < m_members->GetSize(); ++i) {
    const CMDDMembersArray::MemberPtr m = m_members->MemberAt(i);
    if (m.IsNull()) continue;
    if (!opened) {
      int failed = 0;
      tgd = CFileMDL::OpenTegida(tgdPath, failed);
      opened = true;
      if (failed != 0) break;  // no record can be read
    }
    MDDStrucst::TEGIDA record;
    std::memset(record.data, 0, sizeof record.data);
    if (tgd) CFileMDL::ReadTegidaRecord(tgd, record, i);  // i >= 0: cannot fail
    std::memcpy(m->PTegida()->GetTegida(), record.data, sizeof record.data);
    m->PTegida()->SetTegidaWord(TELMARO_DATA_OBJECTS::CITegidaData::kTypeOffset, record.Type());
    m->RepairTegida();
  }
  if (tgd) std::fclose(tgd);
  return 0;
}

int FileMDP::ImportMDDMDL(CFileMDD* reader) {
  if (!reader) return kErrorNullReader;
  const CString name = GetFileName();
  if (!NewFile(name.IsEmpty() ? nullptr : name.GetString()) || !m_members) return 1;
  CMDDMembersArray& project = *m_members;
  try {
    const MDDStrucst::NewData4Job job = reader->GetNewData4Job();
    project.GetJobData()->SetJobData(job.ProjectName(), job.Date(), job.Engineer(), CString());
    project.GetLinkJobData()->SetLink(reader->GetOpenJob().Linked() == 1 ? 1 : 0);
    project.LinkWithJob(FullPath(job.JobFolder()));
    const bool linked = project.IsValidLink();

    if (!linked) {
      const MDDStrucst::MLCHEADER head = reader->GetMLCHeader();
      for (int c = 0; c < head.LoadCases() && c < MDDStrucst::MLCHEADER::kMaxLoadCases; ++c) {
        project.AppendLoadCase(head.Name(c), c);
      }
    }

    const TOPOStructs::TOPO_REC* topo = project.GetTopoRec();
    for (int i = 0; i < reader->GetMemberCount(); ++i) {
      const MDDStrucst::BLIST& r = reader->GetMembers()[i];
      CMDDMembersArray::MemberPtr m(new CMDDMember);
      m->SetName(r.Name());
      m->SetHasLTB(r.HasLTB());
      m->SetLinkStatus(project.GetLinkJobData()->Link());
      if (m->GetGrade().IsNull()) m->SetGrade(new TELMARO_DATA_OBJECTS::CIGradeData);
      m->GetGrade()->SetGrade(static_cast<ulong32>(static_cast<long32>(r.Grade())));
      m->GetGrade()->SetName(GetGradeNameTable(r.Grade(), !CMDDMembersArray::IsSpecialFamily(r.Family())));
      Section(*m, project, r);

      const double length = std::fabs(static_cast<double>(r.Length()));
      if (linked) {
        LinkedGeometry(*m, *reader, topo, i, r.BeamCount());
      } else {
        OwnGeometry(*m, *reader, i);
      }
      if (std::fabs(m->Length() - r.Length()) > (linked ? kLinkedLengthSlack : kTolerance)) {
        // The line alone: the member keeps its beams.
        m->CGLine::SetLine(CGPoint(0, 0, 0), CGPoint(length, 0, 0));
      }
      m->SynchronizePointsFromBeamsLst(0);
      m->RepairTegida();
      const int index = project.Add(m);
      project.SynchronizeLCValuesForMember(index);
      if (!linked) OwnForces(*m, *reader, i, project.GetLoadCaseLst()->GetCount());
      Restraints(*m, *reader, i, 0);
      Restraints(*m, *reader, i, 1);
      BucklingPoints(*m, *reader, i);
    }
    project.SynchronizeAnalysisData();
  } catch (CMemoryException*) {
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return static_cast<int>(telio::kErrorNotEnoughMemory);
  }
  project.GetJobData()->SetFileName(GetFileName());
  return 0;
}

}  // namespace MDD_OBJECTS
