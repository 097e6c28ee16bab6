// Writers of the member-design records (nodes with their forces, beams,
// members of every version, groups) and the 104-byte result records, byte
// by byte from their layouts, for tests and seed corpora.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/ByteWriter.h"
#include "support/DataRecords.h"
#include "support/LoadCaseRecords.h"
#include "support/ObjectRecords.h"

namespace telio_test {

// A node of a design beam or member: identity, position and its value
// sets (each a force set: the version 1 word, then the value-set record).
struct MDDNodeFields {
  NodeFields node;
  std::vector<ValueSetFields> values;
};
// Node record: version 1, the node record, the value list.
void PutMDDNode(ByteWriter& w, const MDDNodeFields& n);

struct MDDBeamFields {
  ElementFields element;
  std::vector<MDDNodeFields> nodes;
};
// Beam record: version 1, then the beam record (version 1, element, point
// list with flags 7 of node records).
void PutMDDBeam(ByteWriter& w, const MDDBeamFields& b);

// The forces of load case name (ID id) as a value set: keys 1 to 6.
ValueSetFields Forces(uint32_t id, const std::string& name, const double (&f)[6]);

struct CompositeFields {
  ElementFields concrete, rebar, studs;
  double concreteValue, rebarValue, studsValue, height, diameter, distance, c4, lcr;
};
// Composite data record, version 1: two material records, the studs
// record, C4 factor, critical length.
void PutComposite(ByteWriter& w, const CompositeFields& c);

struct MemberFields {
  ElementFields element;
  std::vector<MDDNodeFields> nodes;  // the member's own internal points
  std::vector<MDDBeamFields> beams;
  int32_t hasLTB = 0, iyIz = 0, kcIyIz = 0;
  int32_t droppedWord = 0;  // version 2 only
  SectionFields section{{0, "", 0, 0}, 0, 0, 0, 0.0};
  ElementFields gradeElement{0, "", 0, 0};
  uint32_t grade = 1, gradeProfile = 0;
  std::vector<ConstraintFields> xy, xz;
  int32_t swayXY = 0, swayXZ = 0;
  std::vector<SpanFields> xySpans, xzSpans, ltbSpans;
  std::vector<LTBFields> ltb;
  int32_t tegidaFlag = 0;
  std::vector<uint8_t> tegida;  // 9892 bytes (zero-filled when shorter)
  CompositeFields composite{{0, "", 0, 0}, {0, "", 0, 0}, {0, "", 0, 0}, 0, 0, 0, 0, 0, 0, 0, 0};
};
// Member record of the version (1 to 5): version word, the member record
// (version 1, the beam record of its own nodes, the beam list with flags
// 0x87), then the fields that version holds.
void PutMDDMember(ByteWriter& w, const MemberFields& m, uint32_t version = 5);

// A purlin data block with the count word, length and type word set.
std::vector<uint8_t> TegidaBlock(int32_t count, double length, int32_t type);

// A result record: check code, values 1 to 8 (value k = base + k), ratio,
// failure flag, load case, member, computed flag, selector, further values
// 1 to 4 (base + 10 + k).
struct ResultFields {
  uint8_t code;
  float base, ratio;
  uint8_t failed;
  int16_t loadCase, member;
  uint8_t computed;
  int16_t selector;
};
void PutResult(ByteWriter& w, const ResultFields& r);

// One sample input of each kind the member fuzz target reads, its first
// byte naming the kind: 0 to 4 a member record of that version (0: 5), 5 a
// beam, 6 a node, 7 a force set, 8 a design run: a member record given as
// a 4-byte length and its bytes, then 104-byte result records. Named for
// the seed corpus.
std::vector<std::pair<std::string, ByteWriter>> SampleMemberRecords();
// The sample member of that version, built from the layout tables.
MemberFields SampleMember();

}  // namespace telio_test
