// Combination files from arbitrary bytes. First byte even: the rest is a
// CMI file; odd: an ACE file. A file that reads is written, read again and
// written again: the two written files must be equal.
#include "CaseFilesFuzz.h"
#include "files/CFileACE.h"
#include "files/CFileCMI.h"

namespace {

template <class F>
void RoundTrip(const std::string& in, const char* ext) {
  F first;
  if (first.Import(in.c_str()) != 0) return;
  const std::string out = case_files_fuzz::Folder() + "/out." + ext;
  const std::string again = case_files_fuzz::Folder() + "/again." + ext;
  if (first.Export(out.c_str()) != 0) __builtin_trap();
  F second;
  if (second.Import(out.c_str()) != 0) __builtin_trap();
  if (second.Export(again.c_str()) != 0) __builtin_trap();
  if (case_files_fuzz::Slurp(out) != case_files_fuzz::Slurp(again)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const bool cmi = (data[0] & 1) == 0;
  const std::string path = case_files_fuzz::Put(cmi ? "in.CMI" : "in.ACE", data + 1, size - 1);
  if (path.empty()) return 0;
  if (cmi) {
    RoundTrip<CFileCMI>(path, "CMI");
  } else {
    RoundTrip<CFileACE>(path, "ACE");
    CFileACE ace;
    ace.Import(path.c_str());
    int real = 0;
    for (int k = 1; k <= ace.GetActiveCombinations() && k < 8; ++k) {
      ace.FindRealIndexActiveCombination(k, real);
    }
  }
  return 0;
}
