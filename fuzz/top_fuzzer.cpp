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

namespace {

// A private folder made on first use and removed with its files at exit.
struct ScratchFolder {
  std::string path;
  ScratchFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/telio_top_fuzz_XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) std::abort();
    path = buf.data();
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

const std::string& Folder() {
  static ScratchFolder folder;
  return folder.path;
}

std::vector<char> Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

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
