#include "SampleMemberJob.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "files/CFileTOP.h"
#include "files/ExportFile.h"
#include "mdd/CFileMDD.h"
#include "mdd/CFileMDL.h"
#include "mdd/MDDStrucst.h"
#include "platform/CodePage.h"
#include "platform/Coding.h"
#include "platform/LastError.h"

namespace telio_tool {

namespace {

using Bytes = std::vector<unsigned char>;
using namespace MDDStrucst;

constexpr int kBeamsInSlot[4] = {1, 2, 3, 3};
constexpr int kFirstInSlot[4] = {0, 1, 3, 6};
constexpr int kRowBeams = 10;
constexpr float kBeamLength = 6.0f;
constexpr int kDb0Codes[6] = {1, 2, 4, 8, 16, 32};
constexpr int kOwnNodes = 4;
constexpr int kOwnType = 11;
constexpr int kLinkedType = 13;

template <class R>
void Put(Bytes& b, const R& record, size_t size = sizeof(R)) {
  b.insert(b.end(), record.data, record.data + size);
}

void Zero(Bytes& b, size_t n) { b.insert(b.end(), n, 0); }

void U16(Bytes& b, unsigned v) {
  unsigned char w[2];
  telio::EncodeFixed16(w, static_cast<uint16_t>(v));
  b.insert(b.end(), w, w + 2);
}

void F32At(Bytes& b, size_t at, float v) { telio::EncodeFloat(b.data() + at, v); }

ulong32 WriteFile(const std::string& path, const Bytes& b) {
  telio::ExportFile out(path.c_str());
  if (!out.get()) return out.OpenError();
  ulong32 code = 0;
  if (!b.empty() && std::fwrite(b.data(), 1, b.size(), out.get()) != b.size()) code = telio::SetLastErrorFromErrno();
  return out.Commit(code);
}

// The parts both jobs share; `firstNode` gives node j of member i.
class JobWriter {
 public:
  JobWriter(const SampleMemberJob& plan, const std::vector<SampleSection>& sections, bool linked)
      : plan_(plan), sections_(sections), linked_(linked) {}

  int Node(int i, int j) const { return linked_ ? plan_.FirstBeam(i) + j : j + 1; }
  float X(int i, int j) const { return linked_ ? plan_.Analysis().X(Node(i, j)) : kBeamLength * static_cast<float>(j); }
  float Y(int i, int j) const { return linked_ ? plan_.Analysis().Y(Node(i, j)) : 0.0f; }
  int Capacity() const { return linked_ ? plan_.Members() + 10 : plan_.Members(); }

  Bytes Mdd(const std::string& jobName, const std::string& folder) const {
    Bytes b;
    unsigned char magic[4];
    telio::EncodeFixed32(magic, CFileMDD::_dwIDTag);
    b.insert(b.end(), magic, magic + 4);
    NewData4Job job;
    std::memset(job.data, 0, sizeof job.data);
    job.SetDeclaredSize(NewData4Job::kSize);
    job.SetType(linked_ ? kLinkedType : kOwnType);
    job.SetMemberCapacity(static_cast<int16_t>(linked_ ? 0 : Capacity()));
    job.SetDefaultCapacity(linked_ ? Capacity() : 0);
    job.SetJobName(jobName.c_str());
    job.SetJobFolder(folder.c_str());
    Put(b, job);
    OPENJOB open;
    std::memset(open.data, 0, sizeof open.data);
    open.SetLinked(linked_ ? 1 : 0);
    open.SetMemberCount(static_cast<int16_t>(plan_.Members()));
    open.SetVersion(linked_ ? OPENJOB::kExtensionVersion : 2);
    Put(b, open);
    if (linked_) Zero(b, OPENJOB::kExtensionSize);
    const int sc = static_cast<int>(sections_.size());
    for (int i = 1; i <= plan_.Members(); ++i) {
      const SampleSection& s = sections_[static_cast<size_t>(plan_.Analysis().BeamSection(plan_.FirstBeam(i), sc) - 1)];
      BLIST m;
      std::memset(m.data, 0, sizeof m.data);
      m.SetName(("M" + std::to_string(i)).c_str());
      m.SetLength(plan_.Length(i));
      m.SetFamily(static_cast<int8_t>(s.family));
      m.SetGrade(1);
      m.SetBeamCount(static_cast<int16_t>(plan_.BeamCount(i)));
      m.SetHasLTB(1);
      m.SetSectionId(static_cast<long32>(s.key));
      Put(b, m, linked_ ? BLIST::kSize : BLIST::kShortSize);
    }
    for (int i = 1; i <= plan_.Members(); ++i) {
      for (int j = 0; j < plan_.BeamCount(i); ++j) U16(b, static_cast<unsigned>(linked_ ? plan_.FirstBeam(i) + j : j + 1));
    }
    for (int i = 1; i <= plan_.Members(); ++i) {
      for (int j = 0; j <= plan_.BeamCount(i); ++j) {
        Point3D p;
        p.Set(X(i, j), Y(i, j), 0.0f);
        Put(b, p);
      }
    }
    return b;
  }

