#include "framework/Persist.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Alloc.h"
#include "platform/Coding.h"

// Stream calls without the stream's lock where the platform has them.
#if defined(_WIN32)
#define TELIO_GETC _getc_nolock
#define TELIO_PUTC _putc_nolock
#define TELIO_FREAD _fread_nolock
#define TELIO_FWRITE _fwrite_nolock
#elif defined(__GLIBC__)
#define TELIO_GETC getc_unlocked
#define TELIO_PUTC putc_unlocked
#define TELIO_FREAD fread_unlocked
#define TELIO_FWRITE fwrite_unlocked
#else
#define TELIO_GETC getc_unlocked
#define TELIO_PUTC putc_unlocked
#define TELIO_FREAD std::fread
#define TELIO_FWRITE std::fwrite
#endif

namespace {

// Texts are read in steps of at most this many bytes, so a damaged length
// never allocates much beyond what the stream holds.
const std::size_t kTextStep = 64 * 1024;
// Texts shorter than this are read into a buffer on the stack.
const std::size_t kShortText = 256;

}  // namespace

bool CPersist::Fail(ulong32 code) {
  if (m_error == 0) m_error = code;
  telio::SetLastError(code);
  return false;
}

bool CPersist::ReadBytes(void* data, std::size_t size) {
  if (!ok()) return false;
  if (size == 0) return true;
  if (ReadStream(data, size) != size) {
    return Fail(std::ferror(m_file) ? telio::kErrorReadFault : telio::kErrorHandleEof);
  }
  return true;
}

bool CPersist::WriteBytes(const void* data, std::size_t size) {
  if (!ok()) return false;
  if (size == 0 || WriteBuffered(data, size)) return true;
  errno = 0;
  if (WriteStream(data, size) != size) {
    return Fail(errno ? telio::ErrnoToSystemError(errno) : telio::kErrorWriteFault);
  }
  return true;
}

// Records are made of many fields of 4 and 8 bytes. The stream's lock is
// not taken for each of them (a stream is never shared by two threads
// during a transfer). Where the C library lets a field be copied straight
// from or into the stream's buffer when it fits there (as its own getc and
// putc do a byte at a time), that is done; otherwise short fields go
// through the buffer a byte at a time, which costs far less than a call of
// fread or fwrite.
bool CPersist::ReadBuffered(void* data, std::size_t size) {
  const unsigned char* p = Peek(size);
  if (!p) return false;
  std::memcpy(data, p, size);
  Skip(size);
  return true;
}

bool CPersist::WriteBuffered(const void* data, std::size_t size) {
  unsigned char* p = Room(size);
  if (!p) return false;
  std::memcpy(p, data, size);
  Commit(size);
  return true;
}

std::size_t CPersist::ReadStream(void* data, std::size_t size) {
  if (ReadBuffered(data, size)) return size;
  if (size <= kShortField) {
    unsigned char* p = static_cast<unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
      int c = TELIO_GETC(m_file);
      if (c == EOF) return i;
      p[i] = static_cast<unsigned char>(c);
    }
    return size;
  }
  return TELIO_FREAD(data, 1, size, m_file);
}

std::size_t CPersist::WriteStream(const void* data, std::size_t size) {
  if (size <= kShortField) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
      if (TELIO_PUTC(p[i], m_file) == EOF) return i;
    }
    return size;
  }
  return TELIO_FWRITE(data, 1, size, m_file);
}

CPersist& CPersist::UInt32(ulong32& v) {
  unsigned char b[4];
  if (m_load) {
    if (ReadBytes(b, 4)) v = telio::DecodeFixed32(b);
  } else {
    telio::EncodeFixed32(b, v);
    WriteBytes(b, 4);
  }
  return *this;
}

CPersist& CPersist::Int32(long32& v) {
  ulong32 raw = static_cast<ulong32>(v);
  UInt32(raw);
  if (m_load && ok()) v = static_cast<long32>(raw);
  return *this;
}

