// CFileTOP: the analysis program's topology file (extension "TOP"): nodes,
// beams, supports, sections with their catalogue keys and extra data, and
// physical beams (chains of beams).
//
// File layout (little-endian, byte-packed; floats are IEEE 32-bit; node,
// beam and section numbers are 1-based, 0 for none):
//
//   block  size            contents
//   1      128             header (TOPO_CURDIMS_REC bytes 0..127)
//   2      18 x nodes      node records
//   3      8 x beams       beam records
//   4      14 x supports   support records
//   5      20 x sections   section records (TOP_SEC bytes 0..19)
//   6      4 x beams       beam rotation angles, f32
//   7      32 each         property blocks of the sections that have one
//   8      4 each          catalogue keys of the sections that have one
//   9      8 + 2n each     physical beams: 8-byte record, then n u16 beam numbers
//   10     28 each         composite data (7 x f32) of the sections that have it
//
// Blocks 7, 8 and 10 hold one entry per section of their group, in section
// order:
//   property block   families 80, 81, 103, 104, 109 (HasValidPRS)
//   catalogue key    every section except families 0, 80, 81, 103, 104,
//                    108, 109 and sections whose sub-number is nonzero
//   composite data   families 104, 108, 109
//
// Header (128 bytes):
//   0   48  carried            58  u16 3-D flag (0 = plane model)
//   48  u16 nodes              60  2   carried
//   50  u16 beams              62  u16 sections
//   52  u16 supports           64  u16 model word
//   54  u16 static load cases  66  u16 physical beams
//   56  u16 dynamic load cases 68  60  carried
//
// Node (18):    0 i16 label, 2 carried(2), 4 f32 X, 8 f32 Y, 12 f32 Z,
//               16 i16 restraint code (nonzero = restrained)
// Beam (8):     0 u16 section, 2 i16 label, 4 u16 start node, 6 u16 end node
// Support (14): 0 u16 node, 2 carried(12)
// Section (20): 0 name(16, NUL-terminated, OEM code page), 16 i16 family,
//               18 i16 sub-number (family 104: 1-based record in the
//               composite-section file; others: nonzero = no catalogue key)
// Property block (32): 0 u16, 2..26 seven f32, 30 u16; carried as it is.
// Physical beam (8): 0 u16 label, 2 i16 beam count, 4 i16 first node,
//               6 i16 last node
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "files/CFileBase.h"
#include "platform/CString.h"
#include "platform/Coding.h"
#include "platform/Export.h"
#include "platform/Types.h"

// Node record, as in the file.
struct TELIO_EXPORT TOP_NODE {
  static constexpr size_t kSize = 18;
  unsigned char data[kSize];

  int16_t Label() const { return static_cast<int16_t>(telio::DecodeFixed16(data)); }
  float X() const { return telio::DecodeFloat(data + 4); }
  float Y() const { return telio::DecodeFloat(data + 8); }
  float Z() const { return telio::DecodeFloat(data + 12); }
  int16_t Restraint() const { return static_cast<int16_t>(telio::DecodeFixed16(data + 16)); }
  void SetLabel(int16_t v) { telio::EncodeFixed16(data, static_cast<uint16_t>(v)); }
  void SetX(float v) { telio::EncodeFloat(data + 4, v); }
  void SetY(float v) { telio::EncodeFloat(data + 8, v); }
  void SetZ(float v) { telio::EncodeFloat(data + 12, v); }
  void SetRestraint(int16_t v) { telio::EncodeFixed16(data + 16, static_cast<uint16_t>(v)); }
};
static_assert(sizeof(TOP_NODE) == 18, "node record is 18 bytes");

// Beam record, as in the file.
struct TELIO_EXPORT TOP_BEAM {
  static constexpr size_t kSize = 8;
  unsigned char data[kSize];

