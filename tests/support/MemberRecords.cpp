#include "support/MemberRecords.h"

#include <cstring>

namespace telio_test {

void PutMDDNode(ByteWriter& w, const MDDNodeFields& n) {
  w.u32(1);
  PutNode(w, n.node);
  PutValueLst(w, n.values, 1);
}

void PutMDDBeam(ByteWriter& w, const MDDBeamFields& b) {
  w.u32(1).u32(1);
  PutElement(w, b.element);
  PutListHeader(w, static_cast<int32_t>(b.nodes.size()), 7);
  for (const MDDNodeFields& n : b.nodes) PutMDDNode(w, n);
}

ValueSetFields Forces(uint32_t id, const std::string& name, const double (&f)[6]) {
  return ValueSet(id, name, 0, {{1, f[0]}, {2, f[1]}, {3, f[2]}, {4, f[3]}, {5, f[4]}, {6, f[5]}});
}

void PutComposite(ByteWriter& w, const CompositeFields& c) {
  w.u32(1);
  PutMaterial(w, c.concrete, "", c.concreteValue);
  PutMaterial(w, c.rebar, "", c.rebarValue);
  PutStuds(w, c.studs, "", c.studsValue, c.height, c.diameter, c.distance);
  w.f64(c.c4).f64(c.lcr);
}

void PutMDDMember(ByteWriter& w, const MemberFields& m, uint32_t version) {
  w.u32(version);
  w.u32(1).u32(1);  // the member record, then its beam record
  PutElement(w, m.element);
  PutListHeader(w, static_cast<int32_t>(m.nodes.size()), 7);
  for (const MDDNodeFields& n : m.nodes) PutMDDNode(w, n);
  PutListHeader(w, static_cast<int32_t>(m.beams.size()), 0x87);
  for (const MDDBeamFields& b : m.beams) PutMDDBeam(w, b);
  if (version == 2) w.i32(m.droppedWord);
  if (version >= 3) w.i32(m.hasLTB);
  if (version >= 4) w.i32(m.iyIz).i32(m.kcIyIz);
  PutSectionData(w, m.section);
  PutGrade(w, m.gradeElement, m.grade, m.gradeProfile);
  PutConstraintLst(w, m.xy, m.swayXY, m.xySpans);
  PutConstraintLst(w, m.xz, m.swayXZ, m.xzSpans);
  PutLTBLst(w, m.ltb, m.ltbSpans);
  if (version >= 3) PutTegida(w, m.tegidaFlag, m.tegida);
  if (version >= 5) PutComposite(w, m.composite);
}

std::vector<uint8_t> TegidaBlock(int32_t count, double length, int32_t type) {
  ByteWriter w;
  w.zeros(12).i32(type).zeros(12).i32(count).f64(length).zeros(9892 - 40);
  return w.data();
}

void PutResult(ByteWriter& w, const ResultFields& r) {
  w.u8(r.code);
  for (int k = 1; k <= 8; ++k) w.f32(r.base + static_cast<float>(k));
  w.f32(r.ratio).u8(r.failed).i16(r.loadCase).i16(0).i16(r.member).u8(r.computed);
  w.zeros(9).i16(r.selector).zeros(32);
  for (int k = 1; k <= 4; ++k) w.f32(r.base + 10.0f + static_cast<float>(k));
}

MemberFields SampleMember() {
  const double dead[6] = {-12.5, 1.25, 0.0, 0.0, 30.75, -2.0}, wind[6] = {3.0, -0.5, 4.25, 0.125, -8.0, 1.5};
  auto node = [&](uint32_t id, const char* name, double x, bool forces) {
    MDDNodeFields n{{{id, name, 0, 0}, {x, 0, 0}}, {}};
    if (forces) n.values = {Forces(1, "Dead", dead), Forces(2, "Wind", wind)};
    return n;
  };
  MemberFields m;
  m.element = {7, "M1", 0, 0};
  m.nodes = {node(1, "N1", 0, false), node(2, "N2", 4, false), node(3, "N3", 10, false)};
  m.beams = {{{11, "B1", 0, 0}, {node(1, "N1", 0, true), node(2, "N2", 4, true)}},
             {{12, "B2", 0, 0}, {node(2, "N2", 4, true), node(3, "N3", 10, true)}}};
  m.hasLTB = 1;
  m.iyIz = 1;
  m.kcIyIz = 2;
  m.section = {{3, "IPE 200", 0, 0}, 200, 11, 0, 0.5};
  m.gradeElement = {0, "S235", 0, 0};
  m.grade = 2;
  const std::vector<EtaFields> etas = {SampleEta("E1"), SampleEta("E2"), SampleEta("E3")};
  m.xy = {Constraint("R1", 0.0, 2, 0, 1.0, etas), Constraint("R2", 10.0, 1, 0, 0.0, etas)};
  m.xySpans = {Span("S1", 0.0, 10.0, 10.0, 7.0, 0.7, {Forces(1, "Dead", dead)})};
  m.ltb = {LTB(0.0, 1, 2), LTB(10.0, 2, 2)};
  m.ltbSpans = {Span("L1", 0.0, 10.0, 10.0, 0.7, 1.0)};
  m.tegida = TegidaBlock(1, 10.0, 3);
  m.composite = {{0, "ConcreteMaterial", 0, 0}, {0, "RebarMaterial", 0, 0}, {0, "StudsMaterial", 0, 0},
                 20.0, 420.0, 500.0, 100.0, 19.0, 100.0, 15.0, 0.0};
  return m;
}

std::vector<std::pair<std::string, ByteWriter>> SampleMemberRecords() {
  std::vector<std::pair<std::string, ByteWriter>> out;
  auto add = [&out](const std::string& name, uint8_t kind) -> ByteWriter& {
    out.emplace_back(name, ByteWriter());
    return out.back().second.u8(kind);
  };
  const MemberFields m = SampleMember();
  for (uint32_t v = 1; v <= 5; ++v) PutMDDMember(add("member_v" + std::to_string(v), static_cast<uint8_t>(v % 5)), m, v);
  PutMDDBeam(add("beam", 5), m.beams[0]);
  PutMDDNode(add("node", 6), m.beams[0].nodes[0]);
  PutValueSet(add("forces", 7), m.beams[0].nodes[0].values[0], 1);
  ByteWriter member;
  PutMDDMember(member, m, 5);
  ByteWriter& run = add("design_run", 8);
  run.u32(static_cast<uint32_t>(member.size())).append(member);
  PutResult(run, {3, 0.0f, 0.5f, 0, 1, 1, 1, 0});
  PutResult(run, {4, 10.0f, 1.0f, 0, 2, 1, 1, 0});
  PutResult(run, {5, 20.0f, 0.25f, 0, 1, 1, 0, 0});
  return out;
}

}  // namespace telio_test
