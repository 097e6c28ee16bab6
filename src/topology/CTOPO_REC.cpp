#include "topology/CTOPO_REC.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "files/CAJF_PATHS.h"
#include "files/FileReading.h"
#include "files/TopFileReader.h"
#include "platform/Alloc.h"
#include "platform/CPathObj.h"
#include "platform/LastError.h"
#include "sections/SectionsTools/SMDB.h"
#include "topology/BeamIndex.h"

using namespace TOPOStructs;

namespace {

constexpr double kTolerance = kTopoTolerance;
constexpr long32 kResRecordSize = 52;

// Section families the parent lookups search for; frozen with the file
// format.
constexpr int kFamilyTapered = 80;
constexpr int kFamilyComposite = 104;

// List records are made in blocks: a list of 20,000 beams costs no
// allocation of its own, and an opened topology's node and beam records
// share one allocation with its arrays, which the allocator then keeps for
// the next topology rather than give back to the system and fault in again.
// Each slot holds the address of its area (the slots of one list), and the
// block counts what still uses it: the records alive and, when it holds a
// topology's arrays, one for them. Any record or part of a chain can then be
// freed on its own, and the block goes with its last user.
struct ChainBlock {
  size_t users;
};

struct Area {
  ChainBlock* block;
  size_t slots;
};

template <typename T>
struct Slot {
  Area* area;
  T record;
};

constexpr size_t RoundUp(size_t n, size_t to) { return (n + to - 1) / to * to; }

template <typename T>
constexpr size_t SlotsAfterArea() {
  return RoundUp(sizeof(Area), alignof(Slot<T>));
}

template <typename T>
Slot<T>* SlotsOf(Area* area) {
  return reinterpret_cast<Slot<T>*>(reinterpret_cast<unsigned char*>(area) + SlotsAfterArea<T>());
}

template <typename T>
Area* AreaOf(Slot<T>* slots) {
  return reinterpret_cast<Area*>(reinterpret_cast<unsigned char*>(slots) - SlotsAfterArea<T>());
}

void Release(ChainBlock* block, size_t users) {
  block->users -= users;
  if (block->users == 0) telio::Free(block);
}

// One block: an area of a slots of A and one of b slots of B (none when
// not positive), then `extra` bytes for the caller, at *extraAt; no block
// when it would hold nothing. The slots are not filled: their area
// addresses and records are the caller's to write. The block's users are
// the slots and, with extra bytes, one for them.
struct Lists {
  ChainBlock* block = nullptr;
  void* first = nullptr;
  void* second = nullptr;
};

template <typename A, typename B>
Lists MakeBlock(int a, int b, size_t extra, unsigned char** extraAt) {
  const size_t firstAt = RoundUp(sizeof(ChainBlock), alignof(Area));
  const size_t secondAt =
      RoundUp(firstAt + (a > 0 ? SlotsAfterArea<A>() + static_cast<size_t>(a) * sizeof(Slot<A>) : 0), alignof(Area));
  const size_t extraFrom =
      RoundUp(secondAt + (b > 0 ? SlotsAfterArea<B>() + static_cast<size_t>(b) * sizeof(Slot<B>) : 0),
              alignof(std::max_align_t));
  const size_t users =
      (a > 0 ? static_cast<size_t>(a) : 0) + (b > 0 ? static_cast<size_t>(b) : 0) + (extra > 0 ? 1 : 0);
  Lists made;
  auto* raw = static_cast<unsigned char*>(users > 0 ? telio::Malloc(extraFrom + extra) : nullptr);
  if (!raw) return made;
  made.block = new (raw) ChainBlock{users};
  if (a > 0) made.first = SlotsOf<A>(new (raw + firstAt) Area{made.block, static_cast<size_t>(a)});
  if (b > 0) made.second = SlotsOf<B>(new (raw + secondAt) Area{made.block, static_cast<size_t>(b)});
  if (extraAt) *extraAt = raw + extraFrom;
  return made;
}

template <typename T>
T* AllocList(int n) {
  if (n < 1) return nullptr;
  auto* slots = static_cast<Slot<T>*>(MakeBlock<T, T>(n, 0, 0, nullptr).first);
  if (!slots) return nullptr;
  Area* area = AreaOf(slots);
  // Each slot written once, whole: zero, its number, its link.
  for (int i = 0; i < n; ++i) {
    slots[i].area = area;
    slots[i].record = T{};
    slots[i].record.index = static_cast<uint16_t>(i + 1);
    slots[i].record.next = i + 1 < n ? &slots[i + 1].record : nullptr;
  }
  return &slots[0].record;
}

// Frees every record of a chain made here, each after release(it). A chain
// mostly runs from slot to slot of one area as it was made: such a run is
// taken whole, its links compared with the addresses they would have rather
// than followed one after another.
template <typename T, typename Each>
void FreeList(T* first, Each release) {
  static_assert(offsetof(Slot<T>, record) == sizeof(Area*), "the record follows its area's address");
  while (first) {
    auto* slot = reinterpret_cast<Slot<T>*>(reinterpret_cast<unsigned char*>(first) - offsetof(Slot<T>, record));
    Area* area = slot->area;
    const Slot<T>* last = SlotsOf<T>(area) + (area->slots - 1);
    size_t run = 1;
    release(&slot->record);
    while (slot != last && slot->record.next == &slot[1].record) {
      ++slot;
      ++run;
      release(&slot->record);
    }
    first = slot->record.next;
    Release(area->block, run);
  }
}

template <typename T>
T* NthOf(T* first, int n) {
  if (n < 1) return nullptr;
  for (int i = 1; first && i < n; ++i) first = first->next;
  return first;
}

// Names "%c%i" of a letter and a label, cut to size - 1 characters and
// NUL-padded to size (7 or 8). Opening a topology names every node and
// beam, and labels mostly run on by one: the name of the next label is the
// last one's, counted up, mostly by adding one to its last digit. The text
// is kept as the 8 bytes of an integer (little-endian) and stored as one
// word over the name field and, after a 7-byte name, its padding byte.
class Namer {
 public:
  explicit Namer(char letter) : letter_(letter) {}

