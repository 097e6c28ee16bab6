// CFileJOB: the run-control file of an analysis job (extension "JOB"):
// which analyses were run, with which options, and one extra record per
// static load case.
//
// File layout (little-endian, byte-packed):
//
//   offset  size  contents
//   0       20    export type (opaque, patched in place by WriteExportType)
//   20      20    run-status words 0..9, i16 each (patched by WriteRunStatus)
//   40      250   block this module neither interprets nor writes
//   290     2     format version, i16
//   292     1..5  flag bytes, by version:
//                   2047        EAK, diaphragm, eccentricity
//                   2048, 2049  the same + structural eccentricity
//                   2050        the same + TGV results
//                   other       EAK only
//   292+k   14    LoadingCaseExtraData records up to the end of the file
//
// Run-status words: 0 PEP, 1 static, 2-3 free vibration, 4-5 dynamic,
// 6-9 spectral analysis; nonzero means that analysis was run.
#pragma once

#include <cstdio>

#include "files/CFileBase.h"
#include "framework/CArrayEx.h"
#include "platform/Export.h"
#include "platform/Types.h"

class TELIO_EXPORT CFileJOB : public CFileBase {
 public:
  // One trailing record, kept as raw bytes: two 8-bit values, a 32-bit
  // float, eight zero bytes. Compared and checksummed byte by byte.
  struct LoadingCaseExtraData {
    static constexpr int kSize = 14;
    unsigned char data[kSize];
  };

  static constexpr int kExportTypeSize = 20;
  static constexpr int kRunStatusWords = 10;
  static constexpr long32 kExportTypeOffset = 0;
  static constexpr long32 kRunStatusOffset = 20;
  static constexpr long32 kVersionOffset = 290;
  static constexpr int kHeaderSkipped = 250;

  CFileJOB();
  // Copies every field of the job; the copy has no path until imported.
  CFileJOB(const CFileJOB& other);
  CFileJOB& operator=(const CFileJOB& other);
  ~CFileJOB() override;

  // Closes the object and records path (when given) without checking it.
  // Always 1.
  int NewFile(const char* path) override;
  // Reads the header (a file shorter than the header leaves the unread
  // fields zero and is accepted) and every whole trailing record; a partial
  // last record is ignored. 8 when the records cannot be held in memory,
  // with the records read before kept. Version 2050 sets MaxLCE().
  ulong32 Import(const char* path) override;
  // Creates or truncates the file and writes nothing: the analysis program
  // writes the content. 1 for a null path.
  ulong32 Export(const char* path) override;
  void Close() override;

  // Patch the 20 bytes at offset 0 (export type) or 20 (run status) of an
  // existing file. A null stream opens the recorded path for update and
  // closes it again; a stream given stays open and must be writable.
  ulong32 WriteExportType(std::FILE* stream);
  ulong32 WriteRunStatus(std::FILE* stream);

  char IsJobEAK() const { return eak_; }
  char IsJobDiaph() const { return diaph_; }
  char IsJobEccen() const { return eccen_; }
  char IsStructEccen() const { return structEccen_; }
  char IsTGVResults() const { return tgv_; }

  int RunPEP() const { return runStatus_[0]; }
  int RunStatic() const { return runStatus_[1]; }
  int RunFreeVibration() const { return AnyRun(2, 3); }
  int RunDynamic() const { return AnyRun(4, 5); }
  int RunSpectral() const { return AnyRun(6, 9); }
  // Word index 0..9; 0 (get) or nothing done (set) for any other index.
  int GetRunStatus(int index) const;
  void SetRunStatus(int index, short value);

  // The format version read (0 when the file held none).
  int GetVersion() const { return version_; }
  const unsigned char* GetExportType() const { return exportType_; }
  void SetExportType(const unsigned char (&bytes)[kExportTypeSize]);

  const CArrayEx<LoadingCaseExtraData, const LoadingCaseExtraData&>& GetLoadingCaseExtraData() const {
    return extra_;
  }

  // Length of the per-load-case table of the intermediate-point results
  // file: process-wide, 0 at start, set by the last import of a version-2050
  // file (20803 for an EAK job, 400 otherwise), read without locking.
  static ulong32 MaxLCE();
  static void SetMaxLCE(ulong32 value);

 private:
  int AnyRun(int first, int last) const;
  ulong32 WriteBlock(std::FILE* stream, long32 offset, const unsigned char* bytes);
  void CopyFields(const CFileJOB& other);

  CArrayEx<LoadingCaseExtraData, const LoadingCaseExtraData&> extra_;
  short runStatus_[kRunStatusWords];
  unsigned char exportType_[kExportTypeSize];
  int version_;
  char eak_;
  char diaph_;
  char eccen_;
  char structEccen_;
  char tgv_;
};
static_assert(sizeof(CFileJOB::LoadingCaseExtraData) == 14, "extra data record is 14 bytes");
