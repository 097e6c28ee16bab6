#include "DesignJobFixture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>

#include "CaseFilesFixture.h"
#include "OUCFixture.h"
#include "RESFixture.h"

namespace telio_test {

namespace {

// OUC tables in file order, as force kinds (0 is the position).
const int kFileKinds[7] = {0, 1, 2, 6, 3, 4, 5};

TopNodeLayout Node(int16_t label, float x, float y, float z) {
  TopNodeLayout n;
  n.label = label;
  n.x = x;
  n.y = y;
  n.z = z;
  return n;
}

TopBeamLayout Beam(int16_t label, uint16_t start, uint16_t end, uint16_t section) {
  TopBeamLayout b;
  b.label = label;
  b.start = start;
  b.end = end;
  b.section = section;
  return b;
}

double Length(const TopModelLayout& m, const TopBeamLayout& b) {
  const TopNodeLayout& s = m.nodes[b.start - 1];
  const TopNodeLayout& e = m.nodes[b.end - 1];
  const double dx = e.x - s.x, dy = e.y - s.y, dz = e.z - s.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

bool Omitted(const DesignJobLayout& s, size_t lc, int beam) {
  if (lc >= s.omitted.size()) return false;
  return std::find(s.omitted[lc].begin(), s.omitted[lc].end(), beam) != s.omitted[lc].end();
}

}  // namespace

float DesignIPValue(int lc, int beam, int kind, int ip) {
  return static_cast<float>(100 * lc + 10 * beam + kind) + 0.25f * static_cast<float>(ip);
}

ByteWriter DesignOucBlock(int lc, int beam, double length, int n) {
  ByteWriter w;
  w.i32(beam).i16(static_cast<int16_t>(n));
  for (int kind : kFileKinds) {
    for (int ip = 0; ip < n; ++ip) {
      w.f32(kind == 0 ? static_cast<float>(length * ip / (n - 1)) : DesignIPValue(lc, beam, kind, ip));
    }
  }
  return w;
}

DesignJobLayout DesignTestJob() {
  DesignJobLayout s;
  s.top.space = true;
  s.top.nodes = {Node(1, 0, 0, 0),  Node(2, 3, 0, 0),  Node(3, 6, 0, 0), Node(4, 9, 0, 0),
                 Node(5, 12, 0, 0), Node(6, 12, 0, 4), Node(7, 0, 0, 4), Node(8, 0, 0, 8)};
  s.top.beams = {Beam(1, 1, 2, 1), Beam(2, 2, 3, 1), Beam(3, 3, 4, 1), Beam(4, 5, 4, 1),
                 Beam(5, 5, 6, 1), Beam(6, 6, 7, 1), Beam(7, 1, 7, 1), Beam(8, 7, 8, 2)};
  TopSupportLayout support;
  support.node = 1;
  s.top.supports = {support};
  TopSectionLayout ipe200, ipe300;
  ipe200.name = "IPE200";
  ipe200.family = 12;
  ipe200.key = 12007;
  ipe300.name = "IPE300";
  ipe300.family = 12;
  ipe300.key = 12011;
  s.top.sections = {ipe200, ipe300};
  TopPhysBeamLayout p1, p2;
  p1.label = 1;
  p1.first = 1;
  p1.last = 3;
  p1.beams = {1, 2};
  p2.label = 2;
  p2.first = 3;
  p2.last = 5;
  p2.beams = {3, 4};
  s.top.physBeams = {p1, p2};
  s.caseNames = {"Dead", "Live"};
  s.ipCounts = {3, 2, 5, 2, 3, 2, 2, 2};
  s.omitted = {{}, {3}};
  return s;
}

std::string WriteDesignJob(const DesignJobLayout& job, const std::string& parent, const std::string& name) {
  const std::string folder = parent + "/" + name + ".AJF";
  std::filesystem::create_directories(folder);
  const std::string base = folder + "/" + name + ".";
  const int cases = static_cast<int>(job.caseNames.size());

  TopModelLayout top = job.top;
  top.staticCases = static_cast<uint16_t>(cases);
  BuildTop(top).WriteTo(base + "TOP");
  std::array<int16_t, 10> run{};
  run[1] = 1;  // a static run
  JobHeader(2050, {0, 0, 0, 0, 0}, run).WriteTo(base + "JOB");
  NameFile(job.caseNames).WriteTo(base + "NAM");
  CmiHeader(3204, 0, 0, 12, 3204).WriteTo(base + "CMI");

  ResLayout res;
  res.nodes = static_cast<int>(top.nodes.size());
  res.beams = static_cast<int>(top.beams.size());
  res.supports = static_cast<int>(top.supports.size());
  for (const TopSupportLayout& sup : top.supports) res.supportNodes.push_back(sup.node);
  res.staticCases = cases;
  BuildRes(res).WriteTo(base + "RES");

  std::vector<int32_t> table;
  int maxIP = 0;
  ByteWriter blocks;
  for (int lc = 0; lc < cases; ++lc) {
    int32_t count = 0;
    for (size_t b = 0; b < top.beams.size(); ++b) {
      const int beam = static_cast<int>(b) + 1;
      if (Omitted(job, static_cast<size_t>(lc), beam)) continue;
      const int n = job.ipCounts[b];
      maxIP = std::max(maxIP, n);
      blocks.append(DesignOucBlock(lc, beam, Length(top, top.beams[b]), n));
      ++count;
    }
    table.push_back(count);
  }
  ByteWriter ouc = OucHeader(400, cases, maxIP, table);
  ouc.append(blocks);
  ouc.WriteTo(base + "OUC");
  return folder;
}

}  // namespace telio_test
