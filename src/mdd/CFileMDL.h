// CFileMDL: the member-design job reader under the extension "MDL", which
// also reads the purlin records of the job's "TGD" file.
//
// TGD file: an 8-byte header, then one 4150-byte record per member
// (little-endian), copied into a TEGIDA block (MDDStrucst.h) as follows;
// entries with index 0 of the tables are not used:
//   record offset          type   into the block
//   0                      i16    i32 at 0
//   2                      f32    f64 at 4
//   6                      i8     i32 at 12
//   7                      f32    f64 at 16
//   11                     f32    i32 at 24, truncated toward zero
//   15                     i16    i32 at 28
//   17 + 4k, k = 1..19     f32    f64 at 24 + 8k
//   97 + 2k, k = 1..19     i16    i32 at 188 + 4k
//   137 + 4k, k = 1..800   f32    f64 at 264 + 8k
//   3341 + k, k = 1..800   i8     i32 at 6676 + 4k
//   4142                   8      bytes at 9884
//
// The purlin data object of the design model holds the same 9892-byte
// block; turning it into that object is the project import's work.
#pragma once

#include <cstdio>

#include "mdd/CFileMDD.h"
#include "mdd/MDDStrucst.h"
#include "platform/Export.h"

class TELIO_EXPORT CFileMDL : public CFileMDD {
 public:
  static constexpr long32 kTgdHeader = 8;
  static constexpr long32 kTgdRecord = 4150;

  CFileMDL();

  // Fills out from purlin record `index` (0-based) of the TGD file at path.
  // 0 when read (a record the file ends inside leaves zeros, a record past
  // the end all zeros); 0 with out untouched when path does not exist or
  // is not a TGD file; the last error when it cannot be opened; 160 with
  // out zeroed for a negative index.
  int ReadTegida(const char* path, MDDStrucst::TEGIDA& out, int index);

  // ReadTegida in two steps, for reading many records through one open:
  // the TGD file at path opened for reading, or null with code 0 when path
  // does not exist or is not a TGD file, null with the last error in code
  // when it cannot be opened;
  static std::FILE* OpenTegida(const char* path, int& code);
  // and record `index` of the open file f into out, zeroed first.
  static int ReadTegidaRecord(std::FILE* f, MDDStrucst::TEGIDA& out, int index);
};
