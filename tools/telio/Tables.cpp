#include "Tables.h"

#include <filesystem>
#include <iostream>

#include "platform/CPathObj.h"
#include "sections/BoltTables.h"
#include "sections/ConcreteTable.h"
#include "sections/LibraryTables.h"
#include "sections/SteelGrades.h"

namespace telio_tool {

namespace {

Json Header(const char* kind, const std::string& suite) {
  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = kind;
  out["suite"] = suite;
  return out;
}

// Replaces whatever the library loaded at start-up by the suite's tables.
void UseSuiteTables(const std::string& suite) {
  telio::EnsureLibraryTablesLoaded();
  telio::UnloadLibraryTables();
  if (suite.empty()) return;
  CPathObj settings(suite.c_str());
  settings.AppendFile("TELMARO.INI");
  InitializeSteelGradesTable(settings.GetFullPath());
  ReadSteelGradesTable(suite.c_str());
  ReadBoltSizesTable(CPathObj::AddBackSlash(suite.c_str()));
}

bool SuiteMissing(const std::string& suite) {
  std::error_code ec;
  if (suite.empty() || std::filesystem::is_directory(suite, ec)) return false;
  std::cerr << "telio: " << suite << ": suite folder not found\n";
  return true;
}

}  // namespace

std::string ResolveSuiteFolder(const ToolOptions& opt) {
  if (!opt.suite.empty()) return opt.suite;
  std::error_code ec;
  if (std::filesystem::is_directory(TELIO_INSTALLED_DATA_DIR, ec)) return TELIO_INSTALLED_DATA_DIR;
  return std::string();
}

void PrintResult(const Json& out, const ToolOptions& opt) {
  if (opt.json) {
    std::cout << out.dump(2) << '\n';
  } else {
    PrintText(out, std::cout);
  }
}

int RunGrades(const ToolOptions& opt) {
  const std::string suite = ResolveSuiteFolder(opt);
  if (SuiteMissing(suite)) return 1;
  UseSuiteTables(suite);
  Json out = Header("grades", suite);
  out["standard"] = GetSteelGradesStandard().GetString();
  out["table_loaded"] = IsSteelGradesTableLoaded();
  const bool fromTable = IsSteelGradesTableLoaded() && GetSteelGradesStandard() == "EN10147";
  out["source"] = fromTable ? "table" : "built_in";
  int numbers[64];
  int count = fromTable ? GetCountGradesTable(false) : 6;
  if (count > 64) count = 64;
  if (fromTable) {
    for (int i = 0; i < count; ++i) numbers[i] = i + 1;
  } else {
    count = GetGrades(false, numbers, false);
  }
  Json grades = Json::array();
  for (int i = 0; i < count; ++i) {
    grades.push_back({{"number", numbers[i]}, {"name", GetGradeNameTable(numbers[i], !fromTable).GetString()}});
  }
  out["grades"] = grades;
  PrintResult(out, opt);
  return 0;
}

int RunBolts(const ToolOptions& opt) {
  const std::string suite = ResolveSuiteFolder(opt);
  if (SuiteMissing(suite)) return 1;
  UseSuiteTables(suite);
  Json out = Header("bolts", suite);
  out["loaded"] = IsBoltTablesLoaded();
  Json sizes = Json::array();
  for (int s = 1; s <= GetBoltSizesCount(); ++s) {
    float d, d0, a, as, v7, v8;
    GetBoltsData(s, 0, &d, &d0, &a, &as, nullptr, nullptr, &v7, &v8);
    sizes.push_back({{"number", s}, {"name", GetBoltSizeStr(s).GetString()}, {"d", FloatValue(d)}, {"d0", FloatValue(d0)},
                     {"shank_area", FloatValue(a)}, {"stress_area", FloatValue(as)}});
  }
  Json grades = Json::array();
  for (int g = 1; g <= GetBoltGradesCount(); ++g) {
    grades.push_back({{"number", g}, {"name", GetBoltGradeStr(g).GetString()},
                      {"fyb", FloatValue(Bolt_fyb(static_cast<short>(g)))}, {"fub", FloatValue(Bolt_fub(static_cast<short>(g)))}});
  }
  out["sizes"] = sizes;
  out["grades"] = grades;
  PrintResult(out, opt);
  return 0;
}

int RunConcrete(const ToolOptions& opt) {
  const std::string suite = ResolveSuiteFolder(opt);
  if (SuiteMissing(suite)) return 1;
  DeallocateConcreteTable();
  Json out = Header("concrete", suite);
  out["loaded"] = !suite.empty() && ReadConcreteTable(suite.c_str()) == 1;
  Json classes = Json::array();
  for (int i = 0; i < GetConcreteCount(); ++i) {
    classes.push_back({{"number", i}, {"name", Concrete_Name(i).GetString()}, {"fck", FloatValue(Concrete_fck(i))},
                       {"e", FloatValue(Concrete_E(i))}, {"ts", FloatValue(Concrete_ts(i))}, {"f", FloatValue(Concrete_f(i))}});
  }
  out["classes"] = classes;
  PrintResult(out, opt);
  return 0;
}

}  // namespace telio_tool
