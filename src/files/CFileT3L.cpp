#include "files/CFileT3L.h"


#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "files/ExportFile.h"
#include "platform/Alloc.h"
#include "platform/CPathObj.h"
#include "platform/CodePage.h"
#include "platform/LastError.h"

namespace {

constexpr unsigned kClassicHeaderSize = 86;
constexpr int kClassicCounts = 13;
constexpr int kFirstCountOffset = 60;
constexpr long32 kMaxPhysBeams = 65535;  // the count is a u16 in the header

// Tables in the order the file stores them.
constexpr int kFileOrder[] = {
    CFileT3L::kNodes,          CFileT3L::kBeams,           CFileT3L::kPhysBeams,
    CFileT3L::kSupports,       CFileT3L::kConnections,     CFileT3L::kSections,
    CFileT3L::kMaterials,      CFileT3L::kStaticLoadCases, CFileT3L::kStaticBeamLoads,
    CFileT3L::kStaticNodeLoads, CFileT3L::kBeamMasses,     CFileT3L::kNodeMasses,
};

// Header offset of each kind's i32 count (physical beams and HaHi have none).
int CountOffset(int kind) {
  switch (kind) {
    case CFileT3L::kNodes: return DIMS_BUF_EX::kNodes;
    case CFileT3L::kBeams: return DIMS_BUF_EX::kBeams;
    case CFileT3L::kSections: return DIMS_BUF_EX::kSections;
    case CFileT3L::kSupports: return DIMS_BUF_EX::kSupports;
    case CFileT3L::kConnections: return DIMS_BUF_EX::kConnections;
    case CFileT3L::kMaterials: return DIMS_BUF_EX::kMaterials;
    case CFileT3L::kStaticLoadCases: return DIMS_BUF_EX::kStaticLoadCases;
    case CFileT3L::kStaticBeamLoads: return DIMS_BUF_EX::kStaticBeamLoads;
    case CFileT3L::kStaticNodeLoads: return DIMS_BUF_EX::kStaticNodeLoads;
    case CFileT3L::kBeamMasses: return DIMS_BUF_EX::kBeamMasses;
    case CFileT3L::kNodeMasses: return DIMS_BUF_EX::kNodeMasses;
    default: return -1;
  }
}

// The axis indices of each system (X, Y, Z), frozen by the file format.
constexpr int16_t kAxes[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};

}  // namespace

int REC96A::NameLength() const {
  const void* nul = std::memchr(b, 0, sizeof b);
  return nul ? static_cast<int>(static_cast<const unsigned char*>(nul) - b) : static_cast<int>(sizeof b);
}

CFileT3L::CFileT3L() {
  SetFileDefExt("T3L");
  std::memset(&dim_, 0, sizeof dim_);
  std::memset(&dyna_, 0, sizeof dyna_);
  for (int k = 0; k < kKinds; ++k) {
    tab_[k] = nullptr;
    cap_[k] = 0;
  }
}

CFileT3L::CFileT3L(const CFileT3L& other) : CFileT3L() {
  dim_ = other.dim_;
  dyna_ = other.dyna_;
  system_ = other.system_;
  xSys_ = other.xSys_;
  ySys_ = other.ySys_;
  zSys_ = other.zSys_;
  readExtended_ = other.readExtended_;
  if (!CopyTablesFrom(other)) FreeKind(0);
}

CFileT3L& CFileT3L::operator=(const CFileT3L& other) {
  if (this == &other) return *this;
  CFileBase::operator=(other);
  FreeKind(0);
  dim_ = other.dim_;
  dyna_ = other.dyna_;
  system_ = other.system_;
  xSys_ = other.xSys_;
  ySys_ = other.ySys_;
  zSys_ = other.zSys_;
  readExtended_ = other.readExtended_;
  if (!CopyTablesFrom(other)) FreeKind(0);
  return *this;
}

CFileT3L::~CFileT3L() { FreeKind(0); }

