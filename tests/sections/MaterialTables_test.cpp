#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/CPathObj.h"
#include "platform/TelKrnl.h"
#include "sections/BoltTables.h"
#include "sections/ConcreteTable.h"
#include "sections/LibraryTables.h"
#include "sections/SteelGrades.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

const std::string kSampleData = std::string(TELIO_SOURCE_DIR) + "/data";

// In a process where the start-up has not run yet (a fresh one), a caller's
// own table calls come after it: a later lookup does not undo them.
void OwnTablesBeforeTheFirstLookup() {
  telio_test::TempDir settings, own;
  fs::create_directories(settings.File("Bin/Data"));
  fs::copy_file(kSampleData + "/BOLTS.LIB", settings.File("Bin/Data/BOLTS.LIB"));
  std::ofstream(settings.File("TELMARO.INI")) << "[Grade]\nStandard=EN10025\n";
  std::ofstream(own.File("TELMARO.INI")) << "[Grade]\nStandard=EN10147\n";
  telio::SetSpecialFolder(2, settings.path().c_str());
  DeAllocateBoltTablesMem();
  InitializeSteelGradesTable(own.File("TELMARO.INI").c_str());
  const bool kept = GetBoltsSizeDataD(1) == 0.f && GetSteelGradesStandard() == "EN10147";
  telio::SetSpecialFolder(2, nullptr);
  std::exit(kept ? 0 : 1);
}

TEST(LibraryTables, StartUpRunsBeforeACallersOwnTableCalls) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process
  EXPECT_EXIT(OwnTablesBeforeTheFirstLookup(), ::testing::ExitedWithCode(0), "");
}

// Each test starts with empty tables and a private settings folder.
class MaterialTablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    telio::SetSpecialFolder(2, settings_.path().c_str());
    telio::EnsureLibraryTablesLoaded();  // start-up runs once, finds nothing here
    telio::UnloadLibraryTables();
    DeallocateConcreteTable();
    SetUILang(1);
  }
  void TearDown() override {
    telio::UnloadLibraryTables();
    DeallocateConcreteTable();
    telio::SetSpecialFolder(2, nullptr);
  }

  void LoadGrades(const std::string& standard, const std::string& gradesIni) {
    std::ofstream(dir_.File("TELMARO.INI")) << "[Grade]\nStandard=" << standard << "\n";
    std::ofstream(dir_.File("GRADES.INI")) << gradesIni;
    ASSERT_EQ(InitializeSteelGradesTable(dir_.File("TELMARO.INI").c_str()), 1);
    ASSERT_EQ(ReadSteelGradesTable(dir_.path().c_str()), 1);
  }

  telio_test::TempDir settings_;
  telio_test::TempDir dir_;
};

TEST_F(MaterialTablesTest, BuiltInGradesWithoutATable) {
  EXPECT_EQ(ReadSteelGradesTable(dir_.path().c_str()), 0);
  EXPECT_STREQ(GetGradeNameTable(5, false), "S420");
  EXPECT_STREQ(GetGradeNameTable(7, false), "");
  EXPECT_EQ(GetGradeIndexTable("s460", false), 6);
  EXPECT_EQ(GetGradeIndexTable("S999", false), 0);
  EXPECT_EQ(GetCountGradesTable(false), 6);

  int numbers[6] = {0};
  EXPECT_EQ(GetGrades(false, numbers, true), 5);
  EXPECT_EQ(std::vector<int>(numbers, numbers + 5), (std::vector<int>{1, 2, 3, 5, 6}));
  EXPECT_EQ(GetGrades(true, numbers, false), 6);  // no table: the built-in list
  EXPECT_EQ(numbers[5], 4);
  EXPECT_EQ(InitializeSteelGradesTable(dir_.File("missing.ini").c_str()), 0);
}

