// The records of a member-design job (the MDD or MDL file and its MLC, CNS,
// LTB, DB0 and TGD side files), as CFileMDD keeps and hands them out.
//
// Every record is a byte block of its file size, little-endian, with typed
// accessors at the offsets below. Bytes this module gives no meaning to are
// kept as read; the design project import interprets some of them (noted
// "import" below).
//
// NewData4Job (432): the job description block of the MDD file.
//   0   u16  declared size of the block in the file (432 today)
//   2   u16  job kind (kind 4 accepts any type)
//   4   i16  type: 11 (37-byte member records), 12 or 13 (137-byte)
//   6   i16  member capacity; 0: the default at 420
//   8   62   job name, NUL-terminated
//   70  256  job folder, NUL-terminated (the analysis job's AJF folder)
//   326 42   engineer (import)         368 24  date (import)
//   392 28   project name (import)     420 i32 default capacity; 0: 30 for
//   424 8    carried                           a linked job, 10 otherwise
//
// OPENJOB (15): 0 u8 linked flag, 1 10 carried, 11 i16 member count,
//   13 i16 version (3 or more: a 40-byte extension block follows it).
//
// BLIST (137): one member. 0 name (9, NUL-terminated), 9 f32 length,
//   13 i8 section family, 14 u8 profile, 15 i8 grade, 16 i16 number of
//   analysis beams (the member's positions), 18 2 carried, 20 i8 has LTB,
//   21 f32 section angle, 25 8 carried, 33 i32 section identifier; bytes 37
//   to 136 are carried (type 11 files hold only bytes 0 to 36).
//
// MLCHEADER: A i16 load cases (at most 800 kept), B i16 members, 800 name
//   slots of 21 bytes (ANSI page, NUL-terminated), then a pointer to the
//   position count of every member slot (one i16 per slot of the capacity;
//   owned by the reader).
//
// Point3D (12): three f32 x, y, z.
//
// CONSTRAINT (95): bytes 0 to 82 one restraint record of the CNS file,
//   12 zero bytes after it. 0 u8 kind (old restraint code 1 to 6), 1 f32
//   eta, 5 f32 buckling-length factor, 13 u8 (import: makes kind 5 kind 6).
//
// CONSTRAINTS_LTB (54): the buckling points of a member: 0 i16 count k,
//   2 i16 x 26 node numbers (the first k used).
//
// LTB_CONS (34): one buckling point: 0 i8 end condition for k, 1 i8 end
//   condition for kw, 2 f32 k, 6 f32 kw, 10 24 carried.
//
// TEGIDA (9892): the purlin data of a member as the design objects hold it,
//   filled from a TGD record by CFileMDL::ReadTegida:
//   0 i32, 4 f64, 12 i32, 16 f64, 24 i32, 28 i32 (count), 32 f64 x 19
//   (the first is the length), 188 + 4k i32 (k = 1..19), 264 + 8k f64
//   (k = 1..800), 6676 + 4k i32 (k = 1..800), 9884 8 bytes. Entries with
//   index 0 of the tables are not used.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/CString.h"
#include "platform/Coding.h"
#include "platform/Export.h"
#include "platform/FieldText.h"
#include "platform/Types.h"

namespace MDDStrucst {

// A NUL-terminated text of a fixed field: up to the first NUL or the
// field's end, whichever comes first.
inline CString FieldText(const unsigned char* field, size_t width) { return telio::ReadFieldText(field, width); }

// Copies text into a fixed field, cut so that the field ends with a NUL.
inline void SetFieldText(unsigned char* field, size_t width, const char* text) {
  telio::WriteFieldText(field, width, text);
}

struct TELIO_EXPORT NewData4Job {
  static constexpr size_t kSize = 432;
  static constexpr size_t kNameAt = 8, kNameSize = 62;
  static constexpr size_t kFolderAt = 70, kFolderSize = 256;
  static constexpr size_t kEngineerAt = 326, kEngineerSize = 42;
  static constexpr size_t kDateAt = 368, kDateSize = 24;
  static constexpr size_t kProjectAt = 392, kProjectSize = 28;
  static constexpr int kAnyType = 4;  // the job kind accepted with any type
  unsigned char data[kSize];

