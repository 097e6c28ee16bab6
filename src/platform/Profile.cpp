#include "platform/Profile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include <sys/stat.h>

#include "files/ExportFile.h"
#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "platform/PathCase.h"

namespace {

const char kBlanks[] = " \t\r\v\f";

bool IsBlank(char c) { return c != '\0' && std::strchr(kBlanks, c) != nullptr; }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(const char* a, size_t aLen, const char* b) {
  size_t bLen = std::strlen(b);
  if (aLen != bLen) return false;
  for (size_t i = 0; i < aLen; ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// The whole file in one telio::Malloc block (so allocation failures can be
// injected like everywhere else).
struct FileBytes {
  char* data = nullptr;
  size_t size = 0;
  FileBytes() = default;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  ~FileBytes() { telio::Free(data); }
  void Swap(FileBytes& other) {
    std::swap(data, other.data);
    std::swap(size, other.size);
  }
};

// 0 on success, else the system error code.
ulong32 ReadWhole(const std::string& path, FileBytes& out) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return telio::kErrorAccessDenied;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return telio::ErrnoToSystemError(errno);
  ulong32 err = 0;
  long length = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) length = std::ftell(f);
  if (length < 0 || std::fseek(f, 0, SEEK_SET) != 0) {
    err = telio::kErrorReadFault;
  } else {
    out.data = static_cast<char*>(telio::Malloc(static_cast<size_t>(length) + 1));
    if (!out.data) {
      err = telio::kErrorNotEnoughMemory;
    } else {
      out.size = std::fread(out.data, 1, static_cast<size_t>(length), f);
      if (std::ferror(f)) err = telio::kErrorReadFault;
    }
  }
  std::fclose(f);
  return err;
}

// What tells a file on disk from its earlier self: a file replaced (a new
// inode), rewritten in place (new times) or resized reads as changed.
struct FileStamp {
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = -1;
  long long mtime = 0;  // nanoseconds
  long long ctime = 0;
  bool operator==(const FileStamp& o) const {
    return dev == o.dev && ino == o.ino && size == o.size && mtime == o.mtime && ctime == o.ctime;
  }
};

bool StampOf(const std::string& path, FileStamp& stamp) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  stamp.dev = st.st_dev;
  stamp.ino = st.st_ino;
  stamp.size = st.st_size;
  stamp.mtime = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  stamp.ctime = static_cast<long long>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec;
  return true;
}

// The last file read on this thread, while it is unchanged on disk. Callers
// read many keys of one file in a row (a safety-factor set takes 19), and
// each call would otherwise open and read the whole file again.
struct CachedFile {
  std::string path;
  FileStamp stamp;
  FileBytes bytes;
};
thread_local CachedFile t_cached;

void ForgetCachedFile() {
  FileBytes none;
  t_cached.bytes.Swap(none);
  t_cached.path.clear();
}

// The file's bytes, read again only when it changed since the last call:
// 0 and *out set, else the system error code.
ulong32 ReadCached(const std::string& path, const FileBytes** out) {
  FileStamp stamp;
  const bool stamped = StampOf(path, stamp);
  if (stamped && t_cached.path == path && t_cached.stamp == stamp) {
    *out = &t_cached.bytes;
    return 0;
  }
  FileBytes fresh;
  const ulong32 err = ReadWhole(path, fresh);
  ForgetCachedFile();
  if (err) return err;
  t_cached.bytes.Swap(fresh);
  // A file whose stamp could not be taken is read again next time.
  if (stamped) t_cached.path = path;
  t_cached.stamp = stamp;
  *out = &t_cached.bytes;
  return 0;
}

enum class Kind { kBlank, kComment, kSection, kKey, kOther };

// One line of the file as offsets into its bytes.
struct Line {
  size_t begin = 0;  // first byte
  size_t end = 0;    // end of the text, before the line break (CR LF or LF)
  size_t next = 0;   // first byte of the following line
  Kind kind = Kind::kBlank;
  const char* name = nullptr;  // section or key name, without blanks
  size_t nameLen = 0;
  const char* value = nullptr;  // key value, without blanks and quotes
  size_t valueLen = 0;
};

void Trim(const char*& p, size_t& len) {
  while (len > 0 && IsBlank(*p)) ++p, --len;
  while (len > 0 && IsBlank(p[len - 1])) --len;
}

