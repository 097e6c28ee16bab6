#include "FileKind.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace telio_tool {

std::vector<std::unique_ptr<FileKind>>& Kinds() {
  static std::vector<std::unique_ptr<FileKind>> kinds;
  return kinds;
}

std::string UpperExtension(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return ext;
}

FileKind* FindKindForPath(const std::string& path) {
  std::string ext = UpperExtension(path);
  for (auto& k : Kinds()) {
    if (k->HandlesExtension(ext)) return k.get();
  }
  return nullptr;
}

double FloatValue(float v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(v));
  return std::strtod(buf, nullptr);
}

namespace {

bool IsScalar(const Json& v) { return !v.is_object() && !v.is_array(); }

std::string Scalar(const Json& v) {
  if (v.is_string()) return v.get<std::string>();
  return v.dump();
}

void Print(const Json& v, std::ostream& os, int indent) {
  std::string pad(static_cast<size_t>(indent) * 2, ' ');
  if (v.is_object()) {
    for (auto it = v.begin(); it != v.end(); ++it) {
      if (IsScalar(it.value())) {
        os << pad << it.key() << ": " << Scalar(it.value()) << '\n';
      } else if (it.value().empty()) {
        os << pad << it.key() << ": (none)\n";
      } else {
        os << pad << it.key() << ":\n";
        Print(it.value(), os, indent + 1);
      }
    }
  } else if (v.is_array()) {
    bool allScalar = true;
    for (const auto& e : v) allScalar = allScalar && IsScalar(e);
    if (allScalar) {
      size_t i = 0;
      for (const auto& e : v) os << pad << '[' << i++ << "] " << Scalar(e) << '\n';
    } else {
      size_t i = 0;
      for (const auto& e : v) {
        os << pad << '[' << i++ << "]\n";
        Print(e, os, indent + 1);
      }
    }
  } else {
    os << pad << Scalar(v) << '\n';
  }
}

}  // namespace

void PrintText(const Json& value, std::ostream& os) { Print(value, os, 0); }

}  // namespace telio_tool
