// Builds composite-section (CS) files byte by byte from the file's layout:
//   0  4    not interpreted
//   4  i32  record count
//   8  168 x count  records; in each, u32 at 16 = steel section number,
//               the other bytes carried
#pragma once

#include <cstdint>
#include <vector>

#include "ByteWriter.h"

namespace telio_test {

constexpr size_t kCsRecordSize = 168;

// One record per entry of steelSections, carried bytes in a pattern that
// differs per record. With countOverride other than -1 the header states
// that count instead of the number of records written.
ByteWriter BuildCs(const std::vector<uint32_t>& steelSections, int64_t countOverride = -1);

}  // namespace telio_test
