// CFileT3L: the structural-analysis model file.
//
// File layout (little-endian, byte-packed, blocks in order with no gaps):
//
//   header       112 bytes (DIMS_BUF_EX); an older "classic" layout has 86
//                bytes, told apart by bit 7 of byte 39 (set = 112 bytes)
//   settings     178 bytes (DYNA_BUF), carried unchanged
//   nodes              32 x nodes          (REC32A)
//   beams              32 x beams          (REC32A)
//   physical beams    128 x physical beams (REC128)
//   supports           64 x supports       (REC64A)
//   connections        64 x connections    (REC64A)
//   sections           96 x sections       (REC96A)
//   materials          64 x materials      (REC64A)
//   static load cases  32 x cases          (REC32B)
//   static beam loads  64 x beam loads     (REC64A)
//   static node loads  64 x node loads     (REC64A)
//   beam masses        64 x beam masses    (REC64A)
//   node masses        64 x node masses    (REC64A)
//   case extra data    14 x cases          (LOADCASE_EXTRA); a file may end
//                                           before it
//
// Record numbers inside records are 1-based, 0 for none. The library reads
// only the fields that tie the tables together (a beam's nodes, section and
// material, a physical beam's nodes, a support's node, a section's name, a
// load case's self-weight count); every other byte is carried.
#pragma once

#include <cstdint>

#include "files/CFileBase.h"
#include "platform/Coding.h"
#include "platform/Export.h"
#include "platform/Types.h"

// 32-byte record of the node and beam tables.
//   beam: start node u16 @10, end node u16 @12, section u16 @14 (0 none),
//         material u16 @16 (0 none)
struct TELIO_EXPORT REC32A {
  unsigned char b[32];
  uint16_t StartNode() const { return telio::DecodeFixed16(b + 10); }
  uint16_t EndNode() const { return telio::DecodeFixed16(b + 12); }
  uint16_t SectionNo() const { return telio::DecodeFixed16(b + 14); }
  uint16_t MaterialNo() const { return telio::DecodeFixed16(b + 16); }
  void SetStartNode(uint16_t v) { telio::EncodeFixed16(b + 10, v); }
  void SetEndNode(uint16_t v) { telio::EncodeFixed16(b + 12, v); }
  void SetSectionNo(uint16_t v) { telio::EncodeFixed16(b + 14, v); }
  void SetMaterialNo(uint16_t v) { telio::EncodeFixed16(b + 16, v); }
};
static_assert(sizeof(REC32A) == 32, "REC32A is 32 bytes on disk");

// 128-byte physical beam: first node u16 @0, second node u16 @2.
struct TELIO_EXPORT REC128 {
  unsigned char b[128];
  uint16_t FirstNode() const { return telio::DecodeFixed16(b + 0); }
  uint16_t SecondNode() const { return telio::DecodeFixed16(b + 2); }
  void SetFirstNode(uint16_t v) { telio::EncodeFixed16(b + 0, v); }
  void SetSecondNode(uint16_t v) { telio::EncodeFixed16(b + 2, v); }
};
static_assert(sizeof(REC128) == 128, "REC128 is 128 bytes on disk");

// 64-byte record of supports, connections, materials, loads and masses.
//   support: supported node u16 @24
struct TELIO_EXPORT REC64A {
  unsigned char b[64];
  uint16_t SupportNode() const { return telio::DecodeFixed16(b + 24); }
  void SetSupportNode(uint16_t v) { telio::EncodeFixed16(b + 24, v); }
};
static_assert(sizeof(REC64A) == 64, "REC64A is 64 bytes on disk");

// 96-byte section: name @0, NUL-terminated, OEM code page in the file.
struct TELIO_EXPORT REC96A {
  unsigned char b[96];
  // The name up to its NUL (at most the whole record).
  const char* Name() const { return reinterpret_cast<const char*>(b); }
  int NameLength() const;
};
static_assert(sizeof(REC96A) == 96, "REC96A is 96 bytes on disk");

