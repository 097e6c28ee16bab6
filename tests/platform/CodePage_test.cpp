#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

unsigned char ToAnsi(unsigned char c) {
  char s = static_cast<char>(c), d = 0;
  OemToCharBuffA(&s, &d, 1);
  return static_cast<unsigned char>(d);
}

unsigned char ToOem(unsigned char c) {
  char s = static_cast<char>(c), d = 0;
  CharToOemBuffA(&s, &d, 1);
  return static_cast<unsigned char>(d);
}

struct PairCase {
  unsigned oem, ansi;
  int shared;  // characters both pages hold, control bytes included
  // Known pairs (OEM byte, ANSI byte) of characters both pages hold.
  unsigned char sharedPairs[4][2];
  // OEM bytes without an ANSI character, and what they become.
  unsigned char oemBestFit[2][2];
  // ANSI bytes without an OEM character, and what they become.
  unsigned char ansiBestFit[2][2];
};

const PairCase kPairs[] = {
    // u-umlaut, sharp s, pound sign, no-break space; box line -> '-', pi -> 'p';
    // A-grave -> 'A', euro -> 'E'.
    {437, 1252, 182, {{0x81, 0xFC}, {0xE1, 0xDF}, {0x9C, 0xA3}, {0xFF, 0xA0}},
     {{0xC4, '-'}, {0xE3, 'p'}}, {{0xC0, 'A'}, {0x80, 'E'}}},
    // o-slash, A-acute, copyright; dotless i -> 'i', double low line -> '_';
    // S-caron -> 'S', undefined 0x81 -> '?'.
    {850, 1252, 225, {{0x9B, 0xF8}, {0xB5, 0xC1}, {0xB8, 0xA9}, {0x81, 0xFC}},
     {{0xD5, 'i'}, {0xF2, '_'}}, {{0x8A, 'S'}, {0x81, '?'}}},
    // capital alpha, small alpha, final sigma, omega with tonos; box corner
    // -> '+', square root -> 'v'; iota with dialytika and tonos -> iota.
    {737, 1253, 200, {{0x80, 0xC1}, {0x98, 0xE1}, {0xAA, 0xF2}, {0xE9, 0xFE}},
     {{0xDA, '+'}, {0xFB, 'v'}}, {{0xC0, 0xA0}, {0xAA, '?'}}},
};

TEST(CodePage, TablesAreInverseOnSharedCharacters) {
  for (const PairCase& pc : kPairs) {
    SCOPED_TRACE(pc.oem);
    ASSERT_TRUE(telio::SetCodePages(pc.oem, pc.ansi));
    EXPECT_EQ(telio::OemCodePage(), pc.oem);
    EXPECT_EQ(telio::AnsiCodePage(), pc.ansi);
    int oemKept = 0, ansiKept = 0;
    for (int b = 0; b < 256; ++b) {
      unsigned char c = static_cast<unsigned char>(b);
      oemKept += ToOem(ToAnsi(c)) == c;
      ansiKept += ToAnsi(ToOem(c)) == c;
      // After one trip a character stays what it became.
      EXPECT_EQ(ToAnsi(ToOem(ToAnsi(c))), ToAnsi(c)) << b;
      if (b < 0x20 || b == 0x7F) {
        EXPECT_EQ(ToAnsi(c), c);
        EXPECT_EQ(ToOem(c), c);
      }
    }
    // Exactly the shared characters survive the round trip, both ways.
    EXPECT_EQ(oemKept, pc.shared);
    EXPECT_EQ(ansiKept, pc.shared);
    for (auto& p : pc.sharedPairs) {
      EXPECT_EQ(ToAnsi(p[0]), p[1]);
      EXPECT_EQ(ToOem(p[1]), p[0]);
    }
    for (auto& p : pc.oemBestFit) EXPECT_EQ(ToAnsi(p[0]), p[1]);
    for (auto& p : pc.ansiBestFit) EXPECT_EQ(ToOem(p[0]), p[1]);
  }
  EXPECT_FALSE(telio::SetCodePages(437, 1253));
  EXPECT_EQ(telio::OemCodePage(), 737u);
  ASSERT_TRUE(telio::SetCodePages(437, 1252));
}

TEST(CodePage, StringAndBufferForms) {
  ASSERT_TRUE(telio::SetCodePages(437, 1252));
  char text[] = "M\x81nchen\0\x81";
  ASSERT_NE(OemToCharA(text, text), 0);  // in place, stops at the NUL
  EXPECT_EQ(std::memcmp(text, "M\xFCnchen\0\x81", sizeof text), 0);
  char out[sizeof text];
  ASSERT_NE(CharToOemA(text, out), 0);
  EXPECT_STREQ(out, "M\x81nchen");

  char buf[] = {'\xFC', '\0', '\xFC'};
  ASSERT_NE(CharToOemBuffA(buf, buf, 3), 0);  // exactly length bytes, NULs included
  EXPECT_EQ(std::memcmp(buf, "\x81\0\x81", 3), 0);

  EXPECT_EQ(OemToCharA(nullptr, out), 0);
  EXPECT_EQ(CharToOemA(text, nullptr), 0);
  EXPECT_EQ(OemToCharBuffA(nullptr, out, 1), 0);
}

}  // namespace