// Reads the line starting at pos; false at the end of the data.
bool ReadLine(const FileBytes& file, size_t pos, Line& line) {
  if (pos >= file.size) return false;
  const char* d = file.data;
  line = Line();
  line.begin = pos;
  const void* nl = std::memchr(d + pos, '\n', file.size - pos);
  line.end = nl ? static_cast<size_t>(static_cast<const char*>(nl) - d) : file.size;
  line.next = nl ? line.end + 1 : file.size;
  if (line.end > line.begin && d[line.end - 1] == '\r') --line.end;  // keep CR LF whole
  const char* p = d + line.begin;
  size_t len = line.end - line.begin;
  Trim(p, len);
  if (len == 0) {
    line.kind = Kind::kBlank;
  } else if (*p == ';') {
    line.kind = Kind::kComment;
  } else if (*p == '[') {
    line.kind = Kind::kSection;
    const char* name = p + 1;
    size_t nameLen = len - 1;
    while (nameLen > 0 && name[nameLen - 1] != ']') --nameLen;
    nameLen = nameLen > 0 ? nameLen - 1 : len - 1;  // no ']': the rest of the line
    Trim(name, nameLen);
    line.name = name;
    line.nameLen = nameLen;
  } else {
    const void* eq = std::memchr(p, '=', len);
    if (!eq) {
      line.kind = Kind::kOther;  // neither a key nor a section: kept, never read
    } else {
      line.kind = Kind::kKey;
      line.name = p;
      line.nameLen = static_cast<size_t>(static_cast<const char*>(eq) - p);
      Trim(line.name, line.nameLen);
      line.value = static_cast<const char*>(eq) + 1;
      line.valueLen = static_cast<size_t>(p + len - line.value);
      Trim(line.value, line.valueLen);
      if (line.valueLen >= 2 && (line.value[0] == '"' || line.value[0] == '\'') &&
          line.value[line.valueLen - 1] == line.value[0]) {
        ++line.value;
        line.valueLen -= 2;
      }
    }
  }
  return true;
}

// Where a section lies: its header line and its body up to the next header.
struct SectionSpan {
  size_t headerBegin = 0;
  size_t bodyBegin = 0;
  size_t end = 0;
  size_t lastContentEnd = 0;  // after the last non-blank line (header included)
};

bool FindSection(const FileBytes& file, const char* section, SectionSpan& span) {
  Line line;
  bool inside = false;
  for (size_t pos = 0; ReadLine(file, pos, line); pos = line.next) {
    if (line.kind == Kind::kSection) {
      if (inside) {
        span.end = line.begin;
        return true;
      }
      if (EqualNoCase(line.name, line.nameLen, section)) {
        inside = true;
        span.headerBegin = line.begin;
        span.bodyBegin = span.lastContentEnd = line.next;
      }
    } else if (inside && line.kind != Kind::kBlank) {
      span.lastContentEnd = line.next;
    }
  }
  span.end = file.size;
  return inside;
}

bool FindKey(const FileBytes& file, const SectionSpan& span, const char* key, Line& found) {
  Line line;
  for (size_t pos = span.bodyBegin; pos < span.end && ReadLine(file, pos, line); pos = line.next) {
    if (line.kind == Kind::kKey && EqualNoCase(line.name, line.nameLen, key)) {
      found = line;
      return true;
    }
  }
  return false;
}

ulong32 CopyText(char* buffer, ulong32 size, const char* text, size_t len) {
  size_t n = len < size - 1 ? len : size - 1;
  std::memcpy(buffer, text, n);
  buffer[n] = '\0';
  return static_cast<ulong32>(n);
}

ulong32 CopyDefault(char* buffer, ulong32 size, const char* def) {
  if (!def) def = "";
  size_t len = std::strlen(def);
  while (len > 1 && def[len - 1] == ' ') --len;
  telio::SetLastError(telio::kErrorFileNotFound);
  return CopyText(buffer, size, def, len);
}

// Fills a buffer with NUL-terminated names and a final NUL; when they do
// not fit, the last one is cut and the list still ends with two NULs.
class NameList {
 public:
  NameList(char* buffer, ulong32 size) : buf_(buffer), size_(size) {}

  void Add(const char* name, size_t len) {
    if (full_) return;
    size_t room = size_ - 1 - used_;
    if (len + 1 > room) {
      if (room > 0) {
        std::memcpy(buf_ + used_, name, room - 1);
        used_ += room - 1;
        buf_[used_++] = '\0';
      }
      buf_[used_] = '\0';
      full_ = true;
      return;
    }
    std::memcpy(buf_ + used_, name, len);
    used_ += len;
    buf_[used_++] = '\0';
  }

  bool IsEmpty() const { return used_ == 0; }

  ulong32 Finish() {
    if (full_) return size_ - 2;
    buf_[used_] = '\0';
    return static_cast<ulong32>(used_);
  }

 private:
  char* buf_;
  size_t size_;
  size_t used_ = 0;
  bool full_ = false;
};

// Writes prefix [0, cutBegin), insert, suffix [cutEnd, size) as the new
// file, saved as every file of the library is (see files/ExportFile.h).
bool WriteReplacing(const std::string& path, const FileBytes& old, size_t cutBegin, size_t cutEnd,
                    const std::string& insert) {
  telio::ExportFile out(path.c_str());
  std::FILE* f = out.get();
  if (!f) return false;
  auto put = [f](const char* p, size_t n) { return n == 0 || std::fwrite(p, 1, n, f) == n; };
  bool ok = put(old.data, cutBegin) && put(insert.data(), insert.size()) &&
            put(old.data + cutEnd, old.size - cutEnd);
  return out.Commit(ok ? 0u : static_cast<ulong32>(telio::kErrorWriteFault)) == 0;
}

