// CFileBase: the base of every analysis file class, and the raw record I/O
// that all of them share.
//
// Error codes. Import and Export of every file class, and the record
// routines below, return 0 or one code of a single space:
//   - the stream's error code when a read or write failed: 38
//     (kErrorHandleEof) when a read ended short because the file ended, the
//     system code of errno when the stream reports an error (29 / 30 when
//     errno says nothing);
//   - the thread's last system error when the path check or the opening of
//     the file failed (2 for a missing file, 3 when its folder is missing
//     too, 5 for a read-only target of a save, 123 (kErrorInvalidName) when
//     the file exists but its extension is not the kind's);
//   - 160 bad arguments, 1392 a seek that did not reach its offset (or a
//     count in a file that cannot be right), 8 an allocation that failed.
#pragma once

#include <cstdio>

#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

class TELIO_EXPORT CFileBase {
 public:
  CFileBase();
  // A copy starts with no extension, path or name of its own: the derived
  // class sets its extension again.
  CFileBase(const CFileBase&);
  CFileBase& operator=(const CFileBase&);
  virtual ~CFileBase();

  // Nonzero when an empty file of this kind was created at path.
  virtual int NewFile(const char* path) = 0;
  // Loads the file at path. The object is emptied first, so after a failure
  // before the first record it is empty with no path; a read that fails
  // halfway keeps what was read, with the path set.
  virtual ulong32 Import(const char* path) = 0;
  // Writes the object to path (created or truncated).
  virtual ulong32 Export(const char* path) = 0;
  // Frees everything the object holds and empties the path and name; the
  // default extension stays.
  virtual void Close() = 0;

  CString GetFileName() const { return fileName_; }
  CString GetFilePath() const { return filePath_; }
  CString GetFileDefExt() const { return defExt_; }

  // 160 for a null stream or buffer or a zero size; 0 for a zero count;
  // else the code of transferring count records of size bytes (see above).
  static int FWriteBuff(std::FILE* stream, void* buf, unsigned size, unsigned count);
  static int FReadBuff(std::FILE* stream, void* buf, unsigned size, unsigned count);

 protected:
  void Init();
  void SetFileDefExt(const char* ext);
  // Records path and its file name and returns 1. With mustExist, first
  // checks that the file exists (ignoring letter case) and that its
  // extension is one of the default extension's list; when not, returns 0
  // with both strings empty and the thread's last error set to 2
  // (missing), 3 (its folder missing too) or 123 (wrong extension).
  int SetFilePath(const char* path, bool mustExist);

 private:
  CString defExt_;
  CString filePath_;
  CString fileName_;
};

// Record I/O on an open stream, without argument checks. A zero count
// transfers nothing and returns 0 (even for a null stream).
TELIO_EXPORT ulong32 FWriteBuff(std::FILE* stream, void* buf, unsigned size, unsigned count);
TELIO_EXPORT ulong32 FReadBuff(std::FILE* stream, void* buf, unsigned size, unsigned count);
// Seeks to offset from the start. 1392 when the position reached is not
// offset; a read-only stream cannot be placed beyond its end (1392).
TELIO_EXPORT ulong32 FileSetPositionAt(std::FILE* stream, long32 offset);
// With offset >= 0 first seeks there (returning the seek's code when it
// fails); a negative offset transfers at the current position.
TELIO_EXPORT ulong32 FWriteBuffAtPos(std::FILE* stream, void* buf, unsigned size, unsigned count,
                                     long32 offset);
TELIO_EXPORT ulong32 FReadBuffAtPos(std::FILE* stream, void* buf, unsigned size, unsigned count,
                                    long32 offset);

namespace telio {

// The code of a stream after a transfer: the error code of a stream error
// (errno's system code, or writing ? 29 : 30), 38 at the end of the file,
// 0 when neither indicator is set.
TELIO_EXPORT ulong32 StreamErrorCode(std::FILE* stream, bool writing);

// Fault injection for tests: after FailRecordIoAfter(n), the first n record
// transfers (FReadBuff / FWriteBuff, member or free, with a nonzero count)
// succeed and every later one fails, transferring nothing, with 30 (read)
// or 29 (write), until reset with FailRecordIoAfter(-1). RecordIoSeen()
// counts the transfers since the last reset.
TELIO_EXPORT void FailRecordIoAfter(long n);
TELIO_EXPORT long RecordIoSeen();

}  // namespace telio
