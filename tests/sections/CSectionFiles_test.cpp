#include "sections/CSectionFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/TempDir.h"

namespace {

using telio_test::TempDir;
namespace fs = std::filesystem;

const char kSamplePattern[] = TELIO_SOURCE_DIR "/data\\FilesSectionDB\\*.SEC";

const std::string kAngles =
    "TELIO-SEC 1\n"
    "L 501 31 L50x50x5 50 50 5 7 3.5\n"
    "L 502 31 L60x60x6.5 60 60 6.5 8 4\n"
    "L 801 32 L100x50x8 100 50 8 8 4\n";

// A catalogue folder <tmp>/FilesSectionDB holding the given files.
struct Catalogue {
  TempDir dir;
  std::string folder;

  Catalogue() : folder(dir.File("FilesSectionDB")) { fs::create_directories(folder); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(folder + "/" + name, std::ios::binary) << text;
  }
  std::string Pattern() const { return dir.path() + "\\FilesSectionDB\\*.SEC"; }
};

TEST(CSectionFiles, LooksSectionsUpByKeyNameFamilyAndIndex) {
  CSectionFiles cat;
  ASSERT_EQ(cat.Load(kSamplePattern), 0u) << cat.GetLoadError().GetString();
  EXPECT_TRUE(cat.IsLoaded());
  EXPECT_GE(cat.GetCount(), 200);
  EXPECT_EQ(cat.GetFileCount(), 8);

  const ulong32 ipe300 = cat.FindSection("ipe300");
  EXPECT_EQ(ipe300, 12011u);
  EXPECT_TRUE(cat.ExistSection("IPE300"));
  EXPECT_FALSE(cat.ExistSection("IPE 300"));
  EXPECT_EQ(cat.GetSectionName(ipe300), "IPE300");
  EXPECT_EQ(cat.GetSectionCatalogID(ipe300), 12);
  EXPECT_EQ(cat.GetSectionName(999), "");
  EXPECT_EQ(cat.GetSectionCatalogID(0), 0);

  CSectionData d;
  d.key = 77;
  EXPECT_EQ(cat.GetSectionData(999u, &d), 0);
  EXPECT_EQ(d.key, 77u);  // untouched
  ASSERT_EQ(cat.GetSectionData(12, 0, &d), 1);
  EXPECT_STREQ(d.name, "IPE80");
  ASSERT_EQ(cat.GetSectionData(12, 17, &d), 1);
  EXPECT_STREQ(d.name, "IPE600");
  EXPECT_EQ(cat.GetSectionData(12, 18, &d), 0);
  EXPECT_EQ(cat.GetSectionData(12, -1, &d), 0);
}

TEST(CSectionFiles, MatchesDimensionsWithinToleranceAndFilter) {
  CSectionFiles cat;
  ASSERT_EQ(cat.Load(kSamplePattern), 0u);
  const ulong32 ipe300 = cat.FindSection("IPE300");
  // h b tw tf r in cm, A and Avz in cm2, as the published table gives them.
  double v[kMatchValues] = {30, 15, 0.71, 1.07, 1.5, 53.81, 25.68};
  EXPECT_EQ(cat.MatchSectionData(v), ipe300);
  EXPECT_EQ(cat.MatchSectionData(v, 12), ipe300);
  EXPECT_EQ(cat.MatchSectionData(v, 13), 0u);

  cat.AddProfileToFilter(13);
  EXPECT_EQ(cat.MatchSectionData(v), 0u);
  cat.AddProfileToFilter(12);
  EXPECT_EQ(cat.MatchSectionData(v), ipe300);
  cat.ClearProfileFilter();
  EXPECT_TRUE(cat.IsInFilter(55));

  double partial[kMatchValues] = {30, 15, 0, 0, 0, 0, 0};  // zeros are not compared
  EXPECT_EQ(cat.MatchSectionData(partial), ipe300);
  v[5] = 53.81 * 1.02;  // area 2% off
  EXPECT_EQ(cat.MatchSectionData(v), 0u);
  double none[kMatchValues] = {};
  EXPECT_EQ(cat.MatchSectionData(none), 0u);
}

TEST(CSectionFiles, FindsFilesIgnoringCaseAndReadsThemInNameOrder) {
  TempDir dir;
  const std::string folder = dir.File("filessectiondb");
  fs::create_directories(folder);
  std::ofstream(folder + "/b.sec") << "TELIO-SEC 1\r\n# CR LF lines\r\nFB 2 57 FL100x10 10 100\r\n";
  std::ofstream(folder + "/A.Sec") << "TELIO-SEC 1\n\n  RB   1 55 RD20 20\n";
  std::ofstream(folder + "/notes.txt") << "not a catalogue";
  CSectionFiles cat;
  ASSERT_EQ(cat.Load((dir.path() + "/FilesSectionDB/*.SEC").c_str()), 0u) << cat.GetLoadError().GetString();
  ASSERT_EQ(cat.GetCount(), 2);
  EXPECT_STREQ(cat.GetAt(0)->name, "RD20");
  EXPECT_STREQ(cat.GetAt(1)->name, "FL100x10");
  EXPECT_EQ(cat.GetFileName(0), "A.Sec");
  EXPECT_NEAR(cat.GetAt(1)->A, 10.0, 1e-9);
}

// Version 1 files (channels with tf at b/2) and version 2 files (tf at u
// from the toe) load side by side; the user file starts as version 1 so
// that older readers still take it.
TEST(CSectionFiles, ReadsBothVersionsAndStartsTheUserFileAsVersion1) {
  Catalogue folder;
  folder.Write("OLD.SEC", "TELIO-SEC 1\nU 1 61 U320OLD 320 100 14 17.5 17.5 8.75 5\n");
  folder.Write("NEW.SEC",
               "TELIO-SEC 2\n"
               "U 2 61 UPN320 320 100 14 17.5 17.5 8.75 5 43\n"    // tf at (b - tw)/2
               "U 3 61 U320HALF 320 100 14 17.5 17.5 8.75 5 50\n"  // tf at b/2, as version 1
               "L 4 31 L50x50x5 50 50 5 7 3.5\n");
  CSectionFiles cat;
  ASSERT_EQ(cat.Load(folder.Pattern().c_str()), 0u) << cat.GetLoadError().GetString();
  CSectionData old, tapered, half;
  ASSERT_EQ(cat.GetSectionData(1u, &old), 1);
  ASSERT_EQ(cat.GetSectionData(2u, &tapered), 1);
  ASSERT_EQ(cat.GetSectionData(3u, &half), 1);
  EXPECT_DOUBLE_EQ(old.A, half.A);
  EXPECT_NEAR(tapered.A, 75.8, 0.758);  // the published area of UPN 320
  EXPECT_GT(tapered.A - old.A, 0.5);

  ASSERT_NE(cat.InsertCompositeSection(31, "L50x50x5", kPairBackToBack, 10), 0u);
  std::ifstream user(folder.folder + "/" + kUserCatalogueFile);
  std::string first;
  std::getline(user, first);
  EXPECT_EQ(first, "TELIO-SEC 1");
}

TEST(CSectionFiles, MissingFoldersAndFilesHaveTheirCodes) {
  CSectionFiles cat;
  EXPECT_EQ(cat.Load(nullptr), telio::kErrorBadArguments);
  EXPECT_EQ(cat.Load("/no/such/folder/*.SEC"), telio::kErrorPathNotFound);
  EXPECT_EQ(telio::GetLastError(), telio::kErrorPathNotFound);
  Catalogue empty;
  EXPECT_EQ(cat.Load(empty.Pattern().c_str()), telio::kErrorFileNotFound);
  EXPECT_FALSE(cat.IsLoaded());
}

// Each bad line fails the whole load with 1392 and a message that names
// the file, the line and the fault; nothing stays loaded.
TEST(CSectionFiles, BadLinesFailTheLoadWithTheirPlace) {
  const std::string head = "TELIO-SEC 1\n";
  const std::string ipe = "I 1 12 IPE100 100 55 4.1 5.7 7\n";
  struct Case {
    std::string text;
    const char* where;
    const char* fault;
  };
  const Case cases[] = {
      {"", ":1:", "empty file"},
      {"HELLO 1\n", ":1:", "not a section catalogue"},
      {"TELIO-SEC 3\n" + ipe, ":1:", "version 3"},
      {"TELIO-SEC 0\n" + ipe, ":1:", "version 0"},
      {head + "U 1 61 UPN200 200 75 8.5 11.5 11.5 6 8 37.5\n", ":2:", "12 fields, 11 expected"},
      {"TELIO-SEC 2\nU 1 61 UPN200 200 75 8.5 11.5 11.5 6 8\n", ":2:", "11 fields, 12 expected"},
      {"TELIO-SEC 2\nU 1 61 UPN200 200 75 8.5 11.5 11.5 6 8 70\n", ":2:", "do not make a section"},
      {"TELIO-SEC 1 x\n", ":1:", "not supported"},
      {head + "Q 1 12 X 1 2\n", ":2:", "unknown kind"},
      {head + "I 1 12 IPE100 100 55 4.1 5.7\n", ":2:", "8 fields, 9 expected"},
      {head + "I 1 12 IPE100 100 55 4.1 5.7 7 8 9 10 11 12 13 14\n", ":2:", "fields"},
      {head + "I 0 12 IPE100 100 55 4.1 5.7 7\n", ":2:", "bad key"},
      {head + "I 4294967296 12 IPE100 100 55 4.1 5.7 7\n", ":2:", "bad key"},
      {head + "I -1 12 IPE100 100 55 4.1 5.7 7\n", ":2:", "bad key"},
      {head + "I 1 1000 IPE100 100 55 4.1 5.7 7\n", ":2:", "bad family"},
      {head + "I 1 12 IPE100 100 55 4.1 abc 7\n", ":2:", "bad number \"abc\""},
      {head + "I 1 12 IPE100 100 55 4.1 nan 7\n", ":2:", "bad number"},
      {head + "I 1 12 IPE100 100 55 4.1 1e999 7\n", ":2:", "bad number"},
      {head + "I 1 12 IPE100 100 55 4.1 0x5 7\n", ":2:", "bad number"},
      {head + "I 1 12 IPE100 100 55 60 5.7 7\n", ":2:", "do not make a section"},
      {head + "I 1 12 IPE100 -100 55 4.1 5.7 7\n", ":2:", "do not make a section"},
      {head + "I 1 12 " + std::string(32, 'N') + " 100 55 4.1 5.7 7\n", ":2:", "longer than 31"},
      {head + "# " + std::string(600, 'x') + "\n", ":2:", "longer than 512"},
      {head + ipe + "# again\n" + "I 1 12 IPE120 120 64 4.4 6.3 7\n", ":4:", "key 1 already used"},
      {head + ipe + "I 2 12 ipe100 100 55 4.1 5.7 7\n", ":3:", "name"},
      {head + "2L 5 33 2LX L99x99x9 1 10\n", ":2:", "unknown angle L99x99x9"},
      {head + ipe + "2L 5 33 2LX IPE100 1 10\n", ":3:", "unknown angle"},
      {head + "L 4 31 L50x50x5 50 50 5 7 3.5\n2L 5 33 2LX L50x50x5 7 10\n", ":3:", "bad arrangement"},
      {head + "L 4 31 L50x50x5 50 50 5 7 3.5\n2L 5 33 2LX L50x50x5 1 -2\n", ":3:", "bad spacing"},
      {head + std::string("I 1 12 A\0B 1 2 3 4 5\n", 21), ":0:", "NUL byte"},
  };
  for (const Case& c : cases) {
    Catalogue folder;
    folder.Write("A.SEC", "TELIO-SEC 1\nRB 900 55 RD10 10\n");  // a good file first
    folder.Write("X.SEC", c.text);
    CSectionFiles cat;
    EXPECT_EQ(cat.Load(folder.Pattern().c_str()), telio::kErrorFileCorrupt) << c.fault;
    const std::string msg = cat.GetLoadError().GetString();
    EXPECT_NE(msg.find(std::string("X.SEC") + c.where), std::string::npos) << msg;
    EXPECT_NE(msg.find(c.fault), std::string::npos) << msg;
    EXPECT_FALSE(cat.IsLoaded());
    EXPECT_EQ(cat.GetCount(), 0);
    EXPECT_EQ(cat.FindSection("RD10"), 0u);
  }
}

TEST(CSectionFiles, AllocationFailuresLeaveAnEmptyCatalogue) {
  Catalogue folder;
  folder.Write("ANGLES.SEC", kAngles);
  std::string many = "TELIO-SEC 1\n";
  for (int i = 1; i <= 100; ++i) many += "FB " + std::to_string(i) + " 57 FL" + std::to_string(i) + " 10 20\n";
  folder.Write("BARS.SEC", many + "2L 999 33 2L50B L50x50x5 1 10\n");
  const std::string pattern = folder.Pattern();
  CSectionFiles cat;
  telio::FailAllocationsAfter(-1);
  ASSERT_EQ(cat.Load(pattern.c_str()), 0u);
  const long sites = telio::AllocationsSeen();
  ASSERT_GT(sites, 3);
  for (long n = 0; n < sites; ++n) {
    telio::FailAllocationsAfter(n);
    const ulong32 code = cat.Load(pattern.c_str());
    telio::FailAllocationsAfter(-1);
    EXPECT_EQ(code, telio::kErrorNotEnoughMemory) << n;
    EXPECT_EQ(cat.GetCount(), 0) << n;
    EXPECT_FALSE(cat.IsLoaded());
  }
  ASSERT_EQ(cat.Load(pattern.c_str()), 0u);
  // An insertion that cannot grow the catalogue changes nothing.
  const int count = cat.GetCount();
  for (long n = 0; n < 3; ++n) {
    telio::FailAllocationsAfter(n);
    const ulong32 key = cat.InsertCompositeSection(31, "L50x50x5", kPairStar, 10);
    telio::FailAllocationsAfter(-1);
    if (key == 0) {
      EXPECT_EQ(telio::GetLastError(), telio::kErrorNotEnoughMemory);
      EXPECT_EQ(cat.GetCount(), count);
    }
  }
  EXPECT_NE(cat.FindSection("2L50x50x5D/10"), 0u);
}

TEST(CSectionFiles, InsertedDoubleAnglesAreKeptInTheUserFile) {
  Catalogue folder;
  folder.Write("ANGLES.SEC", kAngles);
  CSectionFiles cat;
  EXPECT_EQ(cat.InsertCompositeSection(31, "L50x50x5", 1, 10), 0u);  // nothing loaded
  ASSERT_EQ(cat.Load(folder.Pattern().c_str()), 0u);

  const ulong32 b = cat.InsertCompositeSection(31, "l50x50x5", kPairBackToBack, 10);
  ASSERT_GE(b, kFirstUserKey);
  EXPECT_EQ(telio::GetLastError(), 0u);
  EXPECT_EQ(cat.GetSectionName(b), "2L50x50x5B/10");
  EXPECT_EQ(cat.GetSectionCatalogID(b), 33);
  EXPECT_EQ(cat.InsertCompositeSection(31, "L50x50x5", kPairBackToBack, 10), b);  // found, not added
  // The single angle also by the name its dimensions spell.
  const ulong32 d = cat.InsertCompositeSection(31, "L60x60x6.500000", kPairStar, 12.5);
  EXPECT_EQ(cat.GetSectionName(d), "2L60x60x6.5D/12.5");
  const ulong32 s = cat.InsertCompositeSection(32, "L100x50x8", kPairShortLegs, 8);
  const ulong32 l = cat.InsertCompositeSection(32, "L100x50x8", kPairLongLegs, 8);
  EXPECT_EQ(cat.GetSectionCatalogID(s), 35);
  EXPECT_EQ(cat.GetSectionCatalogID(l), 34);
  EXPECT_NE(s, l);

  telio::SetLastError(0);
  EXPECT_EQ(cat.InsertCompositeSection(32, "L50x50x5", 1, 10), 0u);   // an equal angle
  EXPECT_EQ(cat.InsertCompositeSection(31, "L70x70x7", 1, 10), 0u);   // unknown
  EXPECT_EQ(cat.InsertCompositeSection(31, "L50x50x5", 5, 10), 0u);   // arrangement
  EXPECT_EQ(cat.InsertCompositeSection(31, "L50x50x5", 1, -1), 0u);   // spacing
  EXPECT_EQ(telio::GetLastError(), telio::kErrorBadArguments);

  CSectionData before;
  ASSERT_EQ(cat.GetSectionData(b, &before), 1);
  CSectionFiles again;
  ASSERT_EQ(again.Load(folder.Pattern().c_str()), 0u) << again.GetLoadError().GetString();
  EXPECT_EQ(again.GetCount(), 7);
  EXPECT_EQ(again.FindSection("2L50x50x5B/10"), b);
  CSectionData after;
  ASSERT_EQ(again.GetSectionData(b, &after), 1);
  EXPECT_DOUBLE_EQ(after.A, before.A);
  EXPECT_DOUBLE_EQ(after.Iz, before.Iz);
  EXPECT_EQ(again.GetSectionName(d), "2L60x60x6.5D/12.5");
  // New keys continue after the kept ones.
  const ulong32 next = again.InsertCompositeSection(31, "L50x50x5", kPairBackToBack, 20);
  EXPECT_GT(next, l);
  EXPECT_GT(next, s);
}

// Found by fuzzing: the catalogue holds a pair under the name a new pair
// would take, but with another spacing. The new pair is refused, not given
// a second section of the same name.
TEST(CSectionFiles, PairWhoseNameStandsForOtherDataIsRefused) {
  Catalogue folder;
  folder.Write("ANGLES.SEC", kAngles + "2L 10 33 2L50x50x5B/10 L50x50x5 1 9\n");
  CSectionFiles cat;
  ASSERT_EQ(cat.Load(folder.Pattern().c_str()), 0u) << cat.GetLoadError().GetString();
  telio::SetLastError(0);
  EXPECT_EQ(cat.InsertCompositeSection(31, "L50x50x5", kPairBackToBack, 10), 0u);
  EXPECT_EQ(telio::GetLastError(), telio::kErrorBadArguments);
  EXPECT_EQ(cat.FindSection("2L50x50x5B/10"), 10u);
  EXPECT_EQ(cat.InsertCompositeSection(31, "L50x50x5", kPairBackToBack, 9), 10u);  // the kept pair
}

}  // namespace