const char* LineBreakOf(const FileBytes& file) {
  const void* nl = file.size ? std::memchr(file.data, '\n', file.size) : nullptr;
  if (nl && nl != file.data && static_cast<const char*>(nl)[-1] != '\r') return "\n";
  return "\r\n";  // Windows files, and the default for a new one
}

}  // namespace

ulong32 GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                 char* buffer, ulong32 size, const char* fileName) {
  if (!buffer || size == 0) return 0;
  const FileBytes* cached = nullptr;
  ulong32 err = fileName ? ReadCached(telio::ResolvePathCase(fileName), &cached)
                         : telio::kErrorFileNotFound;
  if (err) {
    ulong32 n = CopyDefault(buffer, size, defaultValue);
    if (err != telio::kErrorFileNotFound) telio::SetLastError(err);
    return n;
  }
  const FileBytes& file = *cached;

  if (!section || !key) {
    if (size == 1) {
      buffer[0] = '\0';
      return 0;
    }
    NameList list(buffer, size);
    SectionSpan span;
    bool haveSection = section && FindSection(file, section, span);
    Line line;
    if (!section) {
      for (size_t pos = 0; ReadLine(file, pos, line); pos = line.next) {
        if (line.kind == Kind::kSection && line.nameLen > 0) list.Add(line.name, line.nameLen);
      }
    } else if (haveSection) {
      for (size_t pos = span.bodyBegin; pos < span.end && ReadLine(file, pos, line);
           pos = line.next) {
        if (line.kind == Kind::kKey && line.nameLen > 0) list.Add(line.name, line.nameLen);
      }
    }
    if (section && list.IsEmpty()) return CopyDefault(buffer, size, defaultValue);
    return list.Finish();
  }

  SectionSpan span;
  Line line;
  if (*key && FindSection(file, section, span) && FindKey(file, span, key, line)) {
    return CopyText(buffer, size, line.value, line.valueLen);
  }
  return CopyDefault(buffer, size, defaultValue);
}

unsigned GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                               const char* fileName) {
  if (!section || !key) return static_cast<unsigned>(defaultValue);
  char text[64];
  if (GetPrivateProfileStringA(section, key, "", text, sizeof text, fileName) == 0) {
    return static_cast<unsigned>(defaultValue);
  }
  const char* p = text;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = (*p++ == '-');
  unsigned value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) value = value * 10u + static_cast<unsigned>(*p - '0');
  return negative ? 0u - value : value;
}

int WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                               const char* fileName) {
  if (!section) {
    if (!key && !value) return 1;
    telio::SetLastError(telio::kErrorInvalidParameter);
    return 0;
  }
  if (!fileName || !*fileName) {
    telio::SetLastError(telio::kErrorInvalidParameter);
    return 0;
  }
  std::string path = telio::ResolvePathCase(fileName);
  ForgetCachedFile();
  FileBytes file;
  ulong32 err = ReadWhole(path, file);
  bool exists = err == 0;
  if (err && err != telio::kErrorFileNotFound) {
    telio::SetLastError(err);
    return 0;
  }

  SectionSpan span;
  bool haveSection = exists && FindSection(file, section, span);
  Line line;
  bool haveKey = haveSection && key && FindKey(file, span, key, line);

  if (!key) {  // delete the section
    if (!haveSection) return 1;
    return WriteReplacing(path, file, span.headerBegin, span.end, std::string()) ? 1 : 0;
  }
  if (!value) {  // delete the key
    if (!haveKey) return 1;
    return WriteReplacing(path, file, line.begin, line.next, std::string()) ? 1 : 0;
  }

  const std::string eol = LineBreakOf(file);
  std::string text;
  if (haveKey) {
    text.assign(line.name, line.nameLen);
    text += '=';
    text += value;
    return WriteReplacing(path, file, line.begin, line.end, text) ? 1 : 0;
  }
  size_t at = haveSection ? span.lastContentEnd : file.size;
  if (at > 0 && file.data[at - 1] != '\n') text += eol;  // the last line had no break
  if (!haveSection) {
    Line last;
    bool lastBlank = true;
    for (size_t pos = 0; ReadLine(file, pos, last); pos = last.next) lastBlank = last.kind == Kind::kBlank;
    if (!lastBlank) text += eol;  // one blank line between sections
    text += '[';
    text += section;
    text += ']';
    text += eol;
  }
  text += key;
  text += '=';
  text += value;
  text += eol;
  return WriteReplacing(path, file, at, at, text) ? 1 : 0;
}
