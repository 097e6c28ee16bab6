#include "CSFixture.h"

namespace telio_test {

ByteWriter BuildCs(const std::vector<uint32_t>& steelSections, int64_t countOverride) {
  ByteWriter w;
  w.u32(0xC5C5C5C5);  // not interpreted
  w.i32(countOverride >= 0 || countOverride < -1 ? static_cast<int32_t>(countOverride)
                                                  : static_cast<int32_t>(steelSections.size()));
  for (size_t r = 0; r < steelSections.size(); ++r) {
    w.fill(16, static_cast<uint8_t>(0x30 + r));
    w.u32(steelSections[r]);
    w.fill(kCsRecordSize - 20, static_cast<uint8_t>(0x60 + r));
  }
  return w;
}

}  // namespace telio_test
