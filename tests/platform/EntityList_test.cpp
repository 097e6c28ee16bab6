#include "platform/EntityList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/Alloc.h"

namespace {

using telio::EntityCount;
using telio::EntityFirst;
using telio::ItemNext;
using telio::ItemNumber;

std::vector<long32> Walk(const void* list) {
  std::vector<long32> numbers;
  for (void* it = EntityFirst(list); it; it = ItemNext(it)) numbers.push_back(ItemNumber(it));
  return numbers;
}

TEST(EntityList, HeaderFieldsSitAtTheirOffsets) {
  unsigned char block[2 * telio::kEntityHeaderSize] = {};
  unsigned char* list = block + telio::kEntityHeaderSize;  // as in an entity block
  ASSERT_EQ(InitEntity(list, "Displacement", 42, 0, 0, 2), 1);
  EXPECT_STREQ(telio::EntityName(list), "Displacement");
  void* a = InitNewItem(list, 'N');
  void* b = InitNewItem(list, 'N');
  ASSERT_TRUE(a && b);

  long32 count;
  std::memcpy(&count, list + 2, 4);
  EXPECT_EQ(count, 2);
  void* first;
  std::memcpy(&first, list + 6, sizeof first);
  EXPECT_EQ(first, a);

  const unsigned char* item = static_cast<const unsigned char*>(a);
  EXPECT_EQ(item[0], 'N');
  EXPECT_EQ(item[1], 0);
  long32 number;
  std::memcpy(&number, item + 2, 4);
  EXPECT_EQ(number, 1);
  void* next;
  std::memcpy(&next, item + 6, sizeof next);
  EXPECT_EQ(next, b);
  for (size_t i = telio::kItemHeaderSize; i < 42; ++i) EXPECT_EQ(item[i], 0) << i;

  // The neighbouring header is untouched.
  for (size_t i = 0; i < telio::kEntityHeaderSize; ++i) ASSERT_EQ(block[i], 0);
  ResetEntity(list);
}

TEST(EntityList, NumbersFindAndErase) {
  unsigned char list[telio::kEntityHeaderSize];
  ASSERT_EQ(InitEntity(list, "Node", 46, 0, 0, 2), 1);
  const int n = 1000;
  std::vector<void*> items;
  for (int i = 0; i < n; ++i) items.push_back(InitNewItem(list, 'N'));
  EXPECT_EQ(EntityCount(list), n);
  for (int i = 0; i < n; ++i) {
    ASSERT_EQ(ItemNumber(items[i]), i + 1);
    ASSERT_EQ(FindItemPos(list, i + 1), items[i]);
  }
  EXPECT_EQ(FindItemPos(list, 0), nullptr);
  EXPECT_EQ(FindItemPos(list, n + 1), nullptr);

  // Erase the first, the last and every third item in between.
  std::vector<long32> expected;
  for (int i = 0; i < n; ++i) {
    bool erase = i == 0 || i == n - 1 || i % 3 == 1;
    if (erase) {
      ASSERT_EQ(EraseItem(list, items[i]), 1);
    } else {
      expected.push_back(i + 1);
    }
  }
  EXPECT_EQ(Walk(list), expected);
  EXPECT_EQ(EntityCount(list), static_cast<long32>(expected.size()));
  for (int i = 0; i < n; ++i) {
    bool kept = !(i == 0 || i == n - 1 || i % 3 == 1);
    ASSERT_EQ(FindItemPos(list, i + 1), kept ? items[i] : nullptr) << i;
  }

  // New items go to the end with fresh numbers.
  void* fresh = InitNewItem(list, 'N');
  EXPECT_EQ(ItemNumber(fresh), n + 1);
  expected.push_back(n + 1);
  EXPECT_EQ(Walk(list), expected);

  // An item of another list is refused.
  unsigned char other[telio::kEntityHeaderSize];
  InitEntity(other, "Beam", 46, 0, 0, 2);
  void* foreign = InitNewItem(other, 'B');
  EXPECT_EQ(EraseItem(list, foreign), 0);
  EXPECT_EQ(Walk(other), std::vector<long32>{1});

  // Reset frees everything (the sanitizer checks) and numbers start again.
  ResetEntity(list);
  ResetEntity(other);
  EXPECT_EQ(EntityCount(list), 0);
  EXPECT_EQ(EntityFirst(list), nullptr);
  EXPECT_EQ(FindItemPos(list, 2), nullptr);
  EXPECT_EQ(ItemNumber(InitNewItem(list, 'N')), 1);
  EXPECT_STREQ(telio::EntityName(list), "Node");
  ResetEntity(list);
}

TEST(EntityList, AllocationFailureLeavesTheListWhole) {
  unsigned char list[telio::kEntityHeaderSize] = {};
  EXPECT_EQ(InitNewItem(list, 'N'), nullptr);  // no item size yet
  ResetEntity(list);                           // a zeroed header is fine
  ASSERT_EQ(InitEntity(list, "Beam", 46, 0, 0, 2), 1);
  for (long budget = 0;; ++budget) {
    telio::FailAllocationsAfter(budget);
    std::vector<void*> made;
    void* it;
    while (made.size() < 40 && (it = InitNewItem(list, 'B')) != nullptr) made.push_back(it);
    telio::FailAllocationsAfter(-1);
    EXPECT_EQ(EntityCount(list), static_cast<long32>(made.size()));
    EXPECT_EQ(Walk(list).size(), made.size());
    for (void* m : made) EXPECT_EQ(FindItemPos(list, ItemNumber(m)), m);
    ResetEntity(list);
    if (made.size() == 40) break;
  }
}

}  // namespace
