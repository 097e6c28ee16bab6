#include "platform/CString.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const char kWhiteSpace[] = " \t\r\n\v\f";

inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
inline char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

CString::CString(const char* text) : s_(text ? text : "") {}

CString::CString(const char* text, int length) {
  if (text && length > 0) s_.assign(text, static_cast<size_t>(length));
}

CString::CString(char ch, int repeat) {
  if (repeat > 0) s_.assign(static_cast<size_t>(repeat), ch);
}

CString& CString::operator=(const char* text) {
  if (text) {
    s_.assign(text);  // handles text pointing into s_ itself
  } else {
    s_.clear();
  }
  return *this;
}

void CString::SetString(const char* text, int length) {
  if (text && length > 0) {
    s_.assign(text, static_cast<size_t>(length));
  } else {
    s_.clear();
  }
}

CString& CString::operator=(char ch) {
  s_.assign(1, ch);
  return *this;
}

CString& CString::operator+=(const char* text) {
  if (text) s_.append(text);
  return *this;
}

void CString::SetAt(int i, char ch) {
  if (i >= 0 && i < GetLength()) s_[static_cast<size_t>(i)] = ch;
}

int CString::Compare(const char* text) const {
  int r = std::strcmp(s_.c_str(), text ? text : "");
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const char* text) const {
  const unsigned char* a = reinterpret_cast<const unsigned char*>(s_.c_str());
  const unsigned char* b = reinterpret_cast<const unsigned char*>(text ? text : "");
  for (;; ++a, ++b) {
    // Equal bytes (the usual case) need no folding.
    if (*a == *b) {
      if (*a == 0) return 0;
      continue;
    }
    unsigned char ca = static_cast<unsigned char>(AsciiLower(static_cast<char>(*a)));
    unsigned char cb = static_cast<unsigned char>(AsciiLower(static_cast<char>(*b)));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
}

void CString::FormatV(const char* format, va_list args) {
  if (!format) {
    s_.clear();
    return;
  }
  va_list copy;
  va_copy(copy, args);
  char small[256];
  int n = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (n < 0) {
    s_.clear();
    return;
  }
  if (static_cast<size_t>(n) < sizeof small) {
    s_.assign(small, static_cast<size_t>(n));
    return;
  }
  std::string out(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(&out[0], out.size(), format, args);
  out.resize(static_cast<size_t>(n));
  s_.swap(out);
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::AppendFormat(const char* format, ...) {
  CString tail;
  va_list args;
  va_start(args, format);
  tail.FormatV(format, args);
  va_end(args);
  s_ += tail.s_;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(const char* set) { return TrimRight(set).TrimLeft(set); }
CString& CString::TrimLeft() { return TrimLeft(kWhiteSpace); }
CString& CString::TrimRight() { return TrimRight(kWhiteSpace); }

CString& CString::TrimLeft(char ch) {
  char set[2] = {ch, 0};
  return ch ? TrimLeft(set) : *this;
}

CString& CString::TrimRight(char ch) {
  char set[2] = {ch, 0};
  return ch ? TrimRight(set) : *this;
}

CString& CString::TrimLeft(const char* set) {
  if (!set || !*set) return *this;
  size_t p = s_.find_first_not_of(set);
  s_.erase(0, p == std::string::npos ? s_.size() : p);
  return *this;
}

CString& CString::TrimRight(const char* set) {
  if (!set || !*set) return *this;
  size_t p = s_.find_last_not_of(set);
  s_.erase(p == std::string::npos ? 0 : p + 1);
  return *this;
}

CString CString::Left(int count) const {
  count = Clamp(count, 0, GetLength());
  return CString(s_.substr(0, static_cast<size_t>(count)));
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  first = Clamp(first, 0, GetLength());
  count = Clamp(count, 0, GetLength() - first);
  return CString(s_.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
  count = Clamp(count, 0, GetLength());
  return CString(s_.substr(s_.size() - static_cast<size_t>(count)));
}

int CString::Find(char ch, int start) const {
  if (start < 0) start = 0;
  if (start >= GetLength()) return -1;
  size_t p = s_.find(ch, static_cast<size_t>(start));
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::Find(const char* sub, int start) const {
  if (!sub) return -1;
  if (start < 0) start = 0;
  if (start > GetLength()) return -1;
  size_t p = s_.find(sub, static_cast<size_t>(start));
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::ReverseFind(char ch) const {
  size_t p = s_.rfind(ch);
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::FindOneOf(const char* set) const {
  if (!set || !*set) return -1;
  size_t p = s_.find_first_of(set);
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

CString& CString::MakeUpper() {
  for (char& c : s_) c = AsciiUpper(c);
  return *this;
}

CString& CString::MakeLower() {
  for (char& c : s_) c = AsciiLower(c);
  return *this;
}

CString& CString::MakeReverse() {
  std::reverse(s_.begin(), s_.end());
  return *this;
}

int CString::Replace(char from, char to) {
  int n = 0;
  for (char& c : s_) {
    if (c == from) {
      c = to;
      ++n;
    }
  }
  return n;
}

int CString::Replace(const char* from, const char* to) {
  if (!from || !*from) return 0;
  const std::string f(from), t(to ? to : "");
  std::string out;
  int n = 0;
  size_t pos = 0;
  for (;;) {
    size_t hit = s_.find(f, pos);
    if (hit == std::string::npos) break;
    out.append(s_, pos, hit - pos);
    out += t;
    pos = hit + f.size();
    ++n;
  }
  if (n) {
    out.append(s_, pos, std::string::npos);
    s_.swap(out);
  }
  return n;
}

int CString::Remove(char ch) {
  size_t before = s_.size();
  s_.erase(std::remove(s_.begin(), s_.end(), ch), s_.end());
  return static_cast<int>(before - s_.size());
}

int CString::Insert(int index, char ch) {
  index = Clamp(index, 0, GetLength());
  s_.insert(static_cast<size_t>(index), 1, ch);
  return GetLength();
}

int CString::Insert(int index, const char* text) {
  index = Clamp(index, 0, GetLength());
  if (text) s_.insert(static_cast<size_t>(index), std::string(text));
  return GetLength();
}

int CString::Delete(int index, int count) {
  if (index < 0) index = 0;
  if (count > 0 && index < GetLength()) {
    count = Clamp(count, 0, GetLength() - index);
    s_.erase(static_cast<size_t>(index), static_cast<size_t>(count));
  }
  return GetLength();
}

char* CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) s_.resize(static_cast<size_t>(minLength));
  return &s_[0];
}

char* CString::GetBufferSetLength(int length) {
  s_.resize(static_cast<size_t>(length < 0 ? 0 : length));
  return &s_[0];
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) {
    newLength = static_cast<int>(std::strlen(s_.c_str()));
  }
  if (newLength > GetLength()) newLength = GetLength();
  s_.resize(static_cast<size_t>(newLength));
}
