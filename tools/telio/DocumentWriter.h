// One result document (a JSON object) written as it is made.
//
// A dump of a large results file is millions of values: built as one JSON
// value it takes many times the file's size in memory and prints nothing
// until the end. DocumentWriter prints each piece as it comes, exactly as
// the whole document would print: JSON indented by two (Json::dump(2)) or
// the text of PrintText. It can also build the document in memory (for a
// caller that wants the JSON value), so a kind writes its dump once.
//
// The document is the top object. Inside an object: Field, OpenObject(key),
// OpenArray(key); inside an array: Element, OpenObject(), OpenArray(). The
// elements of one array are either all scalars or all objects and arrays
// (the text form lists the two differently).
//
// Nothing is printed until the first piece after the head fields, so a
// writer that is dropped before that prints nothing.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "FileKind.h"

namespace telio_tool {

class DocumentWriter {
 public:
  // Prints to os; head: fields that open the document (may be empty).
  DocumentWriter(std::ostream& os, bool json, const Json& head = Json::object());
  // Builds the document into target (an object; its fields are kept).
  explicit DocumentWriter(Json& target);
  DocumentWriter(const DocumentWriter&) = delete;
  DocumentWriter& operator=(const DocumentWriter&) = delete;

  void Field(const std::string& key, const Json& value);
  // Every member of an object, as fields.
  void Fields(const Json& object);
  void Element(const Json& value);
  void OpenObject(const std::string& key);
  void OpenArray(const std::string& key);
  void OpenObject();
  void OpenArray();
  void Close();
  // Closes every level and ends the output; nothing may follow.
  void Finish();
  // True once anything has gone to the stream.
  bool Started() const { return started_; }

 private:
  struct Level {
    bool array;
    size_t count;       // members written so far
    std::string key;    // text form: the header printed before the first member
    bool headerPending; // text form: key not printed yet
    int indent;         // text form: indent of the members
    Json* built;        // build mode: the value being filled
  };
  void Start();
  // Before a member of the innermost level: separators and pending headers.
  void BeginMember();
  void FlushHeaders(size_t level);
  void Open(bool array, const std::string* key);
  void WriteJson(const Json& value, size_t depth);
  Json* Slot(const std::string* key);

  std::ostream* os_ = nullptr;
  bool json_ = true;
  Json head_;
  bool started_ = false;
  bool finished_ = false;
  std::vector<Level> levels_;
};

}  // namespace telio_tool
