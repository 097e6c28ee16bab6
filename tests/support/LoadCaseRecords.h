// Writers of the load-case, value-set, restraint and buckling records, byte
// by byte from their layouts, for tests and seed corpora.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/ByteWriter.h"
#include "support/DataRecords.h"
#include "support/ObjectRecords.h"

namespace telio_test {

// Load-case record, version 1: version word, element record.
void PutLoadCase(ByteWriter& w, const ElementFields& e);
// Load-case list record: version 1, count, the load-case records.
void PutLoadCaseLst(ByteWriter& w, const std::vector<ElementFields>& cases);

// A value set: its load case and (key, value) pairs in record order.
struct ValueSetFields {
  ElementFields element;
  std::vector<std::pair<int32_t, double>> values;
};
// A value set of load case name (ID id, flags) holding values.
ValueSetFields ValueSet(uint32_t id, const std::string& name, uint32_t flags,
                        const std::vector<std::pair<int32_t, double>>& values);
// Value-set record, version 1: version word, load-case record, count,
// pairs. With wrapper != 0 the record of a derived value set: that version
// word first.
void PutValueSet(ByteWriter& w, const ValueSetFields& v, uint32_t wrapper = 0);
// Value-list record: version 1, then the load-case list framing (version
// 1, count) of value-set records (wrapped as above).
void PutValueLst(ByteWriter& w, const std::vector<ValueSetFields>& sets, uint32_t wrapper = 0);

// Buckling restraint record, version 1: element, position, KType, KwType.
struct LTBFields {
  ElementFields element;
  double position;
  int32_t kType, kwType;
};
void PutLTB(ByteWriter& w, const LTBFields& l);
// An unnamed restraint.
LTBFields LTB(double position, int32_t kType, int32_t kwType);

// Span record of both restraint lists: version (1 or 2), element, left and
// right positions, length, the two numbers (buckling length and factor, or
// K and KW), and for version 2 the value list (value sets wrapped in
// version 1).
struct SpanFields {
  ElementFields element;
  double left, right, length, first, second;
  std::vector<ValueSetFields> values;
};
void PutSpan(ByteWriter& w, const SpanFields& s, uint32_t version = 2);
SpanFields Span(const std::string& name, double left, double right, double length, double first, double second,
                const std::vector<ValueSetFields>& values = {});

// Buckling list record, version 1: the distance list of restraints, the
// span count, the spans.
void PutLTBLst(ByteWriter& w, const std::vector<LTBFields>& restraints, const std::vector<SpanFields>& spans);

// Restraint record, version 2 (with the three eta records) or 1.
struct ConstraintFields {
  ElementFields element;
  double position;
  int32_t type, sway;
  double eta;
  std::vector<EtaFields> etas;  // three for version 2
};
void PutConstraint(ByteWriter& w, const ConstraintFields& c, uint32_t version = 2);
ConstraintFields Constraint(const std::string& name, double position, int32_t type, int32_t sway, double eta,
                            const std::vector<EtaFields>& etas);
// Restraint list record, version 1: the distance list of restraints
// (version 2), the sway member word, the span count, the spans.
void PutConstraintLst(ByteWriter& w, const std::vector<ConstraintFields>& restraints, int32_t sway,
                      const std::vector<SpanFields>& spans);

// A default eta record with the given name.
EtaFields SampleEta(const std::string& name);

// One sample record of each kind the load-case fuzz target reads, its
// first byte naming the kind: 0 load case, 1 value set, 2 load-case list,
// 3 value list, 4 buckling restraint, 5 buckling span, 6 buckling list (on
// a line of length 10), 7 restraint, 8 restraint span, 9 restraint list
// (on a line of length 10), 10 buckling value set, 11 restraint value set.
// Named for the seed corpus.
std::vector<std::pair<std::string, ByteWriter>> SampleLoadCaseRecords();

}  // namespace telio_test