  uint16_t DeclaredSize() const { return telio::DecodeFixed16(data); }
  uint16_t JobKind() const { return telio::DecodeFixed16(data + 2); }
  int16_t Type() const { return static_cast<int16_t>(telio::DecodeFixed16(data + 4)); }
  int16_t MemberCapacity() const { return static_cast<int16_t>(telio::DecodeFixed16(data + 6)); }
  CString JobName() const { return FieldText(data + kNameAt, kNameSize); }
  CString JobFolder() const { return FieldText(data + kFolderAt, kFolderSize); }
  CString Engineer() const { return FieldText(data + kEngineerAt, kEngineerSize); }
  CString Date() const { return FieldText(data + kDateAt, kDateSize); }
  CString ProjectName() const { return FieldText(data + kProjectAt, kProjectSize); }
  long32 DefaultCapacity() const { return static_cast<long32>(telio::DecodeFixed32(data + 420)); }

  void SetDeclaredSize(uint16_t v) { telio::EncodeFixed16(data, v); }
  void SetJobKind(uint16_t v) { telio::EncodeFixed16(data + 2, v); }
  void SetType(int16_t v) { telio::EncodeFixed16(data + 4, static_cast<uint16_t>(v)); }
  void SetMemberCapacity(int16_t v) { telio::EncodeFixed16(data + 6, static_cast<uint16_t>(v)); }
  void SetJobName(const char* s) { SetFieldText(data + kNameAt, kNameSize, s); }
  void SetJobFolder(const char* s) { SetFieldText(data + kFolderAt, kFolderSize, s); }
  void SetEngineer(const char* s) { SetFieldText(data + kEngineerAt, kEngineerSize, s); }
  void SetDate(const char* s) { SetFieldText(data + kDateAt, kDateSize, s); }
  void SetProjectName(const char* s) { SetFieldText(data + kProjectAt, kProjectSize, s); }
  void SetDefaultCapacity(long32 v) { telio::EncodeFixed32(data + 420, static_cast<uint32_t>(v)); }
};
static_assert(sizeof(NewData4Job) == 432, "job block is 432 bytes");

struct TELIO_EXPORT OPENJOB {
  static constexpr size_t kSize = 15;
  static constexpr size_t kExtensionSize = 40;
  static constexpr int kExtensionVersion = 3;  // versions from 3 on carry the extension
  unsigned char data[kSize];

  uint8_t Linked() const { return data[0]; }
  int16_t MemberCount() const { return static_cast<int16_t>(telio::DecodeFixed16(data + 11)); }
  int16_t Version() const { return static_cast<int16_t>(telio::DecodeFixed16(data + 13)); }
  void SetLinked(uint8_t v) { data[0] = v; }
  void SetMemberCount(int16_t v) { telio::EncodeFixed16(data + 11, static_cast<uint16_t>(v)); }
  void SetVersion(int16_t v) { telio::EncodeFixed16(data + 13, static_cast<uint16_t>(v)); }
};
static_assert(sizeof(OPENJOB) == 15, "open block is 15 bytes");

struct TELIO_EXPORT BLIST {
  static constexpr size_t kSize = 137;
  static constexpr size_t kShortSize = 37;  // what a type-11 file stores
  static constexpr size_t kNameSize = 9;
  unsigned char data[kSize];

