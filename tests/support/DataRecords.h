// Writers of the design-data records (sections, grades, materials, studs,
// composite, purlin and eta data), byte by byte from their layouts, for
// tests and seed corpora.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/ByteWriter.h"
#include "support/ObjectRecords.h"

namespace telio_test {

// The section codes and net-area ratio.
struct SectionFields {
  ElementFields element;
  uint32_t section, family, profile;
  double bannet;
};

// Section data record: version 2 (section, family, profile, BAnnet) or 1
// (section, family, BAnnet).
void PutSectionData(ByteWriter& w, const SectionFields& s, uint32_t version = 2);
// Section element record of the version (1 to 5): version word, the
// version 2 section data record, then the values the version holds, taken
// from v in the order of the version 5 record (HeightFront, HeightBack,
// WidthUp, WidthDown, TFlangeUp, TFlangeDown, TWeb, CParam, HcParam,
// HeParam, RadIn, RadOut, AngleIn, AngleOut, Ey, Ez, Ax, Ay, Az, It, Iy, Iz,
// Wel, Wpl, G). Version 1 ends with section (4) and profile (1 byte).
void PutSectionElement(ByteWriter& w, const SectionFields& s, const double (&v)[25], uint32_t version = 5);
// Section list record: version 1, count, the section data records.
void PutSectionLst(ByteWriter& w, const std::vector<SectionFields>& sections);
// Grade record: version 2 (grade, profile) or 1 (grade).
void PutGrade(ByteWriter& w, const ElementFields& e, uint32_t grade, uint32_t profile, uint32_t version = 2);
// Material record, version 1: element, internal name, strength.
void PutMaterial(ByteWriter& w, const ElementFields& e, const std::string& internalName, double strength);
// Studs record, version 1: the material record, height, diameter, distance.
void PutStuds(ByteWriter& w, const ElementFields& e, const std::string& internalName, double strength,
              double height, double diameter, double distance);
// Purlin data record, version 1: flag, the 9892-byte block, whose type
// word, count word and length (f64) are at these byte offsets.
constexpr size_t kTegidaBytes = 9892;
constexpr int kTegidaTypeAt = 12, kTegidaCountAt = 28, kTegidaLengthAt = 32;
void PutTegida(ByteWriter& w, int32_t flag, const std::vector<uint8_t>& block);

struct EtaFields {
  ElementFields element;
  int32_t mode, hasM11;
  double factorK11;
  SectionFields section;
  int32_t iyIz;
  double length, theta, nsd;
  int32_t type;
};
// Eta data record, version 1.
void PutEta(ByteWriter& w, const EtaFields& e);

// One sample record of each kind the design-data fuzz target reads, its
// first byte naming the kind: 0 section data, 1 section element, 2 grade,
// 3 material, 4 studs, 5 composite data, 6 purlin data, 7 eta data, 8
// section list. Named for the seed corpus.
std::vector<std::pair<std::string, ByteWriter>> SampleDataRecords();

}  // namespace telio_test