  Bytes Cns() const {
    Bytes b;
    for (int i = 1; i <= plan_.Members(); ++i) {
      const int c = plan_.BeamCount(i);
      U16(b, static_cast<unsigned>(c + 1));
      for (int j = 0; j < CFileMDD::kRestraintWords - 1; ++j) U16(b, j <= c ? static_cast<unsigned>(Node(i, j)) : 0);
      U16(b, 2);
      U16(b, static_cast<unsigned>(Node(i, 0)));
      U16(b, static_cast<unsigned>(Node(i, c)));
      Zero(b, 2 * (CFileMDD::kRestraintWords - 3));
    }
    Zero(b, static_cast<size_t>(CFileMDD::kCnsSlot) * static_cast<size_t>(Capacity() - plan_.Members()));
    for (int i = 1; i <= plan_.Members(); ++i) {
      for (int s = 0; s < 2; ++s) {
        const int count = s == 0 ? plan_.BeamCount(i) + 1 : 2;
        for (int j = 0; j < CFileMDD::kRestraintsPerSet; ++j) {
          CONSTRAINT r;
          std::memset(r.data, 0, sizeof r.data);
          if (j < count) {
            r.SetKind(static_cast<uint8_t>(1 + 2 * ((i + j + s) % 3)));
            r.SetEta(0.25f * static_cast<float>(j % 5));
            r.SetFactor(1.0f + static_cast<float>(j) / 4.0f);
          }
          Put(b, r, CONSTRAINT::kFileSize);
        }
      }
    }
    return b;
  }

  Bytes Ltb() const {
    Bytes b;
    for (int i = 1; i <= plan_.Members(); ++i) {
      CONSTRAINTS_LTB m;
      std::memset(m.data, 0, sizeof m.data);
      m.SetCount(static_cast<int16_t>(plan_.BeamCount(i) + 1));
      for (int j = 0; j <= plan_.BeamCount(i); ++j) m.SetNode(j, static_cast<int16_t>(Node(i, j)));
      Put(b, m);
      Zero(b, static_cast<size_t>(CFileMDD::kCnsSlot) - CONSTRAINTS_LTB::kSize);
    }
    Zero(b, static_cast<size_t>(CFileMDD::kCnsSlot) * static_cast<size_t>(Capacity() - plan_.Members()));
    for (int i = 1; i <= plan_.Members(); ++i) {
      for (int j = 0; j <= plan_.BeamCount(i); ++j) {
        LTB_CONS p;
        std::memset(p.data, 0, sizeof p.data);
        p.SetKType(static_cast<int8_t>(1 + j % 2));
        p.SetKwType(static_cast<int8_t>(2 - j % 2));
        p.SetK(1.0f - static_cast<float>(j) / 8.0f);
        p.SetKW(1.0f);
        Put(b, p);
      }
      Zero(b, static_cast<size_t>(CFileMDD::kLtbBlock) - LTB_CONS::kSize * static_cast<size_t>(plan_.BeamCount(i) + 1));
    }
    return b;
  }

  Bytes Db0() const {
    Bytes b(CFileMDD::kDb0Header, 0);
    for (int i = 1; i <= plan_.Members(); ++i) {
      for (int t = 0; t < 6; ++t) {
        for (unsigned v : {static_cast<unsigned>(kDb0Codes[t]), static_cast<unsigned>(i), 1u, 1u}) U16(b, v);
        Zero(b, 4);
        F32At(b, b.size() - 4, static_cast<float>(t + 1) + static_cast<float>(plan_.BeamCount(i)) / 4.0f);
      }
    }
    return b;
  }

