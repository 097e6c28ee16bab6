#include "topology/CTOPO_REC.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include <sys/stat.h>

#include "files/CAJF_PATHS.h"
#include "platform/Alloc.h"
#include "platform/CPathObj.h"
#include "platform/LastError.h"
#include "sections/SectionsTools/SMDB.h"

using namespace TOPOStructs;

namespace {

constexpr float kTolerance = 0.001f;
constexpr long32 kResRecordSize = 52;

// Section families the parent lookups search for; frozen with the file
// format.
constexpr int kFamilyTapered = 80;
constexpr int kFamilyComposite = 104;

// A chain is one zero-filled block of n records linked in order, so that
// making and freeing a list of 20,000 beams costs one allocation; it is
// freed from its head.
template <typename T>
T* AllocList(int n) {
  if (n < 1) return nullptr;
  T* block = static_cast<T*>(telio::Calloc(static_cast<size_t>(n), sizeof(T)));
  if (!block) return nullptr;
  for (int i = 0; i < n; ++i) {
    block[i].index = static_cast<uint16_t>(i + 1);
    block[i].next = i + 1 < n ? &block[i + 1] : nullptr;
  }
  return block;
}

template <typename T>
T* NthOf(T* first, int n) {
  if (n < 1) return nullptr;
  for (int i = 1; first && i < n; ++i) first = first->next;
  return first;
}

// name = letter and label in decimal ("%c%i"), cut to size - 1 characters.
// Opening a topology names every node and beam: printf is too slow here.
void FormatName(char* name, size_t size, char letter, int label) {
  char buf[16];
  size_t len = 0;
  buf[len++] = letter;
  unsigned magnitude = label < 0 ? 0u - static_cast<unsigned>(label) : static_cast<unsigned>(label);
  if (label < 0) buf[len++] = '-';
  char digits[12];
  size_t nd = 0;
  do {
    digits[nd++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (nd > 0) buf[len++] = digits[--nd];
  if (len > size - 1) len = size - 1;
  std::memcpy(name, buf, len);
  name[len] = '\0';
}

bool Near(float a, float b) { return std::fabs(a - b) <= kTolerance; }

TOP_SEC* NthOfFamily(const TOPO_REC* topo, int k, int family) {
  if (!topo || !topo->sections || k < 1) return nullptr;
  for (int i = 1; i <= topo->sectionCount; ++i) {
    if (topo->sections[i].Family() == family && --k == 0) return &topo->sections[i];
  }
  return nullptr;
}

// Bytes from the current position to the end; -1 when that cannot be known
// (not a regular file).
long long BytesLeft(std::FILE* f) {
  struct stat st;
  long pos = std::ftell(f);
  if (pos < 0 || fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<long long>(st.st_size) - pos;
}

// Ties the sections to the suite's section catalogue: sections known by
// their dimensions or names are resolved first, then every property block
// is refilled. Without a catalogue the sections stay as read.
void UpdateSectionsFromCatalogue(TOPO_REC* topo, const CString& suiteFolder) {
  ResolveSMDBSectionsTOPO(topo, suiteFolder);
  UpdateSMDBSectionsTOPO(topo, suiteFolder);
}

}  // namespace

// ---------------------------------------------------------------------------
// Object

CTOPO_REC::CTOPO_REC() : topo_(nullptr), compSects_{0, nullptr}, staticCases_(0), dynamicCases_(0) {}

CTOPO_REC::~CTOPO_REC() { DeAllocate(); }

void CTOPO_REC::DeAllocate() {
  DeAllocateTOPO_REC(&topo_);
  FreeCompSects(&compSects_);
}

void CTOPO_REC::Close() {
  DeAllocate();
  staticCases_ = 0;
  dynamicCases_ = 0;
}

int CTOPO_REC::Allocate() {
  DeAllocateTOPO_REC(&topo_);
  topo_ = AllocateTOPO_REC(1, kTopoMaxNodes + 1, kTopoMaxBeams + 1, kTopoMaxSections + 1);
  return topo_ != nullptr;
}

int CTOPO_REC::Open(const char* path) { return OpenWith(path, true); }

int CTOPO_REC::OpenTopology(const char* path) { return OpenWith(path, false); }

int CTOPO_REC::OpenWith(const char* path, bool whole) {
  Close();
  if (!path) {
    telio::SetLastError(telio::kErrorBadArguments);
    return 0;
  }
  if (!Allocate()) {
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return 0;
  }
  ulong32 code;
  {
    CFileTOP top;
    code = whole ? top.Import(path) : top.ImportTopology(path);
    if (code == 0) {
      std::snprintf(topo_->path, sizeof topo_->path, "%s", path);
      ClearTopology(topo_);
      code = static_cast<ulong32>(GenerateFromTOPO_CURDIMS_REC(top.GetTOPO_CURDIMS_REC()));
    }
  }
  if (code != 0) {
    Close();
    telio::SetLastError(code);
    return 0;
  }
  staticCases_ = topo_->staticCases;
  dynamicCases_ = topo_->dynamicCases;
  if (whole && !ReadCompSects(CompSectsPath(path), &compSects_)) FreeCompSects(&compSects_);
  UpdateSectionsFromCatalogue(topo_, GetTelmaroDir());
  ValidateDimensions(topo_);
  telio::SetLastError(0);
  return 1;
}

int CTOPO_REC::GenerateFromTOPO_CURDIMS_REC(const TOPO_CURDIMS_REC* rec) {
  TOPO_REC* t = topo_;
  if (!t || !rec) return telio::kErrorBadArguments;
  const int nodes = rec->NodeCount(), beams = rec->BeamCount(), supports = rec->SupportCount();
  const int sections = rec->SectionCount(), physBeams = rec->PhysBeamCount();
  // The arrays hold slot 0 and one slot per number.
  if ((nodes > 0 && static_cast<uint32_t>(nodes) >= t->nodeCapacity) ||
      (beams > 0 && static_cast<uint32_t>(beams) >= t->beamCapacity) ||
      (sections > 0 && static_cast<uint32_t>(sections) >= t->sectionCapacity)) {
    return telio::kErrorBadArguments;
  }
  if ((nodes > 0 && (!rec->nodes || !t->x || !t->y || !t->z || !t->restraint)) ||
      (beams > 0 && (!rec->beams || !rec->angles || !t->startNode || !t->endNode ||
                     !t->section || !t->angle)) ||
      (supports > 0 && !rec->supports) || (sections > 0 && (!rec->sections || !t->sections)) ||
      (physBeams > 0 && !rec->physBeams)) {
    return telio::kErrorBadArguments;
  }
  ClearTopology(t);
  for (int i = 1; t->sections && i <= t->sectionCount; ++i) {
    telio::Free(t->sections[i].prs);
    t->sections[i].prs = nullptr;
  }

  t->nodeCount = nodes;
  t->beamCount = beams;
  t->supportCount = supports;
  t->sectionCount = 0;  // raised as the sections are copied, so a failure frees only those
  t->flag3D = static_cast<int16_t>(rec->Flag3D());
  t->modelWord = rec->ModelWord();
  t->staticCases = rec->StaticLoadCases();
  t->dynamicCases = rec->DynamicLoadCases();
  t->physBeamCount = physBeams;

  // Lookups by number while the lists are linked; GetNode/GetBeam would walk
  // the chains once per beam.
  NODE_REC** nodeAt = nullptr;
  BEAM_REC** beamAt = nullptr;
  auto fail = [&](int code) {
    telio::Free(nodeAt);
    telio::Free(beamAt);
    ClearTopology(t);
    return code;
  };
  nodeAt = static_cast<NODE_REC**>(telio::Calloc(static_cast<size_t>(nodes) + 1, sizeof(NODE_REC*)));
  beamAt = static_cast<BEAM_REC**>(telio::Calloc(static_cast<size_t>(beams) + 1, sizeof(BEAM_REC*)));
  if (!nodeAt || !beamAt) return fail(telio::kErrorNotEnoughMemory);

  if (nodes > 0) {
    t->nodes = AllocateNodesLList(nodes);
    if (!t->nodes) return fail(telio::kErrorNotEnoughMemory);
  }
  NODE_REC* n = t->nodes;
  for (int i = 1; i <= nodes; ++i, n = n->next) {
    const TOP_NODE& src = rec->nodes[i - 1];
    t->x[i] = src.X();
    t->y[i] = src.Y();
    t->z[i] = src.Z();
    t->restraint[i] = src.Restraint();
    n->label = src.Label();
    n->x = src.X();
    n->y = src.Y();
    n->z = src.Z();
    n->restraint = static_cast<uint8_t>(src.Restraint() & 0xFF);
    FormatName(n->name, sizeof n->name, 'N', n->label);
    nodeAt[i] = n;
  }

  if (beams > 0) {
    t->beams = AllocateBeamsLList(beams);
    if (!t->beams) return fail(telio::kErrorNotEnoughMemory);
  }
  const bool plane = rec->Flag3D() == 0;
  BEAM_REC* b = t->beams;
  for (int i = 1; i <= beams; ++i, b = b->next) {
    const TOP_BEAM& src = rec->beams[i - 1];
    const float angle = rec->angles[i - 1];
    t->startNode[i] = src.StartNode();
    t->endNode[i] = src.EndNode();
    t->section[i] = src.Section();
    t->angle[i] = angle;
    b->section = src.Section();
    b->label = src.Label();
    b->mark = 0;
    b->angle = angle;
    b->zeroAngle = (plane && std::fabs(angle) <= kTolerance) ? 1 : 0;
    b->start = src.StartNode() <= nodes ? nodeAt[src.StartNode()] : nullptr;
    b->end = src.EndNode() <= nodes ? nodeAt[src.EndNode()] : nullptr;
    FormatName(b->name, sizeof b->name, 'B', b->label);
    beamAt[i] = b;
  }

  for (int i = 0; i < supports; ++i) {
    int node = rec->supports[i].Node();
    if (node >= 1 && node <= nodes) t->restraint[node] = 1;
  }

  for (int i = 1; i <= sections; ++i) {
    TOP_SEC& dst = t->sections[i];
    dst = rec->sections[i - 1];
    dst.prs = nullptr;
    t->sectionCount = i;
    if (rec->sections[i - 1].prs) {
      dst.prs = static_cast<TOP_PRS*>(telio::Malloc(sizeof(TOP_PRS)));
      if (!dst.prs) return fail(telio::kErrorNotEnoughMemory);
      *dst.prs = *rec->sections[i - 1].prs;
    }
  }

  if (physBeams > 0) {
    t->physBeams = AllocatePhysBeamsLList(physBeams);
    if (!t->physBeams) return fail(telio::kErrorNotEnoughMemory);
  }
  CURPHBM_REC* p = t->physBeams;
  for (int i = 1; i <= physBeams; ++i, p = p->next) {
    const CURPHBM_REC_TOPO& src = rec->physBeams[i - 1];
    p->label = src.Label();
    p->beamCount = src.BeamCount();
    p->firstNode = src.FirstNode() >= 1 && src.FirstNode() <= nodes ? nodeAt[src.FirstNode()] : nullptr;
    p->lastNode = src.LastNode() >= 1 && src.LastNode() <= nodes ? nodeAt[src.LastNode()] : nullptr;
    if (p->beamCount <= 0) continue;
    p->beams = static_cast<BEAM_REC**>(
        telio::Calloc(static_cast<size_t>(p->beamCount), sizeof(BEAM_REC*)));
    if (!p->beams) return fail(telio::kErrorNotEnoughMemory);
    if (!src.beams) continue;
    for (int k = 0; k < p->beamCount; ++k) {
      int number = src.beams[k];
      p->beams[k] = number >= 1 && number <= beams ? beamAt[number] : nullptr;
    }
  }

  telio::Free(nodeAt);
  telio::Free(beamAt);
  return 0;
}

// ---------------------------------------------------------------------------
// Record blocks

TOPO_REC* CTOPO_REC::AllocateTOPO_REC(int count, ulong32 nodes, ulong32 beams, ulong32 sections) {
  if (count < 1) return nullptr;
  TOPO_REC* t = static_cast<TOPO_REC*>(telio::Calloc(static_cast<size_t>(count), sizeof(TOPO_REC)));
  if (!t) return nullptr;
  bool ok = true;
  auto alloc = [&ok](ulong32 slots, size_t size) -> void* {
    if (!ok || slots == 0) return nullptr;
    void* p = telio::Calloc(slots, size);
    if (!p) ok = false;
    return p;
  };
  t->restraint = static_cast<int32_t*>(alloc(nodes, sizeof(int32_t)));
  t->x = static_cast<float*>(alloc(nodes, sizeof(float)));
  t->y = static_cast<float*>(alloc(nodes, sizeof(float)));
  t->z = static_cast<float*>(alloc(nodes, sizeof(float)));
  t->nodeExtra1 = static_cast<int32_t*>(alloc(nodes, sizeof(int32_t)));
  t->nodeExtra2 = static_cast<int32_t*>(alloc(nodes, sizeof(int32_t)));
  t->startNode = static_cast<int32_t*>(alloc(beams, sizeof(int32_t)));
  t->endNode = static_cast<int32_t*>(alloc(beams, sizeof(int32_t)));
  t->section = static_cast<int32_t*>(alloc(beams, sizeof(int32_t)));
  t->angle = static_cast<float*>(alloc(beams, sizeof(float)));
  t->beamExtra = static_cast<int32_t*>(alloc(beams, sizeof(int32_t)));
  t->sections = static_cast<TOP_SEC*>(alloc(sections, sizeof(TOP_SEC)));
  t->nodeCapacity = nodes;
  t->beamCapacity = beams;
  t->sectionCapacity = sections;
  if (!ok) DeAllocateTOPO_REC(&t);
  return t;
}

void CTOPO_REC::DeAllocateTOPO_REC(TOPO_REC** p) {
  if (!p || !*p) return;
  TOPO_REC* t = *p;
  ClearTopology(t);
  if (t->sections) {
    for (int i = 1; i <= t->sectionCount && static_cast<uint32_t>(i) < t->sectionCapacity; ++i) {
      telio::Free(t->sections[i].prs);
    }
  }
  telio::Free(t->restraint);
  telio::Free(t->x);
  telio::Free(t->y);
  telio::Free(t->z);
  telio::Free(t->nodeExtra1);
  telio::Free(t->nodeExtra2);
  telio::Free(t->startNode);
  telio::Free(t->endNode);
  telio::Free(t->section);
  telio::Free(t->angle);
  telio::Free(t->beamExtra);
  telio::Free(t->sections);
  telio::Free(t);
  *p = nullptr;
}

void CTOPO_REC::ClearTopology(TOPO_REC* topo) {
  if (!topo) return;
  DeAllocatePhysBeamsLList(topo->physBeams);
  DeAllocateBeamsLList(topo->beams);
  DeAllocateNodesLList(topo->nodes);
  topo->physBeams = nullptr;
  topo->beams = nullptr;
  topo->nodes = nullptr;
}

NODE_REC* CTOPO_REC::AllocateNodesLList(int n) { return AllocList<NODE_REC>(n); }
BEAM_REC* CTOPO_REC::AllocateBeamsLList(int n) { return AllocList<BEAM_REC>(n); }
CURPHBM_REC* CTOPO_REC::AllocatePhysBeamsLList(int n) { return AllocList<CURPHBM_REC>(n); }
void CTOPO_REC::DeAllocateNodesLList(NODE_REC* first) { telio::Free(first); }
void CTOPO_REC::DeAllocateBeamsLList(BEAM_REC* first) { telio::Free(first); }

void CTOPO_REC::DeAllocatePhysBeamsLList(CURPHBM_REC* first) {
  for (CURPHBM_REC* p = first; p; p = p->next) {
    telio::Free(p->beams);
    p->beams = nullptr;
  }
  telio::Free(first);
}

NODE_REC* CTOPO_REC::GetNode(NODE_REC* first, int n) { return NthOf(first, n); }
BEAM_REC* CTOPO_REC::GetBeam(BEAM_REC* first, int n) { return NthOf(first, n); }

// ---------------------------------------------------------------------------
// Lookups

BEAM_REC* CTOPO_REC::FindBeam(BEAM_REC* first, float x1, float y1, float z1, float x2, float y2,
                              float z2) {
  for (BEAM_REC* b = first; b; b = b->next) {
    const NODE_REC* s = b->start;
    const NODE_REC* e = b->end;
    if (!s || !e) continue;
    if (Near(s->x, x1) && Near(s->y, y1) && Near(s->z, z1) && Near(e->x, x2) && Near(e->y, y2) &&
        Near(e->z, z2)) {
      return b;
    }
    if (Near(s->x, x2) && Near(s->y, y2) && Near(s->z, z2) && Near(e->x, x1) && Near(e->y, y1) &&
        Near(e->z, z1)) {
      return b;
    }
  }
  return nullptr;
}

int CTOPO_REC::GetBeamData(const TOPO_REC* topo, int node, int beam, float* dx, float* dy,
                           float* dz, float* length) {
  float vx = 0, vy = 0, vz = 0, len = 0;
  int ok = 0;
  if (topo && node >= 1 && node <= topo->nodeCount && beam >= 1 && beam <= topo->beamCount) {
    int other = topo->startNode[beam] == node ? topo->endNode[beam] : topo->startNode[beam];
    // A beam may name a node the file does not hold; its coordinates are
    // unknown.
    if (other >= 1 && other <= topo->nodeCount) {
      vx = topo->x[other] - topo->x[node];
      vy = topo->y[other] - topo->y[node];
      vz = topo->z[other] - topo->z[node];
      len = static_cast<float>(std::sqrt(std::fabs(static_cast<double>(vx) * vx +
                                                   static_cast<double>(vy) * vy +
                                                   static_cast<double>(vz) * vz)));
      ok = 1;
    }
  }
  if (dx) *dx = vx;
  if (dy) *dy = vy;
  if (dz) *dz = vz;
  if (length) *length = len;
  return ok;
}

double CTOPO_REC::GetAngleBetweenBeams(const TOPO_REC* topo, int node, int beam1, int beam2) {
  if (!topo) return 0;
  float x1, y1, z1, l1, x2, y2, z2, l2;
  GetBeamData(topo, node, beam1, &x1, &y1, &z1, &l1);
  GetBeamData(topo, node, beam2, &x2, &y2, &z2, &l2);
  const double lengths = static_cast<double>(l1) * l2;
  double cosine = 0;
  if (std::fabs(lengths) > kTolerance) {
    cosine = (static_cast<double>(x1) * x2 + static_cast<double>(y1) * y2 +
              static_cast<double>(z1) * z2) /
             lengths;
  }
  if (std::fabs(cosine) > 1) return 0;
  return std::acos(cosine);
}

TOP_SEC* CTOPO_REC::FindTaperedParent(const TOPO_REC* topo, int k) {
  return NthOfFamily(topo, k, kFamilyTapered);
}

TOP_SEC* CTOPO_REC::FindCompositeParent(const TOPO_REC* topo, int k) {
  return NthOfFamily(topo, k, kFamilyComposite);
}

TOP_SEC* CTOPO_REC::GetCompositeSteelSection(const TOP_SEC* s) const {
  if (!s || !topo_ || !compSects_.records) return nullptr;
  int k = s->SubNumber();
  if (k < 1 || static_cast<ulong32>(k) > compSects_.count) return nullptr;
  ulong32 steel = compSects_.records[k - 1].SteelSection();
  if (steel < 1 || steel > static_cast<ulong32>(topo_->sectionCount)) return nullptr;
  return &topo_->sections[steel];
}

long32 CTOPO_REC::GetReactionsOffset(long32 lc, bool afterStatic) const {
  if (!topo_) return 0;
  long long c = static_cast<long long>(lc) + (afterStatic ? staticCases_ : 0);
  long long perCase = topo_->nodeCount + 2LL * topo_->beamCount + topo_->supportCount;
  return static_cast<long32>((perCase * (c - 1) + topo_->nodeCount + 1) * kResRecordSize);
}

long32 CTOPO_REC::GetForcesOffset(long32 lc, int beam, bool afterStatic) const {
  if (!topo_) return 0;
  long long c = static_cast<long long>(lc) + (afterStatic ? staticCases_ : 0);
  long long perCase = topo_->nodeCount + 2LL * topo_->beamCount + topo_->supportCount;
  return static_cast<long32>(
      (perCase * (c - 1) + topo_->nodeCount + topo_->supportCount + beam) * kResRecordSize);
}

// ---------------------------------------------------------------------------
// Composite sections

CString CTOPO_REC::CompSectsPath(const char* path) {
  std::string s = path ? path : "";
  for (size_t at = s.find("TOP"); at != std::string::npos; at = s.find("TOP", at + 2)) {
    s.replace(at, 3, "CS");
  }
  return CString(s.c_str());
}

void CTOPO_REC::FreeCompSects(COMPSECTS* cs) {
  if (!cs) return;
  telio::Free(cs->records);
  cs->records = nullptr;
  cs->count = 0;
}

int CTOPO_REC::ReadCompSects(const char* path, COMPSECTS* cs) {
  if (cs) FreeCompSects(cs);
  if (!path || !cs) {
    telio::SetLastError(telio::kErrorBadArguments);
    return 0;
  }
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) return 0;  // OpenFile set the code
  ulong32 code = 0;
  unsigned char head[8];
  if (std::fread(head, 1, sizeof head, f) != sizeof head) {
    code = std::ferror(f) ? telio::kErrorReadFault : telio::kErrorHandleEof;
  }
  long32 count = code == 0 ? static_cast<long32>(telio::DecodeFixed32(head + 4)) : 0;
  if (code == 0 && count < 0) code = telio::kErrorFileCorrupt;
  if (code == 0 && count > 0) {
    // Only the whole records the file holds are allocated.
    unsigned long long wanted = static_cast<ulong32>(count);
    long long left = BytesLeft(f);
    unsigned long long fit = left < 0 ? wanted : static_cast<unsigned long long>(left) / COMPSECT_REC::kSize;
    unsigned long long n = fit < wanted ? fit : wanted;
    if (n > 0) {
      cs->records = static_cast<COMPSECT_REC*>(telio::Calloc(n, sizeof(COMPSECT_REC)));
      if (!cs->records) code = telio::kErrorNotEnoughMemory;
    }
    if (code == 0 && n > 0) {
      size_t got = std::fread(cs->records, COMPSECT_REC::kSize, n, f);
      cs->count = static_cast<ulong32>(got);
      if (got < n) code = std::ferror(f) ? telio::kErrorReadFault : telio::kErrorHandleEof;
    }
    if (code == 0 && n < wanted) code = telio::kErrorHandleEof;
  }
  std::fclose(f);
  if (code == 0) return 1;
  // A short file keeps its whole records; other failures leave nothing.
  if (code != telio::kErrorHandleEof) FreeCompSects(cs);
  if (cs->count == 0) FreeCompSects(cs);
  telio::SetLastError(code);
  return 0;
}

// ---------------------------------------------------------------------------
// Dimensions

void CTOPO_REC::Dimensions3D(TOPO_REC* topo) {
  if (!topo) return;
  topo->dims[0] = 300;
  topo->dims[1] = 70;
}

void CTOPO_REC::Dimensions2D(TOPO_REC* topo) {
  if (!topo) return;
  topo->dims[0] = 0;
  topo->dims[1] = 90;
}

void CTOPO_REC::ValidateDimensions(TOPO_REC* topo) {
  if (!topo) return;
  if (topo->flag3D != 0) {
    Dimensions3D(topo);
  } else {
    Dimensions2D(topo);
  }
}
