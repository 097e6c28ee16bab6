// Reads a run-control (JOB) file from arbitrary bytes, then patches its run
// status and export type in place and reads it again: the patched file must
// read with the same run words.
#include "FuzzScratch.h"
#include "files/CFileJOB.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz_scratch::Put("in.JOB", data, size);
  if (path.empty()) return 0;
  CFileJOB job;
  if (job.Import(path.c_str()) != 0) return 0;
  job.SetRunStatus(3, 7);
  if (job.WriteRunStatus(nullptr) != 0) __builtin_trap();
  if (job.WriteExportType(nullptr) != 0) __builtin_trap();
  CFileJOB again;
  if (again.Import(path.c_str()) != 0) __builtin_trap();
  for (int i = 0; i < CFileJOB::kRunStatusWords; ++i) {
    if (again.GetRunStatus(i) != job.GetRunStatus(i)) __builtin_trap();
  }
  return 0;
}