  uint16_t Section() const { return telio::DecodeFixed16(data); }
  int16_t Label() const { return static_cast<int16_t>(telio::DecodeFixed16(data + 2)); }
  uint16_t StartNode() const { return telio::DecodeFixed16(data + 4); }
  uint16_t EndNode() const { return telio::DecodeFixed16(data + 6); }
  void SetSection(uint16_t v) { telio::EncodeFixed16(data, v); }
  void SetLabel(int16_t v) { telio::EncodeFixed16(data + 2, static_cast<uint16_t>(v)); }
  void SetStartNode(uint16_t v) { telio::EncodeFixed16(data + 4, v); }
  void SetEndNode(uint16_t v) { telio::EncodeFixed16(data + 6, v); }
};
static_assert(sizeof(TOP_BEAM) == 8, "beam record is 8 bytes");

// Support record, as in the file; only the node number is interpreted.
struct TELIO_EXPORT TOP_SUPPORT {
  static constexpr size_t kSize = 14;
  unsigned char data[kSize];

  uint16_t Node() const { return telio::DecodeFixed16(data); }
  void SetNode(uint16_t v) { telio::EncodeFixed16(data, v); }
};
static_assert(sizeof(TOP_SUPPORT) == 14, "support record is 14 bytes");

// A section's property block, carried without interpretation.
struct TELIO_EXPORT TOP_PRS {
  static constexpr size_t kSize = 32;
  unsigned char data[kSize];

  uint16_t Head() const { return telio::DecodeFixed16(data); }
  // i in 0..6
  float Value(int i) const { return telio::DecodeFloat(data + 2 + 4 * i); }
  uint16_t Tail() const { return telio::DecodeFixed16(data + 30); }
};
static_assert(sizeof(TOP_PRS) == 32, "property block is 32 bytes");

// A section: bytes 0..19 are the file's section record, 20..23 the
// catalogue key, then the owned property block and the composite data.
// With 4-byte pointers the record is the suite's 56-byte layout; wider
// pointers only move the composite data, which is written as its own block.
struct TELIO_EXPORT TOP_SEC {
  static constexpr size_t kFileSize = 20;
  static constexpr size_t kNameSize = 16;
  static constexpr int kCompositeValues = 7;

  unsigned char rec[24];  // 0 name(16), 16 i16 family, 18 i16 sub-number, 20 u32 key
  TOP_PRS* prs;           // 32-byte property block or null; owned by the table
  unsigned char composite[4 * kCompositeValues];

  // The name as stored (OEM code page), never longer than the field.
  CString NameOem() const;
  // The name in the ANSI code page; SetName takes an ANSI name, cut to 15
  // characters.
  CString Name() const;
  void SetName(const char* ansi);
  int16_t Family() const { return static_cast<int16_t>(telio::DecodeFixed16(rec + 16)); }
  int16_t SubNumber() const { return static_cast<int16_t>(telio::DecodeFixed16(rec + 18)); }
  ulong32 Key() const { return telio::DecodeFixed32(rec + 20); }
  TOP_PRS* Prs() const { return prs; }
  // i in 0..6
  float Composite(int i) const { return telio::DecodeFloat(composite + 4 * i); }
  void SetFamily(int16_t v) { telio::EncodeFixed16(rec + 16, static_cast<uint16_t>(v)); }
  void SetSubNumber(int16_t v) { telio::EncodeFixed16(rec + 18, static_cast<uint16_t>(v)); }
  void SetKey(ulong32 v) { telio::EncodeFixed32(rec + 20, v); }
  void SetComposite(int i, float v) { telio::EncodeFloat(composite + 4 * i, v); }

  // Which of the file's optional blocks hold an entry for this section.
  bool HasPropertyBlock() const;
  bool HasCatalogueKey() const;
  bool HasCompositeData() const;
};
static_assert(offsetof(TOP_SEC, rec) == 0 && offsetof(TOP_SEC, prs) == 24,
              "section record keeps the file's field order");
static_assert(sizeof(TOP_SEC) == (sizeof(void*) == 4 ? 56 : 64), "section record size");

// A physical beam: the 8-byte file record, then its owned list of beam
// numbers (host order, BeamCount() entries, null when the count is 0).
struct TELIO_EXPORT CURPHBM_REC_TOPO {
  static constexpr size_t kFileSize = 8;

  unsigned char rec[kFileSize];
  int16_t* beams;