  template <class Record>
  void Name(Record& r, int label) {
    constexpr size_t kSize = sizeof r.name;
    static_assert(kSize == 7 || kSize == 8, "names are 7 or 8 bytes");
    static_assert(offsetof(Record, name) == 0 && offsetof(Record, index) == 8, "the name's word ends at the index");
    const bool next = label == last_ + 1 && last_ >= 0;
    if (next && ((text_ >> lastDigit_) & 0xFF) < '9' && lastDigit_ < 56) {
      text_ += uint64_t{1} << lastDigit_;
    } else {
      // The slow ways return the new text rather than write it, so that
      // the namer of a loop stays in registers.
      const uint64_t up = next ? CountedUp(text_, lastDigit_) : 0;
      text_ = up != 0 ? up : Formatted(letter_, label);
      lastDigit_ = LastDigit(text_);
    }
    last_ = label;
    telio::EncodeFixed64(reinterpret_cast<unsigned char*>(&r),
                         text_ & (kSize == 8 ? 0x00FFFFFFFFFFFFFFull : 0x0000FFFFFFFFFFFFull));
  }

 private:
  static uint64_t Formatted(char letter, int label) {
    char digits[12];
    int n = 0;
    unsigned v = label < 0 ? 0u - static_cast<unsigned>(label) : static_cast<unsigned>(label);
    do {
      digits[n++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v != 0);
    uint64_t text = static_cast<unsigned char>(letter);
    int length = 1;
    if (label < 0) text |= static_cast<uint64_t>('-') << (8 * length++);
    while (n > 0 && length < 8) text |= static_cast<uint64_t>(static_cast<unsigned char>(digits[--n])) << (8 * length++);
    return text;
  }
  // The shift of the last character of a text.
  static int LastDigit(uint64_t text) {
    int shift = 56;
    while (shift > 0 && ((text >> shift) & 0xFF) == 0) shift -= 8;
    return shift;
  }
  // The digits after the letter plus one; 0 when a digit would be added
  // (or they were cut to fit).
  static uint64_t CountedUp(uint64_t text, int lastDigit) {
    if (lastDigit >= 56) return 0;
    for (int i = lastDigit; i >= 8; i -= 8) {
      const uint64_t place = static_cast<uint64_t>(1) << i;
      if (((text >> i) & 0xFF) != '9') return text + place;
      text -= 9 * place;  // '9' becomes '0', carry on
    }
    return 0;
  }

  char letter_;
  uint64_t text_ = 0;
  int lastDigit_ = 0;  // shift of the last character
  int last_ = -2;
};

TOP_SEC* NthOfFamily(const TOPO_REC* topo, int k, int family) {
  if (!topo || !topo->sections || k < 1) return nullptr;
  for (int i = 1; i <= topo->sectionCount; ++i) {
    if (topo->sections[i].Family() == family && --k == 0) return &topo->sections[i];
  }
  return nullptr;
}

// The arrays hold slot 0 and one slot per number.
bool FitsCapacity(uint32_t nodes, uint32_t beams, uint32_t sections, const TOPO_CURDIMS_REC* rec) {
  auto fits = [](uint32_t count, uint32_t capacity) { return count == 0 || count < capacity; };
  return fits(rec->NodeCount(), nodes) && fits(rec->BeamCount(), beams) && fits(rec->SectionCount(), sections);
}

bool FitsCapacity(const TOPO_REC* t, const TOPO_CURDIMS_REC* rec) {
  return FitsCapacity(t->nodeCapacity, t->beamCapacity, t->sectionCapacity, rec);
}

// The number-indexed arrays of a topology in field order: six of nodes,
// five of beams.
struct ArrayFields {
  void** nodes[6];
  void** beams[5];
};

ArrayFields FieldsOf(TOPO_REC* t) {
  return {{reinterpret_cast<void**>(&t->restraint), reinterpret_cast<void**>(&t->x), reinterpret_cast<void**>(&t->y),
           reinterpret_cast<void**>(&t->z), reinterpret_cast<void**>(&t->nodeExtra1),
           reinterpret_cast<void**>(&t->nodeExtra2)},
          {reinterpret_cast<void**>(&t->startNode), reinterpret_cast<void**>(&t->endNode),
           reinterpret_cast<void**>(&t->section), reinterpret_cast<void**>(&t->angle),
           reinterpret_cast<void**>(&t->beamExtra)}};
}

// Frees the profile records of the sections in use and forgets them.
void FreeSectionProfiles(TOPO_REC* t) {
  if (!t->sections) return;
  for (int i = 1; i <= t->sectionCount && static_cast<uint32_t>(i) < t->sectionCapacity; ++i) {
    telio::Free(t->sections[i].prs);
    t->sections[i].prs = nullptr;
  }
}

// A zero-filled block of count records, the first with arrays of the given
// capacity, each zero-filled on its own.
TOPO_REC* AllocateRecord(int count, ulong32 nodes, ulong32 beams, ulong32 sections) {
  TOPO_REC* t = static_cast<TOPO_REC*>(telio::Calloc(static_cast<size_t>(count), sizeof(TOPO_REC)));
  if (!t) return nullptr;
  t->nodeCapacity = nodes;
  t->beamCapacity = beams;
  t->sectionCapacity = sections;
  bool ok = true;
  auto alloc = [&ok](void** field, ulong32 slots, size_t size) {
    if (!ok || slots == 0) return;
    *field = telio::Calloc(slots, size);
    if (!*field) ok = false;
  };
  const ArrayFields fields = FieldsOf(t);
  for (void** f : fields.nodes) alloc(f, nodes, 4);
  for (void** f : fields.beams) alloc(f, beams, 4);
  alloc(reinterpret_cast<void**>(&t->sections), sections, sizeof(TOP_SEC));
  if (!ok) CTOPO_REC::DeAllocateTOPO_REC(&t);
  return t;
}

// A topology of the standard capacity for a file of the given counts: its
// arrays and the slots of its node and beam records in one block, of which
// only slot 0 of each array is zeroed (the slots up to the counts are
// written by the one reading of the file, and those beyond are never read).
TOPO_REC* AllocateOpened(int nodeCount, int beamCount, Lists* lists) {
  TOPO_REC* t = static_cast<TOPO_REC*>(telio::Calloc(1, sizeof(TOPO_REC)));
  if (!t) return nullptr;
  t->nodeCapacity = kTopoMaxNodes + 1;
  t->beamCapacity = kTopoMaxBeams + 1;
  t->sectionCapacity = kTopoMaxSections + 1;
  const size_t nodeBytes = size_t{4} * t->nodeCapacity, beamBytes = size_t{4} * t->beamCapacity;
  const size_t sectionBytes = sizeof(TOP_SEC) * t->sectionCapacity;
  unsigned char* at = nullptr;
  *lists = MakeBlock<NODE_REC, BEAM_REC>(nodeCount, beamCount, sectionBytes + 6 * nodeBytes + 5 * beamBytes, &at);
  if (!lists->block) {
    telio::Free(t);
    return nullptr;
  }
  t->arrays = lists->block;
  auto place = [&at](void** field, size_t bytes, size_t slot) {
    *field = at;
    std::memset(at, 0, slot);
    at += bytes;
  };
  // Sections first, for their alignment.
  place(reinterpret_cast<void**>(&t->sections), sectionBytes, sizeof(TOP_SEC));
  const ArrayFields fields = FieldsOf(t);
  for (void** f : fields.nodes) place(f, nodeBytes, 4);
  for (void** f : fields.beams) place(f, beamBytes, 4);
  return t;
}

// The topology's records, filled in one pass from the TOP file's records
// (see files/TopFileReader.h): node and beam names are written straight
// into the list records, beams find their nodes by position.
class TopologySink {
 public:
  // The slots of the node and beam records are those of lists, made for
  // the header's counts. anglesHeld: the angle array already holds the
  // beams' angles, so that a beam record is written whole, once; otherwise
  // the angles are given after the beams, if at all.
  TopologySink(const TOPO_CURDIMS_REC& head, TOPO_REC* t, BeamIndex* index, bool anglesHeld, const Lists& lists)
      : head_(head),
        t_(t),
        index_(index),
        plane_(head.Flag3D() == 0),
        anglesHeld_(anglesHeld),
        block_(lists.block),
        nodeSlots_(static_cast<Slot<NODE_REC>*>(lists.first)),
        beamSlots_(static_cast<Slot<BEAM_REC>*>(lists.second)) {}
  ~TopologySink() {
    // Lists that were not filled whole were never handed to the topology.
    if (nodeSlots_ && !t_->nodes) Release(block_, static_cast<size_t>(head_.NodeCount()));
    if (beamSlots_ && !t_->beams) Release(block_, static_cast<size_t>(head_.BeamCount()));
  }
  TopologySink(const TopologySink&) = delete;
  TopologySink& operator=(const TopologySink&) = delete;

