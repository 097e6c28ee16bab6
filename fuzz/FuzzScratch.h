// Shared by the fuzz targets: one private folder per process, removed with
// its files at exit, into which each input is written, since the readers
// take paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fuzz_scratch {

struct ScratchFolder {
  std::string path;
  ScratchFolder() {
    // A folder in memory where there is one: writing the input is then no
    // more than a copy, kept out of the time of the reader under test.
    const char* tmp = std::getenv("TMPDIR");
    std::error_code ec;
    std::string base = tmp && *tmp ? tmp : "/tmp";
    if (!(tmp && *tmp) && std::filesystem::is_directory("/dev/shm", ec)) base = "/dev/shm";
    std::string tmpl = base + "/telio_fuzz_XXXXXX";
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
  // A new file rather than a truncated one, which file systems flush.
  std::remove(path.c_str());
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return std::string();
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
  return path;
}

inline void Remove(const char* name) { std::remove((Folder() + "/" + name).c_str()); }

inline std::vector<char> Slurp(const std::string& path) {
  std::vector<char> bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  char chunk[1 << 16];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.insert(bytes.end(), chunk, chunk + n);
  std::fclose(f);
  return bytes;
}

// Takes the next length-prefixed part of a fuzz input: a 4-byte
// little-endian length, then that many bytes (cut to what is left).
inline void NextPart(const uint8_t*& data, size_t& size, const uint8_t** part, size_t* length) {
  size_t n = 0;
  if (size >= 4) {
    n = static_cast<size_t>(data[0]) | static_cast<size_t>(data[1]) << 8 |
        static_cast<size_t>(data[2]) << 16 | static_cast<size_t>(data[3]) << 24;
    data += 4;
    size -= 4;
  } else {
    data += size;
    size = 0;
  }
  if (n > size) n = size;
  *part = data;
  *length = n;
  data += n;
  size -= n;
}

}  // namespace fuzz_scratch
