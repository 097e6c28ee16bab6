#include "support/DataRecords.h"

namespace telio_test {

void PutSectionData(ByteWriter& w, const SectionFields& s, uint32_t version) {
  w.u32(version);
  PutElement(w, s.element);
  w.u32(s.section).u32(s.family);
  if (version >= 2) w.u32(s.profile);
  w.f64(s.bannet);
}

void PutSectionElement(ByteWriter& w, const SectionFields& s, const double (&v)[25], uint32_t version) {
  // Indexes into v (the version 5 order) of each older layout.
  static const int kV3[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 21, 22, 23};
  static const int kV2[] = {0, 1, 2, 4, 6, 10, 14, 15, 16, 21, 22, 23};
  static const int kV1[] = {0, 2, 4, 6, 10, 14, 15, 16, 21, 22, 23};
  w.u32(version);
  PutSectionData(w, s);
  switch (version) {
    case 5:
    case 4:
      for (int i = 0; i < (version == 5 ? 25 : 24); ++i) w.f64(v[i]);
      break;
    case 3:
      for (int i : kV3) w.f64(v[i]);
      break;
    case 2:
      for (int i : kV2) w.f64(v[i]);
      break;
    default:
      for (int i : kV1) w.f64(v[i]);
      w.u32(s.section).u8(static_cast<uint8_t>(s.profile));
      break;
  }
}

void PutSectionLst(ByteWriter& w, const std::vector<SectionFields>& sections) {
  w.u32(1).i32(static_cast<int32_t>(sections.size()));
  for (const SectionFields& s : sections) PutSectionData(w, s);
}

void PutGrade(ByteWriter& w, const ElementFields& e, uint32_t grade, uint32_t profile, uint32_t version) {
  w.u32(version);
  PutElement(w, e);
  w.u32(grade);
  if (version >= 2) w.u32(profile);
}

void PutMaterial(ByteWriter& w, const ElementFields& e, const std::string& internalName, double strength) {
  w.u32(1);
  PutElement(w, e);
  w.i32(static_cast<int32_t>(internalName.size())).bytes(internalName.data(), internalName.size());
  w.f64(strength);
}

void PutStuds(ByteWriter& w, const ElementFields& e, const std::string& internalName, double strength,
              double height, double diameter, double distance) {
  w.u32(1);
  PutMaterial(w, e, internalName, strength);
  w.f64(height).f64(diameter).f64(distance);
}

void PutTegida(ByteWriter& w, int32_t flag, const std::vector<uint8_t>& block) {
  w.u32(1).i32(flag).bytes(block.data(), block.size());
  if (block.size() < 9892) w.zeros(9892 - block.size());
}

void PutEta(ByteWriter& w, const EtaFields& e) {
  w.u32(1);
  PutElement(w, e.element);
  w.i32(e.mode).i32(e.hasM11).f64(e.factorK11);
  PutSectionData(w, e.section);
  w.i32(e.iyIz).f64(e.length).f64(e.theta).f64(e.nsd).i32(e.type);
}

std::vector<std::pair<std::string, ByteWriter>> SampleDataRecords() {
  std::vector<std::pair<std::string, ByteWriter>> out;
  auto add = [&out](const char* name, uint8_t kind) -> ByteWriter& {
    out.emplace_back(name, ByteWriter());
    return out.back().second.u8(kind);
  };
  const SectionFields ipe{{4, "IPE300", 0, 0}, 12011, 12, 11, 1.0};
  double v[25];
  for (int i = 0; i < 25; ++i) v[i] = 1.5 * (i + 1);
  PutSectionData(add("section_data_v2", 0), ipe);
  PutSectionData(add("section_data_v1", 0), ipe, 1);
  for (uint32_t version = 1; version <= 5; ++version) {
    const std::string name = "section_element_v" + std::to_string(version);
    PutSectionElement(add(name.c_str(), 1), ipe, v, version);
  }
  PutGrade(add("grade_v2", 2), {1, "S355", 0, 0}, 3, 7);
  PutGrade(add("grade_v1", 2), {1, "S275", 0, 0}, 2, 0, 1);
  PutMaterial(add("material", 3), {2, "C25/30", 0, 1}, "ConcreteMaterial", 25.0);
  PutStuds(add("studs", 4), {3, "Studs", 0, 0}, "StudsMaterial", 500.0, 100.0, 19.0, 150.0);
  ByteWriter& composite = add("composite", 5);
  composite.u32(1);
  PutMaterial(composite, {0, "C30/37", 0, 0}, "ConcreteMaterial", 30.0);
  PutMaterial(composite, {0, "B500", 0, 0}, "RebarMaterial", 500.0);
  PutStuds(composite, {0, "SD19", 0, 0}, "StudsMaterial", 450.0, 100.0, 19.0, 200.0);
  composite.f64(15.0).f64(6000.0);
  std::vector<uint8_t> block(9892, 0);
  block[28] = 1;
  block[12] = 2;
  PutTegida(add("purlin", 6), 1, block);
  PutEta(add("eta", 7), {{5, "eta1", 0, 0}, 0, 1, 0.9, ipe, 2, 4500.0, 0.3, -120.0, 3});
  PutSectionLst(add("section_list", 8), {ipe, {{5, "HEA200", 0, 0}, 13006, 13, 6, 1.0}, ipe});
  return out;
}

}  // namespace telio_test
