// Framing of the object records of the design model.
//
// A record is written and read through one CPersist, so a class's Serialize
// names its fields once, in record order, for both directions:
//
//   CPersist io(f, load);
//   io.Version(version).FixedText(m_name).UInt32(m_flags).Double(m_length);
//
// Encodings: integers 4 bytes and doubles 8 bytes, little-endian; text in
// the current form is a 32-bit signed length and that many bytes, in the
// fixed forms a NUL-padded field of 260 (paths, job names) or 100 bytes;
// a date is a 16-byte SYSTEMTIME.
//
// The stream must not be used by another thread while a record is
// transferred (its lock is not taken for each field).
//
// Failures are sticky: after the first failed read or write every later
// call does nothing, so the fields not read keep the values the object's
// reset gave them. Reading never allocates more than the stream actually
// delivers, whatever a length in it claims.
#pragma once

#include <cstddef>
#include <cstdio>
#include <type_traits>

#include "framework/ElementTraits.h"
#include "framework/SystemTime.h"
#include "platform/CException.h"
#include "platform/CString.h"
#include "platform/Export.h"
#include "platform/LastError.h"
#include "platform/Types.h"

// Widths of the fixed text forms, in bytes with the terminating NUL.
enum : int {
  kFixedTextSize = 260,  // paths and job names
  kOldTextSize = 100,    // element names of the first element records
};

class TELIO_EXPORT CPersist {
 public:
  // f must stay open while this object is used; load true reads.
  CPersist(FILE* f, bool load) : m_file(f), m_load(load) {
    if (!f) m_error = telio::kErrorBadArguments;
  }

  bool IsLoading() const { return m_load; }
  FILE* File() const { return m_file; }
  // True while every transfer so far succeeded.
  bool ok() const { return m_error == 0; }
  // 0, or the code of the first failure: 38 the stream ended, 1392 an
  // impossible value (a negative length or count), 8 out of memory, or the
  // system code of a failed write.
  ulong32 Error() const { return m_error; }
  // Marks the transfer failed with code (first failure wins); also sets
  // the thread's last error. Returns false.
  bool Fail(ulong32 code);

  // The version word: written as given, replaced by the word read.
  CPersist& Version(ulong32& version) { return UInt32(version); }
  CPersist& UInt32(ulong32& v);
  CPersist& Int32(long32& v);
  CPersist& Int(int& v);
  // An enumeration or other 32-bit integer kind.
  template <class E>
  CPersist& Enum(E& v) {
    static_assert(sizeof(E) == 4, "saved as 4 bytes");
    ulong32 raw = static_cast<ulong32>(v);
    UInt32(raw);
    if (m_load && ok()) v = static_cast<E>(raw);
    return *this;
  }
  CPersist& Double(double& v);
  // Current text form; on reading, text after an embedded NUL is dropped.
  CPersist& Text(CString& s);
  // Fixed text form of width bytes: at most width - 1 characters are kept.
  CPersist& FixedText(CString& s, int width = kFixedTextSize);
  CPersist& Date(SYSTEMTIME& t);
  // A block of fixed-size records, as stored.
  CPersist& Block(void* data, std::size_t size);
  // Reading skips size bytes; writing writes size zero bytes.
  CPersist& Reserved(std::size_t size);

  // Raw transfers behind the typed ones.
  bool ReadBytes(void* data, std::size_t size);
  bool WriteBytes(const void* data, std::size_t size);

  // The stream's buffer, for records of many fixed-size fields that are
  // decoded or encoded in place rather than field by field. Peek: the next
  // size bytes read, when the buffer already holds them and nothing has
  // failed; null otherwise, with nothing consumed. Skip(n) consumes n of
  // the bytes Peek gave. Room: space for the next size bytes written, or
  // null; Commit(n) after n of them were filled. A caller given null
  // transfers its fields one by one, so the bytes, and the state after a
  // failure, do not depend on what the buffer held.
  const unsigned char* Peek(std::size_t size) const {
#if defined(__GLIBC__)
    if (ok() && m_file->_IO_read_ptr && static_cast<std::size_t>(m_file->_IO_read_end - m_file->_IO_read_ptr) >= size) {
      return reinterpret_cast<const unsigned char*>(m_file->_IO_read_ptr);
    }
#else
    (void)size;
#endif
    return nullptr;
  }
  void Skip(std::size_t n) {
#if defined(__GLIBC__)
    m_file->_IO_read_ptr += n;
#else
    (void)n;
#endif
  }
  unsigned char* Room(std::size_t size) const {
#if defined(__GLIBC__)
    if (ok() && m_file->_IO_write_ptr && static_cast<std::size_t>(m_file->_IO_write_end - m_file->_IO_write_ptr) >= size) {
      return reinterpret_cast<unsigned char*>(m_file->_IO_write_ptr);
    }
#else
    (void)size;
#endif
    return nullptr;
  }
  void Commit(std::size_t n) {
#if defined(__GLIBC__)
    m_file->_IO_write_ptr += n;
#else
    (void)n;
#endif
  }

