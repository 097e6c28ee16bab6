#include "sections/CSectionFiles.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/Alloc.h"
#include "platform/CPathObj.h"
#include "platform/LastError.h"
#include "platform/PathCase.h"
#include "sections/SectionFamilies.h"
#include "sections/SectionProperties.h"

namespace {

constexpr int kMaxTokens = 12;

int FoldCase(int c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

int CompareNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const int ca = FoldCase(static_cast<unsigned char>(*a));
    const int cb = FoldCase(static_cast<unsigned char>(*b));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (!ca) return 0;
  }
}

// '*' any run, '?' any one character; letter case ignored.
bool WildcardMatch(const char* pat, const char* s) {
  if (!*pat) return !*s;
  if (*pat == '*') {
    for (const char* p = s;; ++p) {
      if (WildcardMatch(pat + 1, p)) return true;
      if (!*p) return false;
    }
  }
  if (!*s) return false;
  if (*pat != '?' && FoldCase(static_cast<unsigned char>(*pat)) != FoldCase(static_cast<unsigned char>(*s))) {
    return false;
  }
  return WildcardMatch(pat + 1, s + 1);
}

// A decimal number in mm: digits, one point, an exponent; nothing else.
bool ParseNumber(const char* tok, double* out) {
  for (const char* p = tok; *p; ++p) {
    if (!std::strchr("0123456789.+-eE", *p)) return false;
  }
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(tok, &end);
  if (end == tok || *end || errno == ERANGE || !std::isfinite(v)) return false;
  *out = v;
  return true;
}

bool ParseUnsigned(const char* tok, unsigned long long max, unsigned long long* out) {
  if (!*tok || std::strlen(tok) > 10) return false;
  unsigned long long v = 0;
  for (const char* p = tok; *p; ++p) {
    if (*p < '0' || *p > '9') return false;
    v = v * 10 + static_cast<unsigned>(*p - '0');
  }
  if (v > max) return false;
  *out = v;
  return true;
}

struct KindInfo {
  const char* kind;
  int shape;
  int dims;
};

const KindInfo kKinds[] = {
    {"I", kShapeRolledI, 5},         {"W", kShapeWeldedI, 6},       {"U", kShapeChannel, 8},
    {"L", kShapeAngle, 5},           {"T", kShapeTee, 5},           {"CHS", kShapeCircularHollow, 2},
    {"RHS", kShapeRectHollow, 5},    {"RB", kShapeRoundBar, 1},     {"FB", kShapeRectBar, 2},
    {"2L", kShapeDoubleAngle, 3},
};

// The number of dimensions of a kind in a file of the version: version 1
// channels have no tfAt (their tf is at b/2).
int DimensionCount(const KindInfo& kind, int version) {
  return kind.shape == kShapeChannel && version == 1 ? kind.dims - 1 : kind.dims;
}

// Stores the dimension values of a line in the fields its kind gives them
// (values a version leaves out are 0).
void SetDimensions(CSectionData* d, const double* v) {
  switch (d->shape) {
    case kShapeRolledI:
    case kShapeTee:
      d->h = v[0], d->b = v[1], d->tw = v[2], d->tf = v[3], d->r1 = v[4];
      break;
    case kShapeWeldedI:
      d->h = v[0], d->b = v[1], d->tf = v[2], d->b2 = v[3], d->tf2 = v[4], d->tw = v[5];
      break;
    case kShapeChannel:
      d->h = v[0], d->b = v[1], d->tw = v[2], d->tf = v[3], d->r1 = v[4], d->r2 = v[5], d->slope = v[6];
      d->tfAt = v[7];
      break;
    case kShapeAngle:
    case kShapeRectHollow:
      d->h = v[0], d->b = v[1], d->tw = v[2], d->r1 = v[3], d->r2 = v[4];
      break;
    case kShapeCircularHollow:
      d->h = v[0], d->tw = v[1];
      break;
    case kShapeRoundBar:
      d->h = v[0];
      break;
    case kShapeRectBar:
      d->h = v[0], d->b = v[1];
      break;
    default:
      break;
  }
}

