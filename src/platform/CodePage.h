// Conversion between the OEM (DOS) and ANSI (Windows) code pages.
//
// The analysis files hold names in the OEM page; the interface works in the
// ANSI page. Conversion is table driven. The default pair is OEM 437 with
// ANSI 1252; other pairs can be selected for the whole process. A character
// that the target page lacks becomes a best-fit or '?' as the tables say;
// the two directions are inverse on the characters both pages hold.
#pragma once

#include "platform/Export.h"
#include "platform/Types.h"

namespace telio {

// Selects the pair of pages used by the conversions below. Returns false
// (and changes nothing) when the pair is not supported. Supported pairs:
// 437/1252, 850/1252, 737/1253.
TELIO_EXPORT bool SetCodePages(unsigned oemPage, unsigned ansiPage);
TELIO_EXPORT unsigned OemCodePage();
TELIO_EXPORT unsigned AnsiCodePage();

}  // namespace telio

// Win32-shaped conversions. src and dst may be the same buffer. The plain
// forms stop after the terminating NUL; the Buff forms convert exactly
// `length` bytes. All return nonzero (null pointers give 0).
TELIO_EXPORT int OemToCharA(const char* src, char* dst);
TELIO_EXPORT int CharToOemA(const char* src, char* dst);
TELIO_EXPORT int OemToCharBuffA(const char* src, char* dst, ulong32 length);
TELIO_EXPORT int CharToOemBuffA(const char* src, char* dst, ulong32 length);
