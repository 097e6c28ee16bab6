// Partial safety factor files from arbitrary bytes: the input is the PSF
// file. The set names are read (with the name suffix "_EN" for inputs of
// odd size), then the factors of the last set; every set stays inside the
// ten records, with a terminated name of at most 17 characters. An input
// whose size is a multiple of 64 also has that set written back and read
// again. Each key read or written is a whole pass over the file, so the
// target reads one set rather than all of them.
#include <cmath>
#include <cstring>

#include "FuzzScratch.h"
#include "objects/data/CISafetyFactorsLib.h"

namespace {

using namespace SAFETY_FACTORS_LIB;

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

int ReadNames(const char* path, PSF_REC* sets, const char* suffix) {
  std::memset(sets, 0, sizeof(PSF_REC) * kMaxPSFSets);
  int n = CISafetyFactorsLib::ReadPSFCases(path, sets, kMaxPSFSets, suffix);
  Check(n >= 0 && n <= kMaxPSFSets);
  for (int i = 0; i < n; ++i) {
    Check(sets[i].Number() == i + 1);
    Check(sets[i].Name().GetLength() <= PSF_REC::kNameReadSize - 1);
  }
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz_scratch::Put("in.PSF", data, size);
  if (path.empty()) return 0;
  PSF_REC sets[kMaxPSFSets];
  const int n = ReadNames(path.c_str(), sets, size % 2 ? "_EN" : nullptr);
  if (n > 0) Check(CISafetyFactorsLib::ReadPSFValues(path.c_str(), &sets[n - 1]) == 1);
  if (n > 0 && size % 64 == 0 && CISafetyFactorsLib::WritePSFValues(path.c_str(), &sets[n - 1])) {
    PSF_REC again = sets[n - 1];
    Check(CISafetyFactorsLib::ReadPSFValues(path.c_str(), &again) == 1);
    for (int k = 1; k <= kPSFFactors; ++k) {
      // Written with two decimals and read as a float: within 0.005 and a
      // float's rounding for values of ordinary size.
      double v = sets[n - 1].Value(k);
      if (std::isfinite(v) && std::fabs(v) < 1000) Check(std::fabs(again.Value(k) - v) <= 0.0051);
    }
  }
  return 0;
}