bool CFileT3L::CopyTablesFrom(const CFileT3L& other) {
  for (int kind = 1; kind < kKinds; ++kind) {
    long32 n = other.Count(kind);
    if (n <= 0) continue;
    if (!Grow(kind, n)) return false;
    std::memcpy(tab_[kind], other.tab_[kind], static_cast<size_t>(n) * RecordSize(kind));
    if (kind == kHaHi) haHiCount_ = n;
    if (kind != kStaticLoadCases) continue;
    std::memcpy(extra_, other.extra_, static_cast<size_t>(n) * sizeof(LOADCASE_EXTRA));
    for (long32 i = 0; i < n; ++i) {
      const SELF_WEIGHT_LIST& src = other.selfWeight_[i];
      if (src.count <= 0 || !src.entries) continue;
      size_t bytes = static_cast<size_t>(src.count) * sizeof(uint16_t);
      auto* entries = static_cast<uint16_t*>(telio::Malloc(bytes));
      if (!entries) return false;
      std::memcpy(entries, src.entries, bytes);
      selfWeight_[i].entries = entries;
      selfWeight_[i].count = src.count;
    }
  }
  return true;
}

unsigned CFileT3L::RecordSize(int kind) {
  switch (kind) {
    case kNodes:
    case kBeams: return sizeof(REC32A);
    case kSections: return sizeof(REC96A);
    case kPhysBeams: return sizeof(REC128);
    case kStaticLoadCases: return sizeof(REC32B);
    default: return sizeof(REC64A);
  }
}

long32 CFileT3L::HeaderCount(int kind) const {
  if (kind == kPhysBeams) return dim_.PhysBeams();
  if (kind == kHaHi) return haHiCount_;
  int off = CountOffset(kind);
  return off < 0 ? 0 : dim_.Count(off);
}

void CFileT3L::SetHeaderCount(int kind, long32 n) {
  if (kind == kPhysBeams) {
    dim_.SetPhysBeams(static_cast<uint16_t>(n));
  } else if (kind == kHaHi) {
    haHiCount_ = n;
  } else if (CountOffset(kind) >= 0) {
    dim_.SetCount(CountOffset(kind), n);
  }
}

long32 CFileT3L::Count(int kind) const {
  if (kind < 1 || kind >= kKinds || !tab_[kind]) return 0;
  long32 n = HeaderCount(kind);
  if (n > cap_[kind]) n = cap_[kind];
  if (kind == kStaticLoadCases && n > loadCap_) n = loadCap_;
  return n < 0 ? 0 : n;
}

// Makes the table's block hold at least newCount records. On failure the
// table keeps its records (a block that did grow stays grown).
bool CFileT3L::Grow(int kind, long32 newCount) {
  if (newCount <= 0) return false;
  size_t size = RecordSize(kind);
  if (static_cast<unsigned long long>(newCount) > std::numeric_limits<size_t>::max() / size) return false;
  if (!tab_[kind] || newCount > cap_[kind]) {
    void* block = telio::Realloc(tab_[kind], static_cast<size_t>(newCount) * size);
    if (!block) return false;
    tab_[kind] = block;
    cap_[kind] = newCount;
  }
  if (kind != kStaticLoadCases || (extra_ && selfWeight_ && newCount <= loadCap_)) return true;

  void* extra = telio::Realloc(extra_, static_cast<size_t>(newCount) * sizeof(LOADCASE_EXTRA));
  if (!extra) return false;
  extra_ = static_cast<LOADCASE_EXTRA*>(extra);
  void* lists = telio::Realloc(selfWeight_, static_cast<size_t>(newCount) * sizeof(SELF_WEIGHT_LIST));
  if (!lists) {
    // The extra block grew but the lists did not: the shorter one rules.
    if (!selfWeight_) {
      telio::Free(extra_);
      extra_ = nullptr;
    }
    return false;
  }
  selfWeight_ = static_cast<SELF_WEIGHT_LIST*>(lists);
  // Slots beyond the cases are always empty lists, so freeing them is safe.
  for (long32 i = loadCap_; i < newCount; ++i) {
    selfWeight_[i].count = 0;
    selfWeight_[i].entries = nullptr;
  }
  loadCap_ = newCount;
  return true;
}

