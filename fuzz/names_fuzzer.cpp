// Load-case name files from arbitrary bytes. First byte even: the rest is a
// NAM file, read, written and read again (same number of names). First
// byte odd: bytes 1-8 are the DCM and DEN counts (i32 each, written as side
// files) and the rest is the DYN file.
#include "FuzzScratch.h"
#include "files/CFileDYN.h"
#include "files/CFileNAM.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  if ((data[0] & 1) == 0) {
    const std::string path = fuzz_scratch::Put("in.NAM", data + 1, size - 1);
    if (path.empty()) return 0;
    CFileNAM nam;
    if (nam.Import(path.c_str()) != 0) return 0;
    const std::string out = fuzz_scratch::Folder() + "/out.NAM";
    if (nam.Export(out.c_str()) != 0) __builtin_trap();
    CFileNAM back;
    if (back.Import(out.c_str()) != 0) __builtin_trap();
    if (back.GetCountLdsNames() != nam.GetCountLdsNames()) __builtin_trap();
    return 0;
  }
  if (size < 9) return 0;
  fuzz_scratch::Put("in.DCM", data + 1, 4);
  fuzz_scratch::Put("in.DEN", data + 5, 4);
  const std::string path = fuzz_scratch::Put("in.DYN", data + 9, size - 9);
  if (path.empty()) return 0;
  CFileDYN dyn;
  dyn.Import(path.c_str());
  if (dyn.GetCountLdsNames() > static_cast<long32>((size - 9) / 32)) __builtin_trap();
  return 0;
}
