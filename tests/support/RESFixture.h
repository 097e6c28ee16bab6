// Builds static results (RES) files and the side files their reader needs
// (TOP, JOB, CMI) byte by byte from the layout tables, for tests, seeds and
// benchmarks. Independent of the library's readers.
//
// RES: a 52-byte header record (bytes 0..3 the header word), then per load
// result N node records, P support records, M beam force records and M
// further beam records, 52 bytes each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ByteWriter.h"

namespace telio_test {

struct ResLayout {
  int nodes = 0, supports = 0, beams = 0;
  int staticCases = 0, combinations = 0;
  uint32_t headerWord = 0x31534552;  // "RES1"
  // Name of each node record (default "N<i + 1>") and of each support
  // record (default the name of node supportNodes[j], or "N<j + 1>").
  std::vector<std::string> nodeNames;
  std::vector<int> supportNodes;
  int loadResults() const { return staticCases + combinations; }
};

// The values the builders write, so tests can check a reader against them.
float ResDisplacement(int r, int record, int k);
float ResReaction(int r, int record, int k);
float ResForce(int r, int beam, int end, int k);  // beam 0-based, end 0 / 1

ByteWriter ResHeaderRecord(uint32_t word);
// Node record: the name (8 bytes, NUL-padded, cut at 8), six floats, 20
// carried bytes.
ByteWriter ResNodeRecord(const std::string& name, const float (&values)[6]);
// The whole block of load result r.
ByteWriter ResBlock(const ResLayout& s, int r);
ByteWriter BuildRes(const ResLayout& s);
// Writes the file block by block (for files too large to build in memory).
void WriteRes(const ResLayout& s, const std::string& path);

// Side files of a RES file at resPath (its extension replaced): a TOP with
// the model's nodes, beams, supports and static cases, a version-2050 JOB
// whose EAK flag byte is eakFlag, and a CMI of the model's combinations.
void WriteResSideFiles(const ResLayout& s, const std::string& resPath, uint8_t eakFlag = 0);

// resPath with its extension replaced by ext.
std::string SidePath(const std::string& resPath, const std::string& ext);

}  // namespace telio_test