void CFileT3L::FreeKind(int kind) {
  if (kind == 0) {
    for (int k = 1; k < kKinds; ++k) FreeKind(k);
    return;
  }
  if (kind < 1 || kind >= kKinds) return;
  ReleaseBlocks(kind);
  SetHeaderCount(kind, 0);
}

void CFileT3L::ReleaseBlocks(int kind) {
  telio::Free(tab_[kind]);
  tab_[kind] = nullptr;
  cap_[kind] = 0;
  if (kind != kStaticLoadCases) return;
  if (selfWeight_) {
    for (long32 i = 0; i < loadCap_; ++i) telio::Free(selfWeight_[i].entries);
  }
  telio::Free(selfWeight_);
  telio::Free(extra_);
  selfWeight_ = nullptr;
  extra_ = nullptr;
  loadCap_ = 0;
}

int CFileT3L::Append(int kind, const void* recs, int n) {
  if (!recs || n < 1) return 0;
  const bool wasAbsent = tab_[kind] == nullptr;
  long32 cur = Count(kind);
  long long total = static_cast<long long>(cur) + n;
  if (total > std::numeric_limits<long32>::max()) return 0;
  if (kind == kPhysBeams && total > kMaxPhysBeams) return 0;
  if (!Grow(kind, static_cast<long32>(total))) {
    // A table that was absent stays absent.
    if (wasAbsent) ReleaseBlocks(kind);
    return 0;
  }
  size_t size = RecordSize(kind);
  std::memcpy(static_cast<unsigned char*>(tab_[kind]) + static_cast<size_t>(cur) * size, recs,
              static_cast<size_t>(n) * size);
  if (kind == kStaticLoadCases) {
    std::memset(extra_ + cur, 0, static_cast<size_t>(n) * sizeof(LOADCASE_EXTRA));
  }
  SetHeaderCount(kind, static_cast<long32>(total));
  return 1;
}

void CFileT3L::RemoveAt(int kind, int i) {
  long32 n = Count(kind);
  if (i < 0 || i >= n) return;
  size_t size = RecordSize(kind);
  auto* base = static_cast<unsigned char*>(tab_[kind]);
  std::memmove(base + static_cast<size_t>(i) * size, base + static_cast<size_t>(i + 1) * size,
               static_cast<size_t>(n - 1 - i) * size);
  if (kind == kStaticLoadCases) {
    telio::Free(selfWeight_[i].entries);
    std::memmove(extra_ + i, extra_ + i + 1, static_cast<size_t>(n - 1 - i) * sizeof(LOADCASE_EXTRA));
    std::memmove(selfWeight_ + i, selfWeight_ + i + 1,
                 static_cast<size_t>(n - 1 - i) * sizeof(SELF_WEIGHT_LIST));
    selfWeight_[n - 1].count = 0;
    selfWeight_[n - 1].entries = nullptr;
  }
  SetHeaderCount(kind, n - 1);
}

int CFileT3L::NewFile(const char*) { return 0; }

void CFileT3L::Close() {
  Init();
  FreeKind(0);
  std::memset(&dim_, 0, sizeof dim_);
  std::memset(&dyna_, 0, sizeof dyna_);
  readExtended_ = false;
}

void CFileT3L::SetDIM(DIMS_BUF_EX dim) {
  Close();
  dim_ = dim;
}

ulong32 CFileT3L::Import(const char* path) {
  Close();
  if (!SetFilePath(path, true)) {
    ulong32 code = telio::GetLastError();
    return code ? code : telio::kErrorFileNotFound;
  }
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) {
    ulong32 code = telio::GetLastError();
    Close();
    return code ? code : telio::kErrorFileNotFound;
  }
  long long size = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
  ulong32 code = (size < 0 || std::fseek(f, 0, SEEK_SET) != 0) ? telio::StreamErrorCode(f, false) : 0;
  if (size < 0 && code == 0) code = telio::kErrorReadFault;
  if (code == 0) code = ReadBody(f, size);
  if (code == 0 && std::ferror(f)) code = telio::StreamErrorCode(f, false);
  if (code != 0) {
    // Whatever was not read is not claimed by the header either.
    for (int kind : kFileOrder) {
      if (!tab_[kind]) SetHeaderCount(kind, 0);
    }
  }
  std::fclose(f);
  return code;
}

