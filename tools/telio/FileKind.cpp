#include "FileKind.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "DocumentWriter.h"
#include "platform/PathCase.h"

namespace telio_tool {

std::vector<std::unique_ptr<FileKind>>& Kinds() {
  static std::vector<std::unique_ptr<FileKind>> kinds;
  return kinds;
}

void CheckChoice(long value, long first, long last, const char* what) {
  if (value < 0 || (value >= first && value <= last)) return;
  throw UsageError(std::string("there is no ") + what + " " + std::to_string(value) + " (the file holds " +
                   (last < first ? std::string("none") : std::to_string(first) + " to " + std::to_string(last)) +
                   ")");
}

unsigned long FileKind::Dump(const std::string& path, const ToolOptions& opt, Json& out) {
  DocumentWriter w(out);
  const unsigned long code = StreamDump(path, opt, w);
  w.Finish();
  return code;
}

unsigned long FileKind::StreamDump(const std::string& path, const ToolOptions& opt, DocumentWriter& w) {
  Json out = Json::object();
  const unsigned long code = Dump(path, opt, out);
  if (code != 0) return code;
  w.Fields(out);
  return 0;
}

long long FileKind::DumpBytes(const std::string& path, const ToolOptions&) {
  std::error_code ec;
  const auto n = std::filesystem::file_size(telio::ResolvePathCase(path.c_str()), ec);
  return ec ? -1 : static_cast<long long>(n);
}

FileFailure FileKind::Failure(const std::string& path, unsigned long code) { return {path, code, std::string()}; }

Json FileKind::MainCounts(const Json& info) const {
  auto counts = info.find("counts");
  if (counts != info.end() && counts->is_object()) return *counts;
  Json out = Json::object();
  for (auto it = info.begin(); it != info.end(); ++it) {
    if (it.key() != "schema_version" && it.value().is_number_integer()) out[it.key()] = it.value();
  }
  return out;
}

std::string UpperExtension(const std::string& given) {
  // A folder may be named with a trailing separator ("Job.AJF/").
  std::string path = given;
  while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
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

std::string HexBytes(const unsigned char* bytes, size_t n) {
  static const char kDigits[] = "0123456789abcdef";
  std::string s(2 * n, '0');
  for (size_t i = 0; i < n; ++i) {
    s[2 * i] = kDigits[bytes[i] >> 4];
    s[2 * i + 1] = kDigits[bytes[i] & 15];
  }
  return s;
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

std::string Pad(int indent) { return std::string(static_cast<size_t>(indent) * 2, ' '); }

void Print(const Json& v, std::ostream& os, int indent) {
  if (v.is_object()) {
    for (auto it = v.begin(); it != v.end(); ++it) PrintTextMember(it.key(), it.value(), os, indent);
  } else if (v.is_array()) {
    bool allScalar = true;
    for (const auto& e : v) allScalar = allScalar && IsScalar(e);
    size_t i = 0;
    for (const auto& e : v) PrintTextElement(i++, e, allScalar, os, indent);
  } else {
    os << Pad(indent) << Scalar(v) << '\n';
  }
}

}  // namespace

void PrintTextMember(const std::string& key, const Json& value, std::ostream& os, int indent) {
  if (IsScalar(value)) {
    os << Pad(indent) << key << ": " << Scalar(value) << '\n';
  } else if (value.empty()) {
    os << Pad(indent) << key << ": (none)\n";
  } else {
    os << Pad(indent) << key << ":\n";
    Print(value, os, indent + 1);
  }
}

void PrintTextElement(size_t index, const Json& value, bool scalars, std::ostream& os, int indent) {
  if (scalars) {
    os << Pad(indent) << '[' << index << "] " << Scalar(value) << '\n';
  } else {
    os << Pad(indent) << '[' << index << "]\n";
    Print(value, os, indent + 1);
  }
}

void PrintText(const Json& value, std::ostream& os) { Print(value, os, 0); }

}  // namespace telio_tool
