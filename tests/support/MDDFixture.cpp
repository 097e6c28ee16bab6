#include "MDDFixture.h"

#include <algorithm>

#include "CaseFilesFixture.h"
#include "OUCFixture.h"
#include "RESFixture.h"

namespace telio_test {

namespace {

// Copies a piece into a file image at an offset, growing it as needed.
void Place(std::vector<uint8_t>& file, size_t at, const ByteWriter& piece) {
  if (file.size() < at + piece.size()) file.resize(at + piece.size(), 0);
  std::copy(piece.data().begin(), piece.data().end(), file.begin() + static_cast<long>(at));
}

ByteWriter Image(const std::vector<uint8_t>& bytes) {
  ByteWriter w;
  w.bytes(bytes.data(), bytes.size());
  return w;
}

void Carried(ByteWriter& w, size_t n) {
  for (size_t i = 0; i < n; ++i) w.u8(MddCarried(w.size()));
}

// Zeros up to slot x capacity bytes, where the tables after the slots start.
void PadTo(ByteWriter& w, size_t slot, int capacity) {
  const size_t end = capacity > 0 ? slot * static_cast<size_t>(capacity) : 0;
  if (end > w.size()) w.zeros(end - w.size());
}

}  // namespace

uint8_t MddCarried(size_t at) { return static_cast<uint8_t>(0xA0 + at % 37); }

ByteWriter MddJobBlock(const MddLayout& s) {
  ByteWriter w;
  w.u16(s.declaredSize).u16(s.kind).i16(s.type).i16(s.capacity);  // 0, 2, 4, 6
  w.text(s.jobName, 62);                                           // 8
  w.text(s.folder, 256);                                           // 70
  w.text(s.engineer, 42);                                          // 326
  w.text(s.date, 24);                                              // 368
  w.text(s.project, 28);                                           // 392
  w.i32(s.defaultCapacity);                                        // 420
  Carried(w, 8);                                                   // 424
  return w;
}

ByteWriter MddMemberRecord(const MddMember& m, size_t size) {
  ByteWriter w;
  w.text(m.name, 9);                                                  // 0
  w.f32(m.length);                                                    // 9
  w.u8(static_cast<uint8_t>(m.family)).u8(m.profile);                // 13, 14
  w.u8(static_cast<uint8_t>(m.grade)).i16(m.beams);                  // 15, 16
  Carried(w, 2);                                                      // 18
  w.u8(static_cast<uint8_t>(m.hasLtb)).f32(m.angle);                 // 20, 21
  Carried(w, 8);                                                      // 25
  w.i32(m.sectionId);                                                 // 33
  if (size > w.size()) Carried(w, size - w.size());                   // 37: carried
  return w;
}

ByteWriter BuildMdd(const MddLayout& s) {
  ByteWriter w;
  w.u32(s.magic);
  w.append(MddJobBlock(s));
  if (s.declaredSize > 432) Carried(w, s.declaredSize - 432u);
  const int16_t count = s.memberCount != INT16_MIN ? s.memberCount : static_cast<int16_t>(s.members.size());
  w.u8(s.linked);        // open block: 0 linked
  Carried(w, 10);        // 1
  w.i16(count);          // 11
  w.i16(s.version);      // 13
  if (s.version >= 3) Carried(w, 40);
  const size_t record = s.type == 11 ? 37 : 137;
  for (const MddMember& m : s.members) w.append(MddMemberRecord(m, record));
  for (int16_t b : s.positions) w.i16(b);
  for (const auto& p : s.points) w.f32(p[0]).f32(p[1]).f32(p[2]);
  return w;
}

float MlcValue(int m, int c, int kind, int p) {
  return static_cast<float>(m * 100 + c) + static_cast<float>(kind) / 8.0f + static_cast<float>(p) / 256.0f;
}

ByteWriter BuildMlc(const MlcLayout& s) {
  std::vector<uint8_t> file;
  ByteWriter head;
  head.i16(s.a).i16(s.b);
  for (const std::string& n : s.names) head.text(n, 21);
  Place(file, 0, head);
  if (!s.blocks) return Image(file);
  ByteWriter counts;
  for (int m = 0; m < s.b; ++m) counts.i16(m < static_cast<int>(s.counts.size()) ? s.counts[m] : 0);
  Place(file, 2692, counts);
  if (file.size() < 3092) file.resize(3092, 0);
  const int cases = s.blockCases >= 0 ? s.blockCases : s.a;
  for (int m = 1; m <= s.b && m <= static_cast<int>(s.counts.size()); ++m) {
    const int n = std::max<int>(0, s.counts[m - 1]);
    for (int c = 1; c <= cases; ++c) {
      ByteWriter block;
      for (int kind = 0; kind < 7; ++kind) {
        for (int p = 0; p < n; ++p) block.f32(MlcValue(m, c, kind, p));
      }
      Place(file, 3092 + 16800 * static_cast<size_t>(m - 1) + 840 * static_cast<size_t>(c - 1), block);
    }
  }
  return Image(file);
}

ByteWriter CnsRecord(uint8_t kind, float eta, float factor, uint8_t byte13) {
  ByteWriter w;
  w.u8(kind).f32(eta).f32(factor);  // 0, 1, 5
  Carried(w, 4);                    // 9
  w.u8(byte13);                     // 13
  Carried(w, 83 - 14);              // 14
  return w;
}

ByteWriter BuildCns(int capacity, const std::vector<CnsMember>& members) {
  ByteWriter w;
  for (const CnsMember& m : members) {
    for (int set = 0; set < 2; ++set) {
      for (size_t i = 0; i < 21; ++i) w.i16(i < m.words[set].size() ? m.words[set][i] : 0);
    }
  }
  PadTo(w, 84, capacity);
  for (const CnsMember& m : members) {
    for (int set = 0; set < 2; ++set) {
      for (size_t j = 0; j < 20; ++j) {
        if (j < m.records[set].size()) {
          w.append(m.records[set][j]);
        } else {
          w.zeros(83);
        }
      }
    }
  }
  return w;
}

ByteWriter BuildLtb(int capacity, const std::vector<LtbMember>& members, int lastRecords) {
  ByteWriter w;
  for (const LtbMember& m : members) {
    w.i16(static_cast<int16_t>(m.nodes.size()));
    for (size_t j = 0; j < 26; ++j) w.i16(j < m.nodes.size() ? m.nodes[j] : 0);
    Carried(w, 30);  // the slot's unread tail
  }
  PadTo(w, 84, capacity);
  for (size_t i = 0; i < members.size(); ++i) {
    const bool last = i + 1 == members.size();
    const size_t records = last && lastRecords >= 0 ? static_cast<size_t>(lastRecords) : members[i].points.size();
    for (size_t j = 0; j < records; ++j) {
      const LtbPoint& p = j < members[i].points.size() ? members[i].points[j] : LtbPoint{};
      w.u8(static_cast<uint8_t>(p.kType)).u8(static_cast<uint8_t>(p.kwType)).f32(p.k).f32(p.kw);
      Carried(w, 24);
    }
    if (!(last && lastRecords >= 0)) w.zeros(3320 - 34 * records);
  }
  return w;
}

ByteWriter BuildDb0(const std::vector<Db0Record>& records) {
  ByteWriter w;
  Carried(w, 32);
  for (const Db0Record& r : records) w.i16(r.code).i16(r.i).i16(r.j).i16(r.k).f32(r.value);
  return w;
}

ByteWriter BuildTgd(const std::vector<TgdRecord>& records) {
  ByteWriter w;
  Carried(w, 8);
  for (const TgdRecord& r : records) {
    ByteWriter rec;
    rec.i16(r.type).f32(r.f2).u8(static_cast<uint8_t>(r.b6)).f32(r.f7).f32(r.f11).i16(r.count);  // 0..16
    rec.f32(-1.0f);                                                    // 17: entry 0, not used
    for (int k = 1; k <= 19; ++k) rec.f32(r.shortValue * static_cast<float>(k));
    rec.i16(-1);                                                       // 97: entry 0
    for (int k = 1; k <= 19; ++k) rec.i16(static_cast<int16_t>(r.shortWord + k));
    rec.f32(-1.0f);                                                    // 137: entry 0
    for (int k = 1; k <= 800; ++k) rec.f32(r.longValue * static_cast<float>(k));
    rec.u8(0xFF);                                                      // 3341: entry 0
    for (int k = 1; k <= 800; ++k) rec.u8(static_cast<uint8_t>(r.longByte));
    rec.text(r.tail, 8);                                               // 4142
    w.append(rec);
  }
  return w;
}

void WriteMddJob(const MddJobFiles& job, const std::string& mddPath) {
  BuildMdd(job.mdd).WriteTo(mddPath);
  const int capacity = job.mdd.capacity != 0 ? job.mdd.capacity
                       : job.mdd.defaultCapacity != 0 ? job.mdd.defaultCapacity
                       : job.mdd.linked ? 30 : 10;
  if (job.hasMlc) BuildMlc(job.mlc).WriteTo(SidePath(mddPath, "MLC"));
  if (job.hasCns) BuildCns(capacity, job.cns).WriteTo(SidePath(mddPath, "CNS"));
  if (job.hasLtb) {
    const int last = job.ltb.empty() ? -1 : static_cast<int>(job.ltb.back().points.size());
    BuildLtb(capacity, job.ltb, last).WriteTo(SidePath(mddPath, "LTB"));
  }
  if (job.hasDb0) BuildDb0(job.db0).WriteTo(SidePath(mddPath, "DB0"));
  if (job.hasTop) BuildTop(job.top).WriteTo(SidePath(mddPath, "TOP"));
}

namespace {

// Restraints at every node of a member of `beams` beams in set 0 and at
// its ends in set 1; buckling points at every node.
void AddRestraints(MddJobFiles& job, int beams, int firstNode) {
  CnsMember c;
  LtbMember l;
  c.words[0].push_back(static_cast<int16_t>(beams + 1));
  c.words[1] = {2, static_cast<int16_t>(firstNode), static_cast<int16_t>(firstNode + beams)};
  for (int j = 0; j <= beams; ++j) {
    c.words[0].push_back(static_cast<int16_t>(firstNode + j));
    c.records[0].push_back(CnsRecord(static_cast<uint8_t>(1 + j % 6), 0.25f * j, 1.0f + 0.5f * j, j == 1 ? 1 : 0));
    l.nodes.push_back(static_cast<int16_t>(firstNode + j));
    l.points.push_back({static_cast<int8_t>(1 + j % 2), static_cast<int8_t>(2 - j % 2), 1.0f - 0.125f * j, 0.5f});
  }
  c.records[1] = {CnsRecord(5, 0.0f, 0.75f, 0), CnsRecord(2, 1.0f, 0.7f, 0)};
  job.cns.push_back(c);
  job.ltb.push_back(l);
}

}  // namespace

MddJobFiles SmallUnlinkedJob() {
  MddJobFiles job;
  MddLayout& s = job.mdd;
  s.jobName = "Shed";
  s.engineer = "A. Engineer";
  s.date = "2024-05-01";
  s.project = "Shed frame";
  s.capacity = 4;
  s.members = {{"M1", 6.0f, 12, 3, 2, 1, 1, 0.0f, 1201},
               {"M2", 12.0f, 13, 4, 1, 2, 0, 90.0f, 1302},
               {"M3", 18.0f, 80, 5, 3, 3, 1, 0.5f, 8003}};
  s.positions = {11, 21, 22, 31, 32, 33};
  s.points = {{0, 0, 0}, {6, 0, 0}, {12, 0, 0}, {18, 0, 0}};
  job.mlc.a = 2;
  job.mlc.b = 3;
  // "Lä" and a name of 21 characters, in the OEM page (0x84: a umlaut).
  job.mlc.names = {"L\x84st 1", "ABCDEFGHIJKLMNOPQRSTU"};
  job.mlc.counts = {2, 4, 6};
  for (int m = 0; m < 3; ++m) AddRestraints(job, m + 1, 1);
  job.db0 = {{2, 1, 3, 2, 0.5f}, {1, 2, 1, 1, 1.25f}, {32, 1, 1, 3, -2.0f}, {64, 1, 1, 1, 9.0f}, {8, 3, 1, 1, 0.75f}};
  for (int n = 0; n < 4; ++n) {
    TopNodeLayout node;
    node.label = static_cast<int16_t>(n + 1);
    node.x = 6.0f * static_cast<float>(n);
    job.top.nodes.push_back(node);
  }
  job.top.beams = {{1, 1, 1, 2, 0.f}, {1, 2, 2, 3, 0.f}, {1, 3, 3, 4, 0.f}};
  job.top.sections = {{"S", 12, 0, 5, {}, {}}};
  return job;
}

MddJobFiles SmallLinkedJob(const std::string& name, const std::string& folder) {
  MddJobFiles job;
  MddLayout& s = job.mdd;
  s.jobName = name;
  s.folder = folder;
  s.linked = 1;
  s.type = 13;
  s.version = 2;
  s.members = {{"B1", 6.0f, 12, 1, 1, 1, 0, 0.0f, 5}, {"B23", 12.0f, 12, 1, 1, 2, 1, 0.0f, 5}};
  s.positions = {1, 2, 3};
  s.points = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}};
  job.mlc.a = 2;
  job.mlc.b = 2;
  job.mlc.names = {"Dead", "Live"};
  job.mlc.blocks = false;
  AddRestraints(job, 1, 1);
  AddRestraints(job, 2, 2);
  job.db0 = {{4, 1, 1, 1, 1.5f}};
  job.hasTop = false;
  return job;
}

void WriteLinkedAnalysis(const std::string& folder, const std::string& name, int16_t staticRun) {
  const std::string base = folder + "/" + name + ".";
  ResLayout r;
  r.nodes = 4;
  r.beams = 3;
  r.supports = 1;
  r.staticCases = 2;
  r.combinations = 1;
  BuildRes(r).WriteTo(base + "RES");
  WriteResSideFiles(r, base + "RES");  // TOP, JOB, CMI
  std::array<int16_t, 10> run{};
  run[1] = staticRun;
  JobHeader(2050, {0, 0, 0, 0, 0}, run).WriteTo(base + "JOB");
  NameFile({"Dead", "Live"}).WriteTo(base + "NAM");
  AceFile(AceLayout()).WriteTo(base + "ACE");
  OucLayout o;
  o.lcs = {{{1, 2}, {2, 2}, {3, 2}}, {{1, 2}, {2, 2}, {3, 2}}, {{1, 2}, {2, 2}, {3, 2}}};
  BuildOuc(o).WriteTo(base + "OUC");
}

}  // namespace telio_test
