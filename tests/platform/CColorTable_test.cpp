#include "platform/CColorTable.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(CColorTable, ScaleFollowsTheRange) {
  CColorTable table;
  EXPECT_EQ(table.GetBand(1.0f), -1);
  EXPECT_EQ(table.GetColor(1.0f), CColorTable::kNoValueColor);

  float values[] = {3.0f, -2.0f, NAN, 8.0f, 0.5f};
  table.SetMinMaxValuesTable(values, 5);
  ASSERT_TRUE(table.HasValues());
  EXPECT_EQ(table.GetMinValue(), -2.0f);
  EXPECT_EQ(table.GetMaxValue(), 8.0f);
  EXPECT_EQ(table.GetBand(-2.0f), 0);
  EXPECT_EQ(table.GetBand(-50.0f), 0);
  EXPECT_EQ(table.GetBand(8.0f), CColorTable::kBands - 1);
  EXPECT_EQ(table.GetBand(99.0f), CColorTable::kBands - 1);
  EXPECT_EQ(table.GetColor(-2.0f), 0x00FF0000u);  // blue
  EXPECT_EQ(table.GetColor(8.0f), 0x000000FFu);   // red
  int last = -1;
  for (float v = -2.0f; v <= 8.0f; v += 0.25f) {  // bands never go down
    int band = table.GetBand(v);
    EXPECT_GE(band, last);
    last = band;
  }
  EXPECT_EQ(table.GetBand(NAN), -1);

  float same[] = {4.0f, 4.0f};
  table.SetMinMaxValuesTable(same, 2);
  EXPECT_EQ(table.GetBand(4.0f), CColorTable::kBands / 2);
  table.ClearValues();
  EXPECT_FALSE(table.HasValues());
  table.SetMinMaxValuesTable(nullptr, 3);
  EXPECT_FALSE(table.HasValues());
}

}  // namespace
