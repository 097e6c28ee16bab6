// CString: the 8-bit text of the library's interface.
//
// A value type holding bytes in the Windows ANSI code page (no conversion is
// ever done here). Letter case is folded for ASCII letters only, so results
// do not depend on the host's locale. Positions and lengths are int; an
// out-of-range position is clamped, never undefined.
#pragma once

#include <cstdarg>
#include <string>

#include "platform/Export.h"

class TELIO_EXPORT CString {
 public:
  CString() = default;
  CString(const char* text);  // NOLINT(google-explicit-constructor): as the framework's
  CString(const char* text, int length);
  CString(char ch, int repeat = 1);
  explicit CString(const std::string& text) : s_(text) {}
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(const char* text);
  CString& operator=(char ch);
  // The text becomes length bytes from text (none for a null text or a
  // length <= 0), NUL bytes included.
  void SetString(const char* text, int length);

  int GetLength() const { return static_cast<int>(s_.size()); }
  bool IsEmpty() const { return s_.empty(); }
  void Empty() { s_.clear(); }

  // Character access; GetAt and operator[] give 0 for a position out of range.
  char GetAt(int i) const { return (i >= 0 && i < GetLength()) ? s_[static_cast<size_t>(i)] : '\0'; }
  char operator[](int i) const { return GetAt(i); }
  void SetAt(int i, char ch);

  operator const char*() const { return s_.c_str(); }  // NOLINT: as the framework's
  const char* GetString() const { return s_.c_str(); }
  const std::string& str() const { return s_; }

  // <0, 0, >0 as strcmp; a null text compares as empty.
  int Compare(const char* text) const;
  // As Compare with ASCII letters folded to lower case.
  int CompareNoCase(const char* text) const;

  void Format(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;
  void AppendFormat(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;
  void FormatV(const char* format, va_list args)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 0)))
#endif
      ;

  // Trim white space (space, tab, CR, LF, VT, FF), one character, or any of a set.
  CString& Trim();
  CString& Trim(char ch);
  CString& Trim(const char* set);
  CString& TrimLeft();
  CString& TrimLeft(char ch);
  CString& TrimLeft(const char* set);
  CString& TrimRight();
  CString& TrimRight(char ch);
  CString& TrimRight(const char* set);

  CString Left(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Right(int count) const;

  // -1 when not found; start positions below 0 count as 0.
  int Find(char ch, int start = 0) const;
  int Find(const char* sub, int start = 0) const;
  int ReverseFind(char ch) const;
  int FindOneOf(const char* set) const;

  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();

  // Number of replacements / removals; new length after Insert / Delete.
  int Replace(char from, char to);
  int Replace(const char* from, const char* to);
  int Remove(char ch);
  int Insert(int index, char ch);
  int Insert(int index, const char* text);
  int Delete(int index, int count = 1);

  // Direct buffer access for C-style producers: GetBuffer gives room for at
  // least minLength characters plus the terminator; ReleaseBuffer(-1) takes
  // the length up to the first NUL.
  char* GetBuffer(int minLength = 0);
  char* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

  CString& operator+=(const CString& other) { s_ += other.s_; return *this; }
  CString& operator+=(const char* text);
  CString& operator+=(char ch) { s_ += ch; return *this; }

  friend CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
  friend CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
  friend CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
  friend CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }
  friend CString operator+(char a, const CString& b) { CString r(a); r += b; return r; }

  friend bool operator==(const CString& a, const CString& b) { return a.s_ == b.s_; }
  friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
  friend bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
  friend bool operator!=(const char* a, const CString& b) { return !(a == b); }
  friend bool operator<(const CString& a, const CString& b) { return a.s_ < b.s_; }
  friend bool operator>(const CString& a, const CString& b) { return b.s_ < a.s_; }
  friend bool operator<=(const CString& a, const CString& b) { return !(b.s_ < a.s_); }
  friend bool operator>=(const CString& a, const CString& b) { return !(a.s_ < b.s_); }

 private:
  std::string s_;
};
