#include "platform/CArray.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/Alloc.h"
#include "platform/CString.h"

namespace {

template <class T>
void ExpectInvalidArg(T&& f) {
  try {
    f();
    ADD_FAILURE() << "no exception";
  } catch (CInvalidArgException*) {
  }
}

TEST(CArray, GrowsInsertsAndRemoves) {
  CArray<int, int> a;
  for (int i = 0; i < 100; ++i) EXPECT_EQ(a.Add(i), i);
  EXPECT_EQ(a.GetSize(), 100);
  EXPECT_EQ(a.GetUpperBound(), 99);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(a[i], i);

  a.SetSize(3);
  a.SetSize(5);  // new elements are zero
  EXPECT_EQ(a[3], 0);
  EXPECT_EQ(a[4], 0);

  a.InsertAt(1, 7, 2);  // 0 7 7 1 2 0 0
  a.InsertAt(9, 5);     // beyond the end: zero padding, then 5
  ASSERT_EQ(a.GetSize(), 10);
  const int expected[] = {0, 7, 7, 1, 2, 0, 0, 0, 0, 5};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(a[i], expected[i]) << i;
  a.RemoveAt(1, 4);
  EXPECT_EQ(a.GetSize(), 6);
  EXPECT_EQ(a[0], 0);
  EXPECT_EQ(a[5], 5);
  a.RemoveAt(0, 0);
  EXPECT_EQ(a.GetSize(), 6);
}

TEST(CArray, BadIndexesThrowAndChangeNothing) {
  CArray<int, int> a;
  a.Add(1);
  a.Add(2);
  ExpectInvalidArg([&] { a.GetAt(-1); });
  ExpectInvalidArg([&] { a.GetAt(2); });
  ExpectInvalidArg([&] { a.SetAt(2, 9); });
  ExpectInvalidArg([&] { a.ElementAt(5); });
  ExpectInvalidArg([&] { a[2]; });
  ExpectInvalidArg([&] { a.RemoveAt(1, 2); });
  ExpectInvalidArg([&] { a.RemoveAt(-1); });
  ExpectInvalidArg([&] { a.RemoveAt(1, INT_MAX); });
  ExpectInvalidArg([&] { a.InsertAt(-1, 3); });
  ExpectInvalidArg([&] { a.SetSize(-1); });
  ExpectInvalidArg([&] { a.SetAtGrow(-1, 3); });
  // Counts that overflow an int are refused before any arithmetic.
  EXPECT_THROW(a.InsertAt(1, 3, INT_MAX), CMemoryException*);
  EXPECT_THROW(a.SetAtGrow(INT_MAX, 3), CMemoryException*);
  ASSERT_EQ(a.GetSize(), 2);
  EXPECT_EQ(a[0], 1);
  EXPECT_EQ(a[1], 2);
}

TEST(CArray, AllocationFailureLeavesTheArrayUnchanged) {
  CArray<CString, const CString&> a;
  a.Add("x");
  a.FreeExtra();  // full: the next Add must reallocate
  telio::FailAllocationsAfter(0);
  int thrown = 0;
  try {
    a.Add("y");
  } catch (CMemoryException*) {
    ++thrown;
  }
  try {
    a.InsertAt(0, "z", 3);
  } catch (CMemoryException*) {
    ++thrown;
  }
  telio::FailAllocationsAfter(-1);
  EXPECT_EQ(thrown, 2);
  ASSERT_EQ(a.GetSize(), 1);
  EXPECT_EQ(a[0], "x");
}

TEST(CArray, HoldsStringsAcrossMoves) {
  CArray<CString, const CString&> a;
  a.Add("first");
  for (int i = 0; i < 40; ++i) a.Add(a[0]);  // the argument lives in the array itself
  EXPECT_EQ(a.GetSize(), 41);
  EXPECT_EQ(a[40], "first");
  a.SetAtGrow(60, a[1]);
  EXPECT_EQ(a[60], "first");
  EXPECT_TRUE(a[59].IsEmpty());
  a.InsertAt(0, "head");
  a.RemoveAt(1, 59);
  ASSERT_EQ(a.GetSize(), 3);
  EXPECT_EQ(a[0], "head");
  EXPECT_EQ(a[2], "first");

  a.InsertAt(1, &a);  // itself, in the middle
  ASSERT_EQ(a.GetSize(), 6);
  const char* expected[] = {"head", "head", "", "first", "", "first"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(a[i], expected[i]) << i;

  CArray<CString, const CString&> b;
  b.Copy(a);
  b.Append(a);
  EXPECT_EQ(b.GetSize(), 12);
  EXPECT_EQ(b[11], "first");
  ExpectInvalidArg([&] { b.Append(b); });
}

}  // namespace