const char kPairLetters[] = " BSLD";

CString FormatNumber(double v) {
  CString s;
  s.Format("%.10g", v);
  return s;
}

}  // namespace

CSectionFiles::CSectionFiles() = default;

CSectionFiles::~CSectionFiles() { Clear(); }

void CSectionFiles::Clear() {
  telio::Free(sections_);
  telio::Free(byKey_);
  telio::Free(byName_);
  sections_ = nullptr;
  byKey_ = byName_ = nullptr;
  count_ = capacity_ = 0;
  for (int i = 0; i < fileCount_; ++i) files_[i].Empty();
  fileCount_ = 0;
  folder_.Empty();
  error_.Empty();
  loaded_ = false;
  nextUserKey_ = kFirstUserKey;
  filterCount_ = 0;
}

CString CSectionFiles::GetFileName(int i) const { return (i >= 0 && i < fileCount_) ? files_[i] : CString(); }

ulong32 CSectionFiles::Fail(ulong32 code, const CString& message) {
  const CString keep = message;
  Clear();
  error_ = keep;
  telio::SetLastError(code);
  return code;
}

CString CSectionFiles::Where(int fileIndex, int line) const {
  CString s;
  s.Format("%s:%d: ", GetFileName(fileIndex).GetString(), line);
  return s;
}

ulong32 CSectionFiles::Load(const char* pattern) {
  Clear();
  if (!pattern || !*pattern) return Fail(telio::kErrorBadArguments, "no catalogue path");
  const CPathObj path(pattern);
  const CString wildcard = path.GetLastComponent();
  const std::string folder = telio::ResolvePathCase(CPathObj::RemoveBackSlash(path.GetFolder()));
  std::error_code ec;
  if (folder.empty() || !std::filesystem::is_directory(folder, ec)) {
    return Fail(telio::kErrorPathNotFound, CString(folder.c_str()) + ": folder not found");
  }

  std::vector<std::string> names;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    std::error_code fec;
    if (!it->is_regular_file(fec) || !WildcardMatch(wildcard, name.c_str())) continue;
    names.push_back(name);
    if (names.size() > static_cast<size_t>(kMaxCatalogueFiles)) {
      return Fail(telio::kErrorFileCorrupt, CString(folder.c_str()) + ": too many catalogue files");
    }
  }
  if (names.empty()) return Fail(telio::kErrorFileNotFound, CString(pattern) + ": no catalogue file");
  std::sort(names.begin(), names.end());

  for (const std::string& name : names) files_[fileCount_++] = CString(name.c_str());
  for (int i = 0; i < fileCount_; ++i) {
    const std::string full = folder + "/" + files_[i].str();
    const ulong32 code = LoadOne(full.c_str(), i);
    if (code != 0) return code;
  }
  ulong32 code = BuildIndexes();
  if (code == 0) code = ResolvePairs();
  if (code != 0) return code;

  folder_ = folder.c_str();
  loaded_ = true;
  for (int i = 0; i < count_; ++i) {
    if (sections_[i].key >= nextUserKey_ && sections_[i].key < 0xFFFFFFFFu) nextUserKey_ = sections_[i].key + 1;
  }
  telio::SetLastError(0);
  return 0;
}