  // A header-only MLC (linked) or one with the own forces.
  Bytes Mlc(int cases, bool forces) const {
    const int members = plan_.Members();
    Bytes b;
    U16(b, static_cast<unsigned>(cases));
    U16(b, static_cast<unsigned>(members));
    for (int c = 0; c < cases; ++c) {
      char name[MLCHEADER::kNameSize] = {};
      std::snprintf(name, sizeof name, "Load case %d", c + 1);
      CharToOemA(name, name);
      b.insert(b.end(), name, name + sizeof name);
    }
    if (!forces) return b;
    b.resize(static_cast<size_t>(CFileMDD::kMlcBlocksAt) + static_cast<size_t>(CFileMDD::kMlcMemberArea) * (members - 1) +
                 static_cast<size_t>(CFileMDD::kMlcBlock) * static_cast<size_t>(cases),
             0);
    for (int i = 1; i <= members; ++i) {
      telio::EncodeFixed16(b.data() + CFileMDD::kMlcCountsAt + 2 * (i - 1), static_cast<uint16_t>(plan_.Positions(i)));
      for (int c = 1; c <= cases; ++c) {
        const size_t block = static_cast<size_t>(CFileMDD::kMlcBlocksAt) +
                             static_cast<size_t>(CFileMDD::kMlcMemberArea) * static_cast<size_t>(i - 1) +
                             static_cast<size_t>(CFileMDD::kMlcBlock) * static_cast<size_t>(c - 1);
        const int n = plan_.Positions(i);
        for (int kind = 0; kind < CFileMDD::kKinds; ++kind) {
          for (int p = 0; p < n; ++p) F32At(b, block + 4 * static_cast<size_t>(kind * n + p), plan_.OwnValue(i, c, p, kind));
        }
      }
    }
    return b;
  }

