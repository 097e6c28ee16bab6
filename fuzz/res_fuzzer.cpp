// Reads a static results job from arbitrary bytes: the input is split into
// length-prefixed parts (u32 little-endian length, then the bytes; a part
// cut by the end of the input takes what is left, missing parts are empty)
// written as the RES, TOP, JOB and CMI files of one job. Every reader of an
// imported file must stay inside its buffers and give whole records only.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "files/CFileRES.h"

#include "FuzzScratch.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kNames[] = {"A.RES", "A.TOP", "A.JOB", "A.CMI"};
  std::string res;
  for (const char* name : kNames) {
    const uint8_t* part;
    size_t length;
    fuzz_scratch::NextPart(data, size, &part, &length);
    std::string path = fuzz_scratch::Put(name, part, length);
    if (path.empty()) return 0;
    if (res.empty()) res = path;
  }

  CFileRES r;
  if (r.Import(res.c_str()) != 0) return 0;
  const int results = r.NumberOfLoadsResults();
  // A few load results from both ends are enough: each costs a read.
  for (int lr = -1; lr <= results; ++lr) {
    if (lr > 2 && lr < results - 2) lr = results - 2;
    auto disp = r.GetDisplacementsFor(lr);
    Check(disp.GetSize() == 0 || disp.GetSize() == r.NumberOfNodes());
    for (int i = 0; i < disp.GetSize(); ++i) {
      Check(disp[i].NodeNumber() == 0 || disp[i].NodeNumber() == i + 1);
    }
    auto reac = r.GetReactionsFor(lr);
    Check(reac.GetSize() == 0 || reac.GetSize() == r.NumberOfNodes());
    auto forces = r.GetForcesFor(lr);
    Check(forces.GetSize() <= r.NumberOfBeams());
    for (int b = 0; b < forces.GetSize(); ++b) Check(forces[b].BeamNumber() == b + 1);
    for (int b : {0, r.NumberOfBeams() - 1, r.NumberOfBeams()}) {
      AnasisForces* one = r.GetForcesFor(lr, b);
      if (one && b < forces.GetSize()) Check(std::memcmp(one, &forces[b], sizeof(*one)) == 0);
    }
  }
  return 0;
}
