// The file kinds that `telio info` and `telio dump` understand.
//
// Each kind fills a JSON object; the text form for people is rendered from
// the same object, so the two never disagree. Field names are snake_case and
// stable: scripts rely on them. Add a field rather than rename one, and bump
// kSchemaVersion when a field's meaning changes.
#pragma once

#include <iosfwd>
#include <memory>
#include <stdexcept>
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
  long node = -1;            // --node N, -1 for all
  long member = -1;          // --member M (1-based), -1 for all
};

// Options that do not fit the file (a beam it does not hold, --node for a
// file without nodes): the command reports it as a usage error (exit 2).
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws UsageError when value (-1 for none chosen) lies outside first to
// last: "there is no beam 51 (the file holds 1 to 50)".
void CheckChoice(long value, long first, long last, const char* what);

// A failure to report: the file at fault (the one asked for, or a side file
// it needs) and that file's own code.
struct FileFailure {
  std::string path;
  unsigned long code;
  std::string role;  // "" for the file itself, else e.g. "side file"
};

class DocumentWriter;

class FileKind {
 public:
  virtual ~FileKind() = default;
  // The kind's name as printed ("T3L").
  virtual const char* Name() const = 0;
  // True when a file with this upper-case extension (no dot) is of this kind.
  virtual bool HandlesExtension(const std::string& ext) const = 0;
  // Summary. Return 0 or the library's error code; on failure `out` may
  // hold what was read before the failure.
  virtual unsigned long Info(const std::string& path, const ToolOptions& opt, Json& out) = 0;
  // Full record listing. Override Dump (the document built in memory) or,
  // for files that can be large, StreamDump (written piece by piece); each
  // one's default calls the other. StreamDump must write nothing before it
  // knows the file can be read, and may throw UsageError.
  virtual unsigned long Dump(const std::string& path, const ToolOptions& opt, Json& out);
  virtual unsigned long StreamDump(const std::string& path, const ToolOptions& opt, DocumentWriter& w);
  // Bytes of the file that a dump with these options goes through, for the
  // warning before a large dump; the default is the file's size.
  virtual long long DumpBytes(const std::string& path, const ToolOptions& opt);
  // The file and code to report for a failed Info or Dump; the default
  // blames the file itself.
  virtual FileFailure Failure(const std::string& path, unsigned long code);
  // The main counts of an Info summary, for a project folder's file list:
  // its "counts" object when it has one, else its whole-number fields.
  virtual Json MainCounts(const Json& info) const;
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

// Bytes as lower-case hex digits, two a byte.
std::string HexBytes(const unsigned char* bytes, size_t n);

// A 32-bit float as the double of its shortest decimal form, so JSON shows
// 84.3 rather than 84.30000305175781.
double FloatValue(float v);

// Text in the Windows ANSI page (1252) as UTF-8, for JSON. length -1: up
// to the first NUL.
std::string AnsiToUtf8(const char* text, int length = -1);

// A CMap's entries as an object, keys as text, in the map's own order,
// each value through convert (the value itself when none is given).
template <class Map, class Convert>
Json MapJson(const Map& map, Convert convert) {
  Json out = Json::object();
  typename Map::KeyType key;
  typename Map::ValueType value;
  for (auto pos = map.GetStartPosition(); pos;) {
    map.GetNextAssoc(pos, key, value);
    out[std::to_string(key)] = convert(value);
  }
  return out;
}

template <class Map>
Json MapJson(const Map& map) {
  return MapJson(map, [](const typename Map::ValueType& v) { return v; });
}

// Renders a JSON value as indented "key: value" text for people.
void PrintText(const Json& value, std::ostream& os);
// The same for one member of an object, and one element of an array whose
// elements are all scalars (scalars) or all objects and arrays, at indent.
void PrintTextMember(const std::string& key, const Json& value, std::ostream& os, int indent);
void PrintTextElement(size_t index, const Json& value, bool scalars, std::ostream& os, int indent);

}  // namespace telio_tool
