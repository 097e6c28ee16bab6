#include "platform/CArchive.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

#include "platform/Alloc.h"
#include "platform/Coding.h"
#include "platform/LastError.h"

namespace {

// Strings from a stream of unknown size are read in steps of this many
// bytes, so a damaged length costs no more memory than the stream holds.
const std::size_t kTextStep = 64 * 1024;

}  // namespace

CArchive::CArchive(FILE* f, Mode mode) : m_file(f), m_load(mode == load) {
  if (!f) {
    m_error = telio::kErrorBadArguments;
    return;
  }
  if (!m_load) return;
  long here = std::ftell(f);
  if (here >= 0 && std::fseek(f, 0, SEEK_END) == 0) {
    long end = std::ftell(f);
    if (end >= here && std::fseek(f, here, SEEK_SET) == 0) {
      m_sizeKnown = true;
      m_fileEnd = static_cast<std::uint64_t>(end);
      m_filePos = static_cast<std::uint64_t>(here);
    }
  }
  std::clearerr(f);
}

CArchive::CArchive(const void* data, std::size_t size)
    : m_load(true), m_data(static_cast<const unsigned char*>(data)), m_size(size) {
  if (!data && size) m_error = telio::kErrorBadArguments;
}

CArchive::CArchive() : m_load(false) {}

CArchive::~CArchive() { telio::Free(m_buffer); }

bool CArchive::Fail(ulong32 code) {
  if (m_error == 0) m_error = code;
  telio::SetLastError(code);
  return false;
}

std::size_t CArchive::Remaining() const {
  if (!m_file) return m_size - m_pos;
  if (!m_sizeKnown) return std::numeric_limits<std::size_t>::max();
  std::uint64_t left = m_fileEnd > m_filePos ? m_fileEnd - m_filePos : 0;
  return static_cast<std::size_t>(
      std::min<std::uint64_t>(left, std::numeric_limits<std::size_t>::max()));
}

bool CArchive::CanHold(std::uint64_t count, std::size_t itemSize) {
  if (!ok()) return false;
  std::size_t left = Remaining();
  if (left == std::numeric_limits<std::size_t>::max() || itemSize == 0) return true;
  if (count > left / itemSize) return Fail(telio::kErrorHandleEof);
  return true;
}

bool CArchive::Read(void* data, std::size_t size) {
  if (!ok()) {
    if (size) std::memset(data, 0, size);
    return false;
  }
  if (!m_load) return Fail(telio::kErrorInvalidFunction);
  if (size == 0) return true;
  if (m_file) {
    std::size_t got = std::fread(data, 1, size, m_file);
    m_filePos += got;
    if (got != size) {
      std::memset(static_cast<unsigned char*>(data) + got, 0, size - got);
      return Fail(std::ferror(m_file) ? telio::kErrorReadFault : telio::kErrorHandleEof);
    }
    return true;
  }
  if (size > m_size - m_pos) {
    std::memset(data, 0, size);
    m_pos = m_size;
    return Fail(telio::kErrorHandleEof);
  }
  std::memcpy(data, m_data + m_pos, size);
  m_pos += size;
  return true;
}

bool CArchive::Reserve(std::size_t more) {
  if (more <= m_capacity - m_size) return true;
  if (more > std::numeric_limits<std::size_t>::max() - m_size) {
    return Fail(telio::kErrorNotEnoughMemory);
  }
  std::size_t want = std::max(m_size + more, m_capacity < 256 ? std::size_t{256} : m_capacity * 2);
  auto* bigger = static_cast<unsigned char*>(telio::Realloc(m_buffer, want));
  if (!bigger) return Fail(telio::kErrorNotEnoughMemory);
  m_buffer = bigger;
  m_capacity = want;
  return true;
}

bool CArchive::Write(const void* data, std::size_t size) {
  if (!ok()) return false;
  if (m_load) return Fail(telio::kErrorInvalidFunction);
  if (size == 0) return true;
  if (m_file) {
    errno = 0;
    if (std::fwrite(data, 1, size, m_file) != size) {
      return Fail(errno ? telio::ErrnoToSystemError(errno) : telio::kErrorWriteFault);
    }
    return true;
  }
  if (!Reserve(size)) return false;
  std::memcpy(m_buffer + m_size, data, size);
  m_size += size;
  return true;
}

void CArchive::Flush() {
  if (!m_file || m_load || !ok()) return;
  errno = 0;
  if (std::fflush(m_file) != 0)
    Fail(errno ? telio::ErrnoToSystemError(errno) : telio::kErrorWriteFault);
}

