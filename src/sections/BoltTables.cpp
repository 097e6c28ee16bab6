#include "sections/BoltTables.h"

#include <cstdio>

#include "platform/Alloc.h"
#include "sections/LibraryTables.h"
#include "platform/CPathObj.h"
#include "platform/FieldText.h"
#include "platform/TelKrnl.h"

namespace {

constexpr int kMaxSizes = 10;
constexpr int kSizeValues = 13;
constexpr int kMaxGrades = 17;
constexpr int kGradeValues = 3;

struct BoltTables {
  float (*sizes)[kSizeValues] = nullptr;
  float (*grades)[kGradeValues] = nullptr;
  int sizeCount = 0;
  int gradeCount = 0;
  bool loaded = false;
};

BoltTables g_bolts;

const float* SizeRow(int size) {
  telio::EnsureLibraryTablesLoaded();
  if (!g_bolts.sizes || size < 1 || size > kMaxSizes) return nullptr;
  return g_bolts.sizes[size - 1];
}

const float* GradeRow(int grade) {
  telio::EnsureLibraryTablesLoaded();
  if (!g_bolts.grades || grade < 1 || grade > kMaxGrades) return nullptr;
  return g_bolts.grades[grade - 1];
}

// Reads up to count values; false when the file ends or holds no number.
bool ReadFloats(std::FILE* f, float* out, int count) {
  for (int i = 0; i < count; ++i) {
    float v;
    if (std::fscanf(f, " %f", &v) != 1) return false;
    if (out) out[i] = v;
  }
  return true;
}

}  // namespace

CString BOL_REC::Text(int offset, int size) const {
  return telio::ReadFieldText(bytes + offset, static_cast<size_t>(size));
}

void BOL_REC::SetName(const char* name) { telio::WriteFieldText(bytes, kNameSize, name); }

void BOL_REC::SetNumbers(int16_t size, int16_t grade, int16_t third, int16_t fourth) {
  telio::EncodeFixed16(bytes + 26, static_cast<uint16_t>(size));
  telio::EncodeFixed16(bytes + 28, static_cast<uint16_t>(grade));
  telio::EncodeFixed16(bytes + 30, static_cast<uint16_t>(third));
  telio::EncodeFixed16(bytes + 40, static_cast<uint16_t>(fourth));
}

void BOL_REC::SetHook(int16_t flag, float diameter, const char* text) {
  telio::EncodeFixed16(bytes + 82, static_cast<uint16_t>(flag));
  telio::EncodeFloat(bytes + 84, diameter);
  telio::WriteFieldText(bytes + 88, kHookTextSize, text);
}

int AllocateBoltTablesMem() {
  telio::EnsureLibraryTablesLoaded();
  if (g_bolts.loaded) return 1;
  if (!g_bolts.sizes) {
    g_bolts.sizes = static_cast<float(*)[kSizeValues]>(telio::Calloc(kMaxSizes, sizeof(float[kSizeValues])));
  }
  if (!g_bolts.grades) {
    g_bolts.grades = static_cast<float(*)[kGradeValues]>(telio::Calloc(kMaxGrades, sizeof(float[kGradeValues])));
  }
  if (!g_bolts.sizes || !g_bolts.grades) {
    DeAllocateBoltTablesMem();
    return 0;
  }
  return 1;
}

void DeAllocateBoltTablesMem() {
  telio::EnsureLibraryTablesLoaded();
  telio::Free(g_bolts.sizes);
  telio::Free(g_bolts.grades);
  g_bolts = BoltTables();
}

int ReadBoltSizesTable(const char* folder) {
  telio::EnsureLibraryTablesLoaded();
  if (g_bolts.loaded) return 1;
  CString path(folder ? folder : "");
  path += "BOLTS.LIB";
  CPathObj file(path);
  if (!file.ExistsPath()) return 0;
  if (!AllocateBoltTablesMem()) return 0;
  std::FILE* f = telio::OpenFile(file.GetFullPath(), "r");
  if (!f) return 0;

  int count = 0;
  if (std::fscanf(f, " %i", &count) != 1 || count < 0) count = 0;
  int kept = 0;
  bool ok = true;
  for (int i = 0; i < count && ok; ++i) {
    // Sizes beyond the kept ten are read past, so the grades after them are
    // still found.
    float* row = i < kMaxSizes ? g_bolts.sizes[i] : nullptr;
    ok = ReadFloats(f, row, kSizeValues);
    if (ok && row) {
      row[2] *= 100.0f;
      row[3] *= 100.0f;
      row[4] *= 100.0f;
      ++kept;
    }
  }
  g_bolts.sizeCount = kept;

  int grades = 0;
  if (ok && (std::fscanf(f, " %i", &grades) != 1 || grades < 0)) grades = 0;
  int keptGrades = 0;
  for (int i = 0; ok && i < grades && i < kMaxGrades; ++i) {
    ok = ReadFloats(f, g_bolts.grades[i], kGradeValues);
    if (ok) ++keptGrades;
  }
  g_bolts.gradeCount = keptGrades;
  g_bolts.loaded = true;

  const bool streamError = std::ferror(f) != 0;
  const bool closed = std::fclose(f) == 0;
  return (!streamError && closed) ? 1 : 0;
}

