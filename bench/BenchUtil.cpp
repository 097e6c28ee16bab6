#include "BenchUtil.h"

#include <cstdlib>
#include <filesystem>

namespace telio_bench {

namespace {

// The scratch folder, removed with the generated jobs when the process ends.
struct Scratch {
  std::string dir;
  Scratch() {
    dir = (std::filesystem::temp_directory_path() / "telio-bench-XXXXXX").string();
    if (!mkdtemp(&dir[0])) std::abort();
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

}  // namespace

const std::string& ScratchDir() {
  static const Scratch scratch;
  return scratch.dir;
}

long long FileSize(const std::string& path) {
  std::error_code ec;
  auto n = std::filesystem::file_size(path, ec);
  return ec ? 0 : static_cast<long long>(n);
}

void RawRead(benchmark::State& state, const std::string& path) {
  std::vector<char> buf(static_cast<size_t>(FileSize(path)) + 1);
  for (auto _ : state) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
      state.SkipWithError("cannot open");
      return;
    }
    size_t n = std::fread(buf.data(), 1, buf.size(), f);
    std::fclose(f);
    benchmark::DoNotOptimize(n);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(path));
}

void RawReadFresh(benchmark::State& state, const std::string& path) {
  const size_t size = static_cast<size_t>(FileSize(path));
  for (auto _ : state) {
    FILE* f = std::fopen(path.c_str(), "rb");
    char* buf = static_cast<char*>(std::malloc(size + 1));
    if (!f || !buf) {
      if (f) std::fclose(f);
      std::free(buf);
      state.SkipWithError("cannot read");
      return;
    }
    size_t n = std::fread(buf, 1, size + 1, f);
    std::fclose(f);
    benchmark::DoNotOptimize(buf);
    std::free(buf);
    benchmark::DoNotOptimize(n);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FileSize(path));
}

void RawWrite(benchmark::State& state, const std::string& like, const std::string& path) {
  std::vector<char> bytes(static_cast<size_t>(FileSize(like)));
  FILE* in = std::fopen(like.c_str(), "rb");
  if (!in || std::fread(bytes.data(), 1, bytes.size(), in) != bytes.size()) {
    if (in) std::fclose(in);
    state.SkipWithError("cannot read");
    return;
  }
  std::fclose(in);
  for (auto _ : state) {
    std::remove(path.c_str());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) state.SkipWithError("cannot write");
    if (f) std::fclose(f);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

}  // namespace telio_bench