 private:
  // Fields up to this size go through the stream byte by byte.
  static constexpr std::size_t kShortField = 16;

  // Copies straight from or into the stream's buffer when the field fits
  // there and the C library allows it; false when not done.
  bool ReadBuffered(void* data, std::size_t size);
  bool WriteBuffered(const void* data, std::size_t size);
  // The number of bytes transferred.
  std::size_t ReadStream(void* data, std::size_t size);
  std::size_t WriteStream(const void* data, std::size_t size);

  FILE* m_file;
  bool m_load;
  ulong32 m_error = 0;
};

namespace persist_detail {

template <class X, class = void>
struct HasCheckSumOfNull : std::false_type {};
template <class X>
struct HasCheckSumOfNull<X, std::void_t<decltype(X::CheckSumOfNull())>> : std::true_type {};

}  // namespace persist_detail

// The checksum of a shared object, for feeding into its owner's checksum.
// A null or dangling pointer to a collection contributes what a collection
// with an inner value of 0 gives (CheckSumOfNull), as an empty one does;
// a null pointer to any other object contributes 0.
template <class P>
ulong32 CheckSumOf(const P& p) {
  typedef typename P::element_type X;
  if (!p.IsNull()) return static_cast<ulong32>(p->CheckSum());
  if constexpr (persist_detail::HasCheckSumOfNull<X>::value) {
    return X::CheckSumOfNull();
  } else {
    return 0u;
  }
}

// Largest step by which a loading list grows its storage.
enum : long32 { kLoadGrowStep = 4096 };

// List framing: the version word, the element count, the list's own header
// fields (header(io) transfers them), then exactly count element records.
// Live elements are written in index order, then one default element
// (list.CreateNewObject()) per null or dangling one. Loading ignores the
// version word, empties the list and hands each element read to the list's
// placement rule (Add); elements it refuses are dropped, and each one it
// accepts is passed to loaded(element), where the owner links it (a
// distance learns its list). A negative count loads an empty list.
// Elements must have `bool Serialize(FILE*, bool)`, and CreateNewObject must
// make a new element on every call (so that a loaded element is never
// searched for among those already held). Returns false when the
// stream failed or the list could not grow (last error 8); the elements
// read in full until then are kept.
template <class List, class Header, class Loaded>
bool SerializeList(FILE* f, bool load, ulong32 version, List& list, Header header, Loaded loaded) {
  CPersist io(f, load);
  io.Version(version);
  if (load) list.RemoveAll();
  long32 count = load ? 0 : list.GetCount();
  io.Int32(count);
  header(io);
  if (!io.ok()) return false;
  if (!load) {
    long32 missing = 0;
    for (long32 i = 0; i < count; ++i) {
      const auto& e = list.GetData()[i];
      if (e.IsNull()) {
        ++missing;
      } else if (!e->Serialize(f, false)) {
        return false;
      }
    }
    for (long32 i = 0; i < missing; ++i) {
      if (!list.CreateNewObject()->Serialize(f, false)) return false;
    }
    return true;
  }
  // The storage grows once for the elements announced, but by no more than
  // kLoadGrowStep at a time, so that a damaged count costs little memory.
  list.SetGrowStep(count < kLoadGrowStep ? count : kLoadGrowStep);
  bool ok = true;
  for (long32 i = 0; i < count && ok; ++i) {
    auto e = list.CreateNewObject();
    ok = e->Serialize(f, true);
    if (!ok) break;
    try {
      const int at = list.AdoptNew(e);
      if (at >= 0) loaded(list.GetData()[at]);
    } catch (CMemoryException*) {
      ok = io.Fail(telio::kErrorNotEnoughMemory);
    }
  }
  list.SetGrowStep(0);
  return ok;
}

template <class List, class Header>
bool SerializeList(FILE* f, bool load, ulong32 version, List& list, Header header) {
  return SerializeList(f, load, version, list, header, [](const auto&) {});
}

template <class List>
bool SerializeList(FILE* f, bool load, ulong32 version, List& list) {
  return SerializeList(f, load, version, list, [](CPersist&) {});
}
