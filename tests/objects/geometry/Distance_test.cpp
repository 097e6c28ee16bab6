#include <gtest/gtest.h>

#include <vector>

#include "objects/geometry/CGDistance.h"
#include "support/ObjectRecords.h"

using namespace GEOMETRY_OBJECTS;
using GE_::Safe::PtrStrong;
using telio_test::ByteWriter;

namespace {

typedef PtrStrong<CGDistance> DistancePtr;

// Ascending, unique, in-line, positive.
const ulong32 kInsideAscending = kDstLstUnique | kDstLstInLine | kDstLstSortA | kDstLstPositive;

DistancePtr D(double v) { return DistancePtr(new CGDistance(v)); }

std::vector<double> Values(const CGDistanceLst& list) {
  std::vector<double> v;
  for (int i = 0; i < list.GetCount(); ++i) v.push_back(list.GetAt(i)->Distance());
  return v;
}

class DistanceList : public ::testing::Test {
 protected:
  PtrStrong<CGLine> line_{new CGLine(CGPoint(0, 0, 0), CGPoint(10, 0, 0))};
};

TEST_F(DistanceList, RangeSignUniquenessAndOrder) {
  CGDistanceLst list(line_.GetPtr(), kInsideAscending);
  for (double v : {7.0, 3.0, 5.0, 3.0, 3.0005, 0.0, 10.0, 12.0, -2.0}) list.Add(D(v));
  EXPECT_EQ((std::vector<double>{3, 5, 7}), Values(list));

  list.Initialize(kInsideAscending | kDstLstOnLine | kDstLstOutLine);
  for (double v : {12.0, 10.0, 0.0, 5.0}) EXPECT_EQ(1, list.Add(D(v))) << v;
  EXPECT_EQ((std::vector<double>{0, 5, 10, 12}), Values(list));

  list.Initialize(kDstLstInLine | kDstLstSortD | kDstLstPositive | kDstLstNegative | kDstLstOutLine);
  for (double v : {3.0, 9.0, -4.0, 7.0, 5.0}) list.Add(D(v));
  EXPECT_EQ((std::vector<double>{9, 7, 5, 3, -4}), Values(list));

  // The -1.0 marker in a positive-only list stays last.
  list.Initialize(kInsideAscending | kDstLstUsingNegOne);
  for (double v : {6.0, -1.0, 4.0, 8.0}) EXPECT_EQ(1, list.Add(D(v))) << v;
  EXPECT_EQ(0, list.Add(D(-2.0)));
  EXPECT_EQ((std::vector<double>{4, 6, 8, -1}), Values(list));

  CGDistanceLst lineless(nullptr, kInsideAscending);
  EXPECT_EQ(0, lineless.Add(D(5)));
}

TEST_F(DistanceList, ChangingADistanceAsksTheList) {
  PtrStrong<CGDistanceLst> list(new CGDistanceLst(line_.GetPtr(), kInsideAscending));
  DistancePtr three = D(3), five = D(5), seven = D(7);
  for (const DistancePtr& d : {seven, three, five}) list->AddEx(d);
  EXPECT_TRUE(three->IsValidDistance());
  EXPECT_EQ(1, three->SetDistance(8.0));
  EXPECT_EQ((std::vector<double>{5, 7, 8}), Values(*list));
  EXPECT_EQ(0, three->SetDistance(7.0005));  // a duplicate: refused
  EXPECT_EQ(0, three->SetDistance(11.0));    // beyond the end
  EXPECT_EQ(8.0, three->Distance());
  EXPECT_EQ(2, list->Find(three));
  EXPECT_EQ(1, five->SetDistance(CGPoint(1, 0, 0)));
  EXPECT_EQ((std::vector<double>{1, 7, 8}), Values(*list));
  PtrStrong<CGPoint> at = seven->DistanceToPoint();
  ASSERT_FALSE(at.IsNull());
  EXPECT_EQ(7.0, at->X());

  CGDistance loose(2.0);
  EXPECT_FALSE(loose.IsValidDistance());
  EXPECT_EQ(1, loose.SetDistance(12.0));
  EXPECT_TRUE(loose.IsEqualBigger(12.0005));
  EXPECT_FALSE(loose.IsBigger(12.0005));
  EXPECT_TRUE(loose.DistanceToPoint().IsNull());
  list.Reset();
  EXPECT_FALSE(seven->IsValidDistance());
}

TEST_F(DistanceList, RecordLinksItsDistancesAndChecksumFollowsTheLine) {
  CGDistanceLst list(line_.GetPtr(), kInsideAscending);
  ByteWriter record;
  telio_test::PutDistanceLst(record, {7, 3, 3, 12, 5});
  ASSERT_TRUE(telio_test::LoadRecord(list, record));
  EXPECT_EQ((std::vector<double>{3, 5, 7}), Values(list));
  for (int i = 0; i < list.GetCount(); ++i) EXPECT_TRUE(list.GetAt(i)->IsValidDistance());
  ByteWriter expect;
  telio_test::PutDistanceLst(expect, {3, 5, 7});
  EXPECT_EQ(expect.data(), telio_test::SavedRecord(list));

  CGDistanceLst copy(line_.GetPtr(), 0);
  copy = list;
  EXPECT_EQ(list.CheckSum(), copy.CheckSum());
  EXPECT_EQ(&copy, copy.GetAt(0)->GetDistanceLst());
  const ulong32 before = list.CheckSum();
  line_->SetLine(CGPoint(0, 0, 0), CGPoint(12, 0, 0));
  EXPECT_NE(before, list.CheckSum());
  line_.Reset();
  CCheckSum withoutLine;
  withoutLine.AddU32(copy.CSmartCollection::CheckSum());
  EXPECT_EQ(withoutLine.get(), copy.CheckSum());
}

}  // namespace