  ulong32 Begin() {
    const int nodes = head_.NodeCount(), beams = head_.BeamCount(), sections = head_.SectionCount();
    t_->nodeCount = nodes;
    t_->beamCount = beams;
    t_->supportCount = head_.SupportCount();
    t_->flag3D = static_cast<int16_t>(head_.Flag3D());
    t_->modelWord = head_.ModelWord();
    t_->staticCases = head_.StaticLoadCases();
    t_->dynamicCases = head_.DynamicLoadCases();
    t_->physBeamCount = head_.PhysBeamCount();
    if (sections > 0) std::memset(t_->sections + 1, 0, static_cast<size_t>(sections) * sizeof(TOP_SEC));
    t_->sectionCount = sections;
    // Physical beams are filled one by one and may stop short: they are
    // linked and zeroed first.
    if (head_.PhysBeamCount() > 0) {
      t_->physBeams = nextPhys_ = CTOPO_REC::AllocatePhysBeamsLList(head_.PhysBeamCount());
      if (!t_->physBeams) return telio::kErrorNotEnoughMemory;
    }
    if (!index_->Reserve(static_cast<uint32_t>(nodes), static_cast<uint32_t>(beams))) {
      return telio::kErrorNotEnoughMemory;
    }
    return 0;
  }

  // The records are converted as they come, a chunk at a time.
  unsigned char* Direct(size_t) { return nullptr; }

