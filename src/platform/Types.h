// Fixed-width names for the 32-bit `long` family of the file formats and
// interfaces: a `long` there is always 32 bits, whatever the host's long is.
#pragma once

#include <cstdint>

typedef std::int32_t long32;
typedef std::uint32_t ulong32;
