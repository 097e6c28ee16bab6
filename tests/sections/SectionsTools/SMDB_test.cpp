#include "sections/SectionsTools/SMDB.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Coding.h"
#include "support/TOPFixture.h"
#include "support/TempDir.h"
#include "topology/CTOPO_REC.h"

namespace {

using telio_test::TempDir;
using telio_test::TopModelLayout;
using telio_test::TopSectionLayout;
using TOPOStructs::TOPO_REC;

const char kCatalogue[] =
    "TELIO-SEC 1\n"
    "I 200 12 IPE200 200 100 5.6 8.5 12\n"
    "I 300 12 IPE300 300 150 7.1 10.7 15\n"
    "L 505 31 L50x50x5 50 50 5 7 3.5\n"
    "L 1008 32 L100x50x8 100 50 8 8 4\n";

// A suite folder with a small catalogue, and the process-wide catalogue
// freed after each test.
class SMDBTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(suite_.File("FilesSectionDB"));
    std::ofstream(suite_.File("FilesSectionDB/SAMPLE.SEC")) << kCatalogue;
  }
  void TearDown() override { FreeSMDBSectionFiles(); }

  TempDir suite_;
};

TopSectionLayout Sec(const char* name, int16_t family, int16_t sub, uint32_t key) {
  TopSectionLayout s;
  s.name = name;
  s.family = family;
  s.sub = sub;
  s.key = key;
  for (size_t i = 0; i < 32; ++i) s.prs[i] = static_cast<uint8_t>(0x40 + i);
  return s;
}

// A two-node frame whose sections cover every resolution step.
TopModelLayout Frame() {
  TopModelLayout m;
  m.nodes = {{1, 0, 0.f, 0.f, 0.f, 1}, {2, 0, 4.f, 0.f, 0.f, 0}};
  m.beams = {{1, 1, 1, 2, 0.f}};
  m.supports.resize(1);
  m.supports[0].node = 1;
  TopSectionLayout composite = Sec("C", 108, 0, 0);
  // h b tw tf r in m, A and Avz in m2.
  const float values[7] = {0.3f, 0.15f, 0.0071f, 0.0107f, 0.015f, 0.005381f, 0.002568f};
  for (int i = 0; i < 7; ++i) composite.composite[i] = values[i];
  m.sections = {
      Sec("IPE300", 12, 0, 300),          // 1 keyed
      Sec("BYINDEX", 12, 2, 0),           // 2 second section of family 12
      Sec("2L50x5-10", 33, 1, 0),         // 3 equal pair, back to back
      Sec("2L100x50x8-b-12", 35, 1, 0),   // 4 short legs back to back
      composite,                          // 5 matched by its dimensions
      Sec("TAPER", 80, 3, 0),             // 6 left alone
      Sec("OWN", 81, 0, 0),               // 7 its own values
      Sec("LOST", 12, 0, 999),            // 8 key not in the catalogue
      Sec("2Lxx", 33, 1, 0),              // 9 name fits no pattern
      Sec("FAR", 12, 9, 0),               // 10 no ninth IPE
      Sec("OWNKEY", 81, 0, 0),            // 11 its own values, given a key below
  };
  return m;
}

std::string WriteTop(const TempDir& dir, const TopModelLayout& m) {
  const std::string path = dir.File("JOB.TOP");
  telio_test::BuildTop(m).WriteTo(path);
  return path;
}

float BlockValue(const TOP_SEC* s, int i) { return telio::DecodeFloat(reinterpret_cast<const unsigned char*>(s->Prs()) + 2 + 4 * i); }

