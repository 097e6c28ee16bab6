#include "T3LFixture.h"

namespace telio_test {

namespace {

Bytes Pattern(size_t n, uint8_t seed) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(seed * 31 + i * 7 + 1);
  return b;
}

void PutPattern(ByteWriter& w, size_t n, uint8_t seed) {
  Bytes b = Pattern(n, seed);
  w.bytes(b.data(), b.size());
}

Bytes Done(const ByteWriter& w) { return w.data(); }

int64_t Claim(const T3LLayout& s, int slot, size_t actual) {
  return s.claim[slot] ? *s.claim[slot] : static_cast<int64_t>(actual);
}

void Table(ByteWriter& w, const std::vector<Bytes>& recs, size_t* at) {
  *at = w.size();
  for (const Bytes& r : recs) w.bytes(r.data(), r.size());
}

}  // namespace

Bytes T3LNode(uint8_t seed) { return Pattern(32, seed); }

Bytes T3LBeam(uint16_t start, uint16_t end, uint16_t section, uint16_t material, uint8_t seed) {
  ByteWriter w;
  PutPattern(w, 10, seed);
  w.u16(start).u16(end).u16(section).u16(material);  // @10 @12 @14 @16
  PutPattern(w, 14, seed);
  return Done(w);
}

Bytes T3LPhysBeam(uint16_t first, uint16_t second, uint8_t seed) {
  ByteWriter w;
  w.u16(first).u16(second);  // @0 @2
  PutPattern(w, 124, seed);
  return Done(w);
}

Bytes T3LSupport(uint16_t node, uint8_t seed) {
  ByteWriter w;
  PutPattern(w, 24, seed);
  w.u16(node);  // @24
  PutPattern(w, 38, seed);
  return Done(w);
}

Bytes T3LRecord64(uint8_t seed) { return Pattern(64, seed); }

Bytes T3LSection(const std::string& name, uint8_t seed) {
  ByteWriter w;
  w.text(name, name.size() + 1);  // NUL-terminated name @0
  PutPattern(w, 96 - w.size(), seed);
  return Done(w);
}

Bytes T3LStaticCase(uint16_t selfWeightCount, uint8_t seed) {
  ByteWriter w;
  PutPattern(w, 30, seed);
  w.u16(selfWeightCount);  // @30
  return Done(w);
}

Bytes T3LExtra(uint8_t a, uint8_t b, float value) {
  ByteWriter w;
  w.u8(a).u8(b).f32(value).zeros(8);
  return Done(w);
}

ByteWriter BuildT3L(const T3LLayout& s, T3LOffsets* offsets) {
  T3LOffsets o{};
  ByteWriter w;
  const size_t counts[kT3LSlots] = {
      s.nodes.size(),     s.beams.size(),      s.supports.size(),   s.connections.size(),
      s.sections.size(),  s.materials.size(),  s.staticCases.size(), 0,
      s.beamMasses.size(), s.nodeMasses.size(), s.beamLoads.size(),  s.nodeLoads.size(), 0};
  w.text(s.text1, 12);                  // @0 text field 1
  PutPattern(w, 8, s.carriedSeed);      // @12 carried
  w.text(s.text2, 12);                  // @20 text field 2
  PutPattern(w, 5, s.carriedSeed);      // @32 carried
  w.u16(s.claimPhysBeams ? *s.claimPhysBeams : static_cast<uint16_t>(s.physBeams.size()));  // @37
  w.u8(static_cast<uint8_t>((s.flagBits & 0x7F) | (s.extended ? 0x80 : 0)));             // @39
  w.text(s.text3, 12);                  // @40 text field 3
  PutPattern(w, 8, s.carriedSeed);      // @52 carried
  for (int slot = 0; slot < kT3LSlots; ++slot) {  // @60 counts
    int64_t v = Claim(s, slot, counts[slot]);
    if (slot == kT3LCarried88 && !s.claim[slot]) v = s.carried88;
    if (slot == kT3LCarried108 && !s.claim[slot]) v = s.carried108;
    if (s.extended) {
      w.i32(static_cast<int32_t>(v));
    } else {
      w.u16(static_cast<uint16_t>(v));
    }
  }
  o.dyna = w.size();
  if (s.dyna.empty()) {
    PutPattern(w, 178, 9);
  } else {
    w.bytes(s.dyna.data(), s.dyna.size());
  }
  Table(w, s.nodes, &o.nodes);
  Table(w, s.beams, &o.beams);
  Table(w, s.physBeams, &o.physBeams);
  Table(w, s.supports, &o.supports);
  Table(w, s.connections, &o.connections);
  Table(w, s.sections, &o.sections);
  Table(w, s.materials, &o.materials);
  Table(w, s.staticCases, &o.staticCases);
  Table(w, s.beamLoads, &o.beamLoads);
  Table(w, s.nodeLoads, &o.nodeLoads);
  Table(w, s.beamMasses, &o.beamMasses);
  Table(w, s.nodeMasses, &o.nodeMasses);
  Table(w, s.extra, &o.extra);
  o.end = w.size();
  if (offsets) *offsets = o;
  return w;
}

T3LLayout SampleT3L(bool extended) {
  T3LLayout s;
  s.extended = extended;
  s.text1 = "BRIDGE";
  s.text2 = "TWELVE-CHARS";
  s.text3 = "UNITS kN m";
  s.carried88 = 77;
  s.carried108 = 99;
  for (uint8_t i = 0; i < 4; ++i) s.nodes.push_back(T3LNode(static_cast<uint8_t>(10 + i)));
  s.beams = {T3LBeam(1, 2, 1, 1, 20), T3LBeam(2, 3, 2, 0, 21), T3LBeam(3, 4, 2, 1, 22)};
  s.physBeams = {T3LPhysBeam(1, 4, 30)};
  s.supports = {T3LSupport(1, 40), T3LSupport(4, 41)};
  s.connections = {T3LRecord64(50)};
  s.sections = {T3LSection("IPE 300", 60), T3LSection("HEA 200", 61)};
  s.materials = {T3LRecord64(70)};
  s.staticCases = {T3LStaticCase(0, 80), T3LStaticCase(0, 81)};
  s.beamLoads = {T3LRecord64(90), T3LRecord64(91)};
  s.nodeLoads = {T3LRecord64(100)};
  s.beamMasses = {T3LRecord64(110)};
  s.nodeMasses = {T3LRecord64(120), T3LRecord64(121)};
  s.extra = {T3LExtra(1, 2, 9.81f), T3LExtra(3, 4, -1.5f)};
  return s;
}

}  // namespace telio_test
