#include "sections/SectionProperties.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/LastError.h"
#include "sections/CSectionFiles.h"

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// Published values of the producers' tables (cm units); kNone where a
// table gives none or its value is not checked.
struct Published {
  const char* name;
  double A, Iy, Iz, Wely, Welz, Wply, Wplz, It;
};

const Published kPublished[] = {
    {"IPE80", 7.64, 80.14, 8.49, 20.03, 3.69, 23.22, 5.82, 0.70},
    {"IPE200", 28.48, 1943, 142.4, 194.3, 28.47, 220.6, 44.61, 6.98},
    {"IPE300", 53.81, 8356, 603.8, 557.1, 80.50, 628.4, 125.2, 20.12},
    {"IPE400", 84.46, 23130, 1318, 1156, 146.4, 1307, 229.0, 51.08},
    {"IPE600", 156.0, 92080, 3387, 3069, 307.9, 3512, 485.6, 165.4},
    {"HEA200", 53.83, 3692, 1336, 388.6, 133.6, 429.5, 203.8, 20.98},
    {"HEA300", 112.5, 18260, 6310, 1260, 420.6, 1383, 641.2, 85.17},
    {"HEA600", 226.5, 141200, 11270, 4787, 751.4, 5350, 1156, 397.8},
    {"HEB100", 26.04, 449.5, 167.3, 89.91, 33.45, 104.2, 51.42, 9.25},
    {"HEB200", 78.08, 5696, 2003, 569.6, 200.3, 642.5, 305.8, 59.28},
    {"HEB300", 149.1, 25170, 8563, 1678, 570.9, 1869, 870.1, 185.0},
    {"UPN100", 13.5, 206, 29.3, 41.2, 8.49, kNone, kNone, kNone},
    {"UPN200", 32.2, 1910, 148, 191, 27.0, 228, kNone, kNone},
    {"UPN300", 58.8, 8030, 495, 535, 67.8, kNone, kNone, kNone},
    {"L50x50x5", 4.80, 11.0, 11.0, 3.05, 3.05, kNone, kNone, kNone},
    {"L80x80x8", 12.3, 72.2, 72.2, 12.6, 12.6, kNone, kNone, kNone},
    {"L100x100x10", 19.2, 177, 177, 24.6, 24.6, kNone, kNone, kNone},
    {"CHS114.3x5", 17.2, 257, 257, 45.0, 45.0, 59.8, 59.8, 514},
    {"CHS168.3x8", 40.3, 1297, 1297, 154, 154, 206, 206, 2595},
    {"SHS100x100x5", 18.7, 279, 279, 55.9, 55.9, kNone, kNone, kNone},
    {"RHS200x100x8", 44.8, 2234, 739, 223, 148, 282, 172, kNone},
};

void ExpectClose(const char* what, const std::string& profile, double published, double computed) {
  if (std::isnan(published)) return;
  EXPECT_NEAR(computed, published, 0.01 * published) << profile << " " << what;
}

// The shipped catalogue's profiles, computed from their dimensions when
// read, against the published tables: within 1%.
TEST(SectionProperties, SampleCatalogueMatchesPublishedTables) {
  CSectionFiles catalogue;
  ASSERT_EQ(catalogue.Load(TELIO_SOURCE_DIR "/data/FilesSectionDB/*.SEC"), 0u) << catalogue.GetLoadError().GetString();
  for (const Published& p : kPublished) {
    CSectionData d;
    ASSERT_EQ(catalogue.GetSectionData(catalogue.FindSection(p.name), &d), 1) << p.name;
    ExpectClose("A", p.name, p.A, d.A);
    ExpectClose("Iy", p.name, p.Iy, d.Iy);
    ExpectClose("Iz", p.name, p.Iz, d.Iz);
    ExpectClose("Wel,y", p.name, p.Wely, d.Wely);
    ExpectClose("Wel,z", p.name, p.Welz, d.Welz);
    ExpectClose("Wpl,y", p.name, p.Wply, d.Wply);
    ExpectClose("Wpl,z", p.name, p.Wplz, d.Wplz);
    ExpectClose("It", p.name, p.It, d.It);
  }
  // Angles: principal axes and centroid of L 100x100x10.
  CSectionData l;
  ASSERT_EQ(catalogue.GetSectionData(catalogue.FindSection("L100x100x10"), &l), 1);
  EXPECT_NEAR(l.Iu, 280, 2.8);
  EXPECT_NEAR(l.Iv, 73.0, 0.73);
  EXPECT_NEAR(l.ey, 2.82, 0.03);
  // IPE 300: shear area, warping constant, weight.
  CSectionData ipe;
  ASSERT_EQ(catalogue.GetSectionData(catalogue.FindSection("IPE300"), &ipe), 1);
  EXPECT_NEAR(ipe.Avz, 25.68, 0.26);
  EXPECT_NEAR(ipe.Iw, 125900, 1259);
  EXPECT_NEAR(ipe.G, 42.2, 0.42);
}

