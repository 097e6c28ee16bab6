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

std::string AnsiToUtf8(const char* text, int length) {
  // 0x80-0x9F are the page's own characters; the rest equal Latin-1.
  static const unsigned short k80to9F[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string out;
  if (!text) return out;
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  for (int i = 0; length < 0 ? p[i] != 0 : i < length; ++i) {
    unsigned cp = p[i] >= 0x80 && p[i] < 0xA0 ? k80to9F[p[i] - 0x80] : p[i];
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
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
