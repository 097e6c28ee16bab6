// `telio grades`, `telio bolts`, `telio concrete`: the material tables in
// use, read from the suite data folder (Suite.h).
#include <iostream>

#include "Command.h"
#include "Suite.h"
#include "platform/CPathObj.h"
#include "sections/BoltTables.h"
#include "sections/ConcreteTable.h"
#include "sections/LibraryTables.h"
#include "sections/SteelGrades.h"

namespace telio_tool {

namespace {

Json Header(const char* kind, const Suite& suite) {
  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = kind;
  AddSuiteFields(suite, out);
  return out;
}

// Replaces whatever the library loaded at start-up by the suite's tables.
void UseSuiteTables(const Suite& suite) {
  telio::EnsureLibraryTablesLoaded();
  telio::UnloadLibraryTables();
  if (!suite.settings.empty()) InitializeSteelGradesTable(suite.settings.c_str());
  if (suite.tables.empty()) return;
  ReadSteelGradesTable(suite.tables.c_str());
  ReadBoltSizesTable(CPathObj::AddBackSlash(suite.tables.c_str()));
}

// The three table commands differ only in what they list.
class TableCommand : public Command {
 public:
  using Command::Command;
  void Define(CLI::App& cmd, ToolOptions& opt) override { AddJsonFlag(cmd, opt); }
  int Run(const ToolOptions& opt) override {
    Suite suite;
    if (!UseSuite(opt, &suite)) return 1;
    Json out = Header(Name(), suite);
    List(suite, out);
    PrintResult(out, opt);
    return 0;
  }

 protected:
  virtual void List(const Suite& suite, Json& out) = 0;
};

class GradesCommand : public TableCommand {
 public:
  GradesCommand() : TableCommand("grades", "List the steel grades in use", kRankSuite + 10) {}
  std::string Description() const override {
    return "Lists the steel grades of the grade standard in use: the standard named by the suite's "
           "TELMARO.INI (section Grade, key Standard) with its grades from GRADES.INI, or the built-in "
           "grades when the suite has no table for it (source built_in).";
  }

 protected:
  void List(const Suite& suite, Json& out) override {
    UseSuiteTables(suite);
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
  }
};

class BoltsCommand : public TableCommand {
 public:
  BoltsCommand() : TableCommand("bolts", "List the bolt sizes and grades", kRankSuite + 20) {}
  std::string Description() const override {
    return "Lists the bolt sizes (diameter, hole, shank and stress areas) and the bolt grades (fyb, "
           "fub) of the suite's BOLTS.LIB.";
  }

 protected:
  void List(const Suite& suite, Json& out) override {
    UseSuiteTables(suite);
    out["loaded"] = IsBoltTablesLoaded();
    Json sizes = Json::array();
    for (int s = 1; s <= GetBoltSizesCount(); ++s) {
      float d, d0, a, as, v7, v8;
      GetBoltsData(s, 0, &d, &d0, &a, &as, nullptr, nullptr, &v7, &v8);
      sizes.push_back({{"number", s}, {"name", GetBoltSizeStr(s).GetString()}, {"d", FloatValue(d)},
                       {"d0", FloatValue(d0)}, {"shank_area", FloatValue(a)}, {"stress_area", FloatValue(as)}});
    }
    Json grades = Json::array();
    for (int g = 1; g <= GetBoltGradesCount(); ++g) {
      grades.push_back({{"number", g}, {"name", GetBoltGradeStr(g).GetString()},
                        {"fyb", FloatValue(Bolt_fyb(static_cast<short>(g)))},
                        {"fub", FloatValue(Bolt_fub(static_cast<short>(g)))}});
    }
    out["sizes"] = sizes;
    out["grades"] = grades;
  }
};

class ConcreteCommand : public TableCommand {
 public:
  ConcreteCommand() : TableCommand("concrete", "List the concrete classes", kRankSuite + 30) {}
  std::string Description() const override {
    return "Lists the concrete classes of the suite's CONCR.LIB with fck, E, ts and f.";
  }

 protected:
  void List(const Suite& suite, Json& out) override {
    DeallocateConcreteTable();
    out["loaded"] = !suite.tables.empty() && ReadConcreteTable(suite.tables.c_str()) == 1;
    Json classes = Json::array();
    for (int i = 0; i < GetConcreteCount(); ++i) {
      classes.push_back({{"number", i}, {"name", Concrete_Name(i).GetString()}, {"fck", FloatValue(Concrete_fck(i))},
                         {"e", FloatValue(Concrete_E(i))}, {"ts", FloatValue(Concrete_ts(i))},
                         {"f", FloatValue(Concrete_f(i))}});
    }
    out["classes"] = classes;
  }
};

CommandRegistrar<GradesCommand> gradesReg;
CommandRegistrar<BoltsCommand> boltsReg;
CommandRegistrar<ConcreteCommand> concreteReg;

}  // namespace

}  // namespace telio_tool
