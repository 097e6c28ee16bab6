#include "SampleJob.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "files/CAJF_PATHS.h"
#include "files/CFileACE.h"
#include "files/CFileCMI.h"
#include "files/CFileNAM.h"
#include "files/CFileT3L.h"
#include "files/CFileTOP.h"
#include "platform/Alloc.h"
#include "platform/CPathObj.h"
#include "platform/CodePage.h"
#include "platform/Coding.h"
#include "platform/LastError.h"
#include "sections/CSectionFiles.h"
#include "topology/CTOPO_REC.h"

namespace telio_tool {

namespace {

constexpr int kColumns = 10;
constexpr int kMaxPhysBeams = 20;
constexpr int kIPCounts[4] = {2, 3, 5, 9};
constexpr int kRecord = 52;        // every RES record
constexpr int kNameRecord = 32;    // NAM and DYN records
constexpr int kCsRecord = 168;     // composite-section record
constexpr int kJobVersion = 2050;
const int kCatalogueFamilies[] = {12, 13, 14, 41};

// A little-endian byte image, grown as fields are appended.
class Bytes {
 public:
  explicit Bytes(size_t reserve = 0) { data_.reserve(reserve); }
  unsigned char* Grow(size_t n) {
    size_t at = data_.size();
    data_.resize(at + n, 0);
    return data_.data() + at;
  }
  void U8(unsigned v) { *Grow(1) = static_cast<unsigned char>(v); }
  void U16(unsigned v) { telio::EncodeFixed16(Grow(2), static_cast<uint16_t>(v)); }
  void U32(ulong32 v) { telio::EncodeFixed32(Grow(4), v); }
  void F32(float v) { telio::EncodeFloat(Grow(4), v); }
  void Zero(size_t n) { Grow(n); }
  // Text in a zero-filled field of width bytes (the last stays NUL).
  void Text(const char* s, size_t width) {
    unsigned char* p = Grow(width);
    size_t n = std::min(std::strlen(s), width - 1);
    std::memcpy(p, s, n);
  }
  void Clear() { data_.clear(); }
  const unsigned char* Data() const { return data_.data(); }
  size_t Size() const { return data_.size(); }

