// Builds intermediate-point results (OUC) files byte by byte from the
// layout table, for tests, seeds and benchmarks. Independent of the
// library's reader.
//
//   0  i32 LCNum, 4 i32 MaxIP, 8 MaxLCE x i32 beams per load case, then
//   the beam blocks of each load case: i32 beam number, i16 IP count n,
//   n x f32 of each table in file order (kinds 0, 1, 2, 6, 3, 4, 5).
#pragma once

#include <climits>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ByteWriter.h"

namespace telio_test {

struct OucBeam {
  int32_t beam;  // number written in the block
  int16_t n;     // IP count written
};

struct OucLayout {
  size_t maxLCE = 400;                     // table length (from the job)
  std::vector<std::vector<OucBeam>> lcs;   // blocks of each load case
  int32_t lcNum = INT32_MIN;               // INT32_MIN: lcs.size()
  int32_t maxIP = -1;                      // -1: the largest n written
  std::map<size_t, int32_t> table;         // table entries that differ from
                                           // the block counts
};

// Value ip of the table at file position slot (0..6) of a block.
float OucValue(int lc, int32_t beam, int slot, int ip);

ByteWriter OucHeader(size_t maxLCE, int32_t lcNum, int32_t maxIP, const std::vector<int32_t>& table);
ByteWriter OucBlock(int lc, int32_t beam, int16_t n);
ByteWriter BuildOuc(const OucLayout& s);
// Offset of every block of a built file, by load case.
std::vector<std::vector<size_t>> OucBlockOffsets(const OucLayout& s);

// A version-2050 JOB beside an OUC file: MaxLCE 20803 with eak, else 400.
void WriteOucJob(const std::string& oucPath, bool eak);

}  // namespace telio_test
