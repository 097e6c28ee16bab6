#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "framework/CArrayEx.h"
#include "framework/CArrayExPointers.h"
#include "framework/CGGeometryLstBase.h"
#include "framework/CMapEx.h"
#include "framework/CSmartCollection.h"
#include "framework/CTreeNode.h"
#include "support/ByteWriter.h"

using GE_::Safe::ObjStrong;
using GE_::Safe::PtrStrong;

namespace {

struct Item : ObjStrong {
  explicit Item(int v = 0) : value(v) {}
  ulong32 CheckSum() const {
    CCheckSum s;
    s.AddI32(value);
    return s.get();
  }
  bool IsEqualWith(const Item* o) const { return o && o->value == value; }
  int value;
};
typedef PtrStrong<Item> ItemPtr;

// A list that only ever appends, and holds at most limit items: its rule
// reads the list's own field.
class TailList : public CSmartCollection<ItemPtr> {
 public:
  int limit = 4;

 protected:
  int GetPosition(const ItemPtr& e, int) const override {
    return IsRefusedByCommonRule(e) || GetCount() >= limit ? -1 : GetCount();
  }
};

class HookedList : public CSmartCollection<ItemPtr> {
 public:
  int veto = 1;
  std::vector<int> before, added;
  int removed = 0;

 protected:
  int OnBeforeRemoveElement(int i) override {
    before.push_back(i);
    return veto;
  }
  void OnAfterRemoveElement() override { ++removed; }
  void OnAfterAddElement(int i) override { added.push_back(i); }
};

std::vector<int> Values(const CSmartCollection<ItemPtr>& c) {
  std::vector<int> v;
  for (int i = 0; i < c.GetCount(); ++i) v.push_back(c.GetAt(i).IsNull() ? -1 : c.GetAt(i)->value);
  return v;
}

ulong32 Sum32(ulong32 v) {
  CCheckSum s;
  s.AddU32(v);
  return s.get();
}

TEST(SmartCollection, PlacementRefusesNullDuplicatesAndOtherIndices) {
  CSmartCollection<ItemPtr> c;
  ItemPtr a(new Item(1)), b(new Item(2)), d(new Item(3));
  EXPECT_EQ(1, c.Add(a));
  EXPECT_EQ(0, c.Add(a));
  EXPECT_EQ(0, c.Add(ItemPtr()));
  EXPECT_EQ(1, c.AddFirst(b));
  EXPECT_EQ(1, c.AddLast(d));
  EXPECT_EQ((std::vector<int>{2, 1, 3}), Values(c));
  EXPECT_EQ(0, c.Find(b));
  EXPECT_EQ(-1, c.Find(b, 1));
  EXPECT_EQ(-1, c.Find(b, 3));
  ItemPtr twin(new Item(3));
  EXPECT_EQ(2, c.FindValue(twin));
  EXPECT_THROW(c.GetAt(3), CException*);

  TailList tail;
  ItemPtr t[5] = {new Item(0), new Item(1), new Item(2), new Item(3), new Item(4)};
  for (int i = 0; i < 3; ++i) tail.Add(t[i]);
  EXPECT_EQ(0, tail.AddAt(5, t[3]));
  EXPECT_EQ(0, tail.AddFirst(t[3]));
  EXPECT_EQ(1, tail.AddAt(-1, t[3]));
  EXPECT_EQ(0, tail.Add(t[4]));
  EXPECT_EQ(-1, tail.MoveElement(3, 0));  // the rule only appends
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), Values(tail));
}

TEST(SmartCollection, ExOperationsCallHooksAndHonourVeto) {
  HookedList c;
  ItemPtr a(new Item(1)), b(new Item(2));
  c.AddEx(a);
  c.AddLastEx(b);
  EXPECT_EQ((std::vector<int>{0, 1}), c.added);
  c.veto = 0;
  EXPECT_EQ(0, c.RemoveAllEx());
  EXPECT_EQ(0, c.RemoveLastEx());
  EXPECT_EQ(2, c.GetCount());
  EXPECT_EQ((std::vector<int>{-1, 1}), c.before);
  c.veto = 1;
  EXPECT_EQ(0, c.RemoveAtEx(2));
  EXPECT_EQ(1, c.RemoveAtEx(0));
  EXPECT_EQ(1, c.removed);
  c.RemoveAt(7);  // out of range: nothing
  EXPECT_EQ((std::vector<int>{2}), Values(c));
}