// A welded girder with unequal flanges, worked by hand from its three
// rectangles: top 200 x 20, web 455 x 10, bottom 300 x 25.
TEST(SectionProperties, WeldedGirderFromItsRectangles) {
  CSectionData d;
  ASSERT_EQ(CalculateWeldedSectionData(500, 200, 20, 300, 25, 10, &d), 1);
  const double aTop = 200 * 20, aWeb = 455 * 10, aBot = 300 * 25;
  const double A = aTop + aWeb + aBot;
  const double zc = (aBot * 12.5 + aWeb * (25 + 227.5) + aTop * 490) / A;
  const double Iy = 200 * std::pow(20, 3) / 12 + aTop * std::pow(490 - zc, 2) + 10 * std::pow(455, 3) / 12 +
                    aWeb * std::pow(252.5 - zc, 2) + 300 * std::pow(25, 3) / 12 + aBot * std::pow(12.5 - zc, 2);
  // Half the area lies below 77.5 mm: the bottom flange and 52.5 mm of web.
  const double Wpl = aBot * (77.5 - 12.5) + 10 * 52.5 * 26.25 + 10 * 402.5 * 201.25 + aTop * (490 - 77.5);
  EXPECT_NEAR(d.A, A / 100, 1e-6);
  EXPECT_NEAR(d.ez, zc / 10, 1e-6);
  EXPECT_NEAR(d.Iy, Iy / 1e4, 1e-3);
  EXPECT_NEAR(d.Wely, Iy / (500 - zc) / 1e3, 1e-3);
  EXPECT_NEAR(d.Wply, Wpl / 1e3, 0.01);
  EXPECT_NEAR(d.Iz, (20 * std::pow(200, 3) + 455 * std::pow(10, 3) + 25 * std::pow(300, 3)) / 12 / 1e4, 1e-3);

  // Equal flanges and no root radius: the rolled calculation agrees.
  CSectionData w, r;
  ASSERT_EQ(CalculateWeldedSectionData(300, 150, 10.7, 150, 10.7, 7.1, &w), 1);
  ASSERT_EQ(Calculate_I_SectionData(300, 150, 7.1, 10.7, 0, &r), 1);
  EXPECT_NEAR(w.A, r.A, 1e-9);
  EXPECT_NEAR(w.Iy, r.Iy, 1e-6);
  EXPECT_NEAR(w.Wplz, r.Wplz, 1e-3);
  EXPECT_NEAR(w.Iw, r.Iw, 0.01 * r.Iw);  // the welded form leaves the web out
}

// Two angles: the pair's properties follow from the single angle's by the
// parallel-axis rule, whatever the arrangement.
TEST(SectionProperties, DoubleAnglesFromTheSingleAngle) {
  CSectionData one;
  one.shape = kShapeAngle;
  one.h = 100, one.b = 50, one.tw = 8, one.r1 = 8, one.r2 = 4;
  ASSERT_EQ(CalculateSectionData(&one), 1);

  CSectionData pair = one;
  pair.shape = kShapeDoubleAngle;
  pair.spacing = 10;
  pair.arrangement = kPairLongLegs;  // the 100 legs back to back
  ASSERT_EQ(CalculateSectionData(&pair), 1);
  EXPECT_NEAR(pair.A, 2 * one.A, 1e-9);
  EXPECT_NEAR(pair.Iy, 2 * one.Iy, 1e-6);
  EXPECT_NEAR(pair.Iz, 2 * (one.Iz + one.A * std::pow(one.ey + 0.5, 2)), 1e-6);

  pair.arrangement = kPairShortLegs;  // the 50 legs back to back: legs swap
  ASSERT_EQ(CalculateSectionData(&pair), 1);
  EXPECT_NEAR(pair.Iy, 2 * one.Iz, 1e-6);
  EXPECT_NEAR(pair.Iz, 2 * (one.Iy + one.A * std::pow(one.ez + 0.5, 2)), 1e-6);
}

TEST(SectionProperties, DimensionsThatMakeNoSectionAreRefused) {
  struct Case {
    const char* what;
    CSectionData d;
  };
  auto rolled = [](double h, double b, double tw, double tf, double r) {
    CSectionData d;
    d.shape = kShapeRolledI;
    d.h = h, d.b = b, d.tw = tw, d.tf = tf, d.r1 = r;
    return d;
  };
  CSectionData angle;
  angle.shape = kShapeAngle;
  angle.h = 50, angle.b = 50, angle.tw = 5, angle.r1 = 44, angle.r2 = 3;  // root and toe arcs overlap
  CSectionData tube;
  tube.shape = kShapeCircularHollow;
  tube.h = 100, tube.tw = 50;  // no bore
  CSectionData pair = angle;
  pair.shape = kShapeDoubleAngle;
  pair.r1 = 7, pair.arrangement = 5;
  const Case cases[] = {
      {"flanges fill the depth", rolled(100, 55, 4.1, 50, 7)},
      {"web wider than flange", rolled(100, 55, 60, 5.7, 7)},
      {"fillets meet", rolled(100, 55, 4.1, 5.7, 30)},
      {"negative size", rolled(-100, 55, 4.1, 5.7, 7)},
      {"not a number", rolled(100, std::nan(""), 4.1, 5.7, 7)},
      {"huge", rolled(1e9, 55, 4.1, 5.7, 7)},
      {"angle radius", angle},
      {"tube", tube},
      {"arrangement", pair},
      {"no shape", CSectionData()},
  };
  for (const Case& c : cases) {
    CSectionData d = c.d;
    d.A = 99;
    telio::SetLastError(0);
    EXPECT_EQ(CalculateSectionData(&d), 0) << c.what;
    EXPECT_EQ(telio::GetLastError(), telio::kErrorBadArguments) << c.what;
    EXPECT_EQ(d.A, 0.0) << c.what;
    EXPECT_EQ(AreSectionDimensionsValid(c.d), 0) << c.what;
  }
  EXPECT_EQ(Calculate_I_SectionData(300, 150, 7.1, 10.7, 15, nullptr), 0);
}

}  // namespace
