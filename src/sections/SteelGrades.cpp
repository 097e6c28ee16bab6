#include "sections/SteelGrades.h"

#include <cstring>

#include "files/CAJF_PATHS.h"
#include "platform/Alloc.h"
#include "sections/LibraryTables.h"
#include "platform/CPathObj.h"
#include "platform/Profile.h"

namespace {

constexpr int kNameSize = 20;  // characters of a standard or grade name
constexpr int kMaxCount = 10000;  // bound on counts taken from the file

struct GradeCategory {
  char name[kNameSize + 1];
  void* first;   // per-category data the table owns; not used here
  void* second;
};

struct SteelGradesTable {
  char standard[kNameSize + 1] = "Standard";
  bool loaded = false;
  int thickCount = 0;
  float* thickLimits = nullptr;
  int catCount = 0;
  GradeCategory* categories = nullptr;
};

SteelGradesTable g_table;

const char* const kBuiltInNames[6] = {"S235", "S275", "S355", "SUSR", "S420", "S460"};
const int kBuiltInOrder[6] = {1, 2, 3, 5, 6, 4};

bool TableNamesInUse(bool builtIn) {
  return !builtIn && g_table.loaded && std::strcmp(g_table.standard, "EN10147") == 0;
}

int BoundCount(unsigned raw) {
  int n = static_cast<int>(raw);
  if (n < 0) return 0;
  return n > kMaxCount ? kMaxCount : n;
}

}  // namespace

int InitializeSteelGradesTable(const char* settingsFile) {
  telio::EnsureLibraryTablesLoaded();
  if (g_table.loaded) return 1;
  if (!settingsFile || !*settingsFile || !CPathObj(settingsFile).ExistsPath()) return 0;
  char standard[kNameSize + 1] = {0};
  GetPrivateProfileStringA("Grade", "Standard", "EN10025", standard, sizeof standard, settingsFile);
  std::memcpy(g_table.standard, standard, sizeof standard);
  return 1;
}

int ReadSteelGradesTable(const char* folder) {
  telio::EnsureLibraryTablesLoaded();
  if (g_table.loaded) return 1;
  CString ini = GetPathIni(CString(folder), CString("GRADES.INI"));
  if (ini.IsEmpty()) return 0;
  const char* section = g_table.standard;

  const int thickCount = BoundCount(GetPrivateProfileIntA(section, "Nthick", 1, ini));
  const int catCount = BoundCount(GetPrivateProfileIntA(section, "Ncat", 1, ini));
  float* limits = thickCount
      ? static_cast<float*>(telio::Calloc(static_cast<size_t>(thickCount), sizeof(float)))
      : nullptr;
  GradeCategory* cats = catCount
      ? static_cast<GradeCategory*>(telio::Calloc(static_cast<size_t>(catCount), sizeof(GradeCategory)))
      : nullptr;
  if ((thickCount && !limits) || (catCount && !cats)) {
    telio::Free(limits);
    telio::Free(cats);
    return 0;
  }
  for (int i = 0; i < catCount; ++i) {
    CString key;
    key.Format("cat%d", i + 1);
    cats[i].first = cats[i].second = nullptr;
    GetPrivateProfileStringA(section, key, "FeE220G", cats[i].name, sizeof cats[i].name, ini);
  }
  g_table.thickCount = thickCount;
  g_table.thickLimits = limits;
  g_table.catCount = catCount;
  g_table.categories = cats;
  g_table.loaded = true;
  return 1;
}

int GetCountGradesTable(bool builtIn) {
  telio::EnsureLibraryTablesLoaded();
  return (builtIn || !g_table.loaded) ? 6 : g_table.catCount;
}

int GetGrades(bool useTable, int* numbers, bool withoutUser) {
  telio::EnsureLibraryTablesLoaded();
  if (useTable && g_table.loaded) {
    if (numbers) {
      for (int i = 0; i < g_table.catCount; ++i) numbers[i] = i + 1;
    }
    return g_table.catCount;
  }
  const int n = withoutUser ? 5 : 6;
  if (numbers) {
    for (int i = 0; i < n; ++i) numbers[i] = kBuiltInOrder[i];
  }
  return n;
}

CString GetGradeNameTable(int number, bool builtIn) {
  telio::EnsureLibraryTablesLoaded();
  if (TableNamesInUse(builtIn) && number >= 1 && number <= g_table.catCount) {
    return CString(g_table.categories[number - 1].name);
  }
  if (number >= 1 && number <= 6) return CString(kBuiltInNames[number - 1]);
  return CString();
}

int GetGradeIndexTable(CString name, bool builtIn) {
  telio::EnsureLibraryTablesLoaded();
  if (TableNamesInUse(builtIn)) {
    for (int i = 0; i < g_table.catCount; ++i) {
      if (name.CompareNoCase(g_table.categories[i].name) == 0) return i + 1;
    }
    return 0;
  }
  for (int i = 0; i < 6; ++i) {
    if (name.CompareNoCase(kBuiltInNames[i]) == 0) return i + 1;
  }
  return 0;
}

void DeAllocateSteelGradesTable() {
  telio::EnsureLibraryTablesLoaded();
  for (int i = 0; i < g_table.catCount; ++i) {
    telio::Free(g_table.categories[i].first);
    telio::Free(g_table.categories[i].second);
  }
  telio::Free(g_table.categories);
  telio::Free(g_table.thickLimits);
  g_table.categories = nullptr;
  g_table.thickLimits = nullptr;
  g_table.catCount = g_table.thickCount = 0;
  g_table.loaded = false;
}

CString GetSteelGradesStandard() {
  telio::EnsureLibraryTablesLoaded();
  return CString(g_table.standard);
}

bool IsSteelGradesTableLoaded() {
  telio::EnsureLibraryTablesLoaded();
  return g_table.loaded;
}