ulong32 CSectionFiles::LoadOne(const char* path, int fileIndex) {
  std::FILE* f = telio::OpenFile(path, "rb");
  if (!f) return Fail(telio::GetLastError(), CString(path) + ": cannot be opened");
  long size = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
  if (size < 0 || std::fseek(f, 0, SEEK_SET) != 0) {
    std::fclose(f);
    return Fail(telio::kErrorReadFault, CString(path) + ": cannot be read");
  }
  if (static_cast<unsigned long>(size) > kMaxCatalogueFileSize) {
    std::fclose(f);
    return Fail(telio::kErrorFileCorrupt, Where(fileIndex, 0) + "file larger than 8 MiB");
  }
  char* text = static_cast<char*>(telio::Malloc(static_cast<size_t>(size) + 1));
  if (!text) {
    std::fclose(f);
    return Fail(telio::kErrorNotEnoughMemory, Where(fileIndex, 0) + "out of memory");
  }
  const size_t got = std::fread(text, 1, static_cast<size_t>(size), f);
  const bool readError = std::ferror(f) != 0;
  std::fclose(f);
  if (readError || got != static_cast<size_t>(size)) {
    telio::Free(text);
    return Fail(telio::kErrorReadFault, Where(fileIndex, 0) + "read error");
  }
  text[got] = '\0';
  if (std::memchr(text, '\0', got)) {
    telio::Free(text);
    return Fail(telio::kErrorFileCorrupt, Where(fileIndex, 0) + "NUL byte: not a text file");
  }

  ulong32 code = 0;
  int lineNo = 0;
  int version = 0;
  char* p = text;
  while (code == 0 && *p) {
    ++lineNo;
    char* eol = std::strchr(p, '\n');
    char* next = eol ? eol + 1 : p + std::strlen(p);
    if (eol) *eol = '\0';
    const size_t len = std::strlen(p);
    if (len && p[len - 1] == '\r') p[len - 1] = '\0';
    if (std::strlen(p) > static_cast<size_t>(kMaxCatalogueLine)) {
      code = Fail(telio::kErrorFileCorrupt, Where(fileIndex, lineNo) + "line longer than 512 characters");
    } else if (lineNo == 1) {
      char magic[16] = {};
      char extra = 0;
      const int n = std::sscanf(p, " %15s %d %c", magic, &version, &extra);
      if (n < 2 || std::strcmp(magic, kCatalogueMagic) != 0) {
        code = Fail(telio::kErrorFileCorrupt, Where(fileIndex, lineNo) + "not a section catalogue (no \"TELIO-SEC <version>\" line)");
      } else if (version < kOldestCatalogueVersion || version > kCatalogueVersion || n != 2) {
        CString msg;
        msg.Format("catalogue version %d is not supported (versions %d to %d are)", version,
                   kOldestCatalogueVersion, kCatalogueVersion);
        code = Fail(telio::kErrorFileCorrupt, Where(fileIndex, lineNo) + msg);
      }
    } else {
      code = ParseLine(p, lineNo, fileIndex, version);
    }
    p = next;
  }
  if (code == 0 && lineNo == 0) {
    code = Fail(telio::kErrorFileCorrupt, Where(fileIndex, 1) + "empty file: no \"TELIO-SEC <version>\" line");
  }
  telio::Free(text);
  return code;
}

