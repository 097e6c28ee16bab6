// CFileCMI: the load combinations of an analysis job (extension "CMI"):
// for each combination the load cases it adds up and their factors.
//
// File layout (little-endian; every record has one size R):
//
//   offset   size  contents
//   0        R     header record; this module reads its first 804 bytes:
//                    0  i32 combination count
//                    4  i32 combinations with a nonzero link word
//                    20 i32 format version (11 or 12)
//                    24 i32 record size (3204 for the current layout)
//                  the other bytes are carried as they are
//   R * i    R     combination i (1..count):
//                    i32 n, n x i32 load-case index, n x f32 factor,
//                    kind and link words, zero bytes up to R
//
// R is 3204 (at most 400 terms) when the header's record size says 3204,
// else 804 (the older layout, at most 100 terms). The kind and link words
// are two u16 in version 12, two i8 (widened with their sign) in version 11
// and absent in any other version (both 0). A full record (400 or 100
// terms) has no room for its words: they are read from the 4 (or 2) bytes
// after it, the next record's term count, and are 0 for the last record.
#pragma once

#include <cstdint>

#include "files/CFileBase.h"
#include "framework/CArrayEx.h"
#include "platform/Coding.h"
#include "platform/Export.h"
#include "platform/Types.h"

// One combination as held in memory: the current 3204-byte layout.
//   0     i32 n, number of terms (at most 400; 399 when written)
//   4     400 x i32 load-case index of each term
//   1604  400 x f32 factor of each term
// Records are large: keep them in arrays or on the heap, not on the stack.
struct TELIO_EXPORT CMI_REC {
  static constexpr int kSize = 3204;
  static constexpr int kMaxTerms = 400;
  unsigned char data[kSize];

  long32 Count() const { return static_cast<long32>(telio::DecodeFixed32(data)); }
  long32 Index(int k) const { return static_cast<long32>(telio::DecodeFixed32(data + 4 + 4 * k)); }
  float Factor(int k) const { return telio::DecodeFloat(data + 1604 + 4 * k); }
  void SetCount(long32 n) { telio::EncodeFixed32(data, static_cast<uint32_t>(n)); }
  void SetIndex(int k, long32 v) { telio::EncodeFixed32(data + 4 + 4 * k, static_cast<uint32_t>(v)); }
  void SetFactor(int k, float v) { telio::EncodeFloat(data + 1604 + 4 * k, v); }
};
static_assert(sizeof(CMI_REC) == 3204, "combination record is 3204 bytes");

class TELIO_EXPORT CFileCMI : public CFileBase {
 public:
  static constexpr int kHeaderSize = 3204;
  static constexpr int kHeaderRead = 804;
  static constexpr int kOldRecordSize = 804;
  static constexpr int kOldMaxTerms = 100;
  static constexpr int kMaxTermsWritten = 399;
  static constexpr int kVersionCurrent = 12;
  static constexpr int kVersionByteWords = 11;

  CFileCMI();
  CFileCMI(const CFileCMI&) = delete;
  CFileCMI& operator=(const CFileCMI&) = delete;
  ~CFileCMI() override;

  // Closes the object and records path (when given) without checking it.
  // Always 1.
  int NewFile(const char* path) override;
  // Reads the header and the combinations it counts; a negative count is
  // none. 38 when the file ends inside the header or before the counted
  // combinations (those read are kept, the header's count stays as read);
  // 8 when the combinations cannot be held (nothing kept).
  ulong32 Import(const char* path) override;
  // Writes the current layout (version 12, 3204-byte records) with at most
  // 399 terms per combination; sets the header's version and record size.
  // The count and linked count written are those of the combinations held,
  // so a file written after a short import agrees with itself. 1 for a null
  // path. A failed export leaves an existing file as it was.
  ulong32 Export(const char* path) override;
  void Close() override;

  // Empties the arrays and sets the count to 0.
  void RemoveAll();
  // Appends a copy of rec; link < 1 gives kind 0 and link 0, otherwise
  // kind 8 and the link's low 16 bits, counted as linked. 0 for a null
  // record or fewer than 1 term, else the new count. Throws
  // CMemoryException* when the arrays cannot grow (nothing appended).
  int AddCombination(CMI_REC* rec, int link);
  // Combination i (0-based) or null outside the combinations held.
  CMI_REC* GetCombination(long32 i);
  long32 GetNumberOfCombinations() const { return HeaderLong(0); }
  long32 GetNumberOfLinkedCombinations() const { return HeaderLong(4); }
  long32 GetVersion() const { return HeaderLong(20); }
  long32 GetRecordSize() const { return HeaderLong(24); }
  // Kind and link words of combination i; 0 outside.
  uint16_t GetKind(long32 i) const;
  uint16_t GetLink(long32 i) const;
  const unsigned char* GetHeader() const { return header_; }

 private:
  long32 HeaderLong(int at) const { return static_cast<long32>(telio::DecodeFixed32(header_ + at)); }
  void SetHeaderLong(int at, long32 v) { telio::EncodeFixed32(header_ + at, static_cast<uint32_t>(v)); }
  ulong32 ReadCombinations(std::FILE* f);

  unsigned char header_[kHeaderSize];
  CArrayEx<CMI_REC, const CMI_REC&> combinations_;
  CArrayEx<uint16_t, uint16_t> kinds_;
  CArrayEx<uint16_t, uint16_t> links_;
};
