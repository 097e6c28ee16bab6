// The process-wide bolt tables (sizes and grades) read from "BOLTS.LIB",
// and the bolt group record that they fill.
//
// "BOLTS.LIB" is text, values separated by white space: the size count,
// 13 values per size (value 0 the nominal diameter d, value 6 the hole
// clearance, values 2 to 4 areas in cm2 held in mm2), the grade count, then
// per grade the grade value, fyb and fub. At most 10 sizes and 17 grades are
// kept; sizes and grades are numbered from 1. Not thread-safe.
#pragma once

#include <cstdint>

#include "platform/CString.h"
#include "platform/Coding.h"
#include "platform/Export.h"

// A bolt group record of the connection files (112 bytes, little-endian):
//   0  name, 26 bytes, NUL-terminated (25 characters at most)
//  26  i16 size number          28  i16 grade number
//  30  i16 third setting        32  f32 fub        36  f32 fyb
//  40  i16 fourth setting       42  f32 d          46  f32 d0
//  50  f32 size value 4         54  f32 size value 3
//  58  f32 x 6 size values 7 to 12
//  82  i16 hook flag            84  f32 hook diameter
//  88  hook text, 16 bytes, NUL-terminated
// 104  i16 hook grid shape      106  i16 hook grid rows
// 108  i16 hook grid columns    110  2 bytes unused
// (The hook grid words belong to the connection records, which read and
// write them themselves; see connections/ConnectionRecords.h.)
struct TELIO_EXPORT BOL_REC {
  static constexpr int kNameSize = 26;
  static constexpr int kHookTextSize = 16;
  unsigned char bytes[112];

  // Texts stop at their first NUL or at the end of their field.
  CString Name() const { return Text(0, kNameSize); }
  void SetName(const char* name);
  int16_t Size() const { return static_cast<int16_t>(telio::DecodeFixed16(bytes + 26)); }
  int16_t Grade() const { return static_cast<int16_t>(telio::DecodeFixed16(bytes + 28)); }
  int16_t Third() const { return static_cast<int16_t>(telio::DecodeFixed16(bytes + 30)); }
  float Fub() const { return telio::DecodeFloat(bytes + 32); }
  float Fyb() const { return telio::DecodeFloat(bytes + 36); }
  int16_t Fourth() const { return static_cast<int16_t>(telio::DecodeFixed16(bytes + 40)); }
  float D() const { return telio::DecodeFloat(bytes + 42); }
  float D0() const { return telio::DecodeFloat(bytes + 46); }
  float SizeValue4() const { return telio::DecodeFloat(bytes + 50); }
  float SizeValue3() const { return telio::DecodeFloat(bytes + 54); }
  // i = 7 to 12
  float SizeValue(int i) const { return telio::DecodeFloat(bytes + 58 + 4 * (i - 7)); }
  int16_t HookFlag() const { return static_cast<int16_t>(telio::DecodeFixed16(bytes + 82)); }
  float HookDiameter() const { return telio::DecodeFloat(bytes + 84); }
  CString HookText() const { return Text(88, kHookTextSize); }

  void SetNumbers(int16_t size, int16_t grade, int16_t third, int16_t fourth);
  void SetFloat(int offset, float v) { telio::EncodeFloat(bytes + offset, v); }
  void SetHook(int16_t flag, float diameter, const char* text);

 private:
  CString Text(int offset, int size) const;
};
static_assert(sizeof(BOL_REC) == 112, "bolt group record is 112 bytes");

TELIO_EXPORT int AllocateBoltTablesMem();
TELIO_EXPORT void DeAllocateBoltTablesMem();
// Reads folder + "BOLTS.LIB" (no separator is added: give the folder with
// its trailing one). 1 at once when loaded; 1 when the file was read without
// a stream error, else 0.
TELIO_EXPORT int ReadBoltSizesTable(const char* folder);
TELIO_EXPORT bool IsBoltTablesLoaded();
TELIO_EXPORT int GetBoltSizesCount();
TELIO_EXPORT int GetBoltGradesCount();

TELIO_EXPORT float Bolt_fub(short grade);
TELIO_EXPORT float Bolt_fyb(short grade);
TELIO_EXPORT float GetBoltsSizeDataD(int size);
TELIO_EXPORT float GetBoltsSizeDataD0(int size);
// Size outputs are zeroed, then set for a size 1 to 10; fub and fyb are set
// for a grade 1 to 17 and left alone otherwise. Null outputs are skipped.
TELIO_EXPORT void GetBoltsData(int size, int grade, float* d, float* d0, float* value4,
                               float* value3, float* fub, float* fyb, float* value7,
                               float* value8);
TELIO_EXPORT CString GetBoltGradeStr(int grade);
TELIO_EXPORT CString GetBoltSizeStr(int size);
// Stores the numbers, the grade's strengths and the size's dimensions in the
// record, then names it with MakeBoltName.
TELIO_EXPORT void SetBoltsData(BOL_REC* rec, short size, short grade, short third, short fourth);
// "M16/8.8 / NOR" (user-interface languages 1 and 2) or the Greek suffix
// (other languages); `unused` is not read.
TELIO_EXPORT void MakeBoltName(BOL_REC* rec, CString unused);
// "d=<diameter>/<text>" for a record whose hook flag is 0.
TELIO_EXPORT void MakeHookName(BOL_REC* rec);