TEST(SmartCollection, MoveElement) {
  CSmartCollection<ItemPtr> c;
  for (int v : {1, 2, 3, 4}) c.Add(ItemPtr(new Item(v)));
  EXPECT_EQ(0, c.MoveElement(2, 0));
  EXPECT_EQ((std::vector<int>{3, 1, 2, 4}), Values(c));
  EXPECT_EQ(-1, c.MoveElement(1, 1));
  EXPECT_EQ(-1, c.MoveElement(4, 0));
  EXPECT_EQ(-1, c.MoveElement(0, -1));
  EXPECT_EQ(-1, c.MoveElement(0, 5));
  EXPECT_EQ((std::vector<int>{3, 1, 2, 4}), Values(c));
  EXPECT_EQ(2, c.MoveElement(0, 2));
  EXPECT_EQ((std::vector<int>{1, 3, 2, 4}), Values(c));
}

TEST(SmartCollection, CopyAndCheckSum) {
  CSmartCollection<ItemPtr> c, other;
  EXPECT_EQ(Sum32(CCheckSum().get()), c.CheckSum());
  ItemPtr a(new Item(1)), b(new Item(2));
  c.Add(a);
  c.Add(b);
  const CSmartCollection<ItemPtr>& self = c;
  c = self;
  EXPECT_EQ(2, c.GetCount());
  EXPECT_FALSE(other.CopyFrom(nullptr));
  other = c;
  EXPECT_EQ(3, a.GetRefCount()->StrongCount());  // shared, not copied
  EXPECT_EQ(c.CheckSum(), other.CheckSum());
  other.MoveElement(1, 0);
  EXPECT_NE(c.CheckSum(), other.CheckSum());

  CCheckSum inner;
  inner.AddU32(a->CheckSum());
  inner.AddU32(b->CheckSum());
  EXPECT_EQ(Sum32(inner.get()), c.CheckSum());
  c.AddAt(3, ItemPtr(new Item(9)));  // leaves a null slot at 2, which the checksum skips
  EXPECT_EQ(4, c.GetCount());
  EXPECT_TRUE(c.GetAt(2).IsNull());
  inner.AddU32(c.GetAt(3)->CheckSum());
  EXPECT_EQ(Sum32(inner.get()), c.CheckSum());
}

TEST(GeometryListBase, AssignmentCopiesFlags) {
  GEOMETRY_OBJECTS::CGGeometryLstBase<ItemPtr> a(0x01 | 0x80), b;
  a.Add(ItemPtr(new Item(5)));
  b = a;
  EXPECT_EQ(0x81u, b.GetFlags());
  EXPECT_EQ(1, b.GetCount());
}

struct Rec {
  int32_t id;
  float x;
};

TEST(ArrayEx, RecordFileFormAndCheckSum) {
  CArrayEx<Rec> a;
  a.Add(Rec{7, 1.5f});
  a.Add(Rec{8, -2.0f});
  FILE* f = std::tmpfile();
  ASSERT_TRUE(a.Write(f));
  std::rewind(f);
  std::vector<uint8_t> bytes(32);
  ASSERT_EQ(24u, std::fread(bytes.data(), 1, 32, f));
  telio_test::ByteWriter expect;
  expect.i32(2).i32(7).f32(1.5f).i32(8).f32(-2.0f).i32(0);  // count, records, failed writes
  bytes.resize(24);
  EXPECT_EQ(expect.data(), bytes);

  std::rewind(f);
  CArrayEx<Rec> b;
  b.Add(Rec{1, 1});
  ASSERT_TRUE(b.Read(f));
  ASSERT_EQ(2, b.GetSize());
  EXPECT_EQ(8, b[1].id);
  EXPECT_EQ(a.CheckSum(), b.CheckSum());
  CArrayEx<Rec> c(b);
  c[0].x = 3;
  EXPECT_NE(a.CheckSum(), c.CheckSum());
  std::fclose(f);

  // A count far beyond the stream: fails after the records present.
  telio_test::ByteWriter damaged;
  damaged.i32(0x7fffffff).i32(1).f32(0);
  FILE* g = std::tmpfile();
  std::fwrite(damaged.data().data(), 1, damaged.size(), g);
  std::rewind(g);
  EXPECT_FALSE(b.Read(g));
  EXPECT_EQ(telio::kErrorHandleEof, telio::GetLastError());
  EXPECT_EQ(1, b.GetSize());
  std::fclose(g);
}

