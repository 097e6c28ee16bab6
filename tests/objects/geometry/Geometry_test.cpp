#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "objects/geometry/CCoordinateSystem.h"
#include "objects/geometry/CGLine.h"
#include "objects/geometry/CGLineLst.h"
#include "objects/geometry/CGPointLst.h"
#include "support/ObjectRecords.h"

using namespace GEOMETRY_OBJECTS;
using GE_::Safe::PtrStrong;
using telio_test::ByteWriter;
using telio_test::LoadRecord;
using telio_test::SavedRecord;

namespace {

const double kPi = 3.141592653589793;

CGLine Line(double x0, double y0, double z0, double x1, double y1, double z1) {
  return CGLine(CGPoint(x0, y0, z0), CGPoint(x1, y1, z1));
}

template <class T>
bool Eq(const T& a, const T& b) {
  return a.IsEqualWith(&b);
}

PtrStrong<CGPoint> P(double x, double y = 0, double z = 0) { return PtrStrong<CGPoint>(new CGPoint(x, y, z)); }

std::vector<double> Xs(const CGPointLst& list) {
  std::vector<double> xs;
  for (int i = 0; i < list.GetCount(); ++i) xs.push_back(list.GetAt(i)->X());
  return xs;
}

TEST(PointsAndVectors, TolerancesAndProducts) {
  CGPoint origin, near(0.0009, -0.001, 0), far(0.0011, 0, 0);
  EXPECT_TRUE(origin.IsEqualWith(&near));
  EXPECT_FALSE(origin.IsEqualWith(&far));
  EXPECT_DOUBLE_EQ(13.0, CGPoint::DistancePoint2Point(CGPoint(1, 1, 1), CGPoint(4, 5, 13)));

  CGVectorDirection x = CGVectorDirection::AxisX();
  EXPECT_DOUBLE_EQ(kPi / 2, CGVectorDirection::Zero().AngleBetween(x));
  EXPECT_DOUBLE_EQ(kPi, x.AngleBetween(CGVectorDirection(-2, 0, 0)));
  CGVectorDirection c = CGVectorDirection(2, 0, 0).GetCrossVector(CGVectorDirection(0, 3, 0));
  EXPECT_TRUE(Eq<CGPoint>(c, CGVectorDirection(0, 0, 6)));
  EXPECT_DOUBLE_EQ(1.0, CGVectorDirection(2, 0, 0).CrossMagnitude(CGVectorDirection(0, 3, 0)));
  EXPECT_DOUBLE_EQ(36.0, CGVectorDirection(2, 0, 0).CrossSquare(CGVectorDirection(1, 3, 0)));
  // A cross product of norm 0.0005 counts as zero in the determinant only.
  CGVectorDirection almost(1, 0.0005, 0);
  EXPECT_EQ(0.0, x.Determinant(almost));
  EXPECT_NEAR(2.5e-7, x.CrossSquare(almost), 1e-15);
  CGVectorDirection v(3, 4, 0), tiny(0.0005, 0, 0);
  v.Normalize();
  tiny.Normalize();
  EXPECT_TRUE(Eq<CGPoint>(v, CGVectorDirection(0.6, 0.8, 0)));
  EXPECT_TRUE(v.IsUnitVector());
  EXPECT_TRUE(Eq<CGPoint>(tiny, CGVectorDirection::Zero()));
}

TEST(Line, RelationsWithWorkedNumbers) {
  CGLine ox = Line(0, 0, 0, 10, 0, 0);
  EXPECT_DOUBLE_EQ(4.0, ox.DistanceFrom(CGPoint(3, 4, 0)));
  EXPECT_DOUBLE_EQ(5.0, Line(0, 0, 0, 0.0005, 0, 0).DistanceFrom(CGPoint(3, 4, 0)));  // from the start
  EXPECT_DOUBLE_EQ(6.0, Line(0, 0, 0, 4, 0, 0).TriangleArea(CGPoint(0, 3, 0)));
  EXPECT_DOUBLE_EQ(6.0, Line(0, 0, 0, 4, 0, 0).TriangleSemiPerimeter(CGPoint(0, 3, 0)));
  EXPECT_DOUBLE_EQ(5.0, Line(0, 0, 0, 1, 0, 0).DistanceFrom(Line(0, 0, 5, 0, 1, 5)));
  EXPECT_DOUBLE_EQ(0.0, ox.DistanceFrom(Line(0, 3, 0, 4, 3, 0)));  // parallel

  PtrStrong<CGPoint> hit = ox.GetIntersectionPoint(Line(5, -1, 0, 5, 1, 0));
  ASSERT_FALSE(hit.IsNull());
  EXPECT_TRUE(Eq(*hit, CGPoint(5, 0, 0)));
  EXPECT_TRUE(ox.GetIntersectionPoint(Line(0, 3, 0, 4, 3, 0)).IsNull());
  EXPECT_TRUE(ox.GetIntersectionPoint(Line(0, 1, 1, 0, 2, 1)).IsNull());

  EXPECT_TRUE(ox.IsPerpendicularWith(Line(5, -1, 0, 5, 1, 0)));
  EXPECT_TRUE(ox.IsSkewWith(Line(0, 1, 1, 0, 2, 1)));
  EXPECT_TRUE(ox.IsParallelWith(Line(0, 3, 0, -4, 3, 0)));
  EXPECT_FALSE(ox.IsSameDirectionWith(Line(0, 3, 0, -4, 3, 0)));
  EXPECT_TRUE(ox.IsCollinearWith(CGPoint(5, 5, 0)));  // seen at a right angle
  EXPECT_FALSE(ox.IsCollinearWithTolerance(CGPoint(5, 5, 0), 0.001));
  EXPECT_TRUE(ox.IsCollinearByTriangleArea(CGPoint(20, 0.00005, 0)));
  CGLine cross = ox.GetCrossLine(Line(0, 0, 0, 0, 2, 0));
  EXPECT_TRUE(Eq(cross.EPoint(), CGPoint(0, 0, 20)));
}

TEST(Line, PositionsAndMeasuring) {
  CGLine ox = Line(0, 0, 0, 10, 0, 0);
  struct Row {
    double x, y;
    int code;
  } rows[] = {{-1, 0, 1}, {0, 0, 4}, {10, 0, 5}, {5, 0, 6}, {2, 0, 3}, {9.95, 0.0005, 3}, {12, 0, 2}, {2, 1, 0}};
  for (const Row& r : rows) EXPECT_EQ(r.code, ox.GetPosiotionOfPoint(CGPoint(r.x, r.y, 0))) << r.x << "," << r.y;

  CGPoint p;
  EXPECT_EQ(1, ox.Distance2Point(9.95, &p));  // within 0.1 of the end: the end
  EXPECT_TRUE(Eq(p, CGPoint(10, 0, 0)));
  EXPECT_EQ(1, ox.Distance2Point(0.0005, &p));
  EXPECT_EQ(0.0, p.X());
  EXPECT_EQ(0, ox.Distance2Point(12, &p, true));
  EXPECT_EQ(1, ox.Distance2Point(12, &p, false));
  EXPECT_DOUBLE_EQ(12.0, p.X());
  double d = 7;
  EXPECT_EQ(0, ox.Point2Distance(CGPoint(-1, 0, 0), &d, true));
  EXPECT_EQ(0.0, d);
  EXPECT_EQ(1, ox.Point2Distance(CGPoint(-1, 0, 0), &d, false));
  EXPECT_EQ(-1.0, d);

  CGLine grow(ox);
  grow.ExtentLength(15, false);  // the end stays
  EXPECT_TRUE(Eq(grow.SPoint(), CGPoint(-5, 0, 0)));
  EXPECT_EQ(15.0, grow.Length());
}

TEST(Line, PositionOfLineCodes) {
  CGLine ox = Line(0, 0, 0, 10, 0, 0);
  struct Row {
    CGLine other;
    int code;
  } rows[] = {
      {Line(10, 0, 0, 0, 0, 0), 2},    {Line(0, 0, 0, 10, 0, 0), 1},    {Line(2, 0, 0, 4, 0, 0), 13},
      {Line(-1, 0, 0, 11, 0, 0), 14},  {Line(8, 0, 0, 12, 0, 0), 15},   {Line(2, 0, 0, -3, 0, 0), 16},
      {Line(12, 0, 0, 14, 0, 0), 11},  {Line(-4, 0, 0, -2, 0, 0), 12},  {Line(-5, 0, 0, 0, 0, 0), 9},
      {Line(0, 0, 0, -5, 0, 0), 7},    {Line(10, 0, 0, 12, 0, 0), 10},  {Line(10, 0, 0, 15, 5, 0), 6},
      {Line(3, 0, 0, 3.05, 0, 0), 0},  {Line(5, -1, 0, 5, 1, 0), 17},   {Line(12, -1, 0, 12, 1, 0), 18},
      {Line(-2, -1, 0, -2, 1, 0), 19}, {Line(0, 1, 1, 0, 2, 1), 0},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(r.code, ox.GetPosiotionOfLine(r.other)) << r.other.SPoint().X() << ".." << r.other.EPoint().X();
  }
}

TEST(Line, InternalPointsStayOrderedAndSurviveARecord) {
  CGLine line;
  line.SetLine(CGPoint(0, 0, 0), CGPoint(8, 0, 0));
  EXPECT_EQ(1, line.CutLineIntoCnt(3));
  EXPECT_EQ((std::vector<double>{0, 2, 4, 6, 8}), Xs(*line.GetInternalPointsLst()));
  line.CutLineIntoDst(8);
  EXPECT_EQ(2, line.GetCountInternalPoints());
  EXPECT_EQ(0, line.CutLineIntoDst(9));

  EXPECT_EQ(1, line.AddInternalPoint(P(7), false));
  EXPECT_EQ(1, line.AddInternalPoint(P(3), false));
  EXPECT_EQ(0, line.AddInternalPoint(P(3.0005), false));  // equal to one held
  EXPECT_EQ(0, line.AddInternalPoint(P(9), false));
  EXPECT_EQ(0, line.AddInternalPoint(P(0), true));  // an end
  EXPECT_EQ(1, line.AddInternalPoint(4.0, true));
  EXPECT_EQ((std::vector<double>{0, 3, 4, 7, 8}), Xs(*line.GetInternalPointsLst()));
  EXPECT_EQ(2, line.FindInternalPointAt(4));
  EXPECT_EQ(0, line.RemoveInternalPointAt(0, false));
  EXPECT_EQ(1, line.RemoveInternalPointAt(4.0, false));

  ByteWriter expect;
  telio_test::PutLine(expect, {{0, 0, 0}, {3, 0, 0}, {7, 0, 0}, {8, 0, 0}});
  EXPECT_EQ(expect.data(), SavedRecord(line));
  CGLine loaded;
  ASSERT_TRUE(LoadRecord(loaded, expect));
  EXPECT_TRUE(loaded.IsExactEqualWith(&line));
  EXPECT_EQ(line.CheckSum(), loaded.CheckSum());
  EXPECT_EQ(8.0, loaded.Length());

  // Internal points in the record decide the ends; an empty list resets.
  ByteWriter shorter;
  telio_test::PutLine(shorter, {{1, 0, 0}, {3, 0, 0}, {7, 0, 0}});
  ASSERT_TRUE(LoadRecord(loaded, shorter));
  EXPECT_EQ(6.0, loaded.Length());
  EXPECT_NE(line.CheckSum(), loaded.CheckSum());
  ASSERT_TRUE(LoadRecord(loaded, ByteWriter().u32(1).i32(0).u32(7)));
  EXPECT_EQ(0.0, loaded.Length());
  EXPECT_EQ(CGLine().CheckSum(), loaded.CheckSum());
}

TEST(PointList, ContinuousListOrdersWhateverTheOrderOfAdding) {
  CGPointLst list(kIntPntsLstFlags);
  for (double x : {5.0, 0.0, 10.0, 3.0, 7.0}) EXPECT_EQ(1, list.Add(P(x))) << x;
  EXPECT_EQ((std::vector<double>{10, 7, 5, 3, 0}), Xs(list));
  EXPECT_EQ(0, list.Add(P(3)));
  EXPECT_EQ(0, list.Add(P(4, 1)));
  EXPECT_EQ(1, list.Add(P(-2)));
  EXPECT_EQ(-2.0, list.GetLast()->X());

  CGPointLst copy;
  copy = list;
  EXPECT_TRUE(copy.IsEqualWith(&list));
  EXPECT_NE(copy.GetAt(0).GetRawPtr(), list.GetAt(0).GetRawPtr());  // points copied
  copy.GetAt(1)->SetY(0.5);
  EXPECT_FALSE(copy.IsEqualWith(&list));
  EXPECT_FALSE(copy.MatchWith(&list));
  double xmin, xmax, ymax;
  ASSERT_TRUE(copy.GetBoundRect(&xmin, &xmax, nullptr, &ymax, nullptr, nullptr));
  EXPECT_EQ(-2.0, xmin);
  EXPECT_EQ(10.0, xmax);
  EXPECT_EQ(0.5, ymax);
}

TEST(LineList, ChainOfBeamsKeepsItsOrder) {
  CGLineLst chain(0x87);
  auto L = [](double a, double b) { return PtrStrong<CGLine>(new CGLine(Line(a, 0, 0, b, 0, 0))); };
  EXPECT_EQ(1, chain.Add(L(3, 6)));
  EXPECT_EQ(1, chain.Add(L(6, 9)));   // continues the single line at its end
  EXPECT_EQ(1, chain.Add(L(0, 3)));   // continues the first line
  EXPECT_EQ(1, chain.Add(L(9, 12)));  // continues the last line
  EXPECT_EQ(0, chain.Add(L(12, 9)));  // the other way
  EXPECT_EQ(0, chain.Add(L(20, 25)));
  EXPECT_EQ(0, chain.Add(PtrStrong<CGLine>(new CGLine(Line(12, 0, 0, 14, 1, 0)))));
  std::vector<double> starts;
  for (int i = 0; i < chain.GetCount(); ++i) starts.push_back(chain.GetAt(i)->SPoint().X());
  EXPECT_EQ((std::vector<double>{0, 3, 6, 9}), starts);
}

// A unique list loaded from a record refuses the same elements as one
// built by adding them one at a time: near-equal points straddle every
// kind of boundary (0.001 apart exactly and just over, either side of zero,
// in every axis), with huge and non-finite coordinates among them.
TEST(UniqueLists, LoadingRefusesWhatAddingRefuses) {
  std::mt19937 rng(7);
  const double jitters[] = {0, 0.0005, -0.0005, 0.001, -0.001, 0.00101, 0.0039999, 0.004, 0.0080001};
  std::uniform_int_distribution<int> pick(0, sizeof(jitters) / sizeof(jitters[0]) - 1);
  std::uniform_int_distribution<int> lattice(-3, 3);
  auto coord = [&] { return lattice(rng) * 0.008 + jitters[pick(rng)]; };
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<telio_test::Xyz> points = {{1e13, 0, 0}, {1e13 + 0.0005, 0, 0}, {inf, 0, 0},   {inf, 0, 0},
                                         {NAN, 1, 1},  {-1e300, 2, 2},       {-1e300, 2, 2}};
  for (int i = 0; i < 600; ++i) points.push_back({coord(), coord(), coord()});
  ByteWriter pw;
  telio_test::PutListHeader(pw, static_cast<int32_t>(points.size()), kGeoListUnique);
  for (const auto& p : points) telio_test::PutPoint(pw, p);
  CGPointLst loaded, added(kGeoListUnique);
  ASSERT_TRUE(LoadRecord(loaded, pw));
  for (const auto& p : points) added.Add(PtrStrong<CGPoint>(new CGPoint(p.x, p.y, p.z)));
  ASSERT_EQ(added.GetCount(), loaded.GetCount());
  EXPECT_LT(loaded.GetCount(), static_cast<int>(points.size()));
  for (int i = 0; i < added.GetCount(); ++i) {
    const CGPoint& a = *added.GetAt(i);
    const CGPoint& b = *loaded.GetAt(i);
    EXPECT_TRUE((a.X() == b.X() || (std::isnan(a.X()) && std::isnan(b.X()))) && a.Y() == b.Y() && a.Z() == b.Z())
        << i;
  }

  // Lines, equal either way round: ends drawn from few places so that many
  // lines repeat, reversed or within the tolerance.
  std::vector<std::pair<telio_test::Xyz, telio_test::Xyz>> lines = {{{1e308, 0, 0}, {1e308, 0, 1}},
                                                                   {{1e308, 0, 1}, {1e308, 0, 0}}};
  std::uniform_int_distribution<int> few(0, 2);
  auto end = [&](double z) { return telio_test::Xyz{few(rng) * 0.008 + jitters[pick(rng)], 0.001 * few(rng), z}; };
  for (int i = 0; i < 600; ++i) {
    const telio_test::Xyz a = end(0), b = end(1);
    lines.push_back(few(rng) == 0 ? std::make_pair(b, a) : std::make_pair(a, b));
  }
  ByteWriter lw;
  telio_test::PutListHeader(lw, static_cast<int32_t>(lines.size()), kGeoListUnique);
  for (const auto& l : lines) telio_test::PutLine(lw, {l.first, l.second});
  CGLineLst loadedLines, addedLines(kGeoListUnique);
  ASSERT_TRUE(LoadRecord(loadedLines, lw));
  for (const auto& l : lines) {
    const auto& [a, b] = l;
    addedLines.Add(PtrStrong<CGLine>(new CGLine(Line(a.x, a.y, a.z, b.x, b.y, b.z))));
  }
  ASSERT_EQ(addedLines.GetCount(), loadedLines.GetCount());
  EXPECT_LT(loadedLines.GetCount(), static_cast<int>(lines.size()));
  for (int i = 0; i < addedLines.GetCount(); ++i) {
    EXPECT_TRUE(addedLines.GetAt(i)->IsEqualWith(loadedLines.GetAt(i).GetPtr())) << i;
  }
}

TEST(CoordinateSystem, ConversionsRoundTrip) {
  CCoordinateSystem frame;
  frame.SetOrigin(CGPoint(1, 2, 3));
  frame.SetAxisX(CGVectorDirection(0, 1, 0));
  frame.SetAxisY(CGVectorDirection(-1, 0, 0));
  EXPECT_TRUE(Eq(frame.LocalToGlobal(CGPoint(1, 0, 0)), CGPoint(1, 3, 3)));
  EXPECT_TRUE(Eq(frame.GlobalToLocal(CGPoint(0, 2, 4)), CGPoint(0, 1, 1)));

  const double c = std::cos(0.5), s = std::sin(0.5);
  frame.SetAxisX(CGVectorDirection(c, s, 0));
  frame.SetAxisY(CGVectorDirection(-s * 2, c * 2, 0));  // normalised below
  frame.Normalize();
  CGPoint p(-7.25, 3.5, 11.125);
  CGPoint back = frame.GlobalToLocal(frame.LocalToGlobal(p));
  EXPECT_NEAR(p.X(), back.X(), 1e-9);
  EXPECT_NEAR(p.Y(), back.Y(), 1e-9);
  EXPECT_NEAR(p.Z(), back.Z(), 1e-9);

  CCoordinateSystem copy;
  EXPECT_FALSE(copy.IsEqualWith(&frame));
  ASSERT_TRUE(copy.CopyFrom(&frame));
  EXPECT_TRUE(copy.IsEqualWith(&frame));
  copy.Reset();
  EXPECT_TRUE(Eq(copy, CCoordinateSystem()));
}

}  // namespace
