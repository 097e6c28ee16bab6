#include "platform/CMap.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/Alloc.h"
#include "platform/CString.h"

namespace {

typedef CMap<long, long, int, int> Map;

template <class M>
std::vector<long> Keys(const M& m) {
  std::vector<long> keys;
  long key;
  int value;
  for (POSITION pos = m.GetStartPosition(); pos;) {
    m.GetNextAssoc(pos, key, value);
    keys.push_back(key);
  }
  return keys;
}

TEST(CMap, IteratesBucketsInOrderNewestFirst) {
  Map m;
  EXPECT_EQ(m.GetStartPosition(), nullptr);
  // Buckets (key >> 4) mod 17: 0 -> 0, 16 -> 1, 1 -> 0, 17 -> 1, 272 -> 0,
  // -1 and -16 -> 15 (the key taken unsigned), 0x80000000 -> 8.
  for (long k : {0L, 16L, 1L, 17L, 272L, -1L, -16L, static_cast<long>(INT32_MIN)}) m[k] = static_cast<int>(k & 0xFF);
  EXPECT_EQ(m.GetCount(), 8);
  EXPECT_EQ(Keys(m), (std::vector<long>{272, 1, 0, 17, 16, static_cast<long>(INT32_MIN), -16, -1}));

  int v = 0;
  EXPECT_TRUE(m.Lookup(-16, v));
  EXPECT_EQ(v, 0xF0);
  m[17] = 99;  // an existing key keeps its place
  EXPECT_EQ(Keys(m), (std::vector<long>{272, 1, 0, 17, 16, static_cast<long>(INT32_MIN), -16, -1}));

  EXPECT_TRUE(m.RemoveKey(1));  // middle of a chain
  EXPECT_FALSE(m.RemoveKey(1));
  EXPECT_FALSE(m.Lookup(1, v));
  EXPECT_TRUE(m.RemoveKey(-1));
  EXPECT_EQ(Keys(m), (std::vector<long>{272, 0, 17, 16, static_cast<long>(INT32_MIN), -16}));
  EXPECT_EQ(m.GetCount(), 6);

  EXPECT_EQ(m[12345], 0);  // operator[] inserts a zero value
  EXPECT_EQ(m.GetCount(), 7);
  m.RemoveAll();
  EXPECT_TRUE(m.IsEmpty());
  EXPECT_FALSE(m.RemoveKey(0));
}

TEST(CMap, TableSizeAndFailures) {
  CMap<int, int, CString, const CString&> m;
  m.InitHashTable(3);
  m[1 << 4] = "b1";
  m[0] = "b0";
  m[2 << 4] = "b2";
  int key;
  CString value;
  POSITION pos = m.GetStartPosition();
  m.GetNextAssoc(pos, key, value);
  EXPECT_EQ(value, "b0");
  try {
    m.InitHashTable(5);  // only while empty
    ADD_FAILURE();
  } catch (CInvalidArgException*) {
  }

  // Entries come ten to a block: the eleventh needs a new one.
  for (int k = 3; k < 10; ++k) m[k << 4] = "more";
  telio::FailAllocationsAfter(0);
  try {
    m[20 << 4] = "x";
    ADD_FAILURE();
  } catch (CMemoryException*) {
  }
  telio::FailAllocationsAfter(-1);
  EXPECT_EQ(m.GetCount(), 10);
  EXPECT_FALSE(m.Lookup(20 << 4, value));
}

// A map with inline entries iterates as one without: before it outgrows
// them, while it makes its table from them, and after. A value's address
// survives the change, and a table that cannot be made leaves the map whole.
TEST(CMap, InlineEntriesIterateAsTheTable) {
  CMap<long, long, int, int, 3> small;
  Map plain;
  auto both = [&](long k) {
    small[k] = static_cast<int>(k);
    plain[k] = static_cast<int>(k);
  };
  both(16);  // bucket 1
  both(1);   // bucket 0
  both(2);   // bucket 0, ahead of 1
  EXPECT_EQ(Keys(small), (std::vector<long>{2, 1, 16}));
  int* kept = small.PLookup(1);
  ASSERT_TRUE(small.RemoveKey(2));
  ASSERT_TRUE(plain.RemoveKey(2));
  EXPECT_TRUE(small.SetAtTail(3, 3));  // bucket 0, behind 1
  EXPECT_TRUE(plain.SetAtTail(3, 3));
  EXPECT_EQ(Keys(small), (std::vector<long>{1, 3, 16}));

  telio::FailAllocationsAfter(0);
  EXPECT_FALSE(small.SetAtTail(17, 17));
  try {
    small[17] = 17;
    ADD_FAILURE();
  } catch (CMemoryException*) {
  }
  telio::FailAllocationsAfter(-1);
  EXPECT_EQ(Keys(small), (std::vector<long>{1, 3, 16}));

  both(17);   // bucket 1, ahead of 16: the table is made here
  both(-16);  // bucket 15
  both(0);    // bucket 0
  EXPECT_EQ(Keys(small), (std::vector<long>{0, 1, 3, 17, 16, -16}));
  EXPECT_EQ(Keys(small), Keys(plain));
  EXPECT_EQ(kept, small.PLookup(1));
  EXPECT_EQ(1, *kept);
  for (long k : {3L, 0L, 1L, 17L, 16L, -16L}) ASSERT_TRUE(small.RemoveKey(k));
  EXPECT_TRUE(small.IsEmpty());
  both(5);
  EXPECT_EQ(Keys(small), (std::vector<long>{5}));
}

}  // namespace