  // Each slot is zeroed and filled in turn, while its memory is at hand:
  // its padding is then zero, as in a list made by AllocList. The loops
  // work on copies of the tables' addresses, which the stores into the
  // records would otherwise make the compiler fetch again for every record.
  void Nodes(int first, const unsigned char* p, int n) {
    if (!nodeSlots_) return;  // none to read
    Slot<NODE_REC>* const slots = nodeSlots_;
    Area* const area = AreaOf(slots);
    float* const x = t_->x;
    float* const y = t_->y;
    float* const z = t_->z;
    int32_t* const restraint = t_->restraint;
    const int count = head_.NodeCount();
    Namer names = nodeNames_;
    BeamIndex::Box box = box_;
    for (int i = first + 1; i <= first + n; ++i, p += TOP_NODE::kSize) {
      const TOP_NODE& src = *reinterpret_cast<const TOP_NODE*>(p);
      Slot<NODE_REC>& slot = slots[i - 1];
      std::memset(static_cast<void*>(&slot), 0, sizeof slot);
      NODE_REC& r = slot.record;
      slot.area = area;
      r.x = x[i] = src.X();
      r.y = y[i] = src.Y();
      r.z = z[i] = src.Z();
      restraint[i] = src.Restraint();
      r.index = static_cast<uint16_t>(i);
      r.label = src.Label();
      r.restraint = static_cast<uint8_t>(src.Restraint() & 0xFF);
      r.next = i < count ? &slots[i].record : nullptr;
      names.Name(r, r.label);
      box.Add(r.x, r.y, r.z);
    }
    nodeNames_ = names;
    box_ = box;
    if (first + n == count) {
      t_->nodes = &slots[0].record;
      index_->IndexNodes(x, y, z, box);
    }
  }