  CString Name() const { return FieldText(data, kNameSize); }
  float Length() const { return telio::DecodeFloat(data + 9); }
  int8_t Family() const { return static_cast<int8_t>(data[13]); }
  uint8_t Profile() const { return data[14]; }
  int8_t Grade() const { return static_cast<int8_t>(data[15]); }
  int16_t BeamCount() const { return static_cast<int16_t>(telio::DecodeFixed16(data + 16)); }
  int8_t HasLTB() const { return static_cast<int8_t>(data[20]); }
  float Angle() const { return telio::DecodeFloat(data + 21); }
  long32 SectionId() const { return static_cast<long32>(telio::DecodeFixed32(data + 33)); }

  void SetName(const char* s) { SetFieldText(data, kNameSize, s); }
  void SetLength(float v) { telio::EncodeFloat(data + 9, v); }
  void SetFamily(int8_t v) { data[13] = static_cast<unsigned char>(v); }
  void SetProfile(uint8_t v) { data[14] = v; }
  void SetGrade(int8_t v) { data[15] = static_cast<unsigned char>(v); }
  void SetBeamCount(int16_t v) { telio::EncodeFixed16(data + 16, static_cast<uint16_t>(v)); }
  void SetHasLTB(int8_t v) { data[20] = static_cast<unsigned char>(v); }
  void SetAngle(float v) { telio::EncodeFloat(data + 21, v); }
  void SetSectionId(long32 v) { telio::EncodeFixed32(data + 33, static_cast<uint32_t>(v)); }
};
static_assert(sizeof(BLIST) == 137, "member record is 137 bytes");

#pragma pack(push, 1)
// The pointer widens the record on 64-bit hosts; it is never written.
struct TELIO_EXPORT MLCHEADER {
  static constexpr int kMaxLoadCases = 800;
  static constexpr size_t kNameSize = 21;
  static constexpr size_t kBlockSize = 4 + kMaxLoadCases * kNameSize;  // 16804
  unsigned char data[kBlockSize];
  int16_t* counts;

  int16_t LoadCases() const { return static_cast<int16_t>(telio::DecodeFixed16(data)); }
  int16_t Members() const { return static_cast<int16_t>(telio::DecodeFixed16(data + 2)); }
  // Name slot i (0 to 799); empty outside.
  CString Name(int i) const {
    return i >= 0 && i < kMaxLoadCases ? FieldText(data + 4 + kNameSize * i, kNameSize) : CString();
  }
  char* PName(int i) {
    return i >= 0 && i < kMaxLoadCases ? reinterpret_cast<char*>(data + 4 + kNameSize * i) : nullptr;
  }
  // The position counts, one per member slot of the reader's capacity.
  int16_t* PositionCounts() const { return counts; }
  void SetLoadCases(int16_t v) { telio::EncodeFixed16(data, static_cast<uint16_t>(v)); }
  void SetMembers(int16_t v) { telio::EncodeFixed16(data + 2, static_cast<uint16_t>(v)); }
};
#pragma pack(pop)
static_assert(sizeof(MLCHEADER) == 16804 + sizeof(int16_t*), "MLC header is 16804 bytes and the pointer");

struct TELIO_EXPORT Point3D {
  static constexpr size_t kSize = 12;
  unsigned char data[kSize];

  float X() const { return telio::DecodeFloat(data); }
  float Y() const { return telio::DecodeFloat(data + 4); }
  float Z() const { return telio::DecodeFloat(data + 8); }
  void Set(float x, float y, float z) {
    telio::EncodeFloat(data, x);
    telio::EncodeFloat(data + 4, y);
    telio::EncodeFloat(data + 8, z);
  }
};
static_assert(sizeof(Point3D) == 12, "point is 12 bytes");

struct TELIO_EXPORT CONSTRAINT {
  static constexpr size_t kSize = 95;
  static constexpr size_t kFileSize = 83;  // the CNS record; the rest stays zero
  unsigned char data[kSize];