TEST_F(MaterialTablesTest, TableNamesOnlyForTheGalvanisedStandard) {
  LoadGrades("EN10025", "[EN10025]\nNcat=2\ncat1=Fe360\ncat2=Fe510\n");
  EXPECT_EQ(GetCountGradesTable(false), 2);
  EXPECT_EQ(GetCountGradesTable(true), 6);
  EXPECT_STREQ(GetGradeNameTable(1, false), "S235");  // table loaded but not used for names
  telio::UnloadLibraryTables();

  LoadGrades("EN10147", "[en10147]\nNthick=3\nNcat=3\ncat1=S220GD\ncat3=S280GD\n");
  EXPECT_STREQ(GetSteelGradesStandard(), "EN10147");
  EXPECT_STREQ(GetGradeNameTable(1, false), "S220GD");
  EXPECT_STREQ(GetGradeNameTable(2, false), "FeE220G");  // missing key: the default
  EXPECT_STREQ(GetGradeNameTable(1, true), "S235");
  EXPECT_EQ(GetGradeIndexTable("s280gd", false), 3);
  EXPECT_EQ(GetGradeIndexTable("S235", false), 0);
  int numbers[3];
  EXPECT_EQ(GetGrades(true, numbers, true), 3);
  EXPECT_EQ(numbers[2], 3);
  // A second read of a loaded table does nothing.
  std::ofstream(dir_.File("GRADES.INI")) << "[EN10147]\nNcat=1\n";
  EXPECT_EQ(ReadSteelGradesTable(dir_.path().c_str()), 1);
  EXPECT_EQ(GetCountGradesTable(false), 3);
}

TEST_F(MaterialTablesTest, ConcreteClassesAndNames) {
  std::ofstream(dir_.File("concr.lib")) << "12\n";
  for (int i = 0; i < 12; ++i) std::ofstream(dir_.File("concr.lib"), std::ios::app) << 20 + 5 * i << " 30000 2.5\n";
  EXPECT_EQ(ReadConcreteTable(dir_.File("nowhere").c_str()), 0);
  ASSERT_EQ(ReadConcreteTable(dir_.path().c_str()), 1);
  EXPECT_EQ(GetConcreteCount(), 12);
  EXPECT_FLOAT_EQ(Concrete_f(2), 20.0f);  // fck 30
  EXPECT_FLOAT_EQ(Concrete_E(0), 30000.0f);
  EXPECT_FLOAT_EQ(Concrete_ts(11), 2.5f);
  EXPECT_STREQ(Concrete_Name(9), "C65");
  EXPECT_STREQ(Concrete_Name(10), "User0");
  EXPECT_FLOAT_EQ(Concrete_fck(12), 0.0f);
  EXPECT_FLOAT_EQ(Concrete_fck(-1), 0.0f);
}

TEST_F(MaterialTablesTest, ConcreteCountBeyondTheFileKeepsWhatIsThere) {
  std::ofstream(dir_.File("CONCR.LIB")) << "2000000000\n25 31000 2.6\n30 33000";
  ASSERT_EQ(ReadConcreteTable(dir_.path().c_str()), 1);
  EXPECT_EQ(GetConcreteCount(), 1);
  EXPECT_FLOAT_EQ(Concrete_fck(0), 25.0f);
}

std::string SizeLine(int d, int clearance) {
  return std::to_string(d) + " 2 1.0 2.0 3.0 0 " + std::to_string(clearance) + " 7 8 9 10 11 12\n";
}

