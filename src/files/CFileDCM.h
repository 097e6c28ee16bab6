// CFileDCM: the dynamic combinations file of an analysis job (extension "DCM"). Only
// its count is read; the load-case name reader needs it to know how many
// names of this kind the DYN file holds.
//
// File layout: offset 0, i32 the number of dynamic combinations; the rest is not
// read.
#pragma once

#include "files/CFileBase.h"
#include "platform/Export.h"
#include "platform/Types.h"

class TELIO_EXPORT CFileDCM : public CFileBase {
 public:
  CFileDCM();
  CFileDCM(const CFileDCM& other);
  CFileDCM& operator=(const CFileDCM& other);

  // The file is never created or written by this module: both return 0
  // and touch nothing.
  int NewFile(const char* path) override;
  ulong32 Export(const char* path) override;
  // Reads the count. A file shorter than 4 bytes leaves it 0 and is
  // accepted (result 0); a stream fault gives its code.
  ulong32 Import(const char* path) override;
  void Close() override;

  long32 GetNumberOfDynamicCombinations() const { return count_; }

 private:
  long32 count_ = 0;
};