ulong32 CSectionFiles::ParseLine(char* line, int lineNo, int fileIndex, int version) {
  char* tok[kMaxTokens + 1];
  int n = 0;
  for (char* s = line; *s && n <= kMaxTokens;) {
    while (*s == ' ' || *s == '\t') *s++ = '\0';
    if (!*s) break;
    tok[n++] = s;
    while (*s && *s != ' ' && *s != '\t') ++s;
  }
  if (n == 0 || tok[0][0] == '#') return 0;
  const CString at = Where(fileIndex, lineNo);

  const KindInfo* kind = nullptr;
  for (const KindInfo& k : kKinds) {
    if (std::strcmp(tok[0], k.kind) == 0) kind = &k;
  }
  if (!kind) return Fail(telio::kErrorFileCorrupt, at + "unknown kind \"" + tok[0] + "\"");
  const int dims = DimensionCount(*kind, version);
  if (n != 4 + dims) {
    CString msg;
    msg.Format("%s line has %d fields, %d expected", kind->kind, n, 4 + dims);
    return Fail(telio::kErrorFileCorrupt, at + msg);
  }
  unsigned long long key = 0, family = 0;
  if (!ParseUnsigned(tok[1], 0xFFFFFFFFull, &key) || key == 0) {
    return Fail(telio::kErrorFileCorrupt, at + "bad key \"" + tok[1] + "\"");
  }
  if (!ParseUnsigned(tok[2], 999, &family) || family == 0) {
    return Fail(telio::kErrorFileCorrupt, at + "bad family \"" + tok[2] + "\"");
  }
  if (std::strlen(tok[3]) >= static_cast<size_t>(CSectionData::kNameSize)) {
    return Fail(telio::kErrorFileCorrupt, at + "name longer than 31 characters");
  }

  CSectionData d;
  d.key = static_cast<ulong32>(key);
  d.family = static_cast<int>(family);
  d.shape = kind->shape;
  d.fileIndex = fileIndex;
  d.line = lineNo;
  d.SetName(tok[3]);

  if (kind->shape == kShapeDoubleAngle) {
    unsigned long long arrangement = 0;
    if (std::strlen(tok[4]) >= static_cast<size_t>(CSectionData::kNameSize)) {
      return Fail(telio::kErrorFileCorrupt, at + "angle name longer than 31 characters");
    }
    if (!ParseUnsigned(tok[5], kPairStar, &arrangement) || arrangement < kPairBackToBack) {
      return Fail(telio::kErrorFileCorrupt, at + "bad arrangement \"" + tok[5] + "\" (1 to 4)");
    }
    if (!ParseNumber(tok[6], &d.spacing) || d.spacing < 0 || d.spacing > kMaxSectionDimension) {
      return Fail(telio::kErrorFileCorrupt, at + "bad spacing \"" + tok[6] + "\"");
    }
    d.SetBaseName(tok[4]);
    d.arrangement = static_cast<int>(arrangement);
    return Append(d);  // measured once every angle is known (ResolvePairs)
  }

  double v[kMaxTokens] = {};
  for (int i = 0; i < dims; ++i) {
    if (!ParseNumber(tok[4 + i], &v[i])) {
      return Fail(telio::kErrorFileCorrupt, at + "bad number \"" + tok[4 + i] + "\"");
    }
  }
  SetDimensions(&d, v);
  if (!CalculateSectionData(&d)) {
    return Fail(telio::kErrorFileCorrupt, at + "dimensions of " + d.name + " do not make a section");
  }
  return Append(d);
}

ulong32 CSectionFiles::Append(const CSectionData& data) {
  if (count_ == capacity_) {
    if (count_ >= kMaxCatalogueSections) {
      return Fail(telio::kErrorFileCorrupt, Where(data.fileIndex, data.line) + "more than 200000 sections");
    }
    const int grown = std::min(kMaxCatalogueSections, capacity_ ? capacity_ * 2 : 64);
    void* p = telio::Realloc(sections_, static_cast<size_t>(grown) * sizeof(CSectionData));
    if (!p) return Fail(telio::kErrorNotEnoughMemory, Where(data.fileIndex, data.line) + "out of memory");
    sections_ = static_cast<CSectionData*>(p);
    capacity_ = grown;
  }
  std::memcpy(static_cast<void*>(&sections_[count_]), &data, sizeof data);
  ++count_;
  return 0;
}

ulong32 CSectionFiles::BuildIndexes() {
  telio::Free(byKey_);
  telio::Free(byName_);
  byKey_ = byName_ = nullptr;
  if (count_ == 0) return 0;
  byKey_ = static_cast<int*>(telio::Malloc(static_cast<size_t>(count_) * sizeof(int)));
  byName_ = static_cast<int*>(telio::Malloc(static_cast<size_t>(count_) * sizeof(int)));
  if (!byKey_ || !byName_) return Fail(telio::kErrorNotEnoughMemory, "out of memory");
  for (int i = 0; i < count_; ++i) byKey_[i] = byName_[i] = i;
  const CSectionData* s = sections_;
  // Stable, so the first of two equal entries is the earlier line.
  std::stable_sort(byKey_, byKey_ + count_, [s](int a, int b) { return s[a].key < s[b].key; });
  std::stable_sort(byName_, byName_ + count_,
                   [s](int a, int b) { return CompareNoCase(s[a].name, s[b].name) < 0; });
  for (int i = 1; i < count_; ++i) {
    const CSectionData& a = s[byKey_[i - 1]];
    const CSectionData& b = s[byKey_[i]];
    if (a.key == b.key) {
      CString msg;
      msg.Format("key %lu already used by %s (%s:%d)", static_cast<unsigned long>(b.key), a.name,
                 GetFileName(a.fileIndex).GetString(), a.line);
      return Fail(telio::kErrorFileCorrupt, Where(b.fileIndex, b.line) + msg);
    }
  }
  for (int i = 1; i < count_; ++i) {
    const CSectionData& a = s[byName_[i - 1]];
    const CSectionData& b = s[byName_[i]];
    if (CompareNoCase(a.name, b.name) == 0) {
      CString msg;
      msg.Format("name %s already used (%s:%d)", b.name, GetFileName(a.fileIndex).GetString(), a.line);
      return Fail(telio::kErrorFileCorrupt, Where(b.fileIndex, b.line) + msg);
    }
  }
  return 0;
}