namespace {

// Fixed-width values go through their little-endian encoders, N bytes each.
template <std::size_t N, class T, class Encode>
CArchive& Put(CArchive& ar, T v, Encode encode) {
  unsigned char b[N];
  encode(b, v);
  ar.Write(b, N);
  return ar;
}

// A failed read leaves zeros in b, so v becomes 0.
template <std::size_t N, class T, class Decode>
CArchive& Get(CArchive& ar, T& v, Decode decode) {
  unsigned char b[N];
  ar.Read(b, N);
  v = static_cast<T>(decode(b));
  return ar;
}

uint8_t Byte(const unsigned char* b) { return b[0]; }
void SetByte(unsigned char* b, uint8_t v) { b[0] = v; }
void Encode16(unsigned char* b, uint16_t v) { telio::EncodeFixed16(b, v); }
void Encode32(unsigned char* b, uint32_t v) { telio::EncodeFixed32(b, v); }
void Encode64(unsigned char* b, uint64_t v) { telio::EncodeFixed64(b, v); }
void EncodeF32(unsigned char* b, float v) { telio::EncodeFloat(b, v); }
void EncodeF64(unsigned char* b, double v) { telio::EncodeDouble(b, v); }
uint16_t Decode16(const unsigned char* b) { return telio::DecodeFixed16(b); }
uint32_t Decode32(const unsigned char* b) { return telio::DecodeFixed32(b); }
uint64_t Decode64(const unsigned char* b) { return telio::DecodeFixed64(b); }
float DecodeF32(const unsigned char* b) { return telio::DecodeFloat(b); }
double DecodeF64(const unsigned char* b) { return telio::DecodeDouble(b); }

}  // namespace

CArchive& CArchive::operator<<(std::uint8_t v) { return Put<1>(*this, v, SetByte); }
CArchive& CArchive::operator<<(std::uint16_t v) { return Put<2>(*this, v, Encode16); }
CArchive& CArchive::operator<<(std::uint32_t v) { return Put<4>(*this, v, Encode32); }
CArchive& CArchive::operator<<(std::uint64_t v) { return Put<8>(*this, v, Encode64); }
CArchive& CArchive::operator<<(float v) { return Put<4>(*this, v, EncodeF32); }
CArchive& CArchive::operator<<(double v) { return Put<8>(*this, v, EncodeF64); }

CArchive& CArchive::operator>>(std::uint8_t& v) { return Get<1>(*this, v, Byte); }
CArchive& CArchive::operator>>(std::int8_t& v) { return Get<1>(*this, v, Byte); }
CArchive& CArchive::operator>>(std::uint16_t& v) { return Get<2>(*this, v, Decode16); }
CArchive& CArchive::operator>>(std::int16_t& v) { return Get<2>(*this, v, Decode16); }
CArchive& CArchive::operator>>(std::uint32_t& v) { return Get<4>(*this, v, Decode32); }
CArchive& CArchive::operator>>(std::int32_t& v) { return Get<4>(*this, v, Decode32); }
CArchive& CArchive::operator>>(std::uint64_t& v) { return Get<8>(*this, v, Decode64); }
CArchive& CArchive::operator>>(std::int64_t& v) { return Get<8>(*this, v, Decode64); }
CArchive& CArchive::operator>>(float& v) { return Get<4>(*this, v, DecodeF32); }
CArchive& CArchive::operator>>(double& v) { return Get<8>(*this, v, DecodeF64); }

void CArchive::WriteCount(std::uint32_t count) {
  if (count < 0xFFFFu) {
    *this << static_cast<std::uint16_t>(count);
  } else {
    *this << static_cast<std::uint16_t>(0xFFFFu) << count;
  }
}

std::uint32_t CArchive::ReadCount(std::size_t itemSize) {
  std::uint16_t shortCount = 0;
  *this >> shortCount;
  std::uint32_t count = shortCount;
  if (shortCount == 0xFFFFu) *this >> count;
  if (!ok() || !CanHold(count, itemSize)) return 0;
  return count;
}

CArchive& CArchive::operator<<(const CString& s) {
  const std::uint32_t n = static_cast<std::uint32_t>(s.GetLength());
  if (n < 0xFFu) {
    *this << static_cast<std::uint8_t>(n);
  } else if (n < 0xFFFEu) {
    *this << static_cast<std::uint8_t>(0xFFu) << static_cast<std::uint16_t>(n);
  } else {
    *this << static_cast<std::uint8_t>(0xFFu) << static_cast<std::uint16_t>(0xFFFFu) << n;
  }
  Write(s.GetString(), n);
  return *this;
}

CArchive& CArchive::operator>>(CString& s) {
  s.Empty();
  std::uint8_t shortLength = 0;
  *this >> shortLength;
  std::uint32_t length = shortLength;
  if (shortLength == 0xFFu) {
    std::uint16_t word = 0;
    *this >> word;
    if (ok() && word == 0xFFFEu) {
      Fail(telio::kErrorFileCorrupt);
      return *this;
    }
    length = word;
    if (word == 0xFFFFu) *this >> length;
  }
  if (!ok() || length == 0 || !CanHold(length, 1)) return *this;
  if (length > 0x7FFFFFFFu) {  // longer than any string can be
    Fail(telio::kErrorFileCorrupt);
    return *this;
  }
  const std::size_t total = length;
  char* text = nullptr;
  std::size_t capacity = 0, have = 0;
  while (have < total) {
    std::size_t step = std::min(total - have, kTextStep);
    if (have + step > capacity) {
      std::size_t grown = std::min(std::max(capacity * 2, have + step), total);
      auto* bigger = static_cast<char*>(telio::Realloc(text, grown));
      if (!bigger) {
        telio::Free(text);
        Fail(telio::kErrorNotEnoughMemory);
        return *this;
      }
      text = bigger;
      capacity = grown;
    }
    if (!Read(text + have, step)) {
      telio::Free(text);
      return *this;
    }
    have += step;
  }
  try {
    s = CString(text, static_cast<int>(total));
  } catch (const std::bad_alloc&) {
    Fail(telio::kErrorNotEnoughMemory);
  }
  telio::Free(text);
  return *this;
}
