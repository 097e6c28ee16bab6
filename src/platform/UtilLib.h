// String and memory services of the suite's utility library.
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"

// A zero-filled block of size bytes, or null when memory is short. The block
// is an ordinary malloc block: release it with free() (or telio::Free).
TELIO_EXPORT void* Gl_Alloc(unsigned int size);

// The string of a NUL-terminated 8-bit text; null gives an empty string.
TELIO_EXPORT CString STRConvertA(const char* text);

// Copies src, with its terminating NUL, into the character field dst of a
// record and returns dst. The caller sizes the field for the text; nothing
// is checked here beyond null pointers (a null src empties the field).
TELIO_EXPORT char* tstr_cpy2str(const char* src, char* dst);
