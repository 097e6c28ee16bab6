// Builds the files of a member-design job (MDD or MDL, MLC, CNS, LTB, DB0,
// TGD) byte by byte from their layout tables, for tests, seeds and
// benchmarks. Independent of the library's reader.
//
//   MDD: u32 magic, 432-byte job block, 15-byte open block, 40-byte
//        extension (version >= 3), member records (37 or 137 bytes), i16
//        position beams, 12-byte points.
//   MLC: i16 A, i16 B, 21-byte names from 4, i16 counts from 2692, blocks
//        of member m and load case c at 3092 + 16800 (m-1) + 840 (c-1): seven
//        runs of n f32.
//   CNS: 84 bytes per member (two sets of 21 i16) from 0; from capacity x 84
//        blocks of 20 x 83-byte records, member by member, set 0 then 1.
//   LTB: 54-byte record in each 84-byte slot; from capacity x 84 a 3320-byte
//        block per member holding up to 20 x 34-byte records.
//   DB0: 32-byte header, then i16 code, i16 i, j, k, f32 value.
//   TGD: 8-byte header, 4150-byte records.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "ByteWriter.h"
#include "TOPFixture.h"

namespace telio_test {

struct MddMember {
  std::string name;
  float length = 0;
  int8_t family = 0;
  uint8_t profile = 0;
  int8_t grade = 0;
  int16_t beams = 0;
  int8_t hasLtb = 0;
  float angle = 0;
  int32_t sectionId = 0;
};

struct MddLayout {
  uint32_t magic = 0xD192A038u;
  uint16_t declaredSize = 432;
  uint16_t kind = 1;
  int16_t type = 12;
  int16_t capacity = 0;
  std::string jobName, folder, engineer, date, project;
  int32_t defaultCapacity = 0;
  uint8_t linked = 0;
  int16_t memberCount = INT16_MIN;  // INT16_MIN: members.size()
  int16_t version = 3;
  std::vector<MddMember> members;
  std::vector<int16_t> positions;
  std::vector<std::array<float, 3>> points;
};

// The carried bytes the builders write, so tests can see them kept.
uint8_t MddCarried(size_t at);

ByteWriter MddJobBlock(const MddLayout& s);
ByteWriter MddMemberRecord(const MddMember& m, size_t size);
ByteWriter BuildMdd(const MddLayout& s);

struct MlcLayout {
  int16_t a = 0, b = 0;
  std::vector<std::string> names;  // OEM bytes, cut at 21
  std::vector<int16_t> counts;     // written for the first b members
  int blockCases = -1;             // load cases with blocks, -1: a
  bool blocks = true;              // false: a linked job's header only
};

// Value p (0-based) of kind k in the block of member m and load case c
// (both 1-based): exact in a float for m below 100.
float MlcValue(int m, int c, int kind, int p);
ByteWriter BuildMlc(const MlcLayout& s);

// One 83-byte restraint record: kind, eta, factor, byte 13, the other
// bytes a pattern.
ByteWriter CnsRecord(uint8_t kind, float eta, float factor, uint8_t byte13);
struct CnsMember {
  std::array<std::vector<int16_t>, 2> words;           // up to 21 each, zero-padded
  std::array<std::vector<ByteWriter>, 2> records;      // up to 20 each, zero-padded
};
ByteWriter BuildCns(int capacity, const std::vector<CnsMember>& members);

struct LtbPoint {
  int8_t kType = 0, kwType = 0;
  float k = 0, kw = 0;
};
struct LtbMember {
  std::vector<int16_t> nodes;      // the count is their number
  std::vector<LtbPoint> points;    // up to 20
};
// lastRecords: records in the last member's block (-1: all its points
// and the block's padding).
ByteWriter BuildLtb(int capacity, const std::vector<LtbMember>& members, int lastRecords = -1);

struct Db0Record {
  int16_t code, i, j, k;
  float value;
};
ByteWriter BuildDb0(const std::vector<Db0Record>& records);

struct TgdRecord {
  int16_t type = 0;        // 0
  float f2 = 0;            // 2
  int8_t b6 = 0;           // 6
  float f7 = 0;            // 7
  float f11 = 0;           // 11: truncated to an integer on reading
  int16_t count = 0;       // 15
  float shortValue = 0;    // 17 + 4k: shortValue * k
  int16_t shortWord = 0;   // 97 + 2k: shortWord + k
  float longValue = 0;     // 137 + 4k: longValue * k
  int8_t longByte = 0;     // 3341 + k: longByte
  std::string tail;        // 4142: 8 bytes
};
ByteWriter BuildTgd(const std::vector<TgdRecord>& records);

// A whole job set: whichever parts are present are written beside the
// MDD (or MDL) path, with its extension replaced.
struct MddJobFiles {
  MddLayout mdd;
  bool hasMlc = true, hasCns = true, hasLtb = true, hasDb0 = true, hasTop = true;
  MlcLayout mlc;
  std::vector<CnsMember> cns;
  std::vector<LtbMember> ltb;
  std::vector<Db0Record> db0;
  TopModelLayout top;
};
void WriteMddJob(const MddJobFiles& job, const std::string& mddPath);

// An unlinked job of three members (beams 1, 2 and 3; capacity 4) with its
// own topology of four nodes, MLC forces of two load cases (positions 2, 4
// and 6), restraints, buckling points and DB0 tables.
MddJobFiles SmallUnlinkedJob();

// A linked job named `name` whose folder text is `folder`, over the
// analysis job written by WriteLinkedAnalysis (its beams 1 to 3), with a
// header-only MLC of the analysis load-case names.
MddJobFiles SmallLinkedJob(const std::string& name, const std::string& folder);
// An analysis job folder/name.* of 4 nodes, 3 beams, 2 static load cases
// and 1 combination: TOP, JOB (static run status `staticRun`), NAM, CMI,
// ACE, RES and OUC.
void WriteLinkedAnalysis(const std::string& folder, const std::string& name, int16_t staticRun = 1);

}  // namespace telio_test
