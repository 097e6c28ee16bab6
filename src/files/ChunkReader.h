// ChunkReader: reads a stream front to back in large chunks, so that
// neither a record's head nor its values cost a call into the stream each.
// Internal to the readers; not part of the exported interface.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "files/FileReading.h"
#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "platform/Types.h"

namespace telio {
namespace filereading {

class ChunkReader {
 public:
  explicit ChunkReader(std::FILE* f) : f_(f) {}
  ~ChunkReader() { telio::Free(buf_); }
  ChunkReader(const ChunkReader&) = delete;
  ChunkReader& operator=(const ChunkReader&) = delete;

  // A buffer of chunk bytes, or of largestNeed when that is more; false
  // when out of memory.
  bool Init(size_t chunk, size_t largestNeed) {
    cap_ = std::max(chunk, largestNeed);
    buf_ = static_cast<unsigned char*>(telio::Malloc(cap_));
    return buf_ != nullptr;
  }
  size_t Capacity() const { return cap_; }
  // n contiguous bytes (at most Capacity()) at Data(); 0 when available,
  // else the stream's code (38 when the file ended first).
  ulong32 Need(size_t n) {
    if (end_ - pos_ >= n) return 0;
    std::memmove(buf_, buf_ + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
    while (end_ < n) {
      size_t got = 0;
      ulong32 code = ReadSome(f_, buf_ + end_, cap_ - end_, &got);
      end_ += got;
      if (code != 0) return code;
      if (got == 0) return kErrorHandleEof;
    }
    return 0;
  }
  // n bytes into dst: those already buffered, then the rest read straight
  // into dst. 0, or the stream's code (38 when the file ended first).
  ulong32 Read(void* dst, size_t n) {
    unsigned char* out = static_cast<unsigned char*>(dst);
    const size_t buffered = std::min(n, end_ - pos_);
    std::memcpy(out, buf_ + pos_, buffered);
    Consume(buffered);
    for (size_t done = buffered; done < n;) {
      size_t got = 0;
      ulong32 code = ReadSome(f_, out + done, n - done, &got);
      done += got;
      consumed_ += static_cast<long long>(got);
      if (code != 0) return code;
      if (got == 0) return kErrorHandleEof;
    }
    return 0;
  }
  const unsigned char* Data() const { return buf_ + pos_; }
  void Consume(size_t n) {
    pos_ += n;
    consumed_ += static_cast<long long>(n);
  }
  // Bytes consumed since the reader started.
  long long Consumed() const { return consumed_; }

 private:
  std::FILE* f_;
  unsigned char* buf_ = nullptr;
  size_t cap_ = 0;
  size_t pos_ = 0;
  size_t end_ = 0;
  long long consumed_ = 0;
};

}  // namespace filereading
}  // namespace telio