CPersist& CPersist::Int(int& v) {
  long32 raw = static_cast<long32>(v);
  Int32(raw);
  if (m_load && ok()) v = static_cast<int>(raw);
  return *this;
}

CPersist& CPersist::Double(double& v) {
  unsigned char b[8];
  if (m_load) {
    if (ReadBytes(b, 8)) v = telio::DecodeDouble(b);
  } else {
    telio::EncodeDouble(b, v);
    WriteBytes(b, 8);
  }
  return *this;
}

CPersist& CPersist::Text(CString& s) {
  if (!m_load) {
    long32 length = s.GetLength();
    Int32(length);
    WriteBytes(s.GetString(), static_cast<std::size_t>(length));
    return *this;
  }
  long32 length = 0;
  Int32(length);
  if (!ok()) return *this;
  if (length < 0) {
    Fail(telio::kErrorFileCorrupt);
    return *this;
  }
  if (length == 0) {
    s.Empty();
    return *this;
  }
  const std::size_t total = static_cast<std::size_t>(length);
  // Names are short: they are read without a heap buffer.
  char small[kShortText];
  if (total < sizeof small) {
    if (ReadBytes(small, total)) {
      small[total] = '\0';
      s = CString(small);
    }
    return *this;
  }
  char* buffer = nullptr;
  std::size_t capacity = 0, have = 0;
  while (have < total) {
    std::size_t step = std::min(total - have, kTextStep);
    if (have + step + 1 > capacity) {
      std::size_t grown = std::min(std::max(capacity * 2, have + step + 1), total + 1);
      char* bigger = static_cast<char*>(telio::Realloc(buffer, grown));
      if (!bigger) {
        telio::Free(buffer);
        Fail(telio::kErrorNotEnoughMemory);
        return *this;
      }
      buffer = bigger;
      capacity = grown;
    }
    if (!ReadBytes(buffer + have, step)) {
      telio::Free(buffer);
      return *this;
    }
    have += step;
  }
  buffer[total] = '\0';
  s = CString(buffer);
  telio::Free(buffer);
  return *this;
}

CPersist& CPersist::FixedText(CString& s, int width) {
  if (width <= 0) return *this;
  const std::size_t size = static_cast<std::size_t>(width);
  char field[kFixedTextSize > kOldTextSize ? kFixedTextSize : kOldTextSize];
  char* buffer = field;
  char* heap = nullptr;
  if (size > sizeof field) {
    heap = static_cast<char*>(telio::Calloc(size, 1));
    if (!heap) {
      Fail(telio::kErrorNotEnoughMemory);
      return *this;
    }
    buffer = heap;
  }
  if (m_load) {
    if (ReadBytes(buffer, size)) {
      std::size_t n = 0;
      while (n + 1 < size && buffer[n] != '\0') ++n;
      s = CString(buffer, static_cast<int>(n));
    }
  } else {
    std::memset(buffer, 0, size);
    std::size_t n = std::min(static_cast<std::size_t>(s.GetLength()), size - 1);
    std::memcpy(buffer, s.GetString(), n);
    WriteBytes(buffer, size);
  }
  telio::Free(heap);
  return *this;
}

CPersist& CPersist::Date(SYSTEMTIME& t) {
  unsigned char b[16];
  if (m_load) {
    if (ReadBytes(b, 16)) t = DecodeSystemTime(b);
  } else {
    EncodeSystemTime(b, t);
    WriteBytes(b, 16);
  }
  return *this;
}

CPersist& CPersist::Block(void* data, std::size_t size) {
  if (m_load) {
    ReadBytes(data, size);
  } else {
    WriteBytes(data, size);
  }
  return *this;
}

CPersist& CPersist::Reserved(std::size_t size) {
  unsigned char zeros[256] = {};
  while (size > 0 && ok()) {
    std::size_t step = std::min(size, sizeof zeros);
    if (m_load) {
      ReadBytes(zeros, step);
    } else {
      WriteBytes(zeros, step);
    }
    size -= step;
  }
  return *this;
}
