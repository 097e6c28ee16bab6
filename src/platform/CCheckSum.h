// CCheckSum: a running 32-bit checksum (CRC-32C, Castagnoli polynomial).
//
// Objects feed their persistent fields in record order and compare get()
// values to tell whether anything changed, so the value is a function of
// the bytes fed and nothing else: numbers are fed in little-endian order on
// every host (use the Add* helpers, not raw memory of multi-byte values).
// A string is fed as its bytes followed by one NUL, so ("ab","c") and
// ("a","bc") differ. An empty checksum's value is 0.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/CString.h"
#include "platform/Export.h"

class TELIO_EXPORT CCheckSum {
 public:
  CCheckSum() = default;
  ~CCheckSum() = default;

  // Feeds count elements of T as raw bytes. Intended for byte arrays and
  // records held in their little-endian file form.
  template <class T>
  void AddArray(const T* data, unsigned int count) {
    AddBytes(data, static_cast<std::size_t>(count) * sizeof(T));
  }

  template <class T>
  void Add(const T& value);

  void AddBytes(const void* data, std::size_t size);
  void AddU32(std::uint32_t v);
  void AddI32(std::int32_t v) { AddU32(static_cast<std::uint32_t>(v)); }
  void AddF64(double v);

  std::uint32_t get() const { return ~state_; }

 private:
  std::uint32_t state_ = 0xFFFFFFFFu;
};

template <>
inline void CCheckSum::Add<CString>(const CString& text) {
  AddBytes(text.GetString(), static_cast<std::size_t>(text.GetLength()) + 1);
}
