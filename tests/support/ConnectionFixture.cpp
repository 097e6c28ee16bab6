#include "support/ConnectionFixture.h"

namespace telio_test {

void ArcCount(ByteWriter& w, uint32_t n) {
  if (n < 0xFFFF) {
    w.u16(static_cast<uint16_t>(n));
  } else {
    w.u16(0xFFFF).u32(n);
  }
}

void ArcString(ByteWriter& w, const std::string& s) {
  const size_t n = s.size();
  if (n < 0xFF) {
    w.u8(static_cast<uint8_t>(n));
  } else if (n < 0xFFFE) {
    w.u8(0xFF).u16(static_cast<uint16_t>(n));
  } else {
    w.u8(0xFF).u16(0xFFFF).u32(static_cast<uint32_t>(n));
  }
  w.bytes(s.data(), n);
}

void ArcElement(ByteWriter& w, const ElementMaps& e) {
  ArcCount(w, static_cast<uint32_t>(e.b.size()));
  for (const auto& kv : e.b) w.i32(kv.first).i32(kv.second);
  ArcCount(w, static_cast<uint32_t>(e.i.size()));
  for (const auto& kv : e.i) w.i32(kv.first).i32(kv.second);
  ArcCount(w, static_cast<uint32_t>(e.f.size()));
  for (const auto& kv : e.f) w.i32(kv.first).f64(kv.second);
  ArcCount(w, static_cast<uint32_t>(e.s.size()));
  for (const auto& kv : e.s) {
    w.i32(kv.first);
    ArcString(w, kv.second);
  }
}

void ArcEntry(ByteWriter& w, const ElementMaps& data, const ElementMaps& extras,
              const ElementMaps& posMaps, const Placement& pos) {
  ArcElement(w, data);
  ArcElement(w, extras);
  ArcElement(w, posMaps);
  for (int16_t v : pos.org) w.i16(v);
  for (int16_t v : pos.views) w.i16(v);
  for (double v : pos.values) w.f64(v);
}

ByteWriter ArcSamplePosList(int n, size_t textLength) {
  ByteWriter w;
  ArcCount(w, static_cast<uint32_t>(n));
  for (int k = 0; k < n; ++k) {
    ElementMaps data;
    data.b = {{41001, 39}};
    data.i = {{101, 50001 + k}, {102, 50001}, {123, -k}};
    data.f = {{510, 12.5 + k}};
    data.s = {{1001, std::string(textLength, static_cast<char>('a' + k % 26))}};
    ElementMaps extras;
    extras.f = {{900, -1.0}};
    ElementMaps posMaps;
    posMaps.i = {{103, k}};
    Placement pos = {{1, 2, 3}, {4, 2, -1}, {0.5, 1.5, 2.5, 90.0, 0.0, -45.0}};
    ArcEntry(w, data, extras, posMaps, pos);
  }
  return w;
}

std::vector<ConnectionSeed> ConnectionSeeds() {
  std::vector<ConnectionSeed> seeds;
  ByteWriter empty;
  ArcCount(empty, 0);
  seeds.push_back({"empty", empty, 0, 0});
  seeds.push_back({"three_entries", ArcSamplePosList(3, 5), 0, 3});
  seeds.push_back({"text_past_255", ArcSamplePosList(1, 300), 0, 1});

  ByteWriter cut = ArcSamplePosList(2, 5);
  cut.data().resize(cut.size() - 20);
  seeds.push_back({"cut_in_second_entry", cut, 38, 1});

  ByteWriter over;
  ArcCount(over, 1001);
  over.zeros(84 * 1001);
  seeds.push_back({"count_over_1000", over, 1392, 0});

  ByteWriter lying;
  ArcCount(lying, 2);
  ArcCount(lying, 70000);  // the first entry's B map
  lying.zeros(200);
  seeds.push_back({"map_count_past_end", lying, 38, 0});

  ByteWriter wide;
  ArcCount(wide, 1);
  wide.u16(0).u16(0).u16(0).u16(1).i32(1001).u8(0xFF).u16(0xFFFE).u8(1).u16('a');
  wide.zeros(76);
  seeds.push_back({"wide_string", wide, 1392, 0});
  return seeds;
}

}  // namespace telio_test
