#include "platform/CColorTable.h"

#include <cmath>

void CColorTable::SetMinMaxValuesTable(float* values, int count) {
  ClearValues();
  if (!values) return;
  for (int i = 0; i < count; ++i) {
    float v = values[i];
    if (std::isnan(v)) continue;
    if (!hasValues_) {
      min_ = max_ = v;
      hasValues_ = true;
    } else if (v < min_) {
      min_ = v;
    } else if (v > max_) {
      max_ = v;
    }
  }
}

void CColorTable::ClearValues() {
  min_ = max_ = 0.0f;
  hasValues_ = false;
}

int CColorTable::GetBand(float value) const {
  if (!hasValues_ || std::isnan(value)) return -1;
  double range = static_cast<double>(max_) - min_;
  if (!(range > 0.0) || std::isinf(range)) return kBands / 2;
  double t = (static_cast<double>(value) - min_) / range;
  if (t <= 0.0) return 0;
  if (t >= 1.0) return kBands - 1;
  return static_cast<int>(t * kBands);
}

ulong32 CColorTable::GetColor(float value) const {
  int band = GetBand(value);
  return band < 0 ? kNoValueColor : GetBandColor(band);
}

ulong32 CColorTable::GetBandColor(int band) {
  if (band < 0) band = 0;
  if (band >= kBands) band = kBands - 1;
  // Hue runs from 240 degrees (blue) down to 0 (red) at full saturation.
  double hue = 240.0 * (1.0 - static_cast<double>(band) / (kBands - 1));
  double h = hue / 60.0;
  int sector = static_cast<int>(h);
  double f = h - sector;
  auto level = [](double x) { return static_cast<ulong32>(std::lround(x * 255.0)); };
  ulong32 r = 0, g = 0, b = 0;
  switch (sector) {
    case 0: r = 255; g = level(f); break;              // red -> yellow
    case 1: r = level(1.0 - f); g = 255; break;        // yellow -> green
    case 2: g = 255; b = level(f); break;              // green -> cyan
    case 3: g = level(1.0 - f); b = 255; break;        // cyan -> blue
    default: b = 255; break;                           // blue
  }
  return r | (g << 8) | (b << 16);
}
