// Connection element archives written byte by byte from the archive forms
// (count: u16, escaping to u32 at 0xFFFF; string: u8 length, escaping to
// u16 and then u32; a map: count, then key and value per entry), so the
// loaders are checked against the forms and not against their own writers.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/ByteWriter.h"

namespace telio_test {

void ArcCount(ByteWriter& w, uint32_t n);
void ArcString(ByteWriter& w, const std::string& s);

// The four maps of an element, each written in the order given.
struct ElementMaps {
  std::vector<std::pair<int32_t, int32_t>> b;
  std::vector<std::pair<int32_t, int32_t>> i;
  std::vector<std::pair<int32_t, double>> f;
  std::vector<std::pair<int32_t, std::string>> s;
};
void ArcElement(ByteWriter& w, const ElementMaps& e);

// A placement: origin x, y, z, front, right, top view, then dx, dy, dz and
// the three rotations.
struct Placement {
  int16_t org[3];
  int16_t views[3];
  double values[6];
};
// An entry of a positioned list: data, extras, then the positioned element.
void ArcEntry(ByteWriter& w, const ElementMaps& data, const ElementMaps& extras,
              const ElementMaps& posMaps, const Placement& pos);

// A positioned list of n entries, entry k having identifier 50001 + k, one
// value of every kind, a text of textLength bytes and a placement.
ByteWriter ArcSamplePosList(int n, size_t textLength);

// Seeds of the connection fuzz target: positioned-list archives, the code
// loading each gives and the entries it keeps.
struct ConnectionSeed {
  std::string name;
  ByteWriter bytes;
  uint32_t code;
  int kept;
};
std::vector<ConnectionSeed> ConnectionSeeds();

}  // namespace telio_test
