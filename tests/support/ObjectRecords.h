// Writers of the geometry and structural-element records, byte by byte
// from their layouts, for tests and seed corpora.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "support/ByteWriter.h"

namespace telio_test {

struct Xyz {
  double x, y, z;
};

// The identity of an element record.
struct ElementFields {
  uint32_t id;
  std::string name;
  uint32_t attr;
  uint32_t flags;
};

// A node: identity and position.
struct NodeFields {
  ElementFields element;
  Xyz at;
};

// Element record, version 2: version, ID, name (length-prefixed), attributes,
// flags.
void PutElement(ByteWriter& w, const ElementFields& e);
// Element record, version 1: the name in a 100-byte field.
void PutElementV1(ByteWriter& w, const ElementFields& e);
// Point record: x, y, z.
void PutPoint(ByteWriter& w, const Xyz& p);
// Header of a geometry list record: version 1, count, shape flags.
void PutListHeader(ByteWriter& w, int32_t count, uint32_t flags);
// Line record: its internal-point list of plain points (flags 7).
void PutLine(ByteWriter& w, const std::vector<Xyz>& points);
// Node record: version 1, element record, point record.
void PutNode(ByteWriter& w, const NodeFields& n);
// Beam record: version 1, element record, internal-point list of nodes.
void PutBeam(ByteWriter& w, const ElementFields& e, const std::vector<NodeFields>& nodes);
// Member record: version 1, its beam record (nodes), then the internal-beam
// list (flags 0x87) of beam records, each beam given by its identity and
// its two end nodes.
struct BeamFields {
  ElementFields element;
  NodeFields start, end;
};
void PutMember(ByteWriter& w, const ElementFields& e, const std::vector<NodeFields>& nodes,
               const std::vector<BeamFields>& beams);
// Distance list record: version 1, count, the distances.
void PutDistanceLst(ByteWriter& w, const std::vector<double>& distances);

// One sample record of each kind the geometry fuzz target reads, its first
// byte naming the kind: 0 point, 1 point list, 2 line, 3 line list, 4
// distance list (on a line of length 10), 5 element, 6 node, 7 beam, 8
// member. Named for the seed corpus.
std::vector<std::pair<std::string, ByteWriter>> SampleObjectRecords();
// The sample record of that name without its kind byte.
ByteWriter SampleObjectRecord(const std::string& name);

// A temporary stream holding n bytes of w (all by default) from byte skip
// on, positioned at its start; the caller closes it.
FILE* StreamOf(const ByteWriter& w, size_t n = SIZE_MAX, size_t skip = 0);

// object.Serialize(f, true) over the first n bytes of w (all by default).
template <class T>
bool LoadRecord(T& object, const ByteWriter& w, size_t n = SIZE_MAX) {
  FILE* f = StreamOf(w, n);
  bool ok = object.Serialize(f, true);
  std::fclose(f);
  return ok;
}

// The same over bytes a save gave.
template <class T>
bool LoadRecord(T& object, const std::vector<uint8_t>& bytes, size_t n = SIZE_MAX) {
  return LoadRecord(object, ByteWriter().bytes(bytes.data(), bytes.size()), n);
}

// The bytes object.Serialize(f, false) writes (none when it fails).
template <class T>
std::vector<uint8_t> SavedRecord(T& object) {
  FILE* f = std::tmpfile();
  std::vector<uint8_t> bytes;
  if (object.Serialize(f, false)) {
    bytes.resize(static_cast<size_t>(std::ftell(f)));
    std::rewind(f);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  }
  std::fclose(f);
  return bytes;
}

}  // namespace telio_test
