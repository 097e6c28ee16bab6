#include "platform/CPathObj.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include "platform/LastError.h"
#include "platform/PathCase.h"

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool IsSep(char c) { return c == '/' || c == '\\'; }

bool HasDrive(const std::string& p) {
  return p.size() >= 2 && p[1] == ':' &&
         ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
}

// The length of the root part: "/" (1), "C:/" (3), "C:" (2), else 0.
size_t RootLength(const std::string& p) {
  if (HasDrive(p)) return (p.size() >= 3 && p[2] == '/') ? 3 : 2;
  return (!p.empty() && p[0] == '/') ? 1 : 0;
}

std::string Normalise(const char* text) {
  std::string out;
  if (!text) return out;
  for (const char* s = text; *s; ++s) {
    char c = IsSep(*s) ? '/' : *s;
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += c;
  }
  while (out.size() > RootLength(out) && out.back() == '/') out.pop_back();
  return out;
}

// Components of a normalised path after its root.
std::vector<std::string> Components(const std::string& p) {
  std::vector<std::string> parts;
  size_t i = RootLength(p);
  while (i < p.size()) {
    size_t j = p.find('/', i);
    if (j == std::string::npos) j = p.size();
    if (j > i) parts.push_back(p.substr(i, j - i));
    i = j + 1;
  }
  return parts;
}

// Position of the extension's dot in the last component, npos when none.
size_t ExtDot(const std::string& full, const std::string& last) {
  size_t dot = last.rfind('.');
  if (dot == std::string::npos || dot == 0) return std::string::npos;
  return full.size() - last.size() + dot;
}

std::string StripDot(const char* ext) {
  if (!ext) return std::string();
  std::string e(ext);
  if (!e.empty() && e[0] == '.') e.erase(0, 1);
  return e;
}

std::mutex g_specialMutex;
std::map<int, std::string>& SpecialFolders() {
  static std::map<int, std::string> folders;
  return folders;
}

}  // namespace

CPathObj::CPathObj(const char* path) { SetPath(path); }

CPathObj::~CPathObj() = default;

void CPathObj::SetPath(const char* path) {
  full_ = Normalise(path);
  Split();
}

void CPathObj::Clear() {
  full_.clear();
  Split();
}

CPathObj& CPathObj::operator=(const CString& path) {
  SetPath(path.GetString());
  return *this;
}

int CPathObj::SetPathSpecial(int id) {
  CString folder = telio::GetSpecialFolder(id);
  SetPath(folder.GetString());
  return full_.empty() ? 0 : 1;
}

void CPathObj::Split() {
  size_t root = RootLength(full_);
  size_t slash = full_.rfind('/');
  if (full_.size() <= root) {
    folder_ = full_;
    last_.clear();
  } else if (slash == std::string::npos || slash < root) {
    // "name" or "C:name"
    folder_ = full_.substr(0, root);
    last_ = full_.substr(root);
  } else {
    folder_ = full_.substr(0, slash + 1);
    last_ = full_.substr(slash + 1);
  }
}

CString CPathObj::GetFileEXT() const {
  size_t dot = ExtDot(full_, last_);
  return dot == std::string::npos ? CString() : CString(full_.substr(dot + 1));
}

CString CPathObj::GetFileTitle() const {
  size_t dot = last_.rfind('.');
  if (dot == std::string::npos || dot == 0) return CString(last_);
  return CString(last_.substr(0, dot));
}

void CPathObj::AppendFile(const char* name) {
  std::string n = Normalise(name);
  size_t skip = 0;
  while (skip < n.size() && n[skip] == '/') ++skip;
  n.erase(0, skip);
  if (n.empty()) return;
  if (!full_.empty() && full_.back() != '/' && !(full_.size() == 2 && HasDrive(full_))) full_ += '/';
  full_ += n;
  Split();
}

void CPathObj::AppendEXT(const char* ext) {
  std::string e = StripDot(ext);
  if (e.empty() || last_.empty()) return;
  full_ += '.';
  full_ += e;
  Split();
}

void CPathObj::ChangeEXT(const char* ext) {
  RemoveEXT();
  AppendEXT(ext);
}

void CPathObj::RemoveEXT() {
  size_t dot = ExtDot(full_, last_);
  if (dot == std::string::npos) return;
  full_.erase(dot);
  Split();
}

int CPathObj::IsFileEXTOneOf(const char* exts) const {
  if (!exts) return 0;
  std::string ext = GetFileEXT().str();
  if (ext.empty()) return 0;
  std::string list(exts);
  size_t i = 0;
  while (i <= list.size()) {
    size_t j = list.find_first_of(";|, \t", i);
    if (j == std::string::npos) j = list.size();
    std::string entry = list.substr(i, j - i);
    if (entry.compare(0, 2, "*.") == 0) {
      entry.erase(0, 2);
    } else if (!entry.empty() && entry[0] == '.') {
      entry.erase(0, 1);
    }
    if (entry == "*" || (!entry.empty() && EqualNoCase(entry, ext))) return 1;
    i = j + 1;
  }
  return 0;
}

