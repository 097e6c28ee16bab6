// Small helpers shared by the readers of the run-control, name, count and
// combination files. Internal: not part of the exported interface.
#pragma once

#include <cstdio>

#include <sys/stat.h>

#include "platform/LastError.h"
#include "platform/Types.h"

namespace telio {
namespace filereading {

// The code of a refused path or a failed open: the thread's last error, and
// never 0 even when no system call has set one.
inline ulong32 OpenFailure() {
  ulong32 code = GetLastError();
  return code != 0 ? code : kErrorFileNotFound;
}

// Bytes between the stream's position and the end of the file; -1 when the
// stream is not a regular file, so nothing can be checked ahead.
inline long long BytesLeft(std::FILE* f) {
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  long pos = std::ftell(f);
  if (pos < 0) return -1;
  long long left = static_cast<long long>(st.st_size) - pos;
  return left < 0 ? 0 : left;
}

// Whole records of `size` bytes that the rest of the file can hold, capped
// at `wanted`; `wanted` itself when the size cannot be known.
inline long long RecordsThatFit(std::FILE* f, long long size, long long wanted) {
  if (wanted <= 0) return 0;
  long long left = BytesLeft(f);
  if (left < 0) return wanted;
  long long fit = left / size;
  return fit < wanted ? fit : wanted;
}

// Reads up to max bytes, as many as the stream holds: *got of them. 0 when
// the read ended at the file's end or filled the buffer, else the stream's
// code. Counted as one record transfer (see telio::FailRecordIoAfter).
ulong32 ReadSome(std::FILE* f, void* buf, size_t max, size_t* got);

// Reads n bytes at offset at of the file without moving the stream: 0 when
// all were read, 38 when the file ends first, else the system's code.
// Counted as one record transfer.
ulong32 ReadAt(std::FILE* f, void* buf, size_t n, long long at);

// Reads the leading signed 32-bit count of a count file and closes the
// stream. A file shorter than 4 bytes leaves *count 0 and is accepted; only
// a stream fault is an error.
ulong32 ReadLeadingCountAndClose(std::FILE* f, long32* count);

}  // namespace filereading
}  // namespace telio
