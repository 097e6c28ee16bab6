// The fixed-layout records of a steel connection, as the connection program
// hands them over: the assembly (ASS_REC), its connections (CONN_REC), the
// members of a connection (MEM_REC), a connection's loads (LOA_REC), plates
// (PLA_REC), welds (WEL_REC) and special parts (SPE_REC). Bolt groups are
// BOL_REC (sections/BoltTables.h); the bolt and hook grid fields past its
// byte 82 are drawn here.
//
// Each record is its little-endian, byte-packed image of a fixed size.
// Texts are NUL-padded fields: a text is read up to its first NUL or the
// field's end, and written cut to the field's width - 1 with the rest NUL.
// Fields not drawn below are carried as they are. Numbers given as "I 123"
// or "F 510" are the element keys the builder reads the field into.
//
// The original records hold 32-bit pointers to their sub-tables. Their 4
// bytes stay in the image (carried, not used); the live links are the
// widened pointer members after the image. Sub-tables are indexed from 1:
// slot 0 of every array exists and is not used.
//
// ASS_REC, 17520 bytes (connection array: `connections`, count + 1 records)
//     0  u16   kind word (2: I 104 = 1)      2  i16  I 119
//     4  i16   I 105                         6  i16  connection count
//     8  4     connection array (pointer slot)
//    12  u16   I 120
//    14  802 x 20  load-case names by load-case number 0 to 801 (1 to 801 used)
// 16054  40    string 1005                16094  256  string 1006
// 16350  256   string 1007                16606  40   string 1002
// 16646  20    string 1003                16666  40   string 1004
// 16706  40    string 1001 (project name) 16746  256  string 1008 (path)
// 17514  i16   I 106      17516  i16  I 109 (n)      17518  i16  I 118
//
// CONN_REC, 1031 bytes (member block: `members`, 7 records; load block:
// `loads`, 802 records by load-case number)
//     2  i16   I 123     4  i16  I 124     6  i16  I 125
//     8  40    name (string 1001)         48  50   string 1020
//    98  i8    I 128    99  i16  I 122
//   109  i16   truss weld flag 1  111  i16  flag 2  113  i16  flag 3
//   119  4     member block (pointer slot)
//   575  f32   truss weld 1 (F 564)  639  f32  weld 2 (F 565)  703  f32  weld 3 (F 566)
//  1023  4     load block (pointer slot)
//  1027  i32   state word (I 146; I 1029 + j of the project = 1 when 0)
//
// MEM_REC, 128 bytes
//     0  i16   I 132      2  f32  F 513 and F 514     6  i16  I 136
//     8  u32   catalogue key (I 131)     12  20   section name (string 1001)
//    32  i16   family (I 130)            34  i16  sub-number (I 351)
//    41  i16   I 121      55  f32  F 512    63  f32  F 516 / F 519
//    67  f32   F 515      71  f32  F 517    75  f32  F 511 / F 512 of angles
//    79, 83, 87, 91  f32  F 501 to F 504    95  i16  I 122
//    99  f32   F 511     103  i16  I 134   105  f32  F 505   109  f32  F 506
//
// LOA_REC, 168 bytes: six 28-byte groups, one per member entry k (0 to 5);
// group k holds f32 at +4, +8 and +24 (F 170 + 3k, 171 + 3k, 172 + 3k).
//
// PLA_REC, 38 bytes
//     0  i16   grade (I 121)     2  f32  F 511     6  f32  F 512
//    10  f32   F 510            14  f32  F 521    22  f32  F 509
//    26  3 x f32  the three placement values of Restore_PlateObj
//
// WEL_REC, 51 bytes
//     0  f32   first leading value      4  f32  second leading value
//    23, 27, 31, 35  f32  notch values  39, 43, 47  f32  distance values
//
// SPE_REC, 47 bytes
//     2  i16   I 198      4  u16  B 101 = 1 when 0   6  i16  I 190
//     8  i16   I 195     10  i16  I 191   12  i16  I 193   14  i16  I 194
//    18  i16   I 192     22  f32  F 570   26  f32  F 550 / F 571
//    30  i16   I 196     34  i16  I 129   45  i16  I 121
//
// BOL_REC, 112 bytes (bytes 0 to 81 as sections/BoltTables.h draws them)
//    26  i16   size (I 140)   28  i16  grade (I 121)   30  i16  I 142
//    40  i16   I 141          46  f32  hole diameter d0
//    66  f32 ...  row spacings of a bolt grid with variable spacing, as
//                 many as its rows (at most 11 fit before the record's end)
//    82  i16   hook flag (I 143)        84  f32  hook diameter
//    88  16    hook text, NUL-padded
//   104  i16   hook shape (I 144)      106  i16  hook rows (I 145)
//   108  i16   hook columns (I 156)    110  2    not used
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/CString.h"
#include "platform/Coding.h"
#include "platform/Export.h"
#include "sections/BoltTables.h"