bool IsBoltTablesLoaded() {
  telio::EnsureLibraryTablesLoaded();
  return g_bolts.loaded;
}

int GetBoltSizesCount() {
  telio::EnsureLibraryTablesLoaded();
  return g_bolts.sizeCount;
}

int GetBoltGradesCount() {
  telio::EnsureLibraryTablesLoaded();
  return g_bolts.gradeCount;
}

float Bolt_fub(short grade) {
  const float* g = GradeRow(grade);
  return g ? g[2] : 0.0f;
}

float Bolt_fyb(short grade) {
  const float* g = GradeRow(grade);
  return g ? g[1] : 0.0f;
}

float GetBoltsSizeDataD(int size) {
  const float* s = SizeRow(size);
  return s ? s[0] : 0.0f;
}

float GetBoltsSizeDataD0(int size) {
  const float* s = SizeRow(size);
  return s ? s[0] + s[6] : 0.0f;
}

void GetBoltsData(int size, int grade, float* d, float* d0, float* value4, float* value3,
                  float* fub, float* fyb, float* value7, float* value8) {
  for (float* out : {d, d0, value4, value3, value7, value8}) {
    if (out) *out = 0.0f;
  }
  if (const float* s = SizeRow(size)) {
    if (d) *d = s[0];
    if (d0) *d0 = s[0] + s[6];
    if (value4) *value4 = s[4];
    if (value3) *value3 = s[3];
    if (value7) *value7 = s[7];
    if (value8) *value8 = s[8];
  }
  if (const float* g = GradeRow(grade)) {
    if (fub) *fub = g[2];
    if (fyb) *fyb = g[1];
  }
}

CString GetBoltGradeStr(int grade) {
  CString s;
  if (const float* g = GradeRow(grade)) s.Format("%.1f", static_cast<double>(g[0]));
  return s;
}

CString GetBoltSizeStr(int size) {
  CString s;
  if (const float* r = SizeRow(size)) s.Format("M%d", static_cast<int>(r[0]));
  return s;
}

void SetBoltsData(BOL_REC* rec, short size, short grade, short third, short fourth) {
  if (!rec) return;
  rec->SetNumbers(size, grade, third, fourth);
  const float* g = GradeRow(grade);
  rec->SetFloat(32, g ? g[2] : 0.0f);
  rec->SetFloat(36, g ? g[1] : 0.0f);
  const float* s = SizeRow(size);
  const float d = s ? s[0] : 0.0f;
  rec->SetFloat(42, d);
  rec->SetFloat(46, s ? s[0] + s[6] : 0.0f);
  rec->SetFloat(50, s ? s[4] : 0.0f);
  rec->SetFloat(54, s ? s[3] : 0.0f);
  for (int i = 7; i <= 12; ++i) rec->SetFloat(58 + 4 * (i - 7), s ? s[i] : 0.0f);
  MakeBoltName(rec, CString());
}

void MakeBoltName(BOL_REC* rec, CString /*unused*/) {
  if (!rec) return;
  CString name;
  name.Format("%s/%s", GetBoltSizeStr(rec->Size()).GetString(), GetBoltGradeStr(rec->Grade()).GetString());
  CString full;
  const int lang = GetUILang();
  if (lang == 1 || lang == 2) {
    full.Format("%s / NOR", name.GetString());
  } else {
    full.Format("%s / \xCA\xC1\xCD", name.GetString());  // Greek page 1253
  }
  if (full.GetLength() >= BOL_REC::kNameSize) full = full.Left(BOL_REC::kNameSize - 1);
  rec->SetName(full);
}

void MakeHookName(BOL_REC* rec) {
  if (!rec || rec->HookFlag() != 0) return;
  CString name;
  name.Format("d=%2.0f/%s", static_cast<double>(rec->HookDiameter()), rec->HookText().GetString());
  if (name.GetLength() >= BOL_REC::kNameSize) name = name.Left(BOL_REC::kNameSize - 1);
  rec->SetName(name);
}