  uint16_t Label() const { return telio::DecodeFixed16(rec); }
  int16_t BeamCount() const { return static_cast<int16_t>(telio::DecodeFixed16(rec + 2)); }
  int16_t FirstNode() const { return static_cast<int16_t>(telio::DecodeFixed16(rec + 4)); }
  int16_t LastNode() const { return static_cast<int16_t>(telio::DecodeFixed16(rec + 6)); }
  void SetLabel(uint16_t v) { telio::EncodeFixed16(rec, v); }
  void SetBeamCount(int16_t v) { telio::EncodeFixed16(rec + 2, static_cast<uint16_t>(v)); }
  void SetFirstNode(int16_t v) { telio::EncodeFixed16(rec + 4, static_cast<uint16_t>(v)); }
  void SetLastNode(int16_t v) { telio::EncodeFixed16(rec + 6, static_cast<uint16_t>(v)); }
};
static_assert(offsetof(CURPHBM_REC_TOPO, beams) == 8, "physical beam keeps the file's field order");
static_assert(sizeof(CURPHBM_REC_TOPO) == 8 + sizeof(void*), "physical beam record size");

// The whole topology: the 128-byte file header, then six tables owned by
// the record, each sized by its header count (null when the count is 0).
// A value-initialised record (TOPO_CURDIMS_REC rec{}) is empty; the tables
// are released with CFileTOP::DeAllocateArrays, which reads the counts, so
// counts must not change while tables are held.
struct TELIO_EXPORT TOPO_CURDIMS_REC {
  static constexpr size_t kHeaderSize = 128;

  unsigned char header[kHeaderSize];
  TOP_NODE* nodes;               // NodeCount() records
  TOP_BEAM* beams;               // BeamCount() records
  TOP_SUPPORT* supports;         // SupportCount() records
  TOP_SEC* sections;             // SectionCount() records
  float* angles;                 // BeamCount() rotation angles
  CURPHBM_REC_TOPO* physBeams;   // PhysBeamCount() records

  uint16_t NodeCount() const { return Word(48); }
  uint16_t BeamCount() const { return Word(50); }
  uint16_t SupportCount() const { return Word(52); }
  uint16_t StaticLoadCases() const { return Word(54); }
  uint16_t DynamicLoadCases() const { return Word(56); }
  uint16_t Flag3D() const { return Word(58); }
  bool Is3D() const { return Flag3D() != 0; }
  uint16_t SectionCount() const { return Word(62); }
  uint16_t ModelWord() const { return Word(64); }
  uint16_t PhysBeamCount() const { return Word(66); }
  void SetNodeCount(uint16_t v) { SetWord(48, v); }
  void SetBeamCount(uint16_t v) { SetWord(50, v); }
  void SetSupportCount(uint16_t v) { SetWord(52, v); }
  void SetStaticLoadCases(uint16_t v) { SetWord(54, v); }
  void SetDynamicLoadCases(uint16_t v) { SetWord(56, v); }
  void SetFlag3D(uint16_t v) { SetWord(58, v); }
  void SetSectionCount(uint16_t v) { SetWord(62, v); }
  void SetModelWord(uint16_t v) { SetWord(64, v); }
  void SetPhysBeamCount(uint16_t v) { SetWord(66, v); }

 private:
  uint16_t Word(size_t at) const { return telio::DecodeFixed16(header + at); }
  void SetWord(size_t at, uint16_t v) { telio::EncodeFixed16(header + at, v); }
};
static_assert(offsetof(TOPO_CURDIMS_REC, header) == 0 && offsetof(TOPO_CURDIMS_REC, nodes) == 128,
              "the header leads the record");
static_assert(sizeof(TOPO_CURDIMS_REC) == 128 + 6 * sizeof(void*), "topology record size");

// The file object. It owns one TOPO_CURDIMS_REC; copying is forbidden so
// that no table is ever owned twice.
class TELIO_EXPORT CFileTOP : public CFileBase {
 public:
  CFileTOP();
  ~CFileTOP() override;
  CFileTOP(const CFileTOP&) = delete;
  CFileTOP& operator=(const CFileTOP&) = delete;