  void Beams(int first, const unsigned char* p, int n) {
    if (!beamSlots_) return;  // none to read
    Slot<BEAM_REC>* const slots = beamSlots_;
    Slot<NODE_REC>* const nodeSlots = nodeSlots_;
    Area* const area = AreaOf(slots);
    int32_t* const startNode = t_->startNode;
    int32_t* const endNode = t_->endNode;
    int32_t* const section = t_->section;
    float* const angles = t_->angle;
    const bool held = anglesHeld_;
    const int count = head_.BeamCount(), nodes = head_.NodeCount();
    Namer names = beamNames_;
    const BeamIndex::Chains chains = index_->BeamChains();
    for (int i = first + 1; i <= first + n; ++i, p += TOP_BEAM::kSize) {
      const TOP_BEAM& src = *reinterpret_cast<const TOP_BEAM*>(p);
      Slot<BEAM_REC>& slot = slots[i - 1];
      std::memset(static_cast<void*>(&slot), 0, sizeof slot);
      BEAM_REC& b = slot.record;
      slot.area = area;
      const int start = src.StartNode(), end = src.EndNode();
      startNode[i] = start;
      endNode[i] = end;
      section[i] = b.section = src.Section();
      const float angle = held ? angles[i] : 0;
      angles[i] = b.angle = angle;
      b.zeroAngle = ZeroAngle(angle);
      b.index = static_cast<uint16_t>(i);
      b.label = src.Label();
      b.start = NodeOf(nodeSlots, start, nodes);
      b.end = NodeOf(nodeSlots, end, nodes);
      b.next = i < count ? &slots[i].record : nullptr;
      names.Name(b, b.label);
      chains.Add(static_cast<uint32_t>(i), start, end);
    }
    beamNames_ = names;
    if (first + n == count) {
      t_->beams = &slots[0].record;
      // The beam records lie one slot apart in list order, as just made.
      index_->Finish(t_->beams, sizeof(Slot<BEAM_REC>), endNode);
    }
  }

  void Supports(int, const unsigned char* p, int n) {
    for (int k = 0; k < n; ++k, p += TOP_SUPPORT::kSize) {
      const int node = reinterpret_cast<const TOP_SUPPORT*>(p)->Node();
      if (node >= 1 && node <= head_.NodeCount()) t_->restraint[node] = 1;
    }
  }

  TOP_SEC* Sections() { return t_->sections + 1; }

  void Angles(int first, const unsigned char* p, int n) {
    if (anglesHeld_) return;
    for (int k = 0; k < n; ++k) {
      const int i = first + k + 1;
      const float angle = telio::DecodeFloat(p + 4 * k);
      BEAM_REC& b = beamSlots_[i - 1].record;
      t_->angle[i] = b.angle = angle;
      b.zeroAngle = ZeroAngle(angle);
    }
  }

  // Called for the physical beams in list order.
  ulong32 PhysBeam(int, const unsigned char* p, const unsigned char* numbers) {
    CURPHBM_REC* r = nextPhys_;
    nextPhys_ = r->next;
    const int nodes = head_.NodeCount(), beams = head_.BeamCount();
    auto node = [&](int number) { return NodeOf(nodeSlots_, number, nodes); };
    r->label = telio::DecodeFixed16(p);
    r->beamCount = static_cast<int16_t>(telio::DecodeFixed16(p + 2));
    r->firstNode = node(static_cast<int16_t>(telio::DecodeFixed16(p + 4)));
    r->lastNode = node(static_cast<int16_t>(telio::DecodeFixed16(p + 6)));
    if (r->beamCount <= 0) return 0;
    r->beams = static_cast<BEAM_REC**>(telio::Malloc(static_cast<size_t>(r->beamCount) * sizeof(BEAM_REC*)));
    if (!r->beams) return telio::kErrorNotEnoughMemory;
    for (int k = 0; k < r->beamCount; ++k) {
      const int number = static_cast<int16_t>(telio::DecodeFixed16(numbers + 2 * k));
      r->beams[k] = number >= 1 && number <= beams ? &beamSlots_[number - 1].record : nullptr;
    }
    return 0;
  }

 private:
  // Node number `number`'s record; null outside 1 to nodes.
  static NODE_REC* NodeOf(Slot<NODE_REC>* slots, int number, int nodes) {
    return static_cast<unsigned>(number - 1) < static_cast<unsigned>(nodes) ? &slots[number - 1].record : nullptr;
  }
  uint16_t ZeroAngle(float angle) const {
    return plane_ && std::fabs(static_cast<double>(angle)) <= kTolerance ? 1 : 0;
  }

