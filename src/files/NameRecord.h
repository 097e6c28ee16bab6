// The 32-byte name record of the load-case name files: the name in the OEM
// code page, NUL-padded, byte 31 always NUL. Internal helpers.
#pragma once

#include "platform/CString.h"

namespace telio {
namespace namerecord {

constexpr int kSize = 32;

// The ANSI name of a record as read (byte 31 taken as NUL), untrimmed.
// rec is changed in place.
CString Decode(char (&rec)[kSize]);
// The record for an ANSI name, cut to its first 31 characters.
void Encode(const CString& name, char (&rec)[kSize]);

}  // namespace namerecord
}  // namespace telio
