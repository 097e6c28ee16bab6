// Private-profile (INI) files with the Win32 calls' behaviour.
//
// Section and key names are matched ignoring ASCII letter case; the first
// matching section and, within it, the first matching key count. Lines whose
// first non-blank character is ';' are comments. A value is read without the
// blanks around it and without one pair of matching quotes ('...' or "...").
// File names are found ignoring letter case (telio::ResolvePathCase). Each
// thread keeps the last file it read while that file is unchanged on disk
// (the same inode, size and times), so reading many keys in a row reads it
// once; a change on disk, or a write through WritePrivateProfileStringA, is
// seen by the next call. There is no cache to flush.
#pragma once

#include "platform/Export.h"
#include "platform/Types.h"

// Copies into buffer (size characters, terminator included):
//  - section null: the names of all sections, each NUL-terminated, then one
//    more NUL;
//  - key null: the key names of the section the same way;
//  - otherwise the key's value.
// A missing file, section or key (or an empty key name) copies the default
// (null reads as ""; trailing blanks dropped) and sets the last error to 2.
// Returns the characters copied without the final terminator. A value cut to
// fit returns size - 1; a name list cut to fit ends with two NULs and returns
// size - 2. A null buffer or size 0 returns 0.
TELIO_EXPORT ulong32 GetPrivateProfileStringA(const char* section, const char* key,
                                              const char* defaultValue, char* buffer,
                                              ulong32 size, const char* fileName);

// The key's value read as a decimal integer (leading digits after an
// optional sign; no digits give 0); the default when the key is missing or
// its value empty.
TELIO_EXPORT unsigned GetPrivateProfileIntA(const char* section, const char* key,
                                            int defaultValue, const char* fileName);

// Sets key=value in the section, creating the file and the section as
// needed; a null value deletes the key, a null key deletes the section with
// all its lines. Every other line is kept byte for byte. The new file is
// written beside the old one and renamed over it, so a failed write leaves
// the old file whole. Returns nonzero on success; on failure 0 with the last
// error set. A null section is refused (87) unless key and value are null
// too, which succeeds and does nothing.
TELIO_EXPORT int WritePrivateProfileStringA(const char* section, const char* key,
                                            const char* value, const char* fileName);