  const TOPO_CURDIMS_REC& head_;
  TOPO_REC* t_;
  BeamIndex* index_;
  const bool plane_;
  const bool anglesHeld_;
  ChainBlock* const block_;
  Slot<NODE_REC>* const nodeSlots_;
  Slot<BEAM_REC>* const beamSlots_;
  CURPHBM_REC* nextPhys_ = nullptr;
  Namer nodeNames_{'N'};
  Namer beamNames_{'B'};
  BeamIndex::Box box_;
};

// Ties the sections to the section catalogue of the folder: sections known
// by their dimensions or names are resolved first, then every property
// block is refilled. Without a catalogue the sections stay as read.
void UpdateSectionsFromCatalogue(TOPO_REC* topo, const CString& folder) {
  ResolveSMDBSectionsTOPO(topo, folder);
  UpdateSMDBSectionsTOPO(topo, folder);
}

}  // namespace

// ---------------------------------------------------------------------------
// Object

CTOPO_REC::CTOPO_REC()
    : topo_(nullptr), compSects_{0, nullptr}, staticCases_(0), dynamicCases_(0), index_(nullptr) {}

CTOPO_REC::~CTOPO_REC() { DeAllocate(); }

void CTOPO_REC::DeAllocate() {
  delete index_;
  index_ = nullptr;
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
  // One pass from the file into the records: the file's checks first, then
  // the capacity, then the records as they are read.
  TOPO_CURDIMS_REC head{};
  ulong32 code = 0;
  std::FILE* f = telio::topfile::OpenAndReadHeader(path, &head, &code);
  if (f) {
    code = telio::topfile::CheckCounts(f, head, whole);
    if (code == 0 && !FitsCapacity(kTopoMaxNodes + 1, kTopoMaxBeams + 1, kTopoMaxSections + 1, &head)) {
      code = telio::kErrorBadArguments;
    }
    Lists lists;
    if (code == 0) {
      index_ = new (std::nothrow) BeamIndex;
      if (index_) topo_ = AllocateOpened(head.NodeCount(), head.BeamCount(), &lists);
      if (!topo_) code = telio::kErrorNotEnoughMemory;
    }
    if (code == 0) {
      // The angles follow the supports and sections in the file: read
      // ahead, they let each beam record be written once. Where they
      // cannot be, they are taken as the file gives them.
      const size_t beams = static_cast<size_t>(head.BeamCount());
      float* angles = topo_->angle + 1;
      const bool anglesHeld =
          whole && beams > 0 &&
          telio::filereading::ReadAt(f, angles, 4 * beams, telio::topfile::AnglesOffset(head)) == 0;
      if (anglesHeld) telio::DecodeFloats(angles, reinterpret_cast<const unsigned char*>(angles), beams);
      TopologySink sink(head, topo_, index_, anglesHeld, lists);
      code = telio::topfile::ReadTopBlocks(f, head, whole, sink);
    }
    std::fclose(f);
  }
  if (code != 0) {
    Close();
    telio::SetLastError(code);
    return 0;
  }
  std::snprintf(topo_->path, sizeof topo_->path, "%s", path);
  staticCases_ = topo_->staticCases;
  dynamicCases_ = topo_->dynamicCases;
  // A short companion keeps its whole records; any other failure leaves none.
  if (whole && !ReadCompSects(CompSectsPath(path), &compSects_)) FreeCompSects(&compSects_);
  // The folder is looked up once: each catalogue call would look an empty
  // one up again.
  const CString catalogue = SMDBFolder(CString());
  if (!catalogue.IsEmpty()) UpdateSectionsFromCatalogue(topo_, catalogue);
  ValidateDimensions(topo_);
  telio::SetLastError(0);
  return 1;
}

int CTOPO_REC::GenerateFromTOPO_CURDIMS_REC(const TOPO_CURDIMS_REC* rec) {
  TOPO_REC* t = topo_;
  if (!t || !rec || !FitsCapacity(t, rec)) return telio::kErrorBadArguments;
  const int nodes = rec->NodeCount(), beams = rec->BeamCount(), supports = rec->SupportCount();
  const int sections = rec->SectionCount(), physBeams = rec->PhysBeamCount();
  if ((nodes > 0 && (!rec->nodes || !t->x || !t->y || !t->z || !t->restraint)) ||
      (beams > 0 && (!rec->beams || !rec->angles || !t->startNode || !t->endNode ||
                     !t->section || !t->angle)) ||
      (supports > 0 && !rec->supports) || (sections > 0 && (!rec->sections || !t->sections)) ||
      (physBeams > 0 && !rec->physBeams)) {
    return telio::kErrorBadArguments;
  }
  ClearTopology(t);
  FreeSectionProfiles(t);
  t->sectionCount = 0;
  delete index_;
  index_ = new (std::nothrow) BeamIndex;
  if (!index_) return telio::kErrorNotEnoughMemory;

  // The records as the reading of a file gives them: the tables hold the
  // file's records, but for the angles and beam numbers, held as values.
  auto fail = [t](ulong32 code) {
    ClearTopology(t);
    return static_cast<int>(code);
  };
  const Lists lists = MakeBlock<NODE_REC, BEAM_REC>(nodes, beams, 0, nullptr);
  if ((nodes > 0 || beams > 0) && !lists.block) return fail(telio::kErrorNotEnoughMemory);
  TopologySink sink(*rec, t, index_, true, lists);
  if (ulong32 code = sink.Begin()) return fail(code);
  if (beams > 0) std::memcpy(t->angle + 1, rec->angles, static_cast<size_t>(beams) * sizeof(float));
  sink.Nodes(0, reinterpret_cast<const unsigned char*>(rec->nodes), nodes);
  sink.Beams(0, reinterpret_cast<const unsigned char*>(rec->beams), beams);
  sink.Supports(0, reinterpret_cast<const unsigned char*>(rec->supports), supports);
  TOP_SEC* dst = sink.Sections();
  for (int i = 0; i < sections; ++i) {
    dst[i] = rec->sections[i];
    dst[i].prs = nullptr;
    if (!rec->sections[i].prs) continue;
    dst[i].prs = static_cast<TOP_PRS*>(telio::Malloc(sizeof(TOP_PRS)));
    if (!dst[i].prs) return fail(telio::kErrorNotEnoughMemory);
    *dst[i].prs = *rec->sections[i].prs;
  }
  std::vector<unsigned char> numbers;
  for (int i = 0; i < physBeams; ++i) {
    const CURPHBM_REC_TOPO& src = rec->physBeams[i];
    const int n = src.BeamCount() > 0 ? src.BeamCount() : 0;
    numbers.assign(2 * static_cast<size_t>(n) + 2, 0);  // a list not held names no beam
    for (int k = 0; src.beams && k < n; ++k) {
      telio::EncodeFixed16(&numbers[2 * static_cast<size_t>(k)], static_cast<uint16_t>(src.beams[k]));
    }
    if (ulong32 code = sink.PhysBeam(i, src.rec, numbers.data())) return fail(code);
  }
  return 0;
}

// ---------------------------------------------------------------------------
// Record blocks

TOPO_REC* CTOPO_REC::AllocateTOPO_REC(int count, ulong32 nodes, ulong32 beams, ulong32 sections) {
  return count < 1 ? nullptr : AllocateRecord(count, nodes, beams, sections);
}

void CTOPO_REC::DeAllocateTOPO_REC(TOPO_REC** p) {
  if (!p || !*p) return;
  TOPO_REC* t = *p;
  ClearTopology(t);
  FreeSectionProfiles(t);
  if (t->arrays) {
    Release(static_cast<ChainBlock*>(t->arrays), 1);
  } else {
    const ArrayFields fields = FieldsOf(t);
    for (void** f : fields.nodes) telio::Free(*f);
    for (void** f : fields.beams) telio::Free(*f);
    telio::Free(t->sections);
  }
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
void CTOPO_REC::DeAllocateNodesLList(NODE_REC* first) {
  FreeList(first, [](NODE_REC*) {});
}

void CTOPO_REC::DeAllocateBeamsLList(BEAM_REC* first) {
  FreeList(first, [](BEAM_REC*) {});
}

void CTOPO_REC::DeAllocatePhysBeamsLList(CURPHBM_REC* first) {
  FreeList(first, [](CURPHBM_REC* p) {
    if (p->beams) telio::Free(p->beams);
  });
}

NODE_REC* CTOPO_REC::GetNode(NODE_REC* first, int n) { return NthOf(first, n); }
BEAM_REC* CTOPO_REC::GetBeam(BEAM_REC* first, int n) { return NthOf(first, n); }

// ---------------------------------------------------------------------------
// Lookups

BEAM_REC* CTOPO_REC::FindBeam(BEAM_REC* first, float x1, float y1, float z1, float x2, float y2,
                              float z2) {
  const float p[3] = {x1, y1, z1}, q[3] = {x2, y2, z2};
  for (BEAM_REC* b = first; b; b = b->next) {
    if (BeamEndsAt(b, p, q)) return b;
  }
  return nullptr;
}

BEAM_REC* CTOPO_REC::FindBeam(float x1, float y1, float z1, float x2, float y2, float z2) const {
  return index_ ? index_->Find(x1, y1, z1, x2, y2, z2) : nullptr;
}

namespace {

// The other end of a beam at a node: its start, or its end when the start
// is the node. A number the file does not hold has zero coordinates.
void OtherEnd(const TOPO_REC* topo, int node, int beam, double (&at)[3]) {
  int other = topo->startNode[beam] == node ? topo->endNode[beam] : topo->startNode[beam];
  const bool held = other >= 1 && other <= topo->nodeCount;
  at[0] = held ? topo->x[other] : 0;
  at[1] = held ? topo->y[other] : 0;
  at[2] = held ? topo->z[other] : 0;
}

bool ValidBeamAtNode(const TOPO_REC* topo, int node, int beam) {
  return topo && node >= 1 && node <= topo->nodeCount && beam >= 1 && beam <= topo->beamCount;
}

// The vector from node along beam and its length, in double; zero when
// either number is out of range.
double BeamVector(const TOPO_REC* topo, int node, int beam, double (&v)[3]) {
  v[0] = v[1] = v[2] = 0;
  if (!ValidBeamAtNode(topo, node, beam)) return 0;
  double other[3];
  OtherEnd(topo, node, beam, other);
  v[0] = other[0] - topo->x[node];
  v[1] = other[1] - topo->y[node];
  v[2] = other[2] - topo->z[node];
  return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

}  // namespace

int CTOPO_REC::GetBeamData(const TOPO_REC* topo, int node, int beam, float* dx, float* dy,
                           float* dz, float* length) {
  float vx = 0, vy = 0, vz = 0, len = 0;
  const int ok = ValidBeamAtNode(topo, node, beam) ? 1 : 0;
  if (ok) {
    double other[3];
    OtherEnd(topo, node, beam, other);
    vx = static_cast<float>(other[0]) - topo->x[node];
    vy = static_cast<float>(other[1]) - topo->y[node];
    vz = static_cast<float>(other[2]) - topo->z[node];
    len = static_cast<float>(std::sqrt(std::fabs(static_cast<double>(vx) * vx + static_cast<double>(vy) * vy +
                                                 static_cast<double>(vz) * vz)));
  }
  if (dx) *dx = vx;
  if (dy) *dy = vy;
  if (dz) *dz = vz;
  if (length) *length = len;
  return ok;
}

double CTOPO_REC::GetAngleBetweenBeams(const TOPO_REC* topo, int node, int beam1, int beam2) {
  if (!topo) return 0;
  double v1[3], v2[3];
  const double lengths = BeamVector(topo, node, beam1, v1) * BeamVector(topo, node, beam2, v2);
  double cosine = 0;
  if (std::fabs(lengths) > kTolerance) cosine = (v1[0] * v2[0] + v1[1] * v2[1] + v1[2] * v2[2]) / lengths;
  // Rounding can carry the cosine of parallel beams just past 1.
  if (cosine > 1) cosine = 1;
  if (cosine < -1) cosine = -1;
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
  bool cut = false;
  unsigned char head[8];
  if (std::fread(head, 1, sizeof head, f) != sizeof head) {
    code = std::ferror(f) ? telio::kErrorReadFault : telio::kErrorHandleEof;
  }
  const long32 count = code == 0 ? static_cast<long32>(telio::DecodeFixed32(head + 4)) : 0;
  if (count > 0) {  // a negative count is no record
    // Only the whole records the file holds are allocated.
    const unsigned long long wanted = static_cast<ulong32>(count);
    const unsigned long long n = static_cast<unsigned long long>(
        telio::filereading::RecordsThatFit(f, COMPSECT_REC::kSize, static_cast<long long>(wanted)));
    cut = n < wanted;
    if (n > 0) {
      cs->records = static_cast<COMPSECT_REC*>(telio::Calloc(n, sizeof(COMPSECT_REC)));
      if (!cs->records) code = telio::kErrorNotEnoughMemory;
    }
    if (code == 0 && n > 0) {
      const size_t got = std::fread(cs->records, COMPSECT_REC::kSize, n, f);
      cs->count = static_cast<ulong32>(got);
      if (got < n && std::ferror(f)) code = telio::kErrorReadFault;
      if (got < n) cut = true;
    }
  }
  std::fclose(f);
  if (code != 0 || cs->count == 0) FreeCompSects(cs);
  if (code != 0) {
    telio::SetLastError(code);
    return 0;
  }
  if (cut) telio::SetLastError(telio::kErrorHandleEof);
  return 1;
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