int CPathObj::ExistsPath() const {
  if (full_.empty()) return 0;
  std::error_code ec;
  return std::filesystem::exists(telio::ResolvePathCase(full_.c_str()), ec) ? 1 : 0;
}

int CPathObj::CreateFilePath(int lastIsFile, int /*reserved*/) {
  std::string target = lastIsFile ? folder_ : full_;
  if (target.empty()) return lastIsFile ? 1 : 0;  // a bare file name lives in the current folder
  std::string real = telio::ResolvePathCase(target.c_str());
  std::error_code ec;
  std::filesystem::create_directories(real, ec);
  return std::filesystem::is_directory(real, ec) ? 1 : 0;
}

int CPathObj::IsRelativePath() const {
  size_t root = RootLength(full_);
  return (root == 0 || root == 2) ? 1 : 0;  // "C:name" is relative to the drive's current folder
}

CString CPathObj::GetRelativePath(const char* base) const {
  std::string b = Normalise(base);
  size_t rootP = RootLength(full_), rootB = RootLength(b);
  if ((rootP == 0) != (rootB == 0) || !EqualNoCase(full_.substr(0, rootP), b.substr(0, rootB))) {
    return CString(full_);
  }
  std::vector<std::string> pc = Components(full_), bc = Components(b);
  size_t common = 0;
  while (common < pc.size() && common < bc.size() && EqualNoCase(pc[common], bc[common])) ++common;
  std::string out;
  for (size_t k = common; k < bc.size(); ++k) out += out.empty() ? ".." : "/..";
  for (size_t k = common; k < pc.size(); ++k) {
    if (!out.empty()) out += '/';
    out += pc[k];
  }
  return CString(out.empty() ? std::string(".") : out);
}

CString CPathObj::GetAbsolutePath(const char* base) const {
  std::string joined = full_;
  if (IsRelativePath() && !HasDrive(full_)) {
    std::string b = Normalise(base);
    joined = b.empty() ? full_ : b + "/" + full_;
  }
  joined = Normalise(joined.c_str());
  size_t root = RootLength(joined);
  std::vector<std::string> out;
  for (const std::string& c : Components(joined)) {
    if (c == ".") continue;
    if (c == ".." && !out.empty() && out.back() != "..") {
      out.pop_back();
    } else if (c == ".." && root != 0) {
      continue;  // above the root stays at the root
    } else {
      out.push_back(c);
    }
  }
  std::string result = joined.substr(0, root);
  for (size_t k = 0; k < out.size(); ++k) {
    if (k > 0) result += '/';
    result += out[k];
  }
  return CString(result);
}

CString CPathObj::AddBackSlash(const char* text, int sep) {
  CString s = RemoveBackSlash(text);
  s += static_cast<char>(sep ? sep : '/');
  return s;
}

CString CPathObj::RemoveBackSlash(const char* text) {
  if (!text) return CString();
  std::string s(text);
  while (!s.empty() && IsSep(s.back())) s.pop_back();
  return CString(s);
}

namespace telio {

void SetSpecialFolder(int id, const char* path) {
  std::lock_guard<std::mutex> lock(g_specialMutex);
  if (path) {
    SpecialFolders()[id] = path;
  } else {
    SpecialFolders().erase(id);
  }
}

CString GetSpecialFolder(int id) {
  {
    std::lock_guard<std::mutex> lock(g_specialMutex);
    auto it = SpecialFolders().find(id);
    if (it != SpecialFolders().end()) return CString(it->second);
  }
  if (id != kPathSpecialDefault) return CString();
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg) return CString(std::string(xdg) + "/telio");
  const char* home = std::getenv("HOME");
  if (home && *home) return CString(std::string(home) + "/.config/telio");
  return CString();
}

std::FILE* OpenFile(const char* path, const char* mode) {
  if (!path || !mode || !*path) {
    SetLastError(kErrorFileNotFound);
    return nullptr;
  }
  std::string real = ResolvePathCase(path);
  errno = 0;
  std::FILE* f = std::fopen(real.c_str(), mode);
  if (!f) {
    if (errno == 0) errno = ENOENT;
    SetLastError(errno == ENOENT ? MissingPathError(real.c_str()) : ErrnoToSystemError(errno));
  }
  return f;
}

ulong32 MissingPathError(const char* path) {
  CPathObj p(ResolvePathCase(path).c_str());
  std::string folder = p.GetFolder();
  if (folder.empty()) return kErrorFileNotFound;  // a bare name lives in the current folder
  std::error_code ec;
  return std::filesystem::is_directory(folder, ec) ? kErrorFileNotFound : kErrorPathNotFound;
}

}  // namespace telio
