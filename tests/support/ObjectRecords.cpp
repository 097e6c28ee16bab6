#include "support/ObjectRecords.h"

#include <algorithm>

namespace telio_test {

void PutElement(ByteWriter& w, const ElementFields& e) {
  w.u32(2).u32(e.id).i32(static_cast<int32_t>(e.name.size())).bytes(e.name.data(), e.name.size());
  w.u32(e.attr).u32(e.flags);
}

void PutElementV1(ByteWriter& w, const ElementFields& e) {
  w.u32(1).u32(e.id).text(e.name, 100).u32(e.attr).u32(e.flags);
}

void PutPoint(ByteWriter& w, const Xyz& p) { w.f64(p.x).f64(p.y).f64(p.z); }

void PutListHeader(ByteWriter& w, int32_t count, uint32_t flags) { w.u32(1).i32(count).u32(flags); }

void PutLine(ByteWriter& w, const std::vector<Xyz>& points) {
  PutListHeader(w, static_cast<int32_t>(points.size()), 7);
  for (const Xyz& p : points) PutPoint(w, p);
}

void PutNode(ByteWriter& w, const NodeFields& n) {
  w.u32(1);
  PutElement(w, n.element);
  PutPoint(w, n.at);
}

void PutBeam(ByteWriter& w, const ElementFields& e, const std::vector<NodeFields>& nodes) {
  w.u32(1);
  PutElement(w, e);
  PutListHeader(w, static_cast<int32_t>(nodes.size()), 7);
  for (const NodeFields& n : nodes) PutNode(w, n);
}

void PutMember(ByteWriter& w, const ElementFields& e, const std::vector<NodeFields>& nodes,
               const std::vector<BeamFields>& beams) {
  w.u32(1);
  PutBeam(w, e, nodes);
  PutListHeader(w, static_cast<int32_t>(beams.size()), 0x87);
  for (const BeamFields& b : beams) PutBeam(w, b.element, {b.start, b.end});
}

void PutDistanceLst(ByteWriter& w, const std::vector<double>& distances) {
  w.u32(1).i32(static_cast<int32_t>(distances.size()));
  for (double d : distances) w.f64(d);
}

std::vector<std::pair<std::string, ByteWriter>> SampleObjectRecords() {
  const NodeFields n1{{1, "N1", 0, 0}, {0, 0, 0}}, n2{{2, "N2", 0, 0}, {4, 0, 0}}, n3{{3, "N3", 0, 0}, {10, 0, 0}};
  std::vector<std::pair<std::string, ByteWriter>> out;
  auto add = [&out](const char* name, uint8_t kind) -> ByteWriter& {
    out.emplace_back(name, ByteWriter());
    return out.back().second.u8(kind);
  };
  PutPoint(add("point", 0), {1.5, -2, 3});
  ByteWriter& points = add("point_list_continuous", 1);
  PutListHeader(points, 4, 7);
  for (double x : {0.0, 10.0, 5.0, 5.0}) PutPoint(points, {x, 0, 0});
  PutLine(add("line_with_internal_points", 2), {{0, 0, 0}, {4, 0, 0}, {10, 0, 0}});
  ByteWriter& lines = add("line_list_chain", 3);
  PutListHeader(lines, 2, 0x87);
  PutLine(lines, {{0, 0, 0}, {3, 0, 0}});
  PutLine(lines, {{3, 0, 0}, {8, 0, 0}});
  PutDistanceLst(add("distance_list", 4), {7, 3, -1, 12});
  PutElement(add("element_v2", 5), {7, "B1", 0x2, 0x10});
  PutElementV1(add("element_v1", 5), {7, "OLD", 1, 2});
  PutNode(add("node", 6), n2);
  PutBeam(add("beam", 7), {5, "B5", 0, 1}, {n1, n2, n3});
  PutMember(add("member", 8), {9, "M1", 8, 0}, {n1, n2, n3},
            {{{11, "B1", 0, 8}, n1, n2}, {{12, "B2", 0, 8}, n2, n3}});
  return out;
}

FILE* StreamOf(const ByteWriter& w, size_t n, size_t skip) {
  FILE* f = std::tmpfile();
  if (skip < w.size()) std::fwrite(w.data().data() + skip, 1, std::min(n, w.size() - skip), f);
  std::rewind(f);
  return f;
}

ByteWriter SampleObjectRecord(const std::string& name) {
  ByteWriter record;
  for (const auto& sample : SampleObjectRecords()) {
    if (sample.first == name) record.bytes(sample.second.data().data() + 1, sample.second.size() - 1);
  }
  return record;
}

}  // namespace telio_test
