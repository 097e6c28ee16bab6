#include "platform/CCheckSum.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CCheckSum, KnownValueAndChunking) {
  const unsigned char digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  CCheckSum c;
  EXPECT_EQ(c.get(), 0u);
  c.AddArray<unsigned char>(digits, 9);
  EXPECT_EQ(c.get(), 0xE3069283u);

  std::vector<unsigned char> data(1000);
  unsigned x = 12345;
  for (auto& b : data) b = static_cast<unsigned char>((x = x * 1103515245u + 12345u) >> 16);
  CCheckSum whole;
  whole.AddBytes(data.data(), data.size());
  for (size_t step : {1u, 3u, 7u, 8u, 9u, 64u, 999u}) {
    CCheckSum parts;
    for (size_t at = 0; at < data.size(); at += step) {
      parts.AddBytes(data.data() + at, std::min(step, data.size() - at));
    }
    EXPECT_EQ(parts.get(), whole.get()) << step;
  }
  data[500] ^= 1;
  CCheckSum changed;
  changed.AddBytes(data.data(), data.size());
  EXPECT_NE(changed.get(), whole.get());
}

TEST(CCheckSum, TypedFeeds) {
  CCheckSum a, b;
  a.Add<CString>(CString("ab"));
  a.Add<CString>(CString("c"));
  b.Add<CString>(CString("a"));
  b.Add<CString>(CString("bc"));
  EXPECT_NE(a.get(), b.get());
  CCheckSum raw;
  raw.AddBytes("ab\0c\0", 5);
  EXPECT_EQ(raw.get(), a.get());

  CCheckSum n, bytes;
  n.AddU32(0x04030201u);
  n.AddI32(-1);
  const unsigned char le[] = {1, 2, 3, 4, 0xFF, 0xFF, 0xFF, 0xFF};
  bytes.AddBytes(le, sizeof le);
  EXPECT_EQ(n.get(), bytes.get());
  CCheckSum d, dBytes;
  d.AddF64(1.0);
  const unsigned char one[] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
  dBytes.AddBytes(one, sizeof one);
  EXPECT_EQ(d.get(), dBytes.get());
}

}  // namespace