namespace telio {

// Typed access to a record image at a byte offset. The caller keeps
// offset + width inside the record.
inline int8_t RecI8(const unsigned char* r, int off) { return static_cast<int8_t>(r[off]); }
inline int16_t RecI16(const unsigned char* r, int off) {
  return static_cast<int16_t>(DecodeFixed16(r + off));
}
inline uint16_t RecU16(const unsigned char* r, int off) { return DecodeFixed16(r + off); }
inline int32_t RecI32(const unsigned char* r, int off) {
  return static_cast<int32_t>(DecodeFixed32(r + off));
}
inline uint32_t RecU32(const unsigned char* r, int off) { return DecodeFixed32(r + off); }
inline float RecF32(const unsigned char* r, int off) { return DecodeFloat(r + off); }
inline void SetRecI8(unsigned char* r, int off, int8_t v) {
  r[off] = static_cast<unsigned char>(v);
}
inline void SetRecI16(unsigned char* r, int off, int16_t v) {
  EncodeFixed16(r + off, static_cast<uint16_t>(v));
}
inline void SetRecU16(unsigned char* r, int off, uint16_t v) { EncodeFixed16(r + off, v); }
inline void SetRecI32(unsigned char* r, int off, int32_t v) {
  EncodeFixed32(r + off, static_cast<uint32_t>(v));
}
inline void SetRecU32(unsigned char* r, int off, uint32_t v) { EncodeFixed32(r + off, v); }
inline void SetRecF32(unsigned char* r, int off, float v) { EncodeFloat(r + off, v); }
// A NUL-padded text field of width bytes.
TELIO_EXPORT CString RecText(const unsigned char* r, int off, int width);
TELIO_EXPORT void SetRecText(unsigned char* r, int off, int width, const char* text);

}  // namespace telio

// The byte image of an N-byte record.
template <std::size_t N>
struct ConnRecordImage {
  static constexpr std::size_t kSize = N;
  unsigned char bytes[N];
};

struct CONN_REC;
struct MEM_REC;
struct LOA_REC;

struct TELIO_EXPORT ASS_REC : ConnRecordImage<17520> {
  static constexpr int kNameWidth = 20;     // a load-case name field
  static constexpr int kMaxLoadCase = 801;  // load-case numbers run 1 to 801
  // count + 1 records (slot 0 not used), or null.
  CONN_REC* connections;

  uint16_t Kind() const { return telio::RecU16(bytes, 0); }
  int16_t ConnectionCount() const { return telio::RecI16(bytes, 6); }
  void SetConnectionCount(int16_t n) { telio::SetRecI16(bytes, 6, n); }
  CString LoadCaseName(int lc) const {
    return telio::RecText(bytes, 14 + kNameWidth * lc, kNameWidth);
  }
  void SetLoadCaseName(int lc, const char* name) {
    telio::SetRecText(bytes, 14 + kNameWidth * lc, kNameWidth, name);
  }
  // Connection record j (1 to the connection count), or null.
  CONN_REC* GetConnection(int j) const;
};
static_assert(sizeof(ConnRecordImage<17520>) == 17520, "assembly record is 17520 bytes");

struct TELIO_EXPORT CONN_REC : ConnRecordImage<1031> {
  static constexpr int kMemberCount = 6;  // member entries 1 to 6 of `members`
  MEM_REC* members;                       // 7 records (slot 0 not used), or null
  LOA_REC* loads;                         // 802 records by load-case number, or null: no loads

  CString Name() const { return telio::RecText(bytes, 8, 40); }
  void SetName(const char* name) { telio::SetRecText(bytes, 8, 40, name); }
  int32_t StateWord() const { return telio::RecI32(bytes, 1027); }
};
static_assert(sizeof(ConnRecordImage<1031>) == 1031, "connection record is 1031 bytes");

struct TELIO_EXPORT MEM_REC : ConnRecordImage<128> {
  static constexpr int kNameWidth = 20;
  uint32_t CatalogueKey() const { return telio::RecU32(bytes, 8); }
  CString SectionName() const { return telio::RecText(bytes, 12, kNameWidth); }
  void SetSectionName(const char* name) { telio::SetRecText(bytes, 12, kNameWidth, name); }
  int16_t Family() const { return telio::RecI16(bytes, 32); }
  int16_t SubNumber() const { return telio::RecI16(bytes, 34); }
  void SetCatalogueKey(uint32_t key) { telio::SetRecU32(bytes, 8, key); }
  void SetFamily(int16_t family) { telio::SetRecI16(bytes, 32, family); }
  void SetSubNumber(int16_t sub) { telio::SetRecI16(bytes, 34, sub); }
};
static_assert(sizeof(MEM_REC) == 128, "member record is 128 bytes");

struct TELIO_EXPORT LOA_REC : ConnRecordImage<168> {
  static constexpr int kGroupSize = 28;
  // Value i (0, 1, 2: the f32 at +4, +8, +24) of group k (0 to 5).
  static constexpr int Offset(int k, int i) {
    return kGroupSize * k + (i == 0 ? 4 : i == 1 ? 8 : 24);
  }
  float Value(int k, int i) const { return telio::RecF32(bytes, Offset(k, i)); }
  void SetValue(int k, int i, float v) { telio::SetRecF32(bytes, Offset(k, i), v); }
};
static_assert(sizeof(LOA_REC) == 168, "load record is 168 bytes");

struct TELIO_EXPORT PLA_REC : ConnRecordImage<38> {};
static_assert(sizeof(PLA_REC) == 38, "plate record is 38 bytes");

struct TELIO_EXPORT WEL_REC : ConnRecordImage<51> {
  float Lead(int i) const { return telio::RecF32(bytes, 4 * i); }
  void SetLead(int i, float v) { telio::SetRecF32(bytes, 4 * i, v); }
};
static_assert(sizeof(WEL_REC) == 51, "weld record is 51 bytes");

struct TELIO_EXPORT SPE_REC : ConnRecordImage<47> {};
static_assert(sizeof(SPE_REC) == 47, "special part record is 47 bytes");

// The bolt record fields the connection builder adds past byte 82 (see the
// table above).
namespace BolRecGrid {
constexpr int kSpacings = 66;
constexpr int kMaxSpacings = (static_cast<int>(sizeof(BOL_REC)) - kSpacings) / 4;
constexpr int kHookFlag = 82;
constexpr int kHookShape = 104;
constexpr int kHookRows = 106;
constexpr int kHookColumns = 108;
}  // namespace BolRecGrid
