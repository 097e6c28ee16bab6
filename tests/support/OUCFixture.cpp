#include "OUCFixture.h"

#include <algorithm>

#include "CaseFilesFixture.h"
#include "RESFixture.h"

namespace telio_test {

float OucValue(int lc, int32_t beam, int slot, int ip) {
  return static_cast<float>(lc * 1000 + beam * 10 + slot) + 0.5f * static_cast<float>(ip);
}

ByteWriter OucHeader(size_t maxLCE, int32_t lcNum, int32_t maxIP, const std::vector<int32_t>& table) {
  ByteWriter w;
  w.i32(lcNum).i32(maxIP);                                        // 0, 4
  for (size_t i = 0; i < maxLCE; ++i) w.i32(i < table.size() ? table[i] : 0);  // 8: table
  return w;
}

ByteWriter OucBlock(int lc, int32_t beam, int16_t n) {
  ByteWriter w;
  w.i32(beam).i16(n);
  for (int slot = 0; slot < 7; ++slot) {
    for (int ip = 0; ip < n; ++ip) w.f32(OucValue(lc, beam, slot, ip));
  }
  return w;
}

namespace {
std::vector<int32_t> Table(const OucLayout& s) {
  std::vector<int32_t> t(s.maxLCE, 0);
  for (size_t i = 0; i < s.lcs.size() && i < s.maxLCE; ++i) t[i] = static_cast<int32_t>(s.lcs[i].size());
  for (const auto& e : s.table) {
    if (e.first < s.maxLCE) t[e.first] = e.second;
  }
  return t;
}

int32_t MaxIP(const OucLayout& s) {
  if (s.maxIP >= 0) return s.maxIP;
  int32_t most = 0;
  for (const auto& lc : s.lcs) {
    for (const OucBeam& b : lc) most = std::max<int32_t>(most, b.n);
  }
  return most;
}
}  // namespace

ByteWriter BuildOuc(const OucLayout& s) {
  int32_t lcNum = s.lcNum != INT32_MIN ? s.lcNum : static_cast<int32_t>(s.lcs.size());
  ByteWriter w = OucHeader(s.maxLCE, lcNum, MaxIP(s), Table(s));
  for (size_t lc = 0; lc < s.lcs.size(); ++lc) {
    for (const OucBeam& b : s.lcs[lc]) w.append(OucBlock(static_cast<int>(lc), b.beam, b.n));
  }
  return w;
}

std::vector<std::vector<size_t>> OucBlockOffsets(const OucLayout& s) {
  std::vector<std::vector<size_t>> out(s.lcs.size());
  size_t at = 8 + 4 * s.maxLCE;
  for (size_t lc = 0; lc < s.lcs.size(); ++lc) {
    for (const OucBeam& b : s.lcs[lc]) {
      out[lc].push_back(at);
      at += 6 + (b.n > 0 ? 28 * static_cast<size_t>(b.n) : 0);
    }
  }
  return out;
}

void WriteOucJob(const std::string& oucPath, bool eak) {
  JobHeader(2050, {static_cast<uint8_t>(eak ? 1 : 0), 0, 0, 0, 0}).WriteTo(SidePath(oucPath, "JOB"));
}

}  // namespace telio_test