ulong32 CFileT3L::ReadBody(std::FILE* f, long long fileSize) {
  unsigned char head[sizeof(DIMS_BUF_EX)] = {};
  ulong32 code = ::FReadBuff(f, head, kClassicHeaderSize, 1);
  if (code != 0) return code;
  long long pos;
  if (head[DIMS_BUF_EX::kLayoutFlag] & DIMS_BUF_EX::kExtendedLayout) {
    code = ::FReadBuffAtPos(f, dim_.b, sizeof dim_.b, 1, 0);
    if (code != 0) return code;
    readExtended_ = true;
    pos = sizeof(DIMS_BUF_EX);
  } else {
    std::memset(&dim_, 0, sizeof dim_);
    for (int off : {DIMS_BUF_EX::kText1, DIMS_BUF_EX::kText2, DIMS_BUF_EX::kText3}) {
      for (int k = 0; k < DIMS_BUF_EX::kTextWidth && head[off + k]; ++k) dim_.b[off + k] = head[off + k];
    }
    std::memcpy(dim_.b + DIMS_BUF_EX::kPhysBeams, head + DIMS_BUF_EX::kPhysBeams, 2);
    dim_.b[DIMS_BUF_EX::kLayoutFlag] = head[DIMS_BUF_EX::kLayoutFlag];
    for (int k = 0; k < kClassicCounts; ++k) {
      dim_.SetCount(kFirstCountOffset + 4 * k, telio::DecodeFixed16(head + kFirstCountOffset + 2 * k));
    }
    pos = kClassicHeaderSize;
  }
  code = ::FReadBuff(f, dyna_.b, sizeof dyna_.b, 1);
  if (code != 0) return code;
  pos += sizeof(DYNA_BUF);

  for (int kind : kFileOrder) {
    // A negative count is an empty table.
    long32 n = HeaderCount(kind);
    if (n <= 0) continue;
    long long bytes = static_cast<long long>(n) * RecordSize(kind);
    // The file ends inside this table: refuse before allocating for it.
    if (bytes > fileSize - pos) return telio::kErrorHandleEof;
    if (!Grow(kind, n)) {
      FreeKind(0);
      return telio::kErrorNotEnoughMemory;
    }
    if (kind == kStaticLoadCases) std::memset(extra_, 0, static_cast<size_t>(n) * sizeof(LOADCASE_EXTRA));
    code = ::FReadBuff(f, tab_[kind], RecordSize(kind), static_cast<unsigned>(n));
    if (code != 0) {
      FreeKind(kind);
      return code;
    }
    pos += bytes;
  }
  // The extra data may be missing, whole or in part: the whole records the
  // file holds are taken, the others stay zero.
  const long long cases = Count(kStaticLoadCases);
  const long long whole = std::min(cases, (fileSize - pos) / static_cast<long long>(sizeof(LOADCASE_EXTRA)));
  if (whole > 0) {
    code = ::FReadBuff(f, extra_, sizeof(LOADCASE_EXTRA), static_cast<unsigned>(whole));
    if (code != 0) {
      std::memset(extra_, 0, static_cast<size_t>(cases) * sizeof(LOADCASE_EXTRA));
      return code;
    }
  }
  return 0;
}

