#include "platform/CArchive.h"

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/CMapEx.h"
#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/ByteWriter.h"

using telio_test::ByteWriter;

namespace {

std::vector<uint8_t> Stored(const CArchive& ar) {
  return std::vector<uint8_t>(ar.Buffer(), ar.Buffer() + ar.BufferSize());
}

TEST(CArchive, CountAndStringFormsAtTheirEscapes) {
  struct Case {
    uint32_t n;
    std::vector<uint8_t> countPrefix, stringPrefix;
  } cases[] = {
      {0, {0x00, 0x00}, {0x00}},
      {254, {0xFE, 0x00}, {0xFE}},
      {255, {0xFF, 0x00}, {0xFF, 0xFF, 0x00}},
      {65533, {0xFD, 0xFF}, {0xFF, 0xFD, 0xFF}},
      // 0xFFFE in the string's word would be the wide-character tag.
      {65534, {0xFE, 0xFF}, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
      {70000, {0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    const CString text(std::string(c.n, 'x'));
    CArchive out;
    out.WriteCount(c.n);
    out << text;
    ASSERT_TRUE(out.ok());
    ByteWriter want;
    want.bytes(c.countPrefix.data(), c.countPrefix.size());
    want.bytes(c.stringPrefix.data(), c.stringPrefix.size()).fill(c.n, 'x');
    EXPECT_EQ(Stored(out), want.data());

    CArchive in(want.data().data(), want.size());
    EXPECT_EQ(in.ReadCount(), c.n);
    CString back;
    in >> back;
    EXPECT_EQ(in.Error(), 0u);
    EXPECT_EQ(back, text);
    EXPECT_EQ(in.Remaining(), 0u);
  }
}

TEST(CArchive, BadFormsFailWithTheirCodesAndStaySticky) {
  struct Case {
    const char* what;
    ByteWriter bytes;
    ulong32 code;
  } cases[] = {
      {"wide string tag", ByteWriter().u8(0xFF).u16(0xFFFE).u8(1).u16('a'),
       telio::kErrorFileCorrupt},
      {"string past the end", ByteWriter().u8(0xFF).u16(300).fill(299, 'a'),
       telio::kErrorHandleEof},
      {"4 GB string", ByteWriter().u8(0xFF).u16(0xFFFF).u32(0xFFFFFFFF).fill(8, 'a'),
       telio::kErrorHandleEof},
      {"cut length word", ByteWriter().u8(0xFF).u8(1), telio::kErrorHandleEof},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CArchive in(c.bytes.data().data(), c.bytes.size());
    CString s("kept?");
    in >> s;
    EXPECT_EQ(in.Error(), c.code);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(telio::GetLastError(), c.code);
    uint32_t after = 7;
    in >> after;  // reads nothing more
    EXPECT_EQ(after, 0u);
    EXPECT_EQ(in.Error(), c.code);
  }

  // A count is checked against what is left before anything is made.
  ByteWriter lying;
  lying.u16(0xFFFF).u32(1000000).zeros(64);
  CArchive in(lying.data().data(), lying.size());
  telio::FailAllocationsAfter(0);
  EXPECT_EQ(in.ReadCount(8), 0u);
  telio::FailAllocationsAfter(-1);
  EXPECT_EQ(in.Error(), telio::kErrorHandleEof);
}

TEST(CArchive, FileStoreAndLoad) {
  FILE* f = std::tmpfile();
  ASSERT_TRUE(f);
  {
    CArchive out(f, CArchive::store);
    out << CString("file") << 2.0;
    out.WriteCount(3);
    out.Flush();
    EXPECT_TRUE(out.ok());
  }
  std::rewind(f);
  {
    CArchive in(f, CArchive::load);
    EXPECT_EQ(in.Remaining(), 1u + 4 + 8 + 2);
    CString s;
    double d = 0;
    in >> s >> d;
    EXPECT_EQ(in.ReadCount(4), 0u);  // 3 items of 4 bytes cannot follow
    EXPECT_EQ(s, "file");
    EXPECT_EQ(d, 2.0);
    EXPECT_EQ(in.Error(), telio::kErrorHandleEof);
  }
  std::fclose(f);
  CArchive none(static_cast<FILE*>(nullptr), CArchive::load);
  EXPECT_EQ(none.Error(), telio::kErrorBadArguments);
}

template <class Map>
std::vector<int> KeysOf(const Map& m) {
  std::vector<int> keys;
  typename Map::KeyType k;
  typename Map::ValueType v;
  for (POSITION pos = m.GetStartPosition(); pos;) {
    m.GetNextAssoc(pos, k, v);
    keys.push_back(static_cast<int>(k));
  }
  return keys;
}

TEST(CMapExArchive, StoredInIterationOrderAndReloadedInIt) {
  // Keys 1, 2 and 3 share bucket 0, whose chain holds them newest first.
  CMapExNumbers<int, int, double, double> m;
  m.SetAt(1, 0.5);
  m.SetAt(17, -2.0);  // bucket 1
  m.SetAt(2, 1.5);
  m.SetAt(3, 2.5);
  ASSERT_EQ(KeysOf(m), (std::vector<int>{3, 2, 1, 17}));

  CArchive out;
  m.Serialize(out);
  ByteWriter want;
  want.u16(4).i32(3).f64(2.5).i32(2).f64(1.5).i32(1).f64(0.5).i32(17).f64(-2.0);
  EXPECT_EQ(Stored(out), want.data());

  CMapExNumbers<int, int, double, double> loaded, copied, assigned;
  loaded.SetAt(99, 9.0);  // emptied by the load
  CArchive in(out.Buffer(), out.BufferSize());
  loaded.Serialize(in);
  ASSERT_TRUE(in.ok());
  ASSERT_TRUE(copied.CopyFrom(&m));
  assigned = m;
  for (const auto* map : {&loaded, &copied, &assigned}) {
    EXPECT_EQ(KeysOf(*map), KeysOf(m));
    EXPECT_EQ(map->CheckSum(), m.CheckSum());
  }
}

TEST(CMapExArchive, TextValuesAndDuplicateKeys) {
  CMapEx<int, int, CString, CString> m;
  ByteWriter bytes;
  bytes.u16(3).i32(5).u8(2).bytes("ab", 2).i32(6).u8(0).i32(5).u8(1).bytes("c", 1);
  CArchive in(bytes.data().data(), bytes.size());
  m.Serialize(in);
  ASSERT_TRUE(in.ok());
  EXPECT_EQ(m.GetCount(), 2);  // the later 5 wins
  CString v;
  EXPECT_TRUE(m.Lookup(5, v));
  EXPECT_EQ(v, "c");
  EXPECT_EQ(KeysOf(m), (std::vector<int>{5, 6}));
}

}  // namespace