// 32-byte static load case: self-weight list length u16 @30.
struct TELIO_EXPORT REC32B {
  unsigned char b[32];
  uint16_t SelfWeightCount() const { return telio::DecodeFixed16(b + 30); }
  void SetSelfWeightCount(uint16_t v) { telio::EncodeFixed16(b + 30, v); }
};
static_assert(sizeof(REC32B) == 32, "REC32B is 32 bytes on disk");

// 14-byte extra data of a static load case:
//   first value u8 @0, second value u8 @1, real value f32 @2, zero 8 @6
struct TELIO_EXPORT LOADCASE_EXTRA {
  unsigned char b[14];
  uint8_t First() const { return b[0]; }
  uint8_t Second() const { return b[1]; }
  float Value() const { return telio::DecodeFloat(b + 2); }
};
static_assert(sizeof(LOADCASE_EXTRA) == 14, "case extra data is 14 bytes on disk");

// 112-byte header.
//   text 1 @0 (12, NUL-padded), carried @12 (8), text 2 @20 (12),
//   carried @32 (5), physical beams u16 @37, layout flag u8 @39 (bit 7 =
//   this layout), text 3 @40 (12), carried @52 (8), then i32 counts:
//   nodes @60, beams @64, supports @68, connections @72, sections @76,
//   materials @80, static load cases @84, carried @88, beam masses @92,
//   node masses @96, static beam loads @100, static node loads @104,
//   carried @108.
// The classic 86-byte header has the same first 52 bytes and the 13 counts
// as u16 at 60, 62, ..., 84 in the same order.
struct TELIO_EXPORT DIMS_BUF_EX {
  enum : int {
    kText1 = 0, kText2 = 20, kPhysBeams = 37, kLayoutFlag = 39, kText3 = 40,
    kNodes = 60, kBeams = 64, kSupports = 68, kConnections = 72, kSections = 76,
    kMaterials = 80, kStaticLoadCases = 84, kCarried88 = 88, kBeamMasses = 92,
    kNodeMasses = 96, kStaticBeamLoads = 100, kStaticNodeLoads = 104, kCarried108 = 108,
  };
  static constexpr int kTextWidth = 12;
  static constexpr unsigned char kExtendedLayout = 0x80;

  unsigned char b[112];

  long32 Count(int offset) const { return static_cast<long32>(telio::DecodeFixed32(b + offset)); }
  void SetCount(int offset, long32 v) { telio::EncodeFixed32(b + offset, static_cast<uint32_t>(v)); }
  uint16_t PhysBeams() const { return telio::DecodeFixed16(b + kPhysBeams); }
  void SetPhysBeams(uint16_t v) { telio::EncodeFixed16(b + kPhysBeams, v); }
  bool IsExtendedLayout() const { return (b[kLayoutFlag] & kExtendedLayout) != 0; }
  // A text field (not NUL-terminated when it fills its 12 bytes).
  const char* Text(int offset) const { return reinterpret_cast<const char*>(b + offset); }
};
static_assert(sizeof(DIMS_BUF_EX) == 112, "DIMS_BUF_EX is 112 bytes on disk");

// 178-byte dynamic-analysis settings, carried unchanged.
struct TELIO_EXPORT DYNA_BUF {
  unsigned char b[178];
};
static_assert(sizeof(DYNA_BUF) == 178, "DYNA_BUF is 178 bytes on disk");

// The self-weight list of one static load case (memory only).
struct SELF_WEIGHT_LIST {
  long32 count;
  uint16_t* entries;
};

class TELIO_EXPORT CFileT3L : public CFileBase {
 public:
  enum SYSTEM : int32_t { SYS_1 = 1, SYS_2, SYS_3, SYS_4, SYS_5, SYS_6 };

  // Table kinds of SetREC / SetEqualREC / SetREC_ONE (frozen numbers).
  enum : int {
    kNodes = 1, kBeams = 2, kSections = 3, kPhysBeams = 4, kSupports = 5, kConnections = 6,
    kMaterials = 7, kStaticLoadCases = 8, kStaticBeamLoads = 9, kStaticNodeLoads = 10,
    kBeamMasses = 11, kNodeMasses = 12, kHaHi = 13,
  };