  uint8_t Kind() const { return data[0]; }
  float Eta() const { return telio::DecodeFloat(data + 1); }
  float Factor() const { return telio::DecodeFloat(data + 5); }
  uint8_t Byte(int i) const { return i >= 0 && i < static_cast<int>(kSize) ? data[i] : 0; }
  void SetKind(uint8_t v) { data[0] = v; }
  void SetEta(float v) { telio::EncodeFloat(data + 1, v); }
  void SetFactor(float v) { telio::EncodeFloat(data + 5, v); }
};
static_assert(sizeof(CONSTRAINT) == 95, "restraint record is 95 bytes");

struct TELIO_EXPORT CONSTRAINTS_LTB {
  static constexpr size_t kSize = 54;
  static constexpr int kMaxNodes = 26;
  unsigned char data[kSize];

  int16_t Count() const { return static_cast<int16_t>(telio::DecodeFixed16(data)); }
  // Node j (0 to 25); 0 outside.
  int16_t Node(int j) const {
    return j >= 0 && j < kMaxNodes ? static_cast<int16_t>(telio::DecodeFixed16(data + 2 + 2 * j)) : 0;
  }
  void SetCount(int16_t v) { telio::EncodeFixed16(data, static_cast<uint16_t>(v)); }
  void SetNode(int j, int16_t v) {
    if (j >= 0 && j < kMaxNodes) telio::EncodeFixed16(data + 2 + 2 * j, static_cast<uint16_t>(v));
  }
};
static_assert(sizeof(CONSTRAINTS_LTB) == 54, "buckling member record is 54 bytes");

struct TELIO_EXPORT LTB_CONS {
  static constexpr size_t kSize = 34;
  unsigned char data[kSize];

  int8_t KType() const { return static_cast<int8_t>(data[0]); }
  int8_t KwType() const { return static_cast<int8_t>(data[1]); }
  float K() const { return telio::DecodeFloat(data + 2); }
  float KW() const { return telio::DecodeFloat(data + 6); }
  void SetKType(int8_t v) { data[0] = static_cast<unsigned char>(v); }
  void SetKwType(int8_t v) { data[1] = static_cast<unsigned char>(v); }
  void SetK(float v) { telio::EncodeFloat(data + 2, v); }
  void SetKW(float v) { telio::EncodeFloat(data + 6, v); }
};
static_assert(sizeof(LTB_CONS) == 34, "buckling point record is 34 bytes");

struct TELIO_EXPORT TEGIDA {
  static constexpr size_t kSize = 9892;
  static constexpr int kShortTable = 19;  // entries 1 to 19 of the first two tables
  static constexpr int kLongTable = 800;  // entries 1 to 800 of the last two
  unsigned char data[kSize];

  // Fields by offset, for the scalars of the layout above.
  long32 Int(size_t at) const { return static_cast<long32>(telio::DecodeFixed32(data + at)); }
  double Double(size_t at) const { return telio::DecodeDouble(data + at); }
  void SetInt(size_t at, long32 v) { telio::EncodeFixed32(data + at, static_cast<uint32_t>(v)); }
  void SetDouble(size_t at, double v) { telio::EncodeDouble(data + at, v); }

  long32 Type() const { return Int(0); }
  long32 Count() const { return Int(28); }
  double Length() const { return Double(32); }
  // Table entry k, 1-based as the layout counts them; 0 outside.
  double ShortValue(int k) const { return k >= 1 && k <= kShortTable ? Double(24 + 8 * static_cast<size_t>(k)) : 0.0; }
  long32 ShortWord(int k) const { return k >= 1 && k <= kShortTable ? Int(188 + 4 * static_cast<size_t>(k)) : 0; }
  double LongValue(int k) const { return k >= 1 && k <= kLongTable ? Double(264 + 8 * static_cast<size_t>(k)) : 0.0; }
  long32 LongWord(int k) const { return k >= 1 && k <= kLongTable ? Int(6676 + 4 * static_cast<size_t>(k)) : 0; }
};
static_assert(sizeof(TEGIDA) == 9892, "purlin data block is 9892 bytes");

}  // namespace MDDStrucst
