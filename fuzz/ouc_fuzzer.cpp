// Reads an intermediate-point results file from arbitrary bytes in both
// modes: the input is split into length-prefixed parts (u32 little-endian
// length, then the bytes; a part cut by the end of the input takes what is
// left) written as the OUC and JOB files of one job. Lookups must stay
// inside the tables, and where the load cases' beam numbers run 1, 2, 3 ...
// both modes must answer alike.
#include <cstddef>
#include <cstdint>
#include <string>

#include "files/CFileOUC.h"

#include "FuzzScratch.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* part;
  size_t length;
  fuzz_scratch::NextPart(data, size, &part, &length);
  std::string ouc = fuzz_scratch::Put("A.OUC", part, length);
  fuzz_scratch::NextPart(data, size, &part, &length);
  if (ouc.empty() || fuzz_scratch::Put("A.JOB", part, length).empty()) return 0;

  CFileOUC loaded, indexed;
  indexed.SetUseBmidx(true);
  ulong32 a = loaded.Import(ouc.c_str());
  ulong32 b = indexed.Import(ouc.c_str());
  Check(a == b);
  const int lcs = loaded.GetLCNum() < 64 ? loaded.GetLCNum() : 64;
  for (int lc = -1; lc <= lcs; ++lc) {
    // Positions and numbers agree while the numbers run 1, 2, 3 ...
    bool numbered = true;
    for (int beam = 0; beam < 64; ++beam) {
      BEAM_DATA* p = loaded.GetBeamData(lc, beam);
      if (!p) break;
      Check(p->NumIPs() <= loaded.GetMaxIP());
      numbered = numbered && p->BeamNumber() == beam + 1;
      for (int kind = -1; kind <= 7; ++kind) {
        float v = loaded.GetValue(lc, beam, p->NumIPs() - 1, kind);
        if (numbered) Check(v == indexed.GetValue(lc, beam, p->NumIPs() - 1, kind) || v != v);
      }
      if (numbered) Check(indexed.GetNumIPs(lc, beam) == p->NumIPs());
    }
    indexed.GetBeamData(lc, 0x7FFFFFFE);
  }
  return 0;
}