ulong32 CSectionFiles::ResolvePairs() {
  for (int i = 0; i < count_; ++i) {
    CSectionData& d = sections_[i];
    if (d.shape != kShapeDoubleAngle) continue;
    const CSectionData* single = FindSingleAngle(0, d.baseName);
    if (!single) {
      return Fail(telio::kErrorFileCorrupt, Where(d.fileIndex, d.line) + "double angle of unknown angle " + d.baseName);
    }
    d.h = single->h;
    d.b = single->b;
    d.tw = single->tw;
    d.r1 = single->r1;
    d.r2 = single->r2;
    if (!CalculateSectionData(&d)) {
      return Fail(telio::kErrorFileCorrupt, Where(d.fileIndex, d.line) + "dimensions of " + d.name + " do not make a section");
    }
  }
  return 0;
}

const CSectionData* CSectionFiles::ByKey(ulong32 key) const {
  if (!byKey_ || key == 0) return nullptr;
  const CSectionData* s = sections_;
  const int* it = std::lower_bound(byKey_, byKey_ + count_, key, [s](int i, ulong32 k) { return s[i].key < k; });
  return (it != byKey_ + count_ && s[*it].key == key) ? &s[*it] : nullptr;
}

ulong32 CSectionFiles::FindSection(const char* name) const {
  if (!byName_ || !name || !*name) return 0;
  const CSectionData* s = sections_;
  const int* it = std::lower_bound(byName_, byName_ + count_, name,
                                   [s](int i, const char* n) { return CompareNoCase(s[i].name, n) < 0; });
  return (it != byName_ + count_ && CompareNoCase(s[*it].name, name) == 0) ? s[*it].key : 0;
}

int CSectionFiles::GetSectionData(ulong32 key, CSectionData* out) const {
  const CSectionData* d = ByKey(key);
  if (!d) return 0;
  if (out) *out = *d;
  return 1;
}

int CSectionFiles::GetSectionData(int family, int index, CSectionData* out) const {
  if (index < 0) return 0;
  for (int i = 0; i < count_; ++i) {
    if (sections_[i].family != family) continue;
    if (index-- == 0) {
      if (out) *out = sections_[i];
      return 1;
    }
  }
  return 0;
}

CString CSectionFiles::GetSectionName(ulong32 key) const {
  const CSectionData* d = ByKey(key);
  return d ? CString(d->name) : CString();
}

int CSectionFiles::GetSectionCatalogID(ulong32 key) const {
  const CSectionData* d = ByKey(key);
  return d ? d->family : 0;
}

void CSectionFiles::GetMatchValues(const CSectionData& d, double v[kMatchValues]) {
  v[0] = d.h / 10;
  v[1] = d.b / 10;
  v[2] = d.tw / 10;
  v[3] = d.tf / 10;
  v[4] = d.r1 / 10;
  v[5] = d.A;
  v[6] = d.Avz;
}

