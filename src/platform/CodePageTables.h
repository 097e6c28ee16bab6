// The byte tables behind the OEM<->ANSI conversions, generated from the
// code pages by platform/tools/gen_codepage_tables.py. Internal to the
// library: callers use platform/CodePage.h.
#pragma once

namespace telio {
namespace codepage {

extern const unsigned char kOem437ToAnsi1252[256];
extern const unsigned char kAnsi1252ToOem437[256];
extern const unsigned char kOem850ToAnsi1252[256];
extern const unsigned char kAnsi1252ToOem850[256];
extern const unsigned char kOem737ToAnsi1253[256];
extern const unsigned char kAnsi1253ToOem737[256];

}  // namespace codepage
}  // namespace telio
