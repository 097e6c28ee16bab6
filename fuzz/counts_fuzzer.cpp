// DEN and DCM count files from arbitrary bytes (first byte even: DEN, odd:
// DCM). A file of 4 bytes or more must read, with its first four bytes as
// the count.
#include "FuzzScratch.h"
#include "files/CFileCount.h"
#include "platform/Coding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const bool den = (data[0] & 1) == 0;
  const std::string path = fuzz_scratch::Put(den ? "in.DEN" : "in.DCM", data + 1, size - 1);
  if (path.empty()) return 0;
  long32 count = 0;
  ulong32 code = 0;
  if (den) {
    CFileDEN f;
    code = f.Import(path.c_str());
    count = f.GetNumberOfDynamicEnvelopes();
  } else {
    CFileDCM f;
    code = f.Import(path.c_str());
    count = f.GetNumberOfDynamicCombinations();
  }
  if (code != 0) __builtin_trap();
  const long32 want = size >= 5 ? static_cast<long32>(telio::DecodeFixed32(data + 1)) : 0;
  if (count != want) __builtin_trap();
  return 0;
}