  CFileT3L();
  // Copies duplicate every table. When memory runs short the copy keeps the
  // header text and settings but has every table empty with count 0.
  CFileT3L(const CFileT3L& other);
  CFileT3L& operator=(const CFileT3L& other);
  ~CFileT3L() override;

  int NewFile(const char* path) override;
  // Besides the codes of CFileBase: 38 when the file ends inside a table
  // the header promises (the tables before it are kept; the counts of the
  // tables not read become 0), 8 when a table cannot be allocated (every
  // table is then empty). A negative count is an empty table. The case
  // extra data may be missing or cut: the whole records held are taken, the
  // others stay zero. Counts are checked against the file's size before
  // anything is allocated.
  ulong32 Import(const char* path) override;
  // Always writes the 112-byte layout: the header as held (bit 7 of byte 39
  // set), then the tables held. SetREC and the adding and removing calls
  // keep the header's counts in step; a count installed by SetDIM for a
  // table never filled is written as it stands.
  ulong32 Export(const char* path) override;
  void Close() override;

  // True when the last Import read a file in the 112-byte layout.
  bool ReadExtendedLayout() const { return readExtended_; }

  DIMS_BUF_EX Dim() const { return dim_; }
  DYNA_BUF DynaBuf() const { return dyna_; }
  void SetDIM(DIMS_BUF_EX dim);
  void SetDYNA(DYNA_BUF dyna) { dyna_ = dyna; }

  // Record count of a table kind (1 to 13); 0 for an absent table.
  long32 Count(int kind) const;

  REC32A* Nodes() const { return Table<REC32A>(kNodes); }
  REC32A* Beams() const { return Table<REC32A>(kBeams); }
  REC128* Bufs() const { return Table<REC128>(kPhysBeams); }
  REC64A* Supps() const { return Table<REC64A>(kSupports); }
  REC64A* Conns() const { return Table<REC64A>(kConnections); }
  REC96A* Sections() const { return Table<REC96A>(kSections); }
  REC64A* Mates() const { return Table<REC64A>(kMaterials); }
  REC32B* StaticLoads() const { return Table<REC32B>(kStaticLoadCases); }
  REC64A* StaticBeamLoads() const { return Table<REC64A>(kStaticBeamLoads); }
  REC64A* StaticNodeLoads() const { return Table<REC64A>(kStaticNodeLoads); }
  REC64A* BeamMasses() const { return Table<REC64A>(kBeamMasses); }
  REC64A* NodeMasses() const { return Table<REC64A>(kNodeMasses); }
  REC64A* HaHis() const { return Table<REC64A>(kHaHi); }
  LOADCASE_EXTRA* LoadingCaseExtraData() const { return extra_; }

  REC32A* Node(int i) const { return Record<REC32A>(kNodes, i); }
  REC32A* Beam(int i) const { return Record<REC32A>(kBeams, i); }
  REC128* Buf(int i) const { return Record<REC128>(kPhysBeams, i); }
  REC64A* Supp(int i) const { return Record<REC64A>(kSupports, i); }
  REC64A* Conn(int i) const { return Record<REC64A>(kConnections, i); }
  REC96A* Section(int i) const { return Record<REC96A>(kSections, i); }
  REC64A* Mate(int i) const { return Record<REC64A>(kMaterials, i); }
  REC32B* StaticLoad(int i) const { return Record<REC32B>(kStaticLoadCases, i); }
  REC64A* StaticBeamLoad(int i) const { return Record<REC64A>(kStaticBeamLoads, i); }
  REC64A* StaticNodeLoad(int i) const { return Record<REC64A>(kStaticNodeLoads, i); }
  REC64A* BeamMass(int i) const { return Record<REC64A>(kBeamMasses, i); }
  REC64A* NodeMass(int i) const { return Record<REC64A>(kNodeMasses, i); }
  REC64A* HaHi(int) const { return nullptr; }
  LOADCASE_EXTRA* LoadingCaseExtra(int i) const;
  // The self-weight list of case i (null out of range).
  const SELF_WEIGHT_LIST* SelfWeightList(int i) const;

