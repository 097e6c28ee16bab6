#include "RESFixture.h"

#include <fstream>
#include <stdexcept>

#include "CaseFilesFixture.h"
#include "TOPFixture.h"

namespace telio_test {

namespace {
constexpr size_t kRecord = 52;

std::string NodeName(const ResLayout& s, int i) {
  if (i < static_cast<int>(s.nodeNames.size())) return s.nodeNames[i];
  return "N" + std::to_string(i + 1);
}
}  // namespace

float ResDisplacement(int r, int record, int k) {
  return static_cast<float>(r * 1000 + record) + 0.125f * static_cast<float>(k + 1);
}
float ResReaction(int r, int record, int k) { return -ResDisplacement(r, record, k); }
float ResForce(int r, int beam, int end, int k) {
  return static_cast<float>(r * 100000 + beam * 2 + end) + 0.25f * static_cast<float>(k);
}

std::string SidePath(const std::string& resPath, const std::string& ext) {
  size_t dot = resPath.find_last_of('.');
  return resPath.substr(0, dot) + "." + ext;
}

ByteWriter ResHeaderRecord(uint32_t word) {
  ByteWriter w;
  w.u32(word);                                                     // 0: header word
  for (size_t i = 4; i < kRecord; ++i) w.u8(static_cast<uint8_t>(i));  // 4: not read
  return w;
}

ByteWriter ResNodeRecord(const std::string& name, const float (&values)[6]) {
  ByteWriter w;
  w.text(name, 8);                   // 0: name
  for (float v : values) w.f32(v);   // 8: six values
  w.fill(20, 0xAB);                  // 32: not read
  return w;
}

ByteWriter ResBlock(const ResLayout& s, int r) {
  ByteWriter w;
  float v[6];
  for (int i = 0; i < s.nodes; ++i) {
    for (int k = 0; k < 6; ++k) v[k] = ResDisplacement(r, i, k);
    w.append(ResNodeRecord(NodeName(s, i), v));
  }
  for (int j = 0; j < s.supports; ++j) {
    for (int k = 0; k < 6; ++k) v[k] = ResReaction(r, j, k);
    int node = j < static_cast<int>(s.supportNodes.size()) ? s.supportNodes[j] : j + 1;
    w.append(ResNodeRecord(NodeName(s, node - 1), v));
  }
  for (int b = 0; b < s.beams; ++b) {
    w.u32(0xCCCCCCCCu);                                        // 0: not read
    for (int k = 0; k < 6; ++k) w.f32(ResForce(r, b, 0, k));  // 4: first end
    for (int k = 0; k < 6; ++k) w.f32(ResForce(r, b, 1, k));  // 28: second end
  }
  w.fill(kRecord * static_cast<size_t>(s.beams), 0xEE);       // further beam records
  return w;
}

ByteWriter BuildRes(const ResLayout& s) {
  ByteWriter w = ResHeaderRecord(s.headerWord);
  for (int r = 0; r < s.loadResults(); ++r) w.append(ResBlock(s, r));
  return w;
}

void WriteRes(const ResLayout& s, const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + path);
  auto put = [&out](const ByteWriter& w) {
    out.write(reinterpret_cast<const char*>(w.data().data()), static_cast<std::streamsize>(w.size()));
  };
  put(ResHeaderRecord(s.headerWord));
  for (int r = 0; r < s.loadResults(); ++r) put(ResBlock(s, r));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WriteResSideFiles(const ResLayout& s, const std::string& resPath, uint8_t eakFlag) {
  TopModelLayout m;
  m.space = true;
  m.staticCases = static_cast<uint16_t>(s.staticCases);
  for (int i = 0; i < s.nodes; ++i) {
    TopNodeLayout n;
    n.label = static_cast<int16_t>(i + 1);
    n.x = static_cast<float>(i);
    m.nodes.push_back(n);
  }
  for (int b = 0; b < s.beams; ++b) {
    TopBeamLayout t;
    t.section = 1;
    t.label = static_cast<int16_t>(b + 1);
    t.start = static_cast<uint16_t>(b % s.nodes + 1);
    t.end = static_cast<uint16_t>((b + 1) % s.nodes + 1);
    m.beams.push_back(t);
  }
  for (int j = 0; j < s.supports; ++j) {
    TopSupportLayout sup;
    sup.node = static_cast<uint16_t>(j < static_cast<int>(s.supportNodes.size()) ? s.supportNodes[j] : j + 1);
    m.supports.push_back(sup);
  }
  m.sections = {{"S", 12, 0, 5, {}, {}}};
  BuildTop(m).WriteTo(SidePath(resPath, "TOP"));

  JobHeader(2050, {eakFlag, 0, 0, 0, 0}).WriteTo(SidePath(resPath, "JOB"));

  ByteWriter cmi = CmiHeader(3204, s.combinations, 0, 12, 3204);
  for (int c = 0; c < s.combinations; ++c) {
    cmi.append(CmiRecord(3204, 2, {0, c % (s.staticCases > 0 ? s.staticCases : 1)}, {1.5f, 1.0f}, 12, 0, 0));
  }
  cmi.WriteTo(SidePath(resPath, "CMI"));
}

}  // namespace telio_test
