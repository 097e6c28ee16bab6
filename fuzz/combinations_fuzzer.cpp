// Combination files from arbitrary bytes. First byte even: the rest is a
// CMI file; odd: an ACE file. A file that reads is written and read again:
// the second reading must hold what the first did (CMI terms cut to the 399
// that are written).
#include <cstring>

#include "FuzzScratch.h"
#include "files/CFileACE.h"
#include "files/CFileCMI.h"

namespace {

void CheckCmi(const std::string& in) {
  CFileCMI first;
  if (first.Import(in.c_str()) != 0) return;
  const std::string out = fuzz_scratch::Folder() + "/out.CMI";
  if (first.Export(out.c_str()) != 0) __builtin_trap();
  CFileCMI second;
  if (second.Import(out.c_str()) != 0) __builtin_trap();
  // A negative count is no combination, and is written as 0.
  const long32 held = first.GetNumberOfCombinations() > 0 ? first.GetNumberOfCombinations() : 0;
  if (second.GetNumberOfCombinations() != held) __builtin_trap();
  for (long32 i = 0; i < held; ++i) {
    const CMI_REC* a = first.GetCombination(i);
    const CMI_REC* b = second.GetCombination(i);
    if (!a || !b) __builtin_trap();
    long32 n = a->Count() > CFileCMI::kMaxTermsWritten ? CFileCMI::kMaxTermsWritten : a->Count();
    if (b->Count() != n) __builtin_trap();
    for (int k = 0; k < n; ++k) {
      if (a->Index(k) != b->Index(k)) __builtin_trap();
      if (std::memcmp(a->data + 1604 + 4 * k, b->data + 1604 + 4 * k, 4) != 0) __builtin_trap();
    }
    if (first.GetKind(i) != second.GetKind(i) || first.GetLink(i) != second.GetLink(i)) __builtin_trap();
  }
}

void CheckAce(const std::string& in) {
  CFileACE first;
  first.Import(in.c_str());
  int real = 0;
  for (int k = 1; k <= first.GetActiveCombinations() && k < 8; ++k) {
    first.FindRealIndexActiveCombination(k, real);
  }
  if (first.GetCmbListSize() == 0) return;
  // Written, read and written again, the file does not change.
  const std::string out = fuzz_scratch::Folder() + "/out.ACE";
  const std::string again = fuzz_scratch::Folder() + "/again.ACE";
  if (first.Export(out.c_str()) != 0) __builtin_trap();
  CFileACE second;
  if (second.Import(out.c_str()) != 0 || second.Export(again.c_str()) != 0) __builtin_trap();
  if (fuzz_scratch::Slurp(out) != fuzz_scratch::Slurp(again)) __builtin_trap();
  if (first.GetActiveCombinations() != second.GetActiveCombinations() ||
      first.GetActiveEnvelopes() != second.GetActiveEnvelopes()) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const bool cmi = (data[0] & 1) == 0;
  const std::string path = fuzz_scratch::Put(cmi ? "in.CMI" : "in.ACE", data + 1, size - 1);
  if (path.empty()) return 0;
  if (cmi) {
    CheckCmi(path);
  } else {
    CheckAce(path);
  }
  return 0;
}
