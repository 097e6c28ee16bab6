// The dynamic count files of an analysis job: DEN (dynamic envelopes) and
// DCM (dynamic combinations). Only their count is read; the load-case name
// reader needs it to know how many names of each kind the DYN file holds.
//
// File layout: offset 0, i32 the count; the rest is not read.
#pragma once

#include "files/CFileBase.h"
#include "platform/Export.h"
#include "platform/Types.h"

class TELIO_EXPORT CFileCount : public CFileBase {
 public:
  CFileCount(const CFileCount& other);
  CFileCount& operator=(const CFileCount& other);

  // The files are never created or written by this module: both return 0
  // and touch nothing.
  int NewFile(const char* path) override;
  ulong32 Export(const char* path) override;
  // Reads the count. A file shorter than 4 bytes leaves it 0 and is
  // accepted (result 0); a stream fault gives its code.
  ulong32 Import(const char* path) override;
  void Close() override;

 protected:
  explicit CFileCount(const char* ext);
  long32 Count() const { return count_; }

 private:
  long32 count_ = 0;
};

class TELIO_EXPORT CFileDEN : public CFileCount {
 public:
  CFileDEN() : CFileCount("DEN") {}
  long32 GetNumberOfDynamicEnvelopes() const { return Count(); }
};

class TELIO_EXPORT CFileDCM : public CFileCount {
 public:
  CFileDCM() : CFileCount("DCM") {}
  long32 GetNumberOfDynamicCombinations() const { return Count(); }
};
