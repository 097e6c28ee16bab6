// CFileDEN: the dynamic envelopes file of an analysis job (extension "DEN"). Only
// its count is read; the load-case name reader needs it to know how many
// names of this kind the DYN file holds.
//
// File layout: offset 0, i32 the number of dynamic envelopes; the rest is not
// read.
#pragma once

#include "files/CFileBase.h"
#include "platform/Export.h"
#include "platform/Types.h"

class TELIO_EXPORT CFileDEN : public CFileBase {
 public:
  CFileDEN();
  CFileDEN(const CFileDEN& other);
  CFileDEN& operator=(const CFileDEN& other);

  // The file is never created or written by this module: both return 0
  // and touch nothing.
  int NewFile(const char* path) override;
  ulong32 Export(const char* path) override;
  // Reads the count. A file shorter than 4 bytes leaves it 0 and is
  // accepted (result 0); a stream fault gives its code.
  ulong32 Import(const char* path) override;
  void Close() override;

  long32 GetNumberOfDynamicEnvelopes() const { return count_; }

 private:
  long32 count_ = 0;
};
