// CFileDYN: the names of the dynamic load cases, dynamic combinations and
// dynamic envelopes of an analysis job (extension "DYN"). Read only.
//
// File layout: nothing but 32-byte name records (as in the NAM file). With
// L dynamic load cases, K dynamic combinations and E dynamic envelopes
// (0-based record indices):
//   0 .. L+K-1        the L load-case names, then the K combination names
//   L+K, L+K+1        not taken
//   L+K+2+2k          the name of envelope k (k = 0 .. E-1)
//   L+K+3+2k          not taken
// The file holds no count: L comes from the TOP file beside it, K from the
// DCM file and E from the DEN file. Reading stops early, without error, at
// the end of the file.
#pragma once

#include "files/CFileBase.h"
#include "platform/CArray.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

class TELIO_EXPORT CFileDYN : public CFileBase {
 public:
  CFileDYN();
  CFileDYN(const CFileDYN&) = delete;
  CFileDYN& operator=(const CFileDYN&) = delete;
  ~CFileDYN() override;

  // The file is never created or written by this module: both return 0.
  int NewFile(const char* path) override;
  ulong32 Export(const char* path) override;
  // Takes the three counts from the side files: a count whose file cannot
  // be read stays 0, but a side file that ends early still gives its count
  // (the TOP header's dynamic load-case count, say). Negative counts take no
  // names; when no count is positive the DYN file is not opened. Names are
  // converted to the ANSI page and keep their blanks. A short file gives
  // fewer names and no error; 8 when memory runs out (in a side file too),
  // with the names read before kept.
  ulong32 Import(const char* path) override;
  void Close() override;

  // A copy of name index (reading order); empty outside the list.
  CString LdsNames(int index) const;
  long32 GetCountLdsNames() const { return names_.GetSize(); }
  long32 GetNumOfDynamicLoadCases() const { return loadCases_; }
  long32 GetNumOfDynamicCombinations() const { return combinations_; }
  long32 GetNumOfDynamicEnvelopes() const { return envelopes_; }

 private:
  // 0, or 8 when a side file could not be read for lack of memory.
  ulong32 ReadCounts(const char* path);
  ulong32 ReadNames(std::FILE* f);

  long32 loadCases_ = 0;
  long32 combinations_ = 0;
  long32 envelopes_ = 0;
  CArray<CString, const CString&> names_;
};
