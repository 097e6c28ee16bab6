// Fixed-width text fields of file records.
//
//   +------------------------------+
//   | text bytes | NUL ... NUL     |   width bytes
//   +------------------------------+
//
// A text shorter than its field ends at its first NUL; a field without a
// NUL holds a text of the whole width. Written texts are cut to width - 1
// bytes so that the field always ends with a NUL, and the rest is zeroed.
#pragma once

#include <cstddef>
#include <cstring>

#include "platform/CString.h"

namespace telio {

// The text up to the first NUL or the field's end, whichever comes first.
inline CString ReadFieldText(const void* field, size_t width) {
  const char* p = static_cast<const char*>(field);
  const void* nul = std::memchr(p, 0, width);
  return CString(p, static_cast<int>(nul ? static_cast<size_t>(static_cast<const char*>(nul) - p) : width));
}

// Writes text (null: none) into the field, cut and zero-padded.
inline void WriteFieldText(void* field, size_t width, const char* text) {
  unsigned char* p = static_cast<unsigned char*>(field);
  std::memset(p, 0, width);
  for (size_t i = 0; text && i + 1 < width && text[i] != '\0'; ++i) p[i] = static_cast<unsigned char>(text[i]);
}

}  // namespace telio