ulong32 CFileT3L::Export(const char* path) {
  SetFilePath(path, false);
  telio::ExportFile out(path);
  std::FILE* f = out.get();
  if (!f) return out.OpenError();
  dim_.b[DIMS_BUF_EX::kLayoutFlag] |= DIMS_BUF_EX::kExtendedLayout;
  ulong32 code = ::FWriteBuff(f, dim_.b, sizeof dim_.b, 1);
  if (code == 0) code = ::FWriteBuff(f, dyna_.b, sizeof dyna_.b, 1);
  for (int kind : kFileOrder) {
    if (code != 0) break;
    long32 n = Count(kind);
    if (n > 0) code = ::FWriteBuff(f, tab_[kind], RecordSize(kind), static_cast<unsigned>(n));
  }
  long32 cases = Count(kStaticLoadCases);
  if (code == 0 && extra_ && cases > 0) {
    code = ::FWriteBuff(f, extra_, sizeof(LOADCASE_EXTRA), static_cast<unsigned>(cases));
  }
  if (code == 0) code = telio::StreamErrorCode(f, true);
  return out.Commit(code);
}

LOADCASE_EXTRA* CFileT3L::LoadingCaseExtra(int i) const {
  return (extra_ && i >= 0 && i < Count(kStaticLoadCases)) ? extra_ + i : nullptr;
}

const SELF_WEIGHT_LIST* CFileT3L::SelfWeightList(int i) const {
  return (selfWeight_ && i >= 0 && i < Count(kStaticLoadCases)) ? selfWeight_ + i : nullptr;
}

REC32A* CFileT3L::SNodeOfBeam(int i) const {
  const REC32A* b = Beam(i);
  return (b && b->StartNode() != 0) ? Node(b->StartNode() - 1) : nullptr;
}

REC32A* CFileT3L::ENodeOfBeam(int i) const {
  const REC32A* b = Beam(i);
  return (b && b->EndNode() != 0) ? Node(b->EndNode() - 1) : nullptr;
}

REC96A* CFileT3L::SectionOfBeam(int i) const {
  const REC32A* b = Beam(i);
  return (b && b->SectionNo() != 0) ? Section(b->SectionNo() - 1) : nullptr;
}

void CFileT3L::SetSystem(SYSTEM system) {
  int s = static_cast<int>(system);
  if (s < 1 || s > 6 || system == system_) return;
  system_ = system;
  xSys_ = kAxes[s - 1][0];
  ySys_ = kAxes[s - 1][1];
  zSys_ = kAxes[s - 1][2];
}

void CFileT3L::OemToCharSectC() {
  long32 n = Count(kSections);
  for (long32 i = 0; i < n; ++i) {
    REC96A* s = Section(static_cast<int>(i));
    char* name = reinterpret_cast<char*>(s->b);
    OemToCharBuffA(name, name, static_cast<ulong32>(s->NameLength()));
  }
}

int CFileT3L::AddNode(const REC32A* recs, int n) { return Append(kNodes, recs, n); }

int CFileT3L::AddBeam(const REC32A* recs, int n) {
  if (!recs || n < 1) return 0;
  long32 nodes = Count(kNodes);
  if (recs[0].StartNode() < 1 || recs[0].StartNode() > nodes || recs[0].EndNode() < 1 ||
      recs[0].EndNode() > nodes) {
    return -1;
  }
  long32 first = Count(kBeams);
  if (!Append(kBeams, recs, n)) return 0;
  long32 sections = Count(kSections);
  for (long32 i = first; i < Count(kBeams); ++i) {
    REC32A* b = Beam(static_cast<int>(i));
    if (b->SectionNo() > sections) b->SetSectionNo(0);
  }
  return 1;
}

int CFileT3L::AddPhysBeam(const REC128* recs, int n) {
  if (!recs || n < 1) return 0;
  long32 nodes = Count(kNodes);
  if (recs[0].FirstNode() < 1 || recs[0].FirstNode() > nodes || recs[0].SecondNode() < 1 ||
      recs[0].SecondNode() > nodes) {
    return -1;
  }
  return Append(kPhysBeams, recs, n);
}

