// CArchive: the framework's binary archive, as the connection elements and
// the maps store themselves through it.
//
// An archive either stores or loads, over a FILE* or over memory. Values are
// written back to back, little-endian, with no padding and no tags:
//
//   u8, i8                      1 byte
//   u16, i16                    2 bytes
//   u32, i32, f32               4 bytes (a `long` of the interface is 4 bytes)
//   u64, i64, f64               8 bytes (f32 and f64 as IEEE 754)
//
//   count                       u16 n                          n < 0xFFFF
//                               u16 0xFFFF, u32 n              otherwise
//
//   string (8-bit text)         u8 n, n bytes                  n < 0xFF
//                               u8 0xFF, u16 n, n bytes        n < 0xFFFE
//                               u8 0xFF, u16 0xFFFF, u32 n, n bytes
//                               (no terminator; u8 0xFF, u16 0xFFFE tags
//                               the UTF-16 text of a wide-character build,
//                               which this library does not read: 1392)
//
//   map                         count, then each entry's key and value in
//                               the map's iteration order (CMapEx::Serialize)
//
// Failures are reported, never thrown. The first failure is kept as the
// archive's error code and every later transfer does nothing: a load reads
// zeros (and empty strings) from then on, a store writes nothing more. So a
// Serialize can transfer all of its fields and test Error() once at the
// end, and a caller's frames never unwind through an exception. Codes:
//   38    a load ran past the end of the data, or a count or length
//         claimed more than the bytes left (checked before any allocation)
//   1392  an impossible form (a wide-character string tag, a count beyond
//         what the object can hold)
//   8     memory ran short
//   160   no file or buffer was given
//   other the system code of a failed read or write
// The code is also set as the thread's last error.
//
// Loading never allocates for a string or a counted table more than the
// bytes that remain can fill. Over a FILE* the remaining size is taken from
// the file's end when it can be sought; over a stream that cannot, strings
// are read in steps so that memory stays bounded by what actually arrives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/Types.h"

class TELIO_EXPORT CArchive {
 public:
  enum Mode { store = 0, load = 1 };

  // Over a file opened by the caller, read from or written to at its
  // current position; f must stay open while the archive is used. Store
  // mode writes through to the stream (call Flush before reading the file
  // back with other means).
  CArchive(FILE* f, Mode mode);
  // Loading from size bytes that the caller keeps alive and unchanged.
  CArchive(const void* data, std::size_t size);
  // Storing into a buffer the archive owns (Buffer, BufferSize).
  CArchive();
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  bool IsLoading() const { return m_load; }
  bool IsStoring() const { return !m_load; }

  bool ok() const { return m_error == 0; }
  ulong32 Error() const { return m_error; }
  // Marks the archive failed with code (the first failure wins) and sets the
  // thread's last error. Returns false.
  bool Fail(ulong32 code);

  // Loading: bytes left, or SIZE_MAX when a stream cannot tell.
  std::size_t Remaining() const;
  // Loading: true when at least count items of at least itemSize bytes
  // each can still follow; otherwise fails with 38.
  bool CanHold(std::uint64_t count, std::size_t itemSize);

  // Raw bytes. Read fails with 38 when fewer than size bytes remain.
  bool Read(void* data, std::size_t size);
  bool Write(const void* data, std::size_t size);

  CArchive& operator<<(std::uint8_t v);
  CArchive& operator<<(std::int8_t v) { return *this << static_cast<std::uint8_t>(v); }
  CArchive& operator<<(std::uint16_t v);
  CArchive& operator<<(std::int16_t v) { return *this << static_cast<std::uint16_t>(v); }
  CArchive& operator<<(std::uint32_t v);
  CArchive& operator<<(std::int32_t v) { return *this << static_cast<std::uint32_t>(v); }
  CArchive& operator<<(std::uint64_t v);
  CArchive& operator<<(std::int64_t v) { return *this << static_cast<std::uint64_t>(v); }
  CArchive& operator<<(float v);
  CArchive& operator<<(double v);
  CArchive& operator<<(const CString& s);

  CArchive& operator>>(std::uint8_t& v);
  CArchive& operator>>(std::int8_t& v);
  CArchive& operator>>(std::uint16_t& v);
  CArchive& operator>>(std::int16_t& v);
  CArchive& operator>>(std::uint32_t& v);
  CArchive& operator>>(std::int32_t& v);
  CArchive& operator>>(std::uint64_t& v);
  CArchive& operator>>(std::int64_t& v);
  CArchive& operator>>(float& v);
  CArchive& operator>>(double& v);
  CArchive& operator>>(CString& s);

  void WriteCount(std::uint32_t count);
  // The count read, 0 after a failure. With itemSize > 0 the count must
  // also fit in the bytes left at itemSize bytes per item (else 38, 0).
  std::uint32_t ReadCount(std::size_t itemSize = 0);

  // Stores to a stream: flushes it (a failure sets the write's code).
  void Flush();
  // Memory store: the bytes written so far (null before the first write).
  const unsigned char* Buffer() const { return m_buffer; }
  std::size_t BufferSize() const { return m_size; }

 private:
  bool Reserve(std::size_t more);

  FILE* m_file = nullptr;
  bool m_load;
  ulong32 m_error = 0;
  // Memory load: the caller's bytes; memory store: the archive's own.
  const unsigned char* m_data = nullptr;
  unsigned char* m_buffer = nullptr;
  std::size_t m_size = 0;      // bytes held (load: total; store: written)
  std::size_t m_capacity = 0;  // store: bytes allocated
  std::size_t m_pos = 0;       // load: bytes consumed
  // Stream load: the stream's end when it could be found.
  bool m_sizeKnown = false;
  std::uint64_t m_fileEnd = 0;
  std::uint64_t m_filePos = 0;
};

// One value in either direction, for code that names its fields once.
template <class T>
inline void SerializeElement(CArchive& ar, T& v) {
  if (ar.IsStoring()) {
    ar << v;
  } else {
    ar >> v;
  }
}

// The least number of bytes one value of T takes in an archive.
template <class T>
constexpr std::size_t ArchivedMinSize() {
  return sizeof(T);
}
template <>
constexpr std::size_t ArchivedMinSize<CString>() {
  return 1;
}
