// Builds model (T3L) files byte by byte from the file's layout table, for
// tests and seed inputs. Independent of the library's T3L reader and writer.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ByteWriter.h"

namespace telio_test {

using Bytes = std::vector<uint8_t>;

// Count slots of the header, in header order (i32 at 60 + 4 * slot in the
// 112-byte layout, u16 at 60 + 2 * slot in the classic 86-byte one).
enum T3LCountSlot {
  kT3LNodes, kT3LBeams, kT3LSupports, kT3LConnections, kT3LSections, kT3LMaterials,
  kT3LStaticCases, kT3LCarried88, kT3LBeamMasses, kT3LNodeMasses, kT3LBeamLoads,
  kT3LNodeLoads, kT3LCarried108, kT3LSlots
};

struct T3LLayout {
  bool extended = true;
  std::string text1, text2, text3;          // up to 12 characters each
  uint8_t flagBits = 0;                     // byte 39 besides bit 7
  uint8_t carriedSeed = 0x40;               // pattern of the carried header bytes
  int32_t carried88 = 0, carried108 = 0;
  Bytes dyna;                               // 178 bytes; empty: a pattern
  std::vector<Bytes> nodes, beams, physBeams, supports, connections, sections, materials,
      staticCases, beamLoads, nodeLoads, beamMasses, nodeMasses, extra;
  // Header claims that differ from the records written (by slot).
  std::array<std::optional<int64_t>, kT3LSlots> claim{};
  std::optional<uint16_t> claimPhysBeams;
};

// Records; the bytes the library does not interpret get a pattern from seed.
Bytes T3LNode(uint8_t seed);
Bytes T3LBeam(uint16_t start, uint16_t end, uint16_t section, uint16_t material, uint8_t seed = 1);
Bytes T3LPhysBeam(uint16_t first, uint16_t second, uint8_t seed = 2);
Bytes T3LSupport(uint16_t node, uint8_t seed = 3);
Bytes T3LRecord64(uint8_t seed);
Bytes T3LSection(const std::string& name, uint8_t seed = 4);
Bytes T3LStaticCase(uint16_t selfWeightCount, uint8_t seed = 5);
Bytes T3LExtra(uint8_t a, uint8_t b, float value);

// Where each block of a built file starts (end = the file size).
struct T3LOffsets {
  size_t dyna, nodes, beams, physBeams, supports, connections, sections, materials, staticCases,
      beamLoads, nodeLoads, beamMasses, nodeMasses, extra, end;
};

ByteWriter BuildT3L(const T3LLayout& model, T3LOffsets* offsets = nullptr);

// A small model with records in every table and extra data.
T3LLayout SampleT3L(bool extended = true);

}  // namespace telio_test