ulong32 CSectionFiles::MatchSectionData(const double values[kMatchValues], int family, double tolerance) const {
  if (!values) return 0;
  bool any = false;
  for (int k = 0; k < kMatchValues; ++k) any = any || values[k] > 0;
  if (!any || !(tolerance >= 0)) return 0;
  for (int i = 0; i < count_; ++i) {
    const CSectionData& d = sections_[i];
    if ((family != 0 && d.family != family) || !IsInFilter(d.family)) continue;
    double mine[kMatchValues];
    GetMatchValues(d, mine);
    bool match = true;
    for (int k = 0; k < kMatchValues && match; ++k) {
      if (values[k] > 0) match = std::fabs(mine[k] - values[k]) <= tolerance * values[k];
    }
    if (match) return d.key;
  }
  return 0;
}

const CSectionData* CSectionFiles::FindSingleAngle(int family, const char* name) const {
  auto fits = [family](const CSectionData& d) { return d.shape == kShapeAngle && (family == 0 || d.family == family); };
  if (const CSectionData* d = ByKey(FindSection(name))) {
    if (fits(*d)) return d;
  }
  // A name spelt from the dimensions, "L100x100x10" or "L60x60x6.500000".
  double a = 0, b = 0, t = 0;
  int used = 0;
  if (!name || std::sscanf(name, "L%lfx%lfx%lf%n", &a, &b, &t, &used) != 3 || name[used]) return nullptr;
  auto same = [](double x, double y) { return std::fabs(x - y) < 0.01; };
  for (int i = 0; i < count_; ++i) {
    const CSectionData& d = sections_[i];
    if (!fits(d) || !same(d.tw, t)) continue;
    if ((same(d.h, a) && same(d.b, b)) || (same(d.h, b) && same(d.b, a))) return &d;
  }
  return nullptr;
}

ulong32 CSectionFiles::InsertCompositeSection(int singleFamily, const char* singleName, int arrangement,
                                              double spacing) {
  const bool validFamily = IsLEQSection(singleFamily) || IsLNESection(singleFamily);
  const CSectionData* single = loaded_ && validFamily ? FindSingleAngle(singleFamily, singleName) : nullptr;
  if (!single || arrangement < kPairBackToBack || arrangement > kPairStar || !std::isfinite(spacing) ||
      spacing < 0 || spacing > kMaxSectionDimension) {
    telio::SetLastError(telio::kErrorBadArguments);
    return 0;
  }
  for (int i = 0; i < count_; ++i) {
    const CSectionData& d = sections_[i];
    if (d.shape == kShapeDoubleAngle && d.arrangement == arrangement && std::fabs(d.spacing - spacing) < 1e-6 &&
        CompareNoCase(d.baseName, single->name) == 0) {
      return d.key;
    }
  }

  CSectionData pair;
  pair.key = nextUserKey_;
  const int base = IsAlSection(singleFamily) ? 38 : 33;
  pair.family = arrangement == kPairLongLegs ? base + 1 : arrangement == kPairShortLegs ? base + 2 : base;
  pair.shape = kShapeDoubleAngle;
  pair.fileIndex = -1;
  pair.SetBaseName(single->name);
  CString name;
  name.Format("2L%sx%sx%s%c/%s", FormatNumber(single->h).GetString(), FormatNumber(single->b).GetString(),
              FormatNumber(single->tw).GetString(), kPairLetters[arrangement], FormatNumber(spacing).GetString());
  pair.SetName(name);
  pair.h = single->h;
  pair.b = single->b;
  pair.tw = single->tw;
  pair.r1 = single->r1;
  pair.r2 = single->r2;
  pair.spacing = spacing;
  pair.arrangement = arrangement;
  if (FindSection(pair.name) != 0 || !CalculateSectionData(&pair) || nextUserKey_ == 0xFFFFFFFFu) {
    telio::SetLastError(telio::kErrorBadArguments);
    return 0;
  }

  // Grow first, then index: a failure leaves the catalogue as it was.
  if (count_ == capacity_) {
    const int grown = capacity_ ? capacity_ * 2 : 64;
    if (count_ >= kMaxCatalogueSections) {
      telio::SetLastError(telio::kErrorBadArguments);
      return 0;
    }
    void* p = telio::Realloc(sections_, static_cast<size_t>(std::min(grown, kMaxCatalogueSections)) * sizeof(CSectionData));
    if (!p) {
      telio::SetLastError(telio::kErrorNotEnoughMemory);
      return 0;
    }
    sections_ = static_cast<CSectionData*>(p);
    capacity_ = std::min(grown, kMaxCatalogueSections);
  }
  int* keys = static_cast<int*>(telio::Realloc(byKey_, static_cast<size_t>(count_ + 1) * sizeof(int)));
  if (keys) byKey_ = keys;
  int* names = keys ? static_cast<int*>(telio::Realloc(byName_, static_cast<size_t>(count_ + 1) * sizeof(int))) : nullptr;
  if (names) byName_ = names;
  if (!keys || !names) {
    telio::SetLastError(telio::kErrorNotEnoughMemory);
    return 0;
  }
  std::memcpy(static_cast<void*>(&sections_[count_]), &pair, sizeof pair);
  const int index = count_++;
  const CSectionData* s = sections_;
  // Insert the new entry at its sorted place in both indexes.
  int* k = std::upper_bound(byKey_, byKey_ + index, pair.key, [s](ulong32 key, int i) { return key < s[i].key; });
  std::memmove(k + 1, k, static_cast<size_t>(byKey_ + index - k) * sizeof(int));
  *k = index;
  int* n = std::upper_bound(byName_, byName_ + index, pair.name,
                            [s](const char* nm, int i) { return CompareNoCase(nm, s[i].name) < 0; });
  std::memmove(n + 1, n, static_cast<size_t>(byName_ + index - n) * sizeof(int));
  *n = index;
  ++nextUserKey_;

  const ulong32 written = WriteUserLine(pair);
  telio::SetLastError(written);
  return pair.key;
}

