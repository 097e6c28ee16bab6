#include "DocumentWriter.h"

#include <ostream>

namespace telio_tool {

namespace {

bool IsContainer(const Json& v) { return v.is_object() || v.is_array(); }

}  // namespace

DocumentWriter::DocumentWriter(std::ostream& os, bool json, const Json& head)
    : os_(&os), json_(json), head_(head) {
  levels_.push_back({false, 0, std::string(), false, 0, nullptr});
}

DocumentWriter::DocumentWriter(Json& target) {
  if (!target.is_object()) target = Json::object();
  started_ = true;
  levels_.push_back({false, 0, std::string(), false, 0, &target});
}

void DocumentWriter::Start() {
  if (started_) return;
  started_ = true;
  if (json_) *os_ << '{';
  Fields(head_);
}

Json* DocumentWriter::Slot(const std::string* key) {
  Json& into = *levels_.back().built;
  if (key) return &into[*key];
  into.push_back(nullptr);
  return &into.back();
}

void DocumentWriter::FlushHeaders(size_t level) {
  Level& l = levels_[level];
  if (!l.headerPending) return;
  FlushHeaders(level - 1);
  *os_ << std::string(static_cast<size_t>(l.indent - 1) * 2, ' ') << l.key << ":\n";
  l.headerPending = false;
}

void DocumentWriter::BeginMember() {
  Start();
  Level& l = levels_.back();
  if (json_) {
    *os_ << (l.count ? ",\n" : "\n") << std::string(levels_.size() * 2, ' ');
  } else {
    FlushHeaders(levels_.size() - 1);
  }
  ++l.count;
}

void DocumentWriter::WriteJson(const Json& value, size_t depth) {
  const std::string text = value.dump(2);
  if (!IsContainer(value)) {
    *os_ << text;
    return;
  }
  // Strings are escaped, so every newline is the dump's own.
  const std::string pad = "\n" + std::string(depth * 2, ' ');
  size_t from = 0;
  for (size_t nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', from)) {
    os_->write(text.data() + from, static_cast<std::streamsize>(nl - from));
    *os_ << pad;
    from = nl + 1;
  }
  os_->write(text.data() + from, static_cast<std::streamsize>(text.size() - from));
}

void DocumentWriter::Field(const std::string& key, const Json& value) {
  if (!os_) {
    *Slot(&key) = value;
    return;
  }
  BeginMember();
  if (json_) {
    *os_ << Json(key).dump() << ": ";
    WriteJson(value, levels_.size());
  } else {
    PrintTextMember(key, value, *os_, levels_.back().indent);
  }
}

void DocumentWriter::Fields(const Json& object) {
  for (auto it = object.begin(); it != object.end(); ++it) Field(it.key(), it.value());
}

void DocumentWriter::Element(const Json& value) {
  if (!os_) {
    *Slot(nullptr) = value;
    return;
  }
  const size_t index = levels_.back().count;
  BeginMember();
  if (json_) {
    WriteJson(value, levels_.size());
  } else {
    PrintTextElement(index, value, !IsContainer(value), *os_, levels_.back().indent);
  }
}

void DocumentWriter::Open(bool array, const std::string* key) {
  if (!os_) {
    Json* slot = Slot(key);
    *slot = array ? Json::array() : Json::object();
    levels_.push_back({array, 0, std::string(), false, 0, slot});
    return;
  }
  const int indent = levels_.back().indent + 1;
  if (json_) {
    BeginMember();
    if (key) *os_ << Json(*key).dump() << ": ";
    *os_ << (array ? '[' : '{');
    levels_.push_back({array, 0, std::string(), false, indent, nullptr});
  } else if (key) {
    // The header waits for the first member: an empty value prints
    // "key: (none)" on one line.
    Start();
    levels_.push_back({array, 0, *key, true, indent, nullptr});
  } else {
    const size_t index = levels_.back().count;
    BeginMember();
    *os_ << std::string(static_cast<size_t>(indent - 1) * 2, ' ') << '[' << index << "]\n";
    levels_.push_back({array, 0, std::string(), false, indent, nullptr});
  }
}

void DocumentWriter::OpenObject(const std::string& key) { Open(false, &key); }
void DocumentWriter::OpenArray(const std::string& key) { Open(true, &key); }
void DocumentWriter::OpenObject() { Open(false, nullptr); }
void DocumentWriter::OpenArray() { Open(true, nullptr); }

void DocumentWriter::Close() {
  if (levels_.size() < 2) return;
  const Level l = levels_.back();
  levels_.pop_back();
  if (!os_) return;
  if (json_) {
    if (l.count != 0) *os_ << '\n' << std::string(levels_.size() * 2, ' ');
    *os_ << (l.array ? ']' : '}');
  } else if (l.headerPending) {
    FlushHeaders(levels_.size() - 1);
    *os_ << std::string(static_cast<size_t>(l.indent - 1) * 2, ' ') << l.key << ": (none)\n";
  }
}

void DocumentWriter::Finish() {
  if (finished_) return;
  Start();
  while (levels_.size() > 1) Close();
  finished_ = true;
  if (!os_ || !json_) return;
  if (levels_.back().count != 0) *os_ << '\n';
  *os_ << "}\n";
}

}  // namespace telio_tool
