#include "sections/SectionFamilies.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// Every id a caller could plausibly pass, with margins around the used ones.
constexpr int kFirstId = -5;
constexpr int kLastId = 260;

struct FamilyRow {
  const char* name;
  bool (*pred)(int);
  std::set<int> trueFor;  // ids listed one by one, not as ranges
};

const std::vector<FamilyRow>& Rows() {
  static const std::vector<FamilyRow> rows = {
      {"IsISection", IsISection,
       {12, 13, 14, 15, 16, 17, 18, 19, 21, 22, 23, 24, 51, 80, 81, 100, 101, 102, 104, 108, 109, 195}},
      {"IsHSection", IsHSection, {41, 42, 43, 44, 46, 47, 48}},
      {"IsSHSection", IsSHSection, {42, 47}},
      {"IsRHSection", IsRHSection, {43, 48}},
      {"IsTubular", IsTubular, {41, 44, 46}},
      {"IsCSSection", IsCSSection, {55}},
      {"IsSSSection", IsSSSection, {56}},
      {"IsRSSection", IsRSSection, {57}},
      {"IsSSection", IsSSection, {55, 56, 57}},
      {"IsLSection", IsLSection, {31, 32, 33, 34, 35, 36, 37, 38, 39, 40}},
      {"IsLEQSection", IsLEQSection, {31, 36}},
      {"IsLNESection", IsLNESection, {32, 37}},
      {"IsL2Section", IsL2Section, {33, 34, 35, 38, 39, 40}},
      {"IsLEQ2Section", IsLEQ2Section, {33, 38}},
      {"IsLNE2Section", IsLNE2Section, {34, 35, 39, 40}},
      {"IsLNE2ASection", IsLNE2ASection, {34, 39}},
      {"IsLNE2BSection", IsLNE2BSection, {35, 40}},
      {"IsL2AlSection", IsL2AlSection, {38, 39, 40}},
      {"IsAlSection", IsAlSection, {36, 37, 38, 39, 40, 44}},
      {"IsUSection", IsUSection, {61, 62, 63}},
      {"IsTSection", IsTSection, {98}},
      {"IsWeldedSection", IsWeldedSection, {51}},
      {"IsTaperedSection", IsTaperedSection, {80, 81}},
      {"IsCastellatedSection", IsCastellatedSection, {100, 101, 102}},
      {"IsWallSection", IsWallSection, {103}},
      {"IsTELMAROEC4SpecialSection", IsTELMAROEC4SpecialSection, {104}},
      {"IsCorvexEC4SpecialSection", IsCorvexEC4SpecialSection, {108, 109}},
      {"IsDexionSection", IsDexionSection, {120, 121, 122, 123, 130, 131, 132, 133}},
      {"HasValidPRS", HasValidPRS, {80, 81, 103, 104, 109}},
      {"IsValidForMDEC3Lepto", IsValidForMDEC3Lepto,
       {71, 72, 73, 75, 91, 92, 93, 94, 95, 96, 111, 112, 192, 193, 194}},
      {"IsValidForMDEC3Composite", IsValidForMDEC3Composite, {104}},
      {"IsValidForMDEC3", IsValidForMDEC3,
       {12, 13, 14, 15, 16, 17, 18, 19, 21, 22, 23, 24, 31, 32, 33, 34, 35, 41, 42, 43, 46, 47, 48,
        51, 61, 62, 63, 80, 81, 98, 99, 100, 101, 102, 108, 109, 120, 121, 122, 123, 130, 131, 132,
        133, 195}},
  };
  return rows;
}

TEST(SectionFamilies, EveryPredicateAnswersItsTableOverAllIds) {
  for (const FamilyRow& row : Rows()) {
    for (int id = kFirstId; id <= kLastId; ++id) {
      EXPECT_EQ(row.pred(id), row.trueFor.count(id) == 1) << row.name << "(" << id << ")";
    }
  }
}

TEST(SectionFamilies, LtbRejectsHollowAnglesAndChannelsOnly) {
  const std::set<int> rejected = {41, 42, 43, 44, 46, 47, 48, 31, 32, 33, 34, 35,
                                  36, 37, 38, 39, 40, 61, 62, 63};
  for (int id = kFirstId; id <= kLastId; ++id) {
    EXPECT_EQ(IsValidForLTB(id), rejected.count(id) == 0) << id;
  }
}

TEST(SectionFamilies, FamilyIdConversions) {
  struct Row { int in; int proper; short set; };
  const Row rows[] = {
      {31, 31, 33}, {32, 32, 34}, {33, 99, 33}, {34, 99, 34}, {35, 99, 35},
      {36, 36, 36}, {37, 37, 37}, {38, 99, 38}, {39, 99, 39}, {40, 99, 40},
      {99, 99, 99}, {12, 12, 12}, {104, 104, 104}, {0, 0, 0}, {-1, -1, -1},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(GetProperFamilyId(r.in), r.proper) << r.in;
    EXPECT_EQ(SetProperFamilyId(r.in), r.set) << r.in;
  }
  // A single angle made double lands in the combined double-angle family.
  EXPECT_EQ(GetProperFamilyId(SetProperFamilyId(31)), 99);
  EXPECT_EQ(GetProperFamilyId(SetProperFamilyId(32)), 99);
}

TEST(SectionFamilies, SelectionFilters) {
  struct Row { long32 filter; std::set<int> trueFor; };
  const Row rows[] = {
      {102, {31, 32, 36, 37}},
      {107, {33, 34, 35, 38, 39, 40}},
      {109, {55, 56}},
      {117, {31, 32, 33, 34, 35, 36, 37, 38, 39, 40}},
      {118, {12, 13, 14, 15, 16, 17, 18, 19, 21, 22, 23, 24, 51, 80, 81, 100, 101, 102, 104, 108,
             109, 195}},
      {119, {41, 42, 43, 44, 46, 47, 48}},
      {120, {42, 43, 47, 48}},
      // Unknown filters, including the neighbours of the known ones.
      {0, {}}, {101, {}}, {103, {}}, {108, {}}, {110, {}}, {121, {}}, {-118, {}},
  };
  for (const Row& r : rows) {
    for (int id = kFirstId; id <= kLastId; ++id) {
      EXPECT_EQ(IsValidFamilyByFilter(r.filter, id), r.trueFor.count(id) == 1)
          << "filter " << r.filter << " family " << id;
    }
  }
}

}  // namespace