TEST_F(MaterialTablesTest, BoltTablesKeepTenSizesAndStillFindTheGrades) {
  std::string text = "12\n";
  for (int i = 0; i < 12; ++i) text += SizeLine(10 + 2 * i, i < 4 ? 1 : 2);
  text += "2\n4.6 240 400\n8.8 640 800\n";
  std::ofstream(dir_.File("BOLTS.LIB")) << text;
  EXPECT_EQ(ReadBoltSizesTable(dir_.path().c_str()), 0);  // no separator added: "...XXXXBOLTS.LIB"
  ASSERT_EQ(ReadBoltSizesTable((dir_.path() + "/").c_str()), 1);
  EXPECT_EQ(GetBoltSizesCount(), 10);
  EXPECT_STREQ(GetBoltSizeStr(11), "");
  EXPECT_STREQ(GetBoltSizeStr(4), "M16");
  EXPECT_FLOAT_EQ(GetBoltsSizeDataD0(4), 17.0f);
  EXPECT_STREQ(GetBoltGradeStr(2), "8.8");
  EXPECT_FLOAT_EQ(Bolt_fub(2), 800.0f);
  EXPECT_FLOAT_EQ(Bolt_fyb(1), 240.0f);
  EXPECT_FLOAT_EQ(Bolt_fub(18), 0.0f);

  float d = -1, d0 = -1, v4 = -1, v3 = -1, fub = -1, fyb = -1, v7 = -1, v8 = -1;
  GetBoltsData(5, 99, &d, &d0, &v4, &v3, &fub, &fyb, &v7, &v8);
  EXPECT_FLOAT_EQ(d, 18.0f);
  EXPECT_FLOAT_EQ(d0, 20.0f);
  EXPECT_FLOAT_EQ(v4, 300.0f);  // areas are read in cm2 and held in mm2
  EXPECT_FLOAT_EQ(v3, 200.0f);
  EXPECT_FLOAT_EQ(v7, 7.0f);
  EXPECT_FLOAT_EQ(v8, 8.0f);
  EXPECT_FLOAT_EQ(fub, -1.0f);  // grade out of range: left alone
  GetBoltsData(0, 1, &d, nullptr, nullptr, nullptr, &fub, nullptr, nullptr, nullptr);
  EXPECT_FLOAT_EQ(d, 0.0f);
  EXPECT_FLOAT_EQ(fub, 400.0f);
}

TEST_F(MaterialTablesTest, BoltAndHookNames) {
  ASSERT_EQ(ReadBoltSizesTable((kSampleData + "/").c_str()), 1);
  BOL_REC rec{};
  SetBoltsData(&rec, 2, 6, 7, 9);  // M16, grade 8.8 in the sample data
  EXPECT_STREQ(rec.Name(), "M16/8.8 / NOR");
  EXPECT_EQ(rec.Third(), 7);
  EXPECT_EQ(rec.Fourth(), 9);
  EXPECT_FLOAT_EQ(rec.D0(), 18.0f);
  EXPECT_FLOAT_EQ(rec.SizeValue3(), 157.0f);  // tensile stress area of M16, mm2
  EXPECT_FLOAT_EQ(rec.Fyb(), 640.0f);

  SetUILang(3);
  MakeBoltName(&rec, "ignored");
  EXPECT_STREQ(rec.Name(), "M16/8.8 / \xCA\xC1\xCD");

  SetBoltsData(&rec, 42, 0, 0, 0);  // out of range: zeros and a bare slash
  EXPECT_FLOAT_EQ(rec.D(), 0.0f);
  EXPECT_STREQ(rec.Name(), "/ / \xCA\xC1\xCD");

  rec.SetHook(0, 24.0f, "a very long anchor text here");  // cut to its 15 characters
  MakeHookName(&rec);
  EXPECT_STREQ(rec.Name(), "d=24/a very long anc");
  rec.SetHook(1, 30.0f, "x");
  MakeHookName(&rec);  // hook flag set: name kept
  EXPECT_EQ(std::string(rec.Name()).substr(0, 6), "d=24/a");
}

TEST_F(MaterialTablesTest, SampleSuiteDataLoads) {
  EXPECT_EQ(ReadBoltSizesTable((kSampleData + "/").c_str()), 1);
  EXPECT_EQ(GetBoltSizesCount(), 8);
  EXPECT_STREQ(GetBoltSizeStr(8), "M36");
  EXPECT_FLOAT_EQ(GetBoltsSizeDataD0(8), 39.0f);
  EXPECT_EQ(GetBoltGradesCount(), 7);
  ASSERT_EQ(ReadConcreteTable(kSampleData.c_str()), 1);
  EXPECT_EQ(GetConcreteCount(), 9);
  EXPECT_STREQ(Concrete_Name(8), "C50");
  ASSERT_EQ(InitializeSteelGradesTable((kSampleData + "/TELMARO.INI").c_str()), 1);
  ASSERT_EQ(ReadSteelGradesTable(kSampleData.c_str()), 1);
  EXPECT_STREQ(GetGradeNameTable(3, false), "S280GD");
}

}  // namespace
