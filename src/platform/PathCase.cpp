#include "platform/PathCase.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace telio {

namespace {

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::string ResolvePathCase(const char* path) {
  if (!path) return std::string();
  std::string p(path);
#if defined(_WIN32)
  return p;
#else
  namespace fs = std::filesystem;
  std::replace(p.begin(), p.end(), '\\', '/');
  std::error_code ec;
  if (p.empty() || fs::exists(p, ec)) return p;

  std::string out;
  size_t i = 0;
  if (p[0] == '/') {
    out = "/";
    i = 1;
  }
  bool missing = false;  // once a folder is missing, nothing below it exists
  while (i <= p.size()) {
    size_t j = p.find('/', i);
    if (j == std::string::npos) j = p.size();
    std::string comp = p.substr(i, j - i);
    if (!comp.empty()) {
      std::string candidate = out + comp;
      if (!missing && comp != "." && comp != ".." && !fs::exists(candidate, ec)) {
        missing = true;
        fs::directory_iterator it(out.empty() ? std::string(".") : out, ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
          std::string name = it->path().filename().string();
          if (EqualNoCase(name, comp)) {
            candidate = out + name;
            missing = false;
            break;
          }
        }
      }
      out = candidate;
    }
    if (j < p.size()) out += '/';
    i = j + 1;
  }
  return out;
#endif
}

}  // namespace telio