ulong32 CSectionFiles::WriteUserLine(const CSectionData& pair) const {
  CPathObj path(folder_);
  path.AppendFile(kUserCatalogueFile);
  bool needHeader = true;
  bool needNewline = false;
  if (std::FILE* f = telio::OpenFile(path.GetFullPath(), "rb")) {
    needHeader = false;
    if (std::fseek(f, -1, SEEK_END) == 0) {
      needNewline = std::fgetc(f) != '\n';
    } else {
      needHeader = true;  // empty file
    }
    std::fclose(f);
  }
  std::FILE* f = telio::OpenFile(path.GetFullPath(), "ab");
  if (!f) return telio::GetLastError();
  CString text;
  if (needHeader) {
    text.Format("%s %d\n# Double angles added by the programs; keys from %lu on.\n", kCatalogueMagic,
                kOldestCatalogueVersion, static_cast<unsigned long>(kFirstUserKey));
  } else if (needNewline) {
    text = "\n";
  }
  text.AppendFormat("2L %lu %d %s %s %d %s\n", static_cast<unsigned long>(pair.key), pair.family, pair.name,
                    pair.baseName, pair.arrangement, FormatNumber(pair.spacing).GetString());
  const size_t len = static_cast<size_t>(text.GetLength());
  const bool ok = std::fwrite(text.GetString(), 1, len, f) == len;
  const bool closed = std::fclose(f) == 0;
  return ok && closed ? ulong32{0} : ulong32{telio::kErrorWriteFault};
}

void CSectionFiles::AddProfileToFilter(int family) {
  if (IsInFilter(family) && filterCount_ > 0) return;
  if (filterCount_ < static_cast<int>(sizeof filter_ / sizeof filter_[0])) filter_[filterCount_++] = family;
}

void CSectionFiles::ClearProfileFilter() { filterCount_ = 0; }

bool CSectionFiles::IsInFilter(int family) const {
  if (filterCount_ == 0) return true;
  for (int i = 0; i < filterCount_; ++i) {
    if (filter_[i] == family) return true;
  }
  return false;
}