TEST_F(SMDBTest, ResolvesThenRefillsEverySectionGroup) {
  TempDir job;
  CTOPO_REC topology;
  ASSERT_EQ(topology.Open(WriteTop(job, Frame()).c_str()), 1);
  TOPO_REC* topo = topology.GetTOPO_REC();
  const TOP_PRS* taperBlock = topo->Section(6)->Prs();
  ASSERT_NE(taperBlock, nullptr);

  EXPECT_EQ(ResolveSMDBSectionsTOPO(topo, suite_.path().c_str()), 4);
  EXPECT_EQ(topo->Section(2)->Key(), 300u);  // IPE200, then IPE300
  EXPECT_EQ(topo->Section(2)->SubNumber(), 2);

  const TOP_SEC* pair = topo->Section(3);
  EXPECT_EQ(pair->Family(), 99);
  EXPECT_EQ(pair->Name(), "2L50x5-10");
  CSectionFiles* cat = GetSMDBSectionFiles(suite_.path().c_str());
  ASSERT_NE(cat, nullptr);
  EXPECT_EQ(cat->GetSectionName(pair->Key()), "2L50x50x5B/10");
  EXPECT_EQ(cat->GetSectionName(topo->Section(4)->Key()), "2L100x50x8S/12");

  const TOP_SEC* matched = topo->Section(5);
  EXPECT_EQ(matched->Key(), 300u);
  EXPECT_EQ(matched->Name(), "IPE300");
  EXPECT_EQ(matched->Family(), 12);
  EXPECT_EQ(matched->SubNumber(), 0);

  EXPECT_EQ(topo->Section(9)->Family(), 33);
  EXPECT_EQ(topo->Section(9)->Key(), 0u);
  EXPECT_EQ(topo->Section(10)->Key(), 0u);

  const TOP_PRS* ownBlock = topo->Section(7)->Prs();
  topo->Section(11)->SetKey(7);
  EXPECT_EQ(UpdateSMDBSectionsTOPO(topo, suite_.path().c_str()), 6);  // 1-5 and 11
  const float ipe300[5] = {300, 150, 7.1f, 10.7f, 15};
  for (int s : {1, 2, 5}) {
    const TOP_SEC* sec = topo->Section(s);
    ASSERT_NE(sec->Prs(), nullptr) << s;
    EXPECT_EQ(sec->Prs()->Head(), 0) << s;
    for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(BlockValue(sec, i), ipe300[i]) << s << " " << i;
    EXPECT_EQ(BlockValue(sec, 5), 0.f);
    EXPECT_EQ(sec->Prs()->Tail(), 0);
  }
  // The pair: legs, thickness, radii, spacing, arrangement.
  const float pairValues[7] = {50, 50, 5, 7, 3.5f, 10, 1};
  for (int i = 0; i < 7; ++i) EXPECT_FLOAT_EQ(BlockValue(topo->Section(3), i), pairValues[i]) << i;
  EXPECT_FLOAT_EQ(BlockValue(topo->Section(4), 6), 2);

  // Family 81 with a key keeps its seven values in a new block; without a
  // key it keeps its block, as family 80 does.
  unsigned char own[32];
  for (int i = 0; i < 32; ++i) own[i] = static_cast<unsigned char>(0x40 + i);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(BlockValue(topo->Section(11), i), telio::DecodeFloat(own + 2 + 4 * i));
  EXPECT_EQ(topo->Section(11)->Prs()->Head(), 0);
  EXPECT_EQ(topo->Section(7)->Prs(), ownBlock);
  EXPECT_EQ(std::memcmp(ownBlock->data, own, 32), 0);
  EXPECT_EQ(topo->Section(6)->Prs(), taperBlock);
  EXPECT_EQ(std::memcmp(taperBlock->data, own, 32), 0);
  EXPECT_EQ(topo->Section(8)->Prs(), nullptr);

  // The pairs were written back to the catalogue folder.
  CSectionFiles reread;
  ASSERT_EQ(reread.Load((suite_.path() + "/FilesSectionDB/*.SEC").c_str()), 0u);
  EXPECT_EQ(reread.FindSection("2L100x50x8S/12"), topo->Section(4)->Key());
}

TEST_F(SMDBTest, WithoutACatalogueNothingChanges) {
  TempDir job, bare;
  CTOPO_REC topology;
  ASSERT_EQ(topology.Open(WriteTop(job, Frame()).c_str()), 1);
  TOPO_REC* topo = topology.GetTOPO_REC();
  const TOP_PRS* block = topo->Section(7)->Prs();
  EXPECT_EQ(ResolveSMDBSectionsTOPO(topo, bare.path().c_str()), 0);
  EXPECT_EQ(UpdateSMDBSectionsTOPO(topo, bare.path().c_str()), 0);
  EXPECT_EQ(ResolveSMDBSectionsTOPO(topo, (bare.path() + "/missing").c_str()), 0);
  EXPECT_EQ(topo->Section(3)->Family(), 33);
  EXPECT_EQ(topo->Section(5)->Key(), 0u);
  EXPECT_EQ(topo->Section(7)->Prs(), block);
  EXPECT_EQ(topo->Section(1)->Prs(), nullptr);
  EXPECT_EQ(ResolveSMDBSectionsTOPO(nullptr, suite_.path().c_str()), 0);
  EXPECT_EQ(UpdateSMDBSectionsTOPO(nullptr, suite_.path().c_str()), 0);
}

TEST(SMDBNames, DoubleAngleNamePatterns) {
  SMDBDoubleAngle p;
  ASSERT_TRUE(ReadTopologyDoubleAngleName(33, "L60x6.5-10", &p));
  EXPECT_EQ(p.singleName, "L60x60x6.500000");
  EXPECT_EQ(p.singleFamily, 31);
  EXPECT_EQ(p.arrangement, 1);
  EXPECT_EQ(p.spacing, 10);
  ASSERT_TRUE(ReadTopologyDoubleAngleName(34, "2L100x50x8-a-12", &p));
  EXPECT_EQ(p.singleName, "L100x50x8");
  EXPECT_EQ(p.singleFamily, 32);
  EXPECT_EQ(p.arrangement, 3);
  EXPECT_FALSE(ReadTopologyDoubleAngleName(34, "2L100x50x8-b-12", &p));
  EXPECT_FALSE(ReadTopologyDoubleAngleName(31, "2L50x5-10", &p));

  struct Case {
    const char* name;
    int arrangement, family;
  };
  const Case cases[] = {{"2L50x50x5B/10", 1, 31}, {"2L100x50x8L/12.5", 3, 32},
                        {"2L100x50x8S/8", 2, 32}, {"2L50x50x5D/0", 4, 31}};
  for (const Case& c : cases) {
    ASSERT_TRUE(ReadArrangedDoubleAngleName(c.name, &p)) << c.name;
    EXPECT_EQ(p.arrangement, c.arrangement) << c.name;
    EXPECT_EQ(p.singleFamily, c.family) << c.name;
  }
  EXPECT_EQ(p.singleName, "L50x50x5");
  EXPECT_FALSE(ReadArrangedDoubleAngleName("2L50x50x5X/10", &p));
  EXPECT_EQ(InsertSMDBDoubleAngle(nullptr, "2L50x50x5B/10"), 0u);
}

}  // namespace