  REC32A* SNodeOfBeam(int i) const;
  REC32A* ENodeOfBeam(int i) const;
  REC96A* SectionOfBeam(int i) const;

  SYSTEM System() const { return system_; }
  int16_t X_SYS() const { return xSys_; }
  int16_t Y_SYS() const { return ySys_; }
  int16_t Z_SYS() const { return zSys_; }
  void SetSystem(SYSTEM system);

  void OemToCharSectC();

  // Appending n records: 1, or 0 for a null pointer, n < 1 or no memory
  // (the table is then unchanged). AddBeam / AddPhysBeam give -1 when the
  // first record names a node outside 1 to the node count.
  int AddNode(const REC32A* recs, int n);
  int AddBeam(const REC32A* recs, int n);
  int AddPhysBeam(const REC128* recs, int n);
  int AddSupport(const REC64A* recs, int n);
  int AddConnection(const REC64A* recs, int n);
  int AddSect(const REC96A* recs, int n);
  int AddMaterial(const REC64A* recs, int n);
  int AddStaticLoadCase(const REC32B* recs, int n);
  int AddStaticBeamLoad(const REC64A* recs, int n);
  int AddStaticNodeLoad(const REC64A* recs, int n);
  int AddStaticLoadCaseEx(REC32B rec, int a, int b, float value);
  int SetLoadingCaseExtraData(int lc, int a, int b, float value);
  int AddLoadingCaseSelfWeight(int lc, uint16_t entry);
  // lc -1: every case; entry -1 empties the list.
  int RemoveLoadingCaseSelfWeight(int lc, int entry);

  void RemoveNode(int i);
  void RemoveBeam(int i);
  void RemovePhysBeam(int i);
  void RemoveSupport(int i);
  void RemoveConnection(int i);
  void RemoveSect(int i);
  void RemoveMaterial(int i);
  void RemoveStaticLoadCase(int i);

  void ClearNodes();
  void ClearBeams();
  void ClearPhysBeam();
  void ClearSupports();
  void ClearConnections();
  void ClearSects();
  void ClearMaterials();
  void ClearStaticLoadCases();

  // 0, -1 (bad arguments or a copy refused), -2 (n 0, kind 14 or no memory:
  // the table is left empty).
  int SetREC(const void* records, int kind, int n);
  int SetEqualREC(const void* records, int kind, int n, int start);
  int SetREC_ONE(const void* record, int kind, int index);

 private:
  static constexpr int kKinds = 14;  // slots 1..13 used

  template <class R>
  R* Table(int kind) const {
    return static_cast<R*>(tab_[kind]);
  }
  template <class R>
  R* Record(int kind, int i) const {
    return (i >= 0 && i < Count(kind)) ? static_cast<R*>(tab_[kind]) + i : nullptr;
  }

  static unsigned RecordSize(int kind);
  long32 HeaderCount(int kind) const;
  void SetHeaderCount(int kind, long32 n);
  void FreeKind(int kind);
  void ReleaseBlocks(int kind);  // frees a table's blocks, keeping the header count
  bool Grow(int kind, long32 newCount);
  int Append(int kind, const void* recs, int n);
  void RemoveAt(int kind, int i);
  bool CopyTablesFrom(const CFileT3L& other);
  ulong32 ReadBody(std::FILE* f, long long fileSize);

  DIMS_BUF_EX dim_;
  DYNA_BUF dyna_;
  void* tab_[kKinds];
  long32 cap_[kKinds];  // records each block holds
  long32 haHiCount_ = 0;
  LOADCASE_EXTRA* extra_ = nullptr;
  SELF_WEIGHT_LIST* selfWeight_ = nullptr;
  long32 loadCap_ = 0;  // records the extra and self-weight blocks hold
  SYSTEM system_ = SYS_1;
  int16_t xSys_ = 0, ySys_ = 1, zSys_ = 2;
  bool readExtended_ = false;
};
