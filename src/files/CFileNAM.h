// CFileNAM: the static load-case names of an analysis job (extension
// "NAM"), read and written.
//
// File layout: nothing but 32-byte name records, one per static load case
// in load-case order, up to the end of the file. A record holds the name in
// the OEM code page followed by NUL bytes; at most 31 characters count and
// byte 31 is always read as NUL. No header, no count.
#pragma once

#include "files/CFileBase.h"
#include "platform/CArray.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

class TELIO_EXPORT CFileNAM : public CFileBase {
 public:
  static constexpr int kRecordSize = 32;

  CFileNAM();
  CFileNAM(const CFileNAM&) = delete;
  CFileNAM& operator=(const CFileNAM&) = delete;
  ~CFileNAM() override;

  // Closes the object and records path (when given) without checking it.
  // Always 1.
  int NewFile(const char* path) override;
  // Reads every whole record, names converted to the ANSI page and trimmed
  // at both ends; a partial last record is ignored. 8 when the names cannot
  // be held, with those read before kept.
  ulong32 Import(const char* path) override;
  // Writes one record per name, cut to 31 characters and converted to the
  // OEM page. 1 for a null path. A failed export leaves an existing file as
  // it was.
  ulong32 Export(const char* path) override;
  void Close() override;

  // A copy of name index; empty outside the list.
  CString LdsNames(int index) const;
  // Appends the name and returns its index. Throws CMemoryException* when
  // the list cannot grow.
  int AddLdsName(CString name);
  // Replaces name index; an index outside the list is ignored.
  void SetLdsName(int index, CString name);
  // First index at or after max(start, 0) whose name equals name ignoring
  // letter case; -1 when none.
  int GetLdsNameIndex(CString name, int start);
  long32 GetCountLdsNames() const { return names_.GetSize(); }

 private:
  CArray<CString, const CString&> names_;
};