 private:
  const SampleMemberJob& plan_;
  const std::vector<SampleSection>& sections_;
  bool linked_;
};

Bytes Tgd(const SampleMemberJob& plan) {
  Bytes b(CFileMDL::kTgdHeader, 0);
  for (int i = 1; i <= plan.Members(); ++i) {
    const size_t at = b.size();
    b.resize(at + CFileMDL::kTgdRecord, 0);
    unsigned char* r = b.data() + at;
    const int c = plan.BeamCount(i);
    telio::EncodeFixed16(r, static_cast<uint16_t>(1 + (i - 1) % 3));
    telio::EncodeFloat(r + 2, plan.Length(i));
    telio::EncodeFloat(r + 7, 0.5f);
    telio::EncodeFloat(r + 11, static_cast<float>(c) + 0.5f);
    telio::EncodeFixed16(r + 15, static_cast<uint16_t>(c + 1));
    telio::EncodeFloat(r + 17 + 4, plan.Length(i));
    for (int k = 1; k <= c + 1; ++k) {
      telio::EncodeFloat(r + 137 + 4 * k, kBeamLength * static_cast<float>(k - 1));
      r[3341 + k] = 1;
    }
    std::memcpy(r + 4142, "PURLIN", 6);
  }
  return b;
}

// The own job's topology: a chain of three beams along x.
ulong32 WriteOwnTopology(const std::vector<SampleSection>& sections, const std::string& path) {
  CFileTOP top;
  TOPO_CURDIMS_REC& rec = *top.GetTOPO_CURDIMS_REC();
  rec.SetNodeCount(kOwnNodes);
  rec.SetBeamCount(kOwnNodes - 1);
  rec.SetSupportCount(1);
  rec.SetSectionCount(1);
  rec.SetFlag3D(0);
  if (!CFileTOP::AllocateArrays(&rec)) return telio::kErrorNotEnoughMemory;
  for (int n = 1; n <= kOwnNodes; ++n) {
    rec.nodes[n - 1].SetLabel(static_cast<int16_t>(n));
    rec.nodes[n - 1].SetX(kBeamLength * static_cast<float>(n - 1));
  }
  rec.nodes[0].SetRestraint(1);
  rec.supports[0].SetNode(1);
  for (int b = 1; b < kOwnNodes; ++b) {
    rec.beams[b - 1].SetSection(1);
    rec.beams[b - 1].SetLabel(static_cast<int16_t>(b));
    rec.beams[b - 1].SetStartNode(static_cast<uint16_t>(b));
    rec.beams[b - 1].SetEndNode(static_cast<uint16_t>(b + 1));
  }
  TOP_SEC& s = rec.sections[0];
  s.SetName(sections.front().name.c_str());
  s.SetFamily(static_cast<int16_t>(sections.front().family));
  s.SetKey(sections.front().key);
  return top.Export(path.c_str());
}

std::string WithExt(const std::string& path, const char* ext) { return path.substr(0, path.size() - 3) + ext; }

}  // namespace

SampleMemberJob::SampleMemberJob(const SampleJobSize& size, int members) : job_(size), members_(members) {}

std::string SampleMemberJob::Validate(const SampleJobSize& size, int members) {
  if (members < 1 || members > kSampleMaxMembers) return "members must be 1 to 200";
  const SampleMemberJob plan(size, members);
  const int last = plan.FirstBeam(members) + plan.BeamCount(members) - 1;
  if (last > std::min(size.beams, size.nodes - 1)) {
    return std::to_string(members) + " members need " + std::to_string(last) + " beams joining " +
           std::to_string(last + 1) + " nodes in a row";
  }
  return std::string();
}

int SampleMemberJob::BeamCount(int member) const { return kBeamsInSlot[(member - 1) % 4]; }

int SampleMemberJob::FirstBeam(int member) const {
  return kRowBeams * ((member - 1) / 4) + 1 + kFirstInSlot[(member - 1) % 4];
}

int SampleMemberJob::OwnCases() const { return std::min(job_.StaticCases(), kSampleMaxOwnCases); }

int SampleMemberJob::LinkedCases() const { return std::min(job_.StaticCases(), MLCHEADER::kMaxLoadCases); }

float SampleMemberJob::OwnValue(int member, int c, int p, int kind) const {
  if (kind == 0) return kBeamLength * static_cast<float>((p + 1) / 2);
  return job_.Force(c - 1, FirstBeam(member) + p / 2, p % 2, kind - 1);
}

MemberJobPaths SampleMemberJobPaths(const std::string& parentFolder, const std::string& name) {
  namespace fs = std::filesystem;
  MemberJobPaths p;
  p.linked = (fs::path(parentFolder) / (name + ".AJF") / (name + ".MDD")).string();
  p.own = (fs::path(parentFolder) / (name + "_own.MDL")).string();
  return p;
}

ulong32 WriteSampleMemberJobs(const std::string& parentFolder, const std::string& name, const SampleJobSize& size,
                              int members, const std::vector<SampleSection>& sections, std::string* failedPath) {
  const MemberJobPaths paths = SampleMemberJobPaths(parentFolder, name);
  if (!SampleMemberJob::Validate(size, members).empty() || sections.empty()) {
    if (failedPath) *failedPath = paths.linked;
    telio::SetLastError(telio::kErrorBadArguments);
    return telio::kErrorBadArguments;
  }
  const SampleMemberJob plan(size, members);
  std::error_code ec;
  const std::string project = std::filesystem::absolute(std::filesystem::path(paths.linked).parent_path(), ec).string();
  const JobWriter linked(plan, sections, true);
  const JobWriter own(plan, sections, false);
  struct Step {
    std::string path;
    Bytes bytes;
  };
  const Step steps[] = {
      {paths.linked, linked.Mdd(name, project)},
      {WithExt(paths.linked, "MLC"), linked.Mlc(plan.LinkedCases(), false)},
      {WithExt(paths.linked, "CNS"), linked.Cns()},
      {WithExt(paths.linked, "LTB"), linked.Ltb()},
      {WithExt(paths.linked, "DB0"), linked.Db0()},
      {paths.own, own.Mdd(name + "_own", std::string())},
      {WithExt(paths.own, "MLC"), own.Mlc(plan.OwnCases(), true)},
      {WithExt(paths.own, "CNS"), own.Cns()},
      {WithExt(paths.own, "LTB"), own.Ltb()},
      {WithExt(paths.own, "DB0"), own.Db0()},
      {WithExt(paths.own, "TGD"), Tgd(plan)},
  };
  for (const Step& s : steps) {
    const ulong32 code = WriteFile(s.path, s.bytes);
    if (code != 0) {
      if (failedPath) *failedPath = s.path;
      return code;
    }
  }
  const std::string top = WithExt(paths.own, "TOP");
  const ulong32 code = WriteOwnTopology(sections, top);
  if (code != 0 && failedPath) *failedPath = top;
  return code;
}

}  // namespace telio_tool