 private:
  std::vector<unsigned char> data_;
};

// A file written in pieces; the first fault is kept and later writes are
// skipped, so a caller checks once at Close.
class Writer {
 public:
  explicit Writer(const std::string& path) : path_(path), f_(telio::OpenFile(path.c_str(), "wb")) {
    if (!f_) code_ = telio::GetLastError();
  }
  ~Writer() {
    if (f_) std::fclose(f_);
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;
  void Put(const Bytes& b) {
    if (!f_ || code_ != 0 || b.Size() == 0) return;
    if (std::fwrite(b.Data(), 1, b.Size(), f_) != b.Size()) code_ = telio::SetLastErrorFromErrno();
  }
  ulong32 Close() {
    if (f_ && std::fclose(f_) != 0 && code_ == 0) code_ = telio::SetLastErrorFromErrno();
    f_ = nullptr;
    return code_;
  }

 private:
  std::string path_;
  std::FILE* f_;
  ulong32 code_ = 0;
};

ulong32 WriteWhole(const std::string& path, const Bytes& b) {
  Writer w(path);
  w.Put(b);
  return w.Close();
}

// Native path of a side file: the model file's path with another extension.
std::string SidePath(const CAJF_PATHS& job, const char* ext) {
  std::string p = job.T3L().GetString();
  return p.substr(0, p.size() - 3) + ext;
}

// A 32-byte name record, in the OEM page.
void NameRecord(Bytes& b, const std::string& name) {
  unsigned char* p = b.Grow(kNameRecord);
  size_t n = std::min(name.size(), static_cast<size_t>(kNameRecord - 1));
  std::memcpy(p, name.data(), n);
  char* c = reinterpret_cast<char*>(p);
  CharToOemBuffA(c, c, static_cast<ulong32>(n));
}

std::string CaseName(int c) { return "Load case " + std::to_string(c + 1); }

ulong32 WriteModel(const SampleJob& job, const std::vector<SampleSection>& sections,
                   const std::string& path) {
  CFileT3L model;
  const int n = job.Nodes(), m = job.Beams();
  std::vector<REC32A> nodes(static_cast<size_t>(n));
  for (int i = 1; i <= n; ++i) {
    REC32A& r = nodes[static_cast<size_t>(i - 1)];
    std::memset(r.b, 0, sizeof r.b);
    telio::EncodeFloat(r.b + 0, job.X(i));
    telio::EncodeFloat(r.b + 4, job.Y(i));
    telio::EncodeFloat(r.b + 8, job.Z(i));
  }
  if (model.AddNode(nodes.data(), n) != 1) return telio::kErrorNotEnoughMemory;

  std::vector<REC96A> secs(sections.size());
  for (size_t i = 0; i < sections.size(); ++i) {
    std::memset(secs[i].b, 0, sizeof secs[i].b);
    char* name = reinterpret_cast<char*>(secs[i].b);
    std::strncpy(name, sections[i].name.c_str(), 31);
    CharToOemBuffA(name, name, static_cast<ulong32>(std::strlen(name)));
  }
  if (model.AddSect(secs.data(), static_cast<int>(secs.size())) != 1) return telio::kErrorNotEnoughMemory;

  REC64A steel;
  std::memset(steel.b, 0, sizeof steel.b);
  telio::EncodeFloat(steel.b + 0, 210000.0f);
  if (model.AddMaterial(&steel, 1) != 1) return telio::kErrorNotEnoughMemory;

  const int sc = static_cast<int>(sections.size());
  std::vector<REC32A> beams(static_cast<size_t>(m));
  for (int b = 1; b <= m; ++b) {
    REC32A& r = beams[static_cast<size_t>(b - 1)];
    std::memset(r.b, 0, sizeof r.b);
    r.SetStartNode(static_cast<uint16_t>(job.BeamStart(b)));
    r.SetEndNode(static_cast<uint16_t>(job.BeamEnd(b)));
    r.SetSectionNo(static_cast<uint16_t>(job.BeamSection(b, sc)));
    r.SetMaterialNo(1);
  }
  if (model.AddBeam(beams.data(), m) != 1) return telio::kErrorNotEnoughMemory;

  if (job.PhysBeams() > 0) {
    std::vector<REC128> phys(static_cast<size_t>(job.PhysBeams()));
    for (int p = 1; p <= job.PhysBeams(); ++p) {
      REC128& r = phys[static_cast<size_t>(p - 1)];
      std::memset(r.b, 0, sizeof r.b);
      r.SetFirstNode(static_cast<uint16_t>(SampleJob::PhysBeamFirst(p)));
      r.SetSecondNode(static_cast<uint16_t>(SampleJob::PhysBeamFirst(p) + 2));
    }
    if (model.AddPhysBeam(phys.data(), job.PhysBeams()) != 1) return telio::kErrorNotEnoughMemory;
  }

  std::vector<REC64A> supports(static_cast<size_t>(job.Supports()));
  for (int i = 0; i < job.Supports(); ++i) {
    std::memset(supports[static_cast<size_t>(i)].b, 0, sizeof(REC64A));
    supports[static_cast<size_t>(i)].SetSupportNode(static_cast<uint16_t>(job.SupportNode(i)));
  }
  if (model.AddSupport(supports.data(), job.Supports()) != 1) return telio::kErrorNotEnoughMemory;

  for (int c = 0; c < job.StaticCases(); ++c) {
    REC32B rec;
    std::memset(rec.b, 0, sizeof rec.b);
    if (model.AddStaticLoadCaseEx(rec, (c + 1) & 0xFF, 0, 1.0f + static_cast<float>(c) / 4.0f) != 1)
      return telio::kErrorNotEnoughMemory;
  }
  return model.Export(path.c_str());
}

ulong32 WriteTopology(const SampleJob& job, const std::vector<SampleSection>& sections,
                      const std::string& path) {
  CFileTOP top;
  TOPO_CURDIMS_REC& rec = *top.GetTOPO_CURDIMS_REC();
  rec.SetNodeCount(static_cast<uint16_t>(job.Nodes()));
  rec.SetBeamCount(static_cast<uint16_t>(job.Beams()));
  rec.SetSupportCount(static_cast<uint16_t>(job.Supports()));
  rec.SetStaticLoadCases(static_cast<uint16_t>(job.StaticCases()));
  rec.SetDynamicLoadCases(kSampleDynamicCases);
  rec.SetFlag3D(0);
  rec.SetSectionCount(static_cast<uint16_t>(sections.size()));
  rec.SetPhysBeamCount(static_cast<uint16_t>(job.PhysBeams()));
  if (!CFileTOP::AllocateArrays(&rec)) return telio::kErrorNotEnoughMemory;

  for (int n = 1; n <= job.Nodes(); ++n) {
    TOP_NODE& r = rec.nodes[n - 1];
    r.SetLabel(static_cast<int16_t>(n));
    r.SetX(job.X(n));
    r.SetY(job.Y(n));
    r.SetZ(job.Z(n));
    r.SetRestraint(job.IsSupported(n) ? 1 : 0);
  }
  const int sc = static_cast<int>(sections.size());
  for (int b = 1; b <= job.Beams(); ++b) {
    TOP_BEAM& r = rec.beams[b - 1];
    r.SetSection(static_cast<uint16_t>(job.BeamSection(b, sc)));
    r.SetLabel(static_cast<int16_t>(b));
    r.SetStartNode(static_cast<uint16_t>(job.BeamStart(b)));
    r.SetEndNode(static_cast<uint16_t>(job.BeamEnd(b)));
    rec.angles[b - 1] = 0.0f;
  }
  for (int i = 0; i < job.Supports(); ++i) rec.supports[i].SetNode(static_cast<uint16_t>(job.SupportNode(i)));
  for (int i = 0; i < sc; ++i) {
    TOP_SEC& s = rec.sections[i];
    const SampleSection& d = sections[static_cast<size_t>(i)];
    s.SetName(d.name.c_str());
    s.SetFamily(static_cast<int16_t>(d.family));
    s.SetSubNumber(static_cast<int16_t>(d.subNumber));
    s.SetKey(d.key);
    if (s.HasPropertyBlock()) {
      s.prs = static_cast<TOP_PRS*>(telio::Calloc(1, sizeof(TOP_PRS)));
      if (!s.prs) return telio::kErrorNotEnoughMemory;
      for (int k = 0; k < 7; ++k) telio::EncodeFloat(s.prs->data + 2 + 4 * k, static_cast<float>(k + 1));
    }
    if (s.HasCompositeData()) {
      for (int k = 0; k < TOP_SEC::kCompositeValues; ++k) s.SetComposite(k, 0.5f * static_cast<float>(k + 1));
    }
  }
  for (int p = 1; p <= job.PhysBeams(); ++p) {
    CURPHBM_REC_TOPO& r = rec.physBeams[p - 1];
    r.SetLabel(static_cast<uint16_t>(p));
    r.SetBeamCount(2);
    const int first = SampleJob::PhysBeamFirst(p);
    r.SetFirstNode(static_cast<int16_t>(first));
    r.SetLastNode(static_cast<int16_t>(first + 2));
    r.beams = static_cast<int16_t*>(telio::Calloc(2, sizeof(int16_t)));
    if (!r.beams) return telio::kErrorNotEnoughMemory;
    r.beams[0] = static_cast<int16_t>(first);
    r.beams[1] = static_cast<int16_t>(first + 1);
  }
  return top.Export(path.c_str());
}

// Composite sections: one record per section of family 104, by sub-number,
// each built on section 1.
ulong32 WriteCompositeSections(const std::vector<SampleSection>& sections, const std::string& path) {
  int count = 0;
  for (const SampleSection& s : sections) count += s.family == 104 ? 1 : 0;
  Bytes b;
  b.U32(0);
  b.U32(static_cast<ulong32>(count));
  for (int i = 0; i < count; ++i) {
    unsigned char* r = b.Grow(kCsRecord);
    telio::EncodeFixed32(r + 16, 1);
  }
  return WriteWhole(path, b);
}

ulong32 WriteRunControl(const SampleJob& job, const std::string& path) {
  Bytes b;
  b.Zero(20);                                 // export type
  for (int i = 0; i < 10; ++i) b.U16(i == 1 ? 1 : 0);  // run status: static analysis
  b.Zero(250);
  b.U16(kJobVersion);
  b.U8(job.Size().eak ? 1 : 0);  // EAK, diaphragm, eccentricity, structural eccentricity, TGV
  b.Zero(4);
  for (int c = 0; c < job.StaticCases(); ++c) {
    b.U8(static_cast<unsigned>(c + 1) & 0xFF);
    b.U8(0);
    b.F32(1.0f + static_cast<float>(c) / 4.0f);
    b.Zero(8);
  }
  return WriteWhole(path, b);
}

ulong32 WriteNames(const SampleJob& job, const std::string& path) {
  CFileNAM nam;
  nam.NewFile(nullptr);
  try {
    for (int c = 0; c < job.StaticCases(); ++c) nam.AddLdsName(CString(CaseName(c).c_str()));
  } catch (...) {
    return telio::kErrorNotEnoughMemory;
  }
  return nam.Export(path.c_str());
}

ulong32 WriteDynamic(const std::string& dynPath, const std::string& dcmPath, const std::string& denPath) {
  Bytes b;
  for (int i = 1; i <= kSampleDynamicCases; ++i) NameRecord(b, "Dynamic case " + std::to_string(i));
  for (int i = 1; i <= kSampleDynamicCombinations; ++i) NameRecord(b, "Dynamic combination " + std::to_string(i));
  NameRecord(b, "-");
  NameRecord(b, "-");
  for (int i = 1; i <= kSampleDynamicEnvelopes; ++i) {
    NameRecord(b, "Envelope " + std::to_string(i));
    NameRecord(b, "-");
  }
  ulong32 code = WriteWhole(dynPath, b);
  if (code != 0) return code;
  Bytes dcm;
  dcm.U32(kSampleDynamicCombinations);
  if ((code = WriteWhole(dcmPath, dcm)) != 0) return code;
  Bytes den;
  den.U32(kSampleDynamicEnvelopes);
  return WriteWhole(denPath, den);
}

ulong32 WriteCombinations(const SampleJob& job, const std::string& cmiPath, const std::string& acePath) {
  CFileCMI cmi;
  cmi.NewFile(nullptr);
  std::unique_ptr<CMI_REC> rec(new CMI_REC);
  try {
    for (int j = 0; j < job.Combinations(); ++j) {
      std::memset(rec->data, 0, sizeof rec->data);
      rec->SetCount(job.CombinationTerms(j));
      for (int t = 0; t < job.CombinationTerms(j); ++t) {
        rec->SetIndex(t, job.CombinationCase(j, t));
        rec->SetFactor(t, job.CombinationFactor(j, t));
      }
      cmi.AddCombination(rec.get(), 0);
    }
  } catch (...) {
    return telio::kErrorNotEnoughMemory;
  }
  ulong32 code = cmi.Export(cmiPath.c_str());
  if (code != 0) return code;
  CFileACE ace;
  ace.NewFile(nullptr);
  ace.ActivateCmb(0, -1, -1);
  ace.ActivateEnv(0, -1, -1);
  if (job.Combinations() > 0) ace.ActivateCmb(1, 1, job.Combinations());
  return ace.Export(acePath.c_str());
}

void NodeRecord(Bytes& b, int node, const float values[6]) {
  // Node numbers stay below 10,000: "N9999" and its terminator fit.
  char name[8] = {};
  const std::string text = "N" + std::to_string(node);
  std::memcpy(name, text.data(), std::min(text.size(), sizeof name - 1));
  unsigned char* p = b.Grow(kRecord);
  std::memcpy(p, name, sizeof name);
  for (int v = 0; v < 6; ++v) telio::EncodeFloat(p + 8 + 4 * v, values[v]);
}

// "writing NAME.EXT", for progress reports.
std::string Writing(const std::string& path) {
  return "writing " + std::filesystem::path(path).filename().string();
}

void Report(const ProgressFn& progress, const std::string& path, long long done, long long total) {
  if (progress) progress(Writing(path), done, total);
}

ulong32 WriteStaticResults(const SampleJob& job, const std::string& path, const ProgressFn& progress) {
  Writer w(path);
  Bytes b(kRecord);
  b.U32(job.Size().seed);
  b.Zero(kRecord - 4);
  w.Put(b);
  const size_t block = static_cast<size_t>(job.Nodes() + job.Supports() + 2 * job.Beams()) * kRecord;
  Bytes blk(block);
  float values[6];
  for (int r = 0; r < job.LoadResults(); ++r) {
    blk.Clear();
    for (int n = 1; n <= job.Nodes(); ++n) {
      for (int v = 0; v < 6; ++v) values[v] = job.Displacement(r, n, v);
      NodeRecord(blk, n, values);
    }
    for (int i = 0; i < job.Supports(); ++i) {
      const int n = job.SupportNode(i);
      for (int v = 0; v < 6; ++v) values[v] = job.Reaction(r, n, v);
      NodeRecord(blk, n, values);
    }
    for (int beam = 1; beam <= job.Beams(); ++beam) {
      unsigned char* p = blk.Grow(kRecord);
      telio::EncodeFixed32(p, static_cast<ulong32>(beam));
      for (int v = 0; v < 6; ++v) {
        telio::EncodeFloat(p + 4 + 4 * v, job.Force(r, beam, 0, v));
        telio::EncodeFloat(p + 28 + 4 * v, job.Force(r, beam, 1, v));
      }
    }
    blk.Zero(static_cast<size_t>(job.Beams()) * kRecord);
    w.Put(blk);
    Report(progress, path, r + 1, job.LoadResults());
  }
  return w.Close();
}

// OUC table order of the value kinds: 0, 1, 2, 6, 3, 4, 5.
constexpr int kOucKinds[7] = {0, 1, 2, 6, 3, 4, 5};

ulong32 WriteIPResults(const SampleJob& job, const std::string& path, const ProgressFn& progress) {
  Writer w(path);
  Bytes head(8 + 4 * static_cast<size_t>(job.MaxLCE()));
  head.U32(static_cast<ulong32>(job.LoadResults()));
  head.U32(static_cast<ulong32>(job.MaxIP()));
  for (long32 i = 0; i < job.MaxLCE(); ++i) head.U32(i < job.LoadResults() ? static_cast<ulong32>(job.Beams()) : 0);
  w.Put(head);
  Bytes blk;
  for (int r = 0; r < job.LoadResults(); ++r) {
    blk.Clear();
    for (int beam = 1; beam <= job.Beams(); ++beam) {
      const int n = SampleJob::IPCount(beam);
      blk.U32(static_cast<ulong32>(beam));
      blk.U16(static_cast<unsigned>(n));
      for (int kind : kOucKinds) {
        for (int i = 0; i < n; ++i) {
          blk.F32(kind == 0 ? job.IPPosition(beam, i) : job.IPValue(r, beam, i, kind - 1));
        }
      }
    }
    w.Put(blk);
    Report(progress, path, r + 1, job.LoadResults());
  }
  return w.Close();
}

}  // namespace

SampleJob::SampleJob(const SampleJobSize& size) : size_(size) {}

std::string SampleJob::Validate(const SampleJobSize& s) {
  if (s.nodes < 2 || s.nodes > kSampleMaxNodes) return "nodes must be 2 to 10000";
  if (s.beams < 1 || s.beams > kSampleMaxBeams) return "beams must be 1 to 20000";
  if (s.cases < 1) return "at least one static load case is needed";
  if (s.combinations < 0 || s.combinations > kSampleMaxCombinations) return "combinations must be 0 to 800";
  const long32 maxLce = s.eak ? kMaxLCEEak : kMaxLCE;
  if (static_cast<long long>(s.cases) + s.combinations > maxLce) {
    return "cases + combinations must not exceed " + std::to_string(maxLce) +
           (s.eak ? "" : " (20803 with --eak)");
  }
  return std::string();
}

int SampleJob::PhysBeams() const {
  const int last = std::min(size_.beams, size_.nodes - 1);
  int p = 0;
  while (p < kMaxPhysBeams && PhysBeamFirst(p + 1) + 1 <= last) ++p;
  return p;
}

float SampleJob::X(int node) const { return 6.0f * static_cast<float>((node - 1) % kColumns); }
float SampleJob::Y(int node) const { return 3.5f * static_cast<float>((node - 1) / kColumns); }

int SampleJob::BeamStart(int beam) const { return 1 + (beam - 1) % (size_.nodes - 1); }

int SampleJob::BeamEnd(int beam) const {
  const int k = beam - 1;
  const int a = BeamStart(beam);
  int e = 1 + (a - 1 + 1 + k / (size_.nodes - 1)) % size_.nodes;
  if (e == a) e = a % size_.nodes + 1;
  return e;
}

double SampleJob::BeamLength(int beam) const {
  const int a = BeamStart(beam), e = BeamEnd(beam);
  const double dx = static_cast<double>(X(e)) - X(a);
  const double dy = static_cast<double>(Y(e)) - Y(a);
  const double dz = static_cast<double>(Z(e)) - Z(a);
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

int SampleJob::CombinationTerms(int j) const { return std::min(size_.cases, 1 + j % 3); }

float SampleJob::Displacement(int r, int node, int v) const {
  return static_cast<float>((v + 1) * (Sigma() + (r + 1) + node / 16.0));
}

float SampleJob::Force(int r, int beam, int end, int v) const {
  return static_cast<float>((v + 1) * (Sigma() + (r + 1) + beam / 16.0 + 2.0 * end));
}

int SampleJob::IPCount(int beam) { return kIPCounts[beam % 4]; }

int SampleJob::MaxIP() const {
  int most = 0;
  for (int b = 1; b <= std::min(size_.beams, 4); ++b) most = std::max(most, IPCount(b));
  return most;
}

float SampleJob::IPPosition(int beam, int ip) const {
  return static_cast<float>(BeamLength(beam) * ip / (IPCount(beam) - 1));
}

float SampleJob::IPValue(int r, int beam, int ip, int v) const {
  const double t = static_cast<double>(ip) / (IPCount(beam) - 1);
  return static_cast<float>((v + 1) * (Sigma() + (r + 1) + beam / 16.0 + 2.0 * t));
}

ulong32 PickSampleSections(const std::string& catalogueFolder, std::vector<SampleSection>& out) {
  out.clear();
  CSectionFiles catalogue;
  const std::string pattern = catalogueFolder + "/FilesSectionDB/*.SEC";
  ulong32 code = catalogue.Load(pattern.c_str());
  if (code != 0) return code;
  for (int family : kCatalogueFamilies) {
    std::vector<const CSectionData*> members;
    for (int i = 0; i < catalogue.GetCount(); ++i) {
      if (catalogue.GetAt(i)->family == family) members.push_back(catalogue.GetAt(i));
    }
    if (members.empty()) continue;
    const CSectionData& d = *members[members.size() / 2];
    SampleSection s;
    s.name = d.name;
    s.family = d.family;
    s.key = d.key;
    out.push_back(s);
  }
  if (out.empty()) {
    telio::SetLastError(telio::kErrorFileNotFound);
    return telio::kErrorFileNotFound;
  }
  SampleSection composite;
  composite.name = "COMPOSITE 1";
  composite.family = 104;
  composite.subNumber = 1;
  out.push_back(composite);
  return 0;
}

ulong32 WriteSampleJob(const std::string& parentFolder, const std::string& name,
                       const SampleJobSize& size, const std::vector<SampleSection>& sections,
                       std::string* failedPath, const ProgressFn& progress) {
  namespace fs = std::filesystem;
  const SampleJob job(size);
  const fs::path folder = fs::path(parentFolder) / (name + ".AJF");
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !SampleJob::Validate(size).empty() || sections.empty()) {
    if (failedPath) *failedPath = folder.string();
    ulong32 code = ec ? telio::ErrnoToSystemError(ec.value()) : telio::kErrorBadArguments;
    telio::SetLastError(code);
    return code;
  }
  CAJF_PATHS paths;
  paths.Set(folder.string().c_str(), name.c_str(), 0);
  const std::string t3l = paths.T3L().GetString();
  const std::string top = paths.TOP().GetString();

  struct Step {
    std::string path;
    ulong32 code;
  };
  Step steps[] = {
      {t3l, 0}, {top, 0}, {CTOPO_REC::CompSectsPath(top.c_str()).GetString(), 0}, {paths.JOB().GetString(), 0},
      {paths.NAM().GetString(), 0}, {SidePath(paths, "DYN"), 0}, {paths.CMI().GetString(), 0},
      {paths.RES().GetString(), 0}, {paths.OUC().GetString(), 0},
  };
  auto ok = [&](int i) {
    if (steps[i].code != 0) return false;
    Report(progress, steps[i + 1].path, 0, 0);
    return true;
  };
  Report(progress, steps[0].path, 0, 0);
  steps[0].code = WriteModel(job, sections, steps[0].path);
  if (ok(0)) steps[1].code = WriteTopology(job, sections, steps[1].path);
  if (ok(1)) {
    // The companion's name replaces every "TOP" of the path, folders
    // included, so it may lie outside the project folder.
    fs::create_directories(fs::path(steps[2].path).parent_path(), ec);
    steps[2].code = WriteCompositeSections(sections, steps[2].path);
  }
  if (ok(2)) steps[3].code = WriteRunControl(job, steps[3].path);
  if (ok(3)) steps[4].code = WriteNames(job, steps[4].path);
  if (ok(4)) steps[5].code = WriteDynamic(steps[5].path, SidePath(paths, "DCM"), SidePath(paths, "DEN"));
  if (ok(5)) steps[6].code = WriteCombinations(job, steps[6].path, paths.ACE().GetString());
  if (ok(6)) steps[7].code = WriteStaticResults(job, steps[7].path, progress);
  if (ok(7)) steps[8].code = WriteIPResults(job, steps[8].path, progress);
  for (const Step& s : steps) {
    if (s.code != 0) {
      if (failedPath) *failedPath = s.path;
      return s.code;
    }
  }
  return 0;
}

}  // namespace telio_tool