  // A TOP file cannot be created empty: always 0.
  int NewFile(const char* path) override;
  // Reads the whole file. On failure the object is closed (empty) and the
  // code is returned: the thread's last error when the path is missing or
  // not a TOP file, else ReadFile's code.
  ulong32 Import(const char* path) override;
  // Header, nodes and beams only; the other tables stay zero-filled.
  ulong32 ImportTopology(const char* path);
  // Writes the held record; a failed write leaves the file as far as it got.
  ulong32 Export(const char* path) override;
  // Frees every table and zeroes the record; harmless when already closed.
  void Close() override;

  TOPO_CURDIMS_REC* GetTOPO_CURDIMS_REC() { return &rec_; }
  const TOPO_CURDIMS_REC* GetTOPO_CURDIMS_REC() const { return &rec_; }

  // Whole-file reading and writing on a caller's record. Each returns 1 on
  // success, 0 on failure with the code in *err (when err is not null):
  // 160 for null arguments, missing tables, or 0 nodes with beams, supports
  // or physical beams; 38 when the file ends inside what its header
  // promises; 8 when a table cannot be allocated, the thread's last error
  // when the file cannot be opened, or the stream's code. A physical beam
  // with a negative beam count has an empty list.
  // The record is touched only once the file is open and its header's
  // counts fit in it: then the header is copied in and fresh tables are
  // allocated over whatever pointers rec held (release them first with
  // DeAllocateArrays when they are owned). Until then a failure leaves rec
  // as it was, even uninitialised. After a later failure the tables read so
  // far stay in rec for DeAllocateArrays.
  static int ReadFile(const char* path, TOPO_CURDIMS_REC* rec, int* err);
  // Header, nodes and beams; fails with 160 when either count is 0.
  static int ReadTopologyFile(const char* path, TOPO_CURDIMS_REC* rec, int* err);
  // The 128-byte header alone, into rec's header; the tables rec holds are
  // not touched. For readers that want a count of a file that may end early.
  static int ReadHeader(const char* path, TOPO_CURDIMS_REC* rec, int* err);
  // Needs the node, beam, support and angle tables (a model without
  // supports cannot be written), a property block for each section of that
  // group and a beam list for each physical beam with beams.
  static int WriteFile(const char* path, TOPO_CURDIMS_REC* rec, int* err);

  // Zero-filled tables for the header's counts (each only when its count is
  // above 0), over whatever pointers rec holds. 1 on success; 0 with every
  // table freed on failure.
  static int AllocateArrays(TOPO_CURDIMS_REC* rec);
  // Frees every table, property block and beam list and nulls the pointers;
  // the counts stay. Null is harmless.
  static void DeAllocateArrays(TOPO_CURDIMS_REC* rec);

 protected:
  // Block routines on an open stream: 0, 160 for a negative count, a null
  // table with a count above 0 or a null stream, 8 when a block cannot be
  // allocated, 38 when the file ends inside a block, else the stream's code.
  // A physical beam with a negative beam count has no beam numbers.
  static ulong32 ReadSections(std::FILE* f, TOP_SEC* secs, int count);
  static ulong32 WriteSections(std::FILE* f, TOP_SEC* secs, int count);
  static ulong32 ReadPrs(std::FILE* f, TOP_SEC* secs, int count);
  static ulong32 WritePrs(std::FILE* f, TOP_SEC* secs, int count);
  static ulong32 ReadHash(std::FILE* f, TOP_SEC* secs, int count);
  static ulong32 WriteHash(std::FILE* f, TOP_SEC* secs, int count);
  static ulong32 ReadPhysBeams(std::FILE* f, CURPHBM_REC_TOPO* pbs, int count);
  static ulong32 WritePhysBeams(std::FILE* f, CURPHBM_REC_TOPO* pbs, int count);
  // A file may end inside the seventh value of its last composite block:
  // the reading then stops there with success.
  static ulong32 ReadExtraSectionsData(std::FILE* f, TOP_SEC* secs, int count);
  static ulong32 WriteExtraSectionsData(std::FILE* f, TOP_SEC* secs, int count);

 private:
  ulong32 ImportWith(const char* path, int (*reader)(const char*, TOPO_CURDIMS_REC*, int*));

  TOPO_CURDIMS_REC rec_;
};
