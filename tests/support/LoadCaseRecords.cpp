#include "support/LoadCaseRecords.h"

namespace telio_test {

void PutLoadCase(ByteWriter& w, const ElementFields& e) {
  w.u32(1);
  PutElement(w, e);
}

void PutLoadCaseLst(ByteWriter& w, const std::vector<ElementFields>& cases) {
  w.u32(1).i32(static_cast<int32_t>(cases.size()));
  for (const ElementFields& e : cases) PutLoadCase(w, e);
}

ValueSetFields ValueSet(uint32_t id, const std::string& name, uint32_t flags,
                        const std::vector<std::pair<int32_t, double>>& values) {
  ValueSetFields v;
  v.element = {id, name, 0, flags};
  v.values = values;
  return v;
}

void PutValueSet(ByteWriter& w, const ValueSetFields& v, uint32_t wrapper) {
  if (wrapper) w.u32(wrapper);
  w.u32(1);
  PutLoadCase(w, v.element);
  w.i32(static_cast<int32_t>(v.values.size()));
  for (const auto& kv : v.values) w.i32(kv.first).f64(kv.second);
}

void PutValueLst(ByteWriter& w, const std::vector<ValueSetFields>& sets, uint32_t wrapper) {
  w.u32(1).u32(1).i32(static_cast<int32_t>(sets.size()));
  for (const ValueSetFields& v : sets) PutValueSet(w, v, wrapper);
}

void PutLTB(ByteWriter& w, const LTBFields& l) {
  w.u32(1);
  PutElement(w, l.element);
  w.f64(l.position).i32(l.kType).i32(l.kwType);
}

LTBFields LTB(double position, int32_t kType, int32_t kwType) {
  LTBFields l;
  l.element = {0, "", 0, 0};
  l.position = position;
  l.kType = kType;
  l.kwType = kwType;
  return l;
}

SpanFields Span(const std::string& name, double left, double right, double length, double first, double second,
                const std::vector<ValueSetFields>& values) {
  SpanFields s;
  s.element = {0, name, 0, 0};
  s.left = left;
  s.right = right;
  s.length = length;
  s.first = first;
  s.second = second;
  s.values = values;
  return s;
}

ConstraintFields Constraint(const std::string& name, double position, int32_t type, int32_t sway, double eta,
                            const std::vector<EtaFields>& etas) {
  ConstraintFields c;
  c.element = {0, name, 0, 0};
  c.position = position;
  c.type = type;
  c.sway = sway;
  c.eta = eta;
  c.etas = etas;
  return c;
}

void PutSpan(ByteWriter& w, const SpanFields& s, uint32_t version) {
  w.u32(version);
  PutElement(w, s.element);
  w.f64(s.left).f64(s.right).f64(s.length).f64(s.first).f64(s.second);
  if (version >= 2) PutValueLst(w, s.values, 1);
}

void PutLTBLst(ByteWriter& w, const std::vector<LTBFields>& restraints, const std::vector<SpanFields>& spans) {
  w.u32(1).u32(1).i32(static_cast<int32_t>(restraints.size()));
  for (const LTBFields& l : restraints) PutLTB(w, l);
  w.i32(static_cast<int32_t>(spans.size()));
  for (const SpanFields& s : spans) PutSpan(w, s);
}

void PutConstraint(ByteWriter& w, const ConstraintFields& c, uint32_t version) {
  w.u32(version);
  PutElement(w, c.element);
  w.f64(c.position).i32(c.type).i32(c.sway).f64(c.eta);
  if (version >= 2) {
    for (const EtaFields& e : c.etas) PutEta(w, e);
  }
}

void PutConstraintLst(ByteWriter& w, const std::vector<ConstraintFields>& restraints, int32_t sway,
                      const std::vector<SpanFields>& spans) {
  w.u32(1).u32(1).i32(static_cast<int32_t>(restraints.size()));
  for (const ConstraintFields& c : restraints) PutConstraint(w, c);
  w.i32(sway).i32(static_cast<int32_t>(spans.size()));
  for (const SpanFields& s : spans) PutSpan(w, s);
}

EtaFields SampleEta(const std::string& name) {
  return {{0, name, 0, 0}, 0, 1, 0.5, {{0, "IPE200", 0, 0}, 12, 3, 0, 0.0}, 1, 2.5, 0.1, -40.0, 2};
}

std::vector<std::pair<std::string, ByteWriter>> SampleLoadCaseRecords() {
  std::vector<std::pair<std::string, ByteWriter>> out;
  auto add = [&out](const char* name, uint8_t kind) -> ByteWriter& {
    out.emplace_back(name, ByteWriter());
    return out.back().second.u8(kind);
  };
  const ValueSetFields dead = ValueSet(1, "Dead", 0, {{1, 2.5}, {0, 9.0}, {18, -1.0}});
  const ValueSetFields wind = ValueSet(2, "Wind", 1, {{3, 1.25}, {4, 0.5}, {5, 0.0}, {1, 0.0}});
  const std::vector<EtaFields> etas{SampleEta("E1"), SampleEta("E2"), SampleEta("E3")};

  PutLoadCase(add("load_case", 0), {3, "Dead", 1, 2});
  PutValueSet(add("value_set_key_zero", 1), dead);
  PutLoadCaseLst(add("load_case_list", 2), {{1, "Dead", 0, 0}, {2, "Wind", 0, 1}, {3, "dead", 0, 0}});
  PutValueLst(add("value_list", 3), {dead, wind});
  PutLTB(add("ltb", 4), LTB(4.0, 1, 2));
  PutSpan(add("ltb_span", 5), Span("S1", 0.0, 4.0, 4.0, 0.7, 1.0, {wind}));
  PutSpan(add("ltb_span_v1", 5), Span("S1", 0.0, 4.0, 4.0, 0.7, 1.0), 1);
  PutLTBLst(add("ltb_list", 6), {LTB(0.0, 1, 2), LTB(4.0, 2, 2), LTB(10.0, 2, 1)},
            {Span("", 0.0, 4.0, 4.0, 0.7, 1.0, {wind}), Span("", 4.0, 10.0, 6.0, 0.9, 0.7)});
  PutConstraint(add("constraint", 7), Constraint("C", 5.0, 3, 0, 0.4, etas));
  PutConstraint(add("constraint_v1", 7), Constraint("C", 5.0, 7, 1, 0.4, {}), 1);
  PutSpan(add("constraint_span", 8), Span("", 0.0, 5.0, 5.0, 3.5, 0.7, {dead}));
  PutConstraintLst(add("constraint_list", 9),
                   {Constraint("", 0.0, 1, 0, 0.0, etas), Constraint("", 5.0, 3, 0, 0.4, etas),
                    Constraint("", 10.0, 2, 0, 1.0, etas)},
                   0, {Span("", 0.0, 5.0, 5.0, 3.5, 0.7, {dead}), Span("", 5.0, 10.0, 5.0, 4.0, 0.8)});
  PutValueSet(add("ltb_values", 10), wind, 1);
  PutValueSet(add("constraint_values", 11), dead, 1);
  return out;
}

}  // namespace telio_test
