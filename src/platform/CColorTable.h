// CColorTable: the colour scale that result views paint values with.
//
// The scale spans the minimum and maximum of a value set and splits that
// range into kBands equal bands, coloured from blue (lowest) through cyan,
// green and yellow to red (highest). Colours are Windows COLORREF values
// (0x00BBGGRR).
#pragma once

#include "platform/Export.h"
#include "platform/Types.h"

class TELIO_EXPORT CColorTable {
 public:
  static constexpr int kBands = 16;
  // Painted for any value while the scale has no range.
  static constexpr ulong32 kNoValueColor = 0x00C0C0C0u;

  CColorTable() = default;
  virtual ~CColorTable() = default;

  // Takes the range of values[0..count-1], skipping NaNs. Null, count <= 0
  // or no finite value leaves the scale cleared. The values are not kept.
  void SetMinMaxValuesTable(float* values, int count);
  void ClearValues();

  bool HasValues() const { return hasValues_; }
  float GetMinValue() const { return min_; }
  float GetMaxValue() const { return max_; }

  // Band 0 .. kBands-1 of a value (values outside the range take the end
  // bands; a range of one value puts everything in the middle band);
  // -1 without a range.
  int GetBand(float value) const;
  ulong32 GetColor(float value) const;
  static ulong32 GetBandColor(int band);

 private:
  float min_ = 0.0f;
  float max_ = 0.0f;
  bool hasValues_ = false;
};
