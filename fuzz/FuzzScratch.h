// Shared by the fuzz targets: one private folder per process, removed with
// its files at exit, into which each input is written, since the readers
// take paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fuzz_scratch {

struct ScratchFolder {
  std::string path;
  ScratchFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/telio_fuzz_XXXXXX";
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

inline const std::string& Folder() {
  static ScratchFolder folder;
  return folder.path;
}

// Writes the bytes to Folder()/name and returns the full path ("" when the
// file cannot be written).
inline std::string Put(const char* name, const uint8_t* data, size_t size) {
  std::string path = Folder() + "/" + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return std::string();
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
  return path;
}

inline void Remove(const char* name) { std::remove((Folder() + "/" + name).c_str()); }

inline std::vector<char> Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace fuzz_scratch