TEST(ArrayExPointers, CheckSumCountsSlotsAndSkipsNull) {
  CArrayExPointers<ItemPtr> a, b;
  ItemPtr x(new Item(3));
  a.Add(x);
  a.Add(ItemPtr());
  CCheckSum expect;
  expect.AddI32(2);
  expect.AddU32(x->CheckSum());
  EXPECT_EQ(expect.get(), a.CheckSum());
  b.CopyQuickFrom(a);
  EXPECT_EQ(a.CheckSum(), b.CheckSum());
  b.CopyPointersDataFrom(b);
  EXPECT_EQ(2, b.GetSize());
}

TEST(MapEx, CheckSumFollowsBucketOrder) {
  // Key 16 goes to bucket 1, key 3 to bucket 0: iteration gives 3 first.
  CMapEx<int, int, double, double> m;
  m.SetAt(16, 2.5);
  m.SetAt(3, -1.0);
  CCheckSum expect;
  expect.AddU32(3);
  expect.AddF64(-1.0);
  expect.AddU32(16);
  expect.AddF64(2.5);
  EXPECT_EQ(expect.get(), m.CheckSum());
  CMapEx<int, int, CString, CString> empty;
  EXPECT_EQ(CCheckSum().get(), empty.CheckSum());
}

TEST(MapExNumbers, ToleranceAndCount) {
  typedef CMapExNumbers<int, int, double, double> Map;
  Map a, close, far, more;
  a.SetAt(5, 1.0);
  close.SetAt(5, 1.0005);
  far.SetAt(5, 1.002);
  more.SetAt(5, 1.0);
  more.SetAt(6, 0.0);
  EXPECT_TRUE(a.IsEqualWith(&close));
  EXPECT_FALSE(a.IsEqualWith(&far));
  EXPECT_FALSE(a.IsEqualWith(&more));
  EXPECT_FALSE(more.IsEqualWith(&a));
  EXPECT_FALSE(a.IsEqualWith(nullptr));
  ASSERT_TRUE(a.CopyFrom(&more));
  EXPECT_TRUE(a.IsEqualWith(&more));
}

TEST(TreeNode, CopiesAndCheckSums) {
  PtrStrong<CTreeNode<int>> root(new CTreeNode<int>(1));
  root->AddNode(new CTreeNode<double>(2.5));
  root->AddNode(new CTreeNode<CString>(CString("x")));

  CCheckSum value, child0v, child0, child1v, child1, expect;
  value.AddU32(1);
  child0v.AddF64(2.5);
  child0.AddU32(child0v.get());
  child0.AddU32(0);
  child1v.Add(CString("x"));
  child1.AddU32(child1v.get());
  child1.AddU32(0);
  expect.AddU32(value.get());
  expect.AddU32(2);
  expect.AddU32(child0.get());
  expect.AddU32(child1.get());
  EXPECT_EQ(expect.get(), root->CheckSum());

  auto deep = root->CopyDeep();
  auto shallow = root->CopyShallow();
  EXPECT_EQ(root->CheckSum(), deep->CheckSum());
  *root->GetValue() = 9;
  EXPECT_EQ(9, *shallow->GetValue());
  EXPECT_EQ(1, *deep->GetValue());
  EXPECT_NE(root->CheckSum(), deep->CheckSum());
  EXPECT_EQ(root->CheckSumStructure(), deep->CheckSumStructure());
  EXPECT_EQ(2, deep->GetCountNodes());
  EXPECT_NE(root->GetNodeAt(0).GetRawPtr(), deep->GetNodeAt(0).GetRawPtr());
  EXPECT_FALSE(deep->IsAppending());
}

}  // namespace
