// Builds topology (TOP) files byte by byte from the file's layout table, for
// tests and seed inputs. Independent of the library's TOP writer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ByteWriter.h"

namespace telio_test {

struct TopNodeLayout {
  int16_t label = 0;
  uint16_t carried = 0;
  float x = 0, y = 0, z = 0;
  int16_t restraint = 0;
};

struct TopBeamLayout {
  uint16_t section = 0;
  int16_t label = 0;
  uint16_t start = 0, end = 0;
  float angle = 0;
};

struct TopSupportLayout {
  uint16_t node = 0;
  std::array<uint8_t, 12> carried{};
};

struct TopSectionLayout {
  std::string name;  // up to 15 characters
  int16_t family = 0;
  int16_t sub = 0;
  uint32_t key = 0;                  // written only for sections that carry a key
  std::array<uint8_t, 32> prs{};     // written only for the property-block families
  std::array<float, 7> composite{};  // written only for the composite families
};

struct TopPhysBeamLayout {
  uint16_t label = 0;
  int16_t first = 0, last = 0;
  std::vector<uint16_t> beams;
};

struct TopModelLayout {
  bool space = true;
  uint16_t staticCases = 0, dynamicCases = 0, modelWord = 0;
  uint8_t carriedSeed = 0;  // fills the carried header bytes with a pattern
  std::vector<TopNodeLayout> nodes;
  std::vector<TopBeamLayout> beams;
  std::vector<TopSupportLayout> supports;
  std::vector<TopSectionLayout> sections;
  std::vector<TopPhysBeamLayout> physBeams;
};

// Where each block of a built file starts (the end is the file size).
struct TopBlockOffsets {
  size_t nodes, beams, supports, sections, angles, prs, keys, physBeams, composite, end;
};

// Group rules of the format, restated from the layout table.
bool TopHasPrs(int family);
bool TopHasKey(int family, int sub);
bool TopHasComposite(int family);

ByteWriter BuildTop(const TopModelLayout& m, TopBlockOffsets* offsets = nullptr);

// A small model using every section group, physical beams and load cases.
TopModelLayout SampleTopModel();

}  // namespace telio_test
