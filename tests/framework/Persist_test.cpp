#include "framework/Persist.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/CSmartCollection.h"
#include "platform/Alloc.h"
#include "support/ByteWriter.h"

using GE_::Safe::ObjStrong;
using GE_::Safe::PtrStrong;
using telio_test::ByteWriter;

namespace {

// A stream over given bytes; closed by the fixture.
class PersistTest : public ::testing::Test {
 protected:
  FILE* Stream(const ByteWriter& w) {
    f_ = std::tmpfile();
    std::fwrite(w.data().data(), 1, w.size(), f_);
    std::rewind(f_);
    return f_;
  }
  FILE* Empty() {
    f_ = std::tmpfile();
    return f_;
  }
  std::vector<uint8_t> Written() {
    long n = std::ftell(f_);
    std::vector<uint8_t> bytes(static_cast<size_t>(n));
    std::rewind(f_);
    if (n) {
      EXPECT_EQ(static_cast<size_t>(n), std::fread(bytes.data(), 1, bytes.size(), f_));
    }
    std::rewind(f_);
    return bytes;
  }
  void TearDown() override {
    if (f_) std::fclose(f_);
    telio::FailAllocationsAfter(-1);
  }
  FILE* f_ = nullptr;
};

TEST_F(PersistTest, TextForms) {
  CPersist out(Empty(), false);
  CString empty, word("abc"), longName(std::string(300, 'n').c_str());
  out.Text(empty).Text(word).FixedText(longName).FixedText(word, kOldTextSize);
  ASSERT_TRUE(out.ok());
  ByteWriter expect;
  expect.i32(0).i32(3).bytes("abc", 3).text(std::string(259, 'n'), 260).text("abc", 100);
  EXPECT_EQ(expect.data(), Written());

  CPersist in(f_, true);
  CString a("x"), b, c, d;
  in.Text(a).Text(b).FixedText(c).FixedText(d, kOldTextSize);
  ASSERT_TRUE(in.ok());
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(CString("abc"), b);
  EXPECT_EQ(259, c.GetLength());
  EXPECT_EQ(CString("abc"), d);
}

TEST_F(PersistTest, DamagedTextLengthsFailWithoutAllocating) {
  CString s("kept");
  CPersist huge(Stream(ByteWriter().i32(0x7fffffff).bytes("abcdef", 6)), true);
  huge.Text(s);
  EXPECT_EQ(telio::kErrorHandleEof, huge.Error());
  EXPECT_EQ(CString("kept"), s);
  std::fclose(f_);

  CPersist negative(Stream(ByteWriter().i32(-5).i32(1)), true);
  long32 after = 9;
  negative.Text(s).Int32(after);
  EXPECT_EQ(telio::kErrorFileCorrupt, negative.Error());
  EXPECT_EQ(9, after);  // failures are sticky
  std::fclose(f_);

  // Short texts need no buffer of their own; longer ones do.
  CPersist memory(Stream(ByteWriter().i32(300).fill(300, 'a')), true);
  telio::FailAllocationsAfter(0);
  memory.Text(s);
  telio::FailAllocationsAfter(-1);
  EXPECT_EQ(telio::kErrorNotEnoughMemory, memory.Error());
}

TEST_F(PersistTest, NumbersAndDate) {
  SYSTEMTIME t{2024, 3, 1, 25, 10, 20, 30, 400};
  double d = -0.5;
  ulong32 u = 0xA1B2C3D4u;
  CPersist(Empty(), false).UInt32(u).Double(d).Date(t);
  ByteWriter expect;
  expect.u32(0xA1B2C3D4u).f64(-0.5).u16(2024).u16(3).u16(1).u16(25).u16(10).u16(20).u16(30).u16(400);
  EXPECT_EQ(expect.data(), Written());
}

// A list whose elements are unique by value, to exercise the list framing.
struct Value : ObjStrong {
  int v = 0;
  bool IsEqualWith(const Value* o) const { return o && o->v == v; }
  ulong32 CheckSum() const { return static_cast<ulong32>(v); }
  bool Serialize(FILE* f, bool load) {
    CPersist io(f, load);
    ulong32 version = 1;
    io.Version(version).Int(v);
    return io.ok();
  }
};
typedef PtrStrong<Value> ValuePtr;

struct ValueLst : CSmartCollection<ValuePtr> {
  ValuePtr CreateNewObject() const { return ValuePtr(new Value); }
  ulong32 header = 0;
  std::vector<int> loaded;  // what the load hook saw, in order
  bool Serialize(FILE* f, bool load) {
    loaded.clear();
    return SerializeList(
        f, load, 1, *this, [this](CPersist& io) { io.UInt32(header); },
        [this](const ValuePtr& e) { loaded.push_back(e->v); });
  }

 protected:
  int GetPosition(const ValuePtr& e, int requested) const override {
    if (IsRefusedByCommonRule(e) || FindValue(e) >= 0) return -1;
    return GetPositionBase(requested);
  }
};

ValuePtr MakeValue(int v) {
  ValuePtr p(new Value);
  p->v = v;
  return p;
}

TEST_F(PersistTest, ListFraming) {
  ValueLst list;
  list.header = 0x55;
  list.Add(MakeValue(7));
  list.AddAt(2, MakeValue(8));  // slot 1 stays null
  ASSERT_TRUE(list.Serialize(Empty(), false));
  ByteWriter expect;
  expect.u32(1).i32(3).u32(0x55);      // version, count, header
  expect.u32(1).i32(7).u32(1).i32(8);  // live elements in order
  expect.u32(1).i32(0);                // a default element for the null slot
  EXPECT_EQ(expect.data(), Written());

  ValueLst loaded;
  ASSERT_TRUE(loaded.Serialize(f_, true));
  ASSERT_EQ(3, loaded.GetCount());
  EXPECT_EQ(0, loaded.GetAt(2)->v);
  EXPECT_EQ(0x55u, loaded.header);
  std::fclose(f_);

  // The same element twice: the placement rule keeps one, and only that one
  // reaches the load hook. A count beyond the records present fails after
  // them; a negative one is an empty list.
  ByteWriter dup;
  dup.u32(1).i32(1000000).u32(0).u32(1).i32(4).u32(1).i32(4);
  ASSERT_FALSE(loaded.Serialize(Stream(dup), true));
  ASSERT_EQ(1, loaded.GetCount());
  EXPECT_EQ(4, loaded.GetAt(0)->v);
  EXPECT_EQ(std::vector<int>{4}, loaded.loaded);
  std::fclose(f_);
  EXPECT_TRUE(loaded.Serialize(Stream(ByteWriter().u32(1).i32(-3).u32(0)), true));
  EXPECT_EQ(0, loaded.GetCount());
}

TEST(CheckSumOf, NullListFeedsAZeroInnerValue) {
  CCheckSum outer;
  outer.AddU32(0);
  EXPECT_EQ(outer.get(), CheckSumOf(PtrStrong<ValueLst>()));
  EXPECT_EQ(0u, CheckSumOf(ValuePtr()));
}

}  // namespace
