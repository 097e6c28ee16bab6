// Reads a topology (TOP) file from arbitrary bytes and writes it back. The
// input goes to one reused temporary file, since the reader takes a path.
// When a file reads and writes, the written file must read again and write
// the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "files/CFileTOP.h"

#include "FuzzScratch.h"

namespace {

using fuzz_scratch::Folder;
using fuzz_scratch::Slurp;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in = Folder() + "/in.top";
  const std::string out = Folder() + "/out.top";
  const std::string again = Folder() + "/again.top";
  std::FILE* f = std::fopen(in.c_str(), "wb");
  if (!f) return 0;
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);

  CFileTOP top;
  if (top.Import(in.c_str()) != 0) return 0;
  if (top.Export(out.c_str()) != 0) return 0;
  CFileTOP second;
  if (second.Import(out.c_str()) != 0) __builtin_trap();
  if (second.Export(again.c_str()) != 0) __builtin_trap();
  if (Slurp(out) != Slurp(again)) __builtin_trap();
  return 0;
}