int CFileT3L::AddSupport(const REC64A* recs, int n) { return Append(kSupports, recs, n); }
int CFileT3L::AddConnection(const REC64A* recs, int n) { return Append(kConnections, recs, n); }
int CFileT3L::AddSect(const REC96A* recs, int n) { return Append(kSections, recs, n); }
int CFileT3L::AddMaterial(const REC64A* recs, int n) { return Append(kMaterials, recs, n); }
int CFileT3L::AddStaticLoadCase(const REC32B* recs, int n) { return Append(kStaticLoadCases, recs, n); }
int CFileT3L::AddStaticBeamLoad(const REC64A* recs, int n) { return Append(kStaticBeamLoads, recs, n); }
int CFileT3L::AddStaticNodeLoad(const REC64A* recs, int n) { return Append(kStaticNodeLoads, recs, n); }

int CFileT3L::AddStaticLoadCaseEx(REC32B rec, int a, int b, float value) {
  if (!Append(kStaticLoadCases, &rec, 1)) return 0;
  return SetLoadingCaseExtraData(static_cast<int>(Count(kStaticLoadCases)) - 1, a, b, value);
}

int CFileT3L::SetLoadingCaseExtraData(int lc, int a, int b, float value) {
  LOADCASE_EXTRA* e = LoadingCaseExtra(lc);
  if (!e) return 0;
  std::memset(e->b, 0, sizeof e->b);
  e->b[0] = static_cast<unsigned char>(a);
  e->b[1] = static_cast<unsigned char>(b);
  telio::EncodeFloat(e->b + 2, value);
  return 1;
}

int CFileT3L::AddLoadingCaseSelfWeight(int lc, uint16_t entry) {
  if (!selfWeight_ || lc < 0 || lc >= Count(kStaticLoadCases)) return 0;
  SELF_WEIGHT_LIST& list = selfWeight_[lc];
  for (long32 k = 0; k < list.count; ++k) {
    if (list.entries[k] == entry) return 1;
  }
  void* grown = telio::Realloc(list.entries, static_cast<size_t>(list.count + 1) * sizeof(uint16_t));
  if (!grown) return 0;
  list.entries = static_cast<uint16_t*>(grown);
  list.entries[list.count++] = entry;
  StaticLoad(lc)->SetSelfWeightCount(static_cast<uint16_t>(list.count));
  return 1;
}

int CFileT3L::RemoveLoadingCaseSelfWeight(int lc, int entry) {
  long32 n = Count(kStaticLoadCases);
  if (!selfWeight_ || !tab_[kStaticLoadCases] || lc < -1 || lc >= n) return 0;
  long32 first = lc == -1 ? 0 : lc;
  long32 last = lc == -1 ? n : lc + 1;
  for (long32 c = first; c < last; ++c) {
    SELF_WEIGHT_LIST& list = selfWeight_[c];
    if (entry == -1) {
      telio::Free(list.entries);
      list.entries = nullptr;
      list.count = 0;
    } else {
      for (long32 k = list.count - 1; k >= 0; --k) {
        if (list.entries[k] != entry) continue;
        std::memmove(list.entries + k, list.entries + k + 1,
                     static_cast<size_t>(list.count - 1 - k) * sizeof(uint16_t));
        --list.count;
        break;
      }
    }
    StaticLoad(static_cast<int>(c))->SetSelfWeightCount(static_cast<uint16_t>(list.count));
  }
  return 1;
}

void CFileT3L::RemoveNode(int i) {
  if (i < 0 || i >= Count(kNodes)) return;
  RemoveAt(kNodes, i);
  const long32 removed = i + 1;
  int j = 0;
  while (j < Count(kBeams)) {
    REC32A* b = Beam(j);
    if (b->StartNode() == removed || b->EndNode() == removed) {
      RemoveBeam(j);
      continue;
    }
    if (b->StartNode() > removed) b->SetStartNode(static_cast<uint16_t>(b->StartNode() - 1));
    if (b->EndNode() > removed) b->SetEndNode(static_cast<uint16_t>(b->EndNode() - 1));
    ++j;
  }
  for (int s = 0; s < Count(kSupports); ++s) {
    if (Supp(s)->SupportNode() == removed) {
      RemoveSupport(s);
      break;
    }
  }
}

