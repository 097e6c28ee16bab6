// SYSTEMTIME: the Windows calendar date and time as saved in object
// records: eight 16-bit fields, 16 bytes.
#pragma once

#include <cstdint>

#include "platform/Coding.h"

struct SYSTEMTIME {
  std::uint16_t wYear;
  std::uint16_t wMonth;
  std::uint16_t wDayOfWeek;
  std::uint16_t wDay;
  std::uint16_t wHour;
  std::uint16_t wMinute;
  std::uint16_t wSecond;
  std::uint16_t wMilliseconds;
};
static_assert(sizeof(SYSTEMTIME) == 16, "SYSTEMTIME is a 16-byte record");

// File image: year, month, day of week, day, hour, minute, second,
// millisecond, each 2 bytes little-endian.
inline void EncodeSystemTime(unsigned char* dst, const SYSTEMTIME& t) {
  const std::uint16_t f[8] = {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay,
                              t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
  for (int i = 0; i < 8; ++i) telio::EncodeFixed16(dst + 2 * i, f[i]);
}

inline SYSTEMTIME DecodeSystemTime(const unsigned char* src) {
  SYSTEMTIME t;
  t.wYear = telio::DecodeFixed16(src);
  t.wMonth = telio::DecodeFixed16(src + 2);
  t.wDayOfWeek = telio::DecodeFixed16(src + 4);
  t.wDay = telio::DecodeFixed16(src + 6);
  t.wHour = telio::DecodeFixed16(src + 8);
  t.wMinute = telio::DecodeFixed16(src + 10);
  t.wSecond = telio::DecodeFixed16(src + 12);
  t.wMilliseconds = telio::DecodeFixed16(src + 14);
  return t;
}

inline bool operator==(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDayOfWeek == b.wDayOfWeek &&
         a.wDay == b.wDay && a.wHour == b.wHour && a.wMinute == b.wMinute &&
         a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}
inline bool operator!=(const SYSTEMTIME& a, const SYSTEMTIME& b) { return !(a == b); }
