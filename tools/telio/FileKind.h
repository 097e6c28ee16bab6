// The file kinds that `telio info` and `telio dump` understand.
//
// Each kind fills a JSON object; the text form for people is rendered from
// the same object, so the two never disagree. Field names are snake_case and
// stable: scripts rely on them. Add a field rather than rename one, and bump
// kSchemaVersion when a field's meaning changes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace telio_tool {

using Json = nlohmann::ordered_json;

constexpr int kSchemaVersion = 1;

struct ToolOptions {
  bool json = false;
  std::string suite;         // --suite DIR, empty for the default
  long lc = -1;              // --lc R: one load result, -1 for all
  long beam = -1;            // --beam B, -1 for all
  long member = -1;          // --member M (1-based), -1 for all
};

class FileKind {
 public:
  virtual ~FileKind() = default;
  // The kind's name as printed ("T3L").
  virtual const char* Name() const = 0;
  // True when a file with this upper-case extension (no dot) is of this kind.
  virtual bool HandlesExtension(const std::string& ext) const = 0;
  // Summary and full record listing. Return 0 or the library's error code;
  // on failure `out` may hold what was read before the failure.
  virtual unsigned long Info(const std::string& path, const ToolOptions& opt, Json& out) = 0;
  virtual unsigned long Dump(const std::string& path, const ToolOptions& opt, Json& out) = 0;
};

// Kinds register themselves at start-up through a static KindRegistrar.
std::vector<std::unique_ptr<FileKind>>& Kinds();
FileKind* FindKindForPath(const std::string& path);

template <class K>
struct KindRegistrar {
  KindRegistrar() { Kinds().push_back(std::make_unique<K>()); }
};

// Upper-case extension of a path without the dot ("" when none).
std::string UpperExtension(const std::string& path);

// A 32-bit float as the double of its shortest decimal form, so JSON shows
// 84.3 rather than 84.30000305175781.
double FloatValue(float v);

// Text in the Windows ANSI page (1252) as UTF-8, for JSON. length -1: up
// to the first NUL.
std::string AnsiToUtf8(const char* text, int length = -1);

// Renders a JSON value as indented "key: value" text for people.
void PrintText(const Json& value, std::ostream& os);

}  // namespace telio_tool