void CFileT3L::RemoveBeam(int i) { RemoveAt(kBeams, i); }
void CFileT3L::RemovePhysBeam(int i) { RemoveAt(kPhysBeams, i); }
void CFileT3L::RemoveSupport(int i) { RemoveAt(kSupports, i); }
void CFileT3L::RemoveConnection(int i) { RemoveAt(kConnections, i); }
void CFileT3L::RemoveStaticLoadCase(int i) { RemoveAt(kStaticLoadCases, i); }

namespace {

// A record number after record `removed` (1-based) left its table: 0 when
// it named the removed record, one less when it named a later one.
uint16_t Renumbered(uint16_t number, int removed) {
  if (number == removed) return 0;
  return number > removed ? static_cast<uint16_t>(number - 1) : number;
}

}  // namespace

void CFileT3L::RemoveSect(int i) {
  if (i < 0 || i >= Count(kSections)) return;
  RemoveAt(kSections, i);
  for (int j = 0; j < Count(kBeams); ++j) {
    REC32A* b = Beam(j);
    b->SetSectionNo(Renumbered(b->SectionNo(), i + 1));
  }
}

void CFileT3L::RemoveMaterial(int i) {
  if (i < 0 || i >= Count(kMaterials)) return;
  RemoveAt(kMaterials, i);
  for (int j = 0; j < Count(kBeams); ++j) {
    REC32A* b = Beam(j);
    b->SetMaterialNo(Renumbered(b->MaterialNo(), i + 1));
  }
}

void CFileT3L::ClearNodes() {
  FreeKind(kNodes);
  FreeKind(kBeams);
  FreeKind(kSupports);
}

void CFileT3L::ClearBeams() { FreeKind(kBeams); }
void CFileT3L::ClearPhysBeam() { FreeKind(kPhysBeams); }
void CFileT3L::ClearSupports() { FreeKind(kSupports); }
void CFileT3L::ClearConnections() { FreeKind(kConnections); }
void CFileT3L::ClearStaticLoadCases() { FreeKind(kStaticLoadCases); }

void CFileT3L::ClearSects() {
  FreeKind(kSections);
  for (int j = 0; j < Count(kBeams); ++j) Beam(j)->SetSectionNo(0);
}

void CFileT3L::ClearMaterials() {
  FreeKind(kMaterials);
  for (int j = 0; j < Count(kBeams); ++j) Beam(j)->SetMaterialNo(0);
}

int CFileT3L::SetREC(const void* records, int kind, int n) {
  if (kind < 1 || kind > 14 || n < 0) return -1;
  if (kind == 14 || n == 0) {
    FreeKind(kind);
    return -2;
  }
  FreeKind(kind);
  if ((kind == kPhysBeams && n > kMaxPhysBeams) || !Grow(kind, n)) {
    FreeKind(kind);
    return -2;
  }
  std::memset(tab_[kind], 0, static_cast<size_t>(n) * RecordSize(kind));
  if (kind == kStaticLoadCases) std::memset(extra_, 0, static_cast<size_t>(n) * sizeof(LOADCASE_EXTRA));
  SetHeaderCount(kind, n);
  return SetEqualREC(records, kind, n, 0) != 0 ? -1 : 0;
}

int CFileT3L::SetEqualREC(const void* records, int kind, int n, int start) {
  if (!records || kind < 1 || kind > 12 || start < 0 || !tab_[kind] || n < 1) return -1;
  long32 count = Count(kind);
  if (start >= count) return -1;
  long32 copy = n < count - start ? n : count - start;
  size_t size = RecordSize(kind);
  std::memcpy(static_cast<unsigned char*>(tab_[kind]) + static_cast<size_t>(start) * size, records,
              static_cast<size_t>(copy) * size);
  return 0;
}

int CFileT3L::SetREC_ONE(const void* record, int kind, int index) {
  return SetEqualREC(record, kind, 1, index);
}
