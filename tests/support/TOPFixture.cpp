#include "TOPFixture.h"

namespace telio_test {

bool TopHasPrs(int f) { return f == 80 || f == 81 || f == 103 || f == 104 || f == 109; }

bool TopHasKey(int f, int sub) {
  if (sub != 0) return false;
  return !(f == 0 || f == 80 || f == 81 || f == 103 || f == 104 || f == 108 || f == 109);
}

bool TopHasComposite(int f) { return f == 104 || f == 108 || f == 109; }

ByteWriter BuildTop(const TopModelLayout& m, TopBlockOffsets* offsets) {
  ByteWriter w;
  TopBlockOffsets o{};
  auto carried = [&](size_t n, uint8_t start) {
    for (size_t i = 0; i < n; ++i) w.u8(static_cast<uint8_t>(m.carriedSeed ? start + i : 0));
  };
  // Header, 128 bytes.
  carried(48, m.carriedSeed);                               // 0: carried
  w.u16(static_cast<uint16_t>(m.nodes.size()));             // 48
  w.u16(static_cast<uint16_t>(m.beams.size()));             // 50
  w.u16(static_cast<uint16_t>(m.supports.size()));          // 52
  w.u16(m.staticCases);                                     // 54
  w.u16(m.dynamicCases);                                    // 56
  w.u16(m.space ? 1 : 0);                                   // 58: 3-D flag
  carried(2, static_cast<uint8_t>(m.carriedSeed + 60));     // 60: carried
  w.u16(static_cast<uint16_t>(m.sections.size()));          // 62
  w.u16(m.modelWord);                                       // 64
  w.u16(static_cast<uint16_t>(m.physBeams.size()));         // 66
  carried(60, static_cast<uint8_t>(m.carriedSeed + 68));    // 68: carried
  o.nodes = w.size();
  for (const auto& n : m.nodes) {  // 18 bytes each
    w.i16(n.label).u16(n.carried).f32(n.x).f32(n.y).f32(n.z).i16(n.restraint);
  }
  o.beams = w.size();
  for (const auto& b : m.beams) w.u16(b.section).i16(b.label).u16(b.start).u16(b.end);  // 8
  o.supports = w.size();
  for (const auto& s : m.supports) w.u16(s.node).bytes(s.carried.data(), 12);  // 14
  o.sections = w.size();
  for (const auto& s : m.sections) w.text(s.name, 16).i16(s.family).i16(s.sub);  // 20
  o.angles = w.size();
  for (const auto& b : m.beams) w.f32(b.angle);
  o.prs = w.size();
  for (const auto& s : m.sections) {
    if (TopHasPrs(s.family)) w.bytes(s.prs.data(), 32);
  }
  o.keys = w.size();
  for (const auto& s : m.sections) {
    if (TopHasKey(s.family, s.sub)) w.u32(s.key);
  }
  o.physBeams = w.size();
  for (const auto& p : m.physBeams) {
    w.u16(p.label).i16(static_cast<int16_t>(p.beams.size())).i16(p.first).i16(p.last);
    for (uint16_t b : p.beams) w.u16(b);
  }
  o.composite = w.size();
  for (const auto& s : m.sections) {
    if (!TopHasComposite(s.family)) continue;
    for (float v : s.composite) w.f32(v);
  }
  o.end = w.size();
  if (offsets) *offsets = o;
  return w;
}

TopModelLayout SampleTopModel() {
  TopModelLayout m;
  m.space = true;
  m.staticCases = 3;
  m.dynamicCases = 2;
  m.modelWord = 0x1234;
  m.carriedSeed = 0x41;
  m.nodes = {{1, 0xBEEF, 0.f, 0.f, 0.f, 0},
             {12, 0, 5.f, 0.f, 0.f, 0},
             {3, 7, 5.f, 3.5f, 0.f, 1},
             {-4, 0, 0.f, 3.5f, -2.25f, 0}};
  m.beams = {{1, 7, 1, 2, 0.f}, {2, 8, 2, 3, 1.5f}, {3, 9, 3, 4, -0.25f},
             {4, 10, 4, 1, 0.f}, {9, 11, 1, 3, 3.25f}};
  TopSupportLayout s1;
  s1.node = 1;
  for (uint8_t i = 0; i < 12; ++i) s1.carried[i] = static_cast<uint8_t>(0x10 + i);
  TopSupportLayout s2;
  s2.node = 2;
  m.supports = {s1, s2};
  auto sec = [](const char* name, int16_t fam, int16_t sub, uint32_t key) {
    TopSectionLayout s;
    s.name = name;
    s.family = fam;
    s.sub = sub;
    s.key = key;
    for (size_t i = 0; i < 32; ++i) s.prs[i] = static_cast<uint8_t>(fam + i);
    for (size_t i = 0; i < 7; ++i) s.composite[i] = static_cast<float>(fam) + 0.5f * static_cast<float>(i);
    return s;
  };
  m.sections = {
      sec("IPE200", 12, 0, 0xA1B2C3D4),  // catalogue key
      sec("HEA100", 12, 2, 0),           // sub-number: no key
      sec("USER", 0, 0, 0),              // family 0: no key
      sec("TAPER1", 80, 0, 0),           // property block
      sec("TAPER2", 81, 0, 0),           // property block
      sec("WALL", 103, 0, 0),            // property block
      sec("COMP1", 104, 1, 0),           // property block and composite data
      sec("CORVEX8", 108, 0, 0),         // composite data only
      sec("CORVEX9", 109, 0, 0),         // property block and composite data
      sec("L50x5", 31, 0, 77),           // catalogue key
  };
  m.physBeams = {{100, 1, 3, {1, 2}}, {101, 3, 1, {3, 4, 5}}, {102, 0, 0, {}}};
  return m;
}

}  // namespace telio_test
