#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace telio_test {

TempDir::TempDir() {
  std::string templ = (std::filesystem::temp_directory_path() / "telio-test-XXXXXX").string();
  if (!mkdtemp(&templ[0])) throw std::runtime_error("mkdtemp failed");
  path_ = templ;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::File(const std::string& name) const { return path_ + "/" + name; }

}  // namespace telio_test
