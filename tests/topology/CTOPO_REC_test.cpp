#include "topology/CTOPO_REC.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <sys/stat.h>

#include "platform/Alloc.h"
#include "files/CAJF_PATHS.h"
#include "platform/LastError.h"
#include "platform/TelKrnl.h"
#include "sections/SectionsTools/SMDB.h"
#include "support/CSFixture.h"
#include "support/TOPFixture.h"
#include "support/TempDir.h"

using namespace TOPOStructs;
using telio_test::BuildCs;
using telio_test::BuildTop;
using telio_test::TempDir;
using telio_test::TopModelLayout;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Writes <dir>/A.TOP and, when cs is given, its companion <dir>/A.CS.
std::string WriteJob(const TempDir& dir, const TopModelLayout& m, const telio_test::ByteWriter* cs = nullptr) {
  std::string top = dir.File("A.TOP");
  BuildTop(m).WriteTo(top);
  if (cs) cs->WriteTo(dir.File("A.CS"));
  return top;
}

// Nodes on a line and off it, all meeting at node 1; every beam but the
// last starts or ends there.
TopModelLayout PlaneStar() {
  TopModelLayout m;
  m.space = false;
  m.nodes = {{1, 0, 0, 0, 0, 0}, {2, 0, 2, 0, 0, 0}, {3, 0, -3, 0, 0, 0}, {-12345, 0, 0, 4, 0, 0}};
  m.beams = {{1, 1, 1, 2, 0.0005f},  // along +X
             {1, 2, 3, 1, 0.002f},   // along -X, drawn towards node 1
             {1, 3, 1, 4, -0.0005f}, // along +Y
             {1, 4, 2, 1, 0.f},      // overlaps beam 1
             {1, 5, 1, 1, 0.f},      // no length
             {1, 6, 2, 99, 0.f}};    // names a node the file lacks
  m.supports.resize(1);
  m.supports[0].node = 3;
  m.sections = {{"S", 12, 0, 5, {}, {}}};
  return m;
}

TEST(CTOPO_REC, OpensEveryRecordWithItsCompositeSections) {
  TempDir dir;
  TopModelLayout m = telio_test::SampleTopModel();
  m.physBeams.push_back({103, 2, 4, {5, 42}});  // beam 42 does not exist
  telio_test::ByteWriter cs = BuildCs({1, 4, 11});
  CTOPO_REC t;
  ASSERT_EQ(t.Open(WriteJob(dir, m, &cs).c_str()), 1);
  const TOPO_REC* r = t.GetTOPO_REC();
  ASSERT_NE(r, nullptr);

  EXPECT_EQ((std::vector<long>{r->nodeCount, r->beamCount, r->supportCount, r->sectionCount,
                                r->physBeamCount, r->modelWord, t.StaticCases(), t.DynamicCases(),
                                r->dims[0], r->dims[1]}),
            (std::vector<long>{4, 5, 2, 10, 4, 0x1234, 3, 2, 300, 70}));
  EXPECT_STREQ(r->path, dir.File("A.TOP").c_str());

  // Slot 0 holds nothing; node 2 is labelled 12, beam 1 is labelled 7.
  EXPECT_EQ(r->x[0], 0.f);
  EXPECT_EQ(r->startNode[0], 0);
  EXPECT_FLOAT_EQ(r->z[4], -2.25f);
  EXPECT_STREQ(CTOPO_REC::GetNode(r->nodes, 2)->name, "N12");
  EXPECT_STREQ(CTOPO_REC::GetNode(r->nodes, 4)->name, "N-4");
  EXPECT_STREQ(r->beams->name, "B7");
  EXPECT_EQ(CTOPO_REC::GetNode(r->nodes, 5), nullptr);
  EXPECT_EQ(CTOPO_REC::GetBeam(r->beams, 0), nullptr);
  // Supports restrain nodes 1 and 2; node 3 is restrained by its own code.
  EXPECT_EQ(std::vector<int>(r->restraint + 1, r->restraint + 5), (std::vector<int>{1, 1, 1, 0}));
  EXPECT_EQ(CTOPO_REC::GetNode(r->nodes, 1)->restraint, 0);

  const BEAM_REC* b5 = CTOPO_REC::GetBeam(r->beams, 5);
  EXPECT_EQ((std::vector<long>{b5->index, b5->section, b5->zeroAngle}), (std::vector<long>{5, 9, 0}));
  EXPECT_FLOAT_EQ(b5->angle, 3.25f);
  EXPECT_EQ(b5->start, r->nodes);
  EXPECT_EQ(b5->end, CTOPO_REC::GetNode(r->nodes, 3));
  EXPECT_EQ(r->section[5], 9);
  EXPECT_EQ(r->endNode[5], 3);

  // Sections keep their key and get their own property blocks.
  EXPECT_EQ(r->sections[1].Key(), 0xA1B2C3D4u);
  EXPECT_EQ(r->sections[10].Key(), 77u);
  ASSERT_NE(r->sections[4].prs, nullptr);
  EXPECT_EQ(r->sections[4].prs->data[31], 80 + 31);
  EXPECT_EQ(r->sections[1].prs, nullptr);
  EXPECT_FLOAT_EQ(r->sections[8].Composite(6), 111.f);

  const CURPHBM_REC* p2 = r->physBeams->next;
  EXPECT_EQ(p2->label, 101);
  EXPECT_EQ(p2->firstNode, CTOPO_REC::GetNode(r->nodes, 3));
  EXPECT_EQ(p2->lastNode, r->nodes);
  ASSERT_EQ(p2->beamCount, 3);
  EXPECT_EQ(p2->beams[2], b5);
  EXPECT_EQ(p2->next->beams, nullptr);
  EXPECT_EQ(p2->next->next->beams[0], b5);
  EXPECT_EQ(p2->next->next->beams[1], nullptr);

  // Sub-number k names composite record k; record 3 names no section.
  ASSERT_EQ(t.GetCOMPSECTS().count, 3u);
  EXPECT_EQ(t.GetCompositeSteelSection(&r->sections[7]), &r->sections[1]);
  EXPECT_EQ(t.GetCompositeSteelSection(&r->sections[2]), &r->sections[4]);
  r->sections[2].SetSubNumber(3);
  EXPECT_EQ(t.GetCompositeSteelSection(&r->sections[2]), nullptr);
  EXPECT_EQ(t.GetCompositeSteelSection(&r->sections[1]), nullptr);

  EXPECT_EQ(CTOPO_REC::FindCompositeParent(r, 1), &r->sections[7]);
  EXPECT_EQ(CTOPO_REC::FindCompositeParent(r, 2), nullptr);
  EXPECT_EQ(CTOPO_REC::FindTaperedParent(r, 1), &r->sections[4]);
  EXPECT_EQ(CTOPO_REC::FindTaperedParent(r, 0), nullptr);
  EXPECT_EQ(CTOPO_REC::FindTaperedParent(nullptr, 1), nullptr);

  t.Close();
  EXPECT_EQ(t.GetTOPO_REC(), nullptr);
  EXPECT_EQ(t.GetCOMPSECTS().count, 0u);
  EXPECT_EQ(t.StaticCases(), 0);
  t.Close();
}

TEST(CTOPO_REC, PlaneModelFlagsAndGeometry) {
  TempDir dir;
  CTOPO_REC t;
  ASSERT_EQ(t.Open(WriteJob(dir, PlaneStar()).c_str()), 1);
  TOPO_REC* r = t.GetTOPO_REC();
  EXPECT_EQ(r->dims[0], 0);
  EXPECT_EQ(r->dims[1], 90);
  EXPECT_STREQ(CTOPO_REC::GetNode(r->nodes, 4)->name, "N-1234");  // cut to 6 characters
  for (int b : {1, 2, 3}) EXPECT_EQ(CTOPO_REC::GetBeam(r->beams, b)->zeroAngle, b != 2) << b;

  float dx, dy, dz, len;
  EXPECT_EQ(CTOPO_REC::GetBeamData(r, 1, 2, &dx, &dy, &dz, &len), 1);
  EXPECT_EQ(std::vector<float>({dx, dy, dz, len}), std::vector<float>({-3, 0, 0, 3}));
  EXPECT_EQ(CTOPO_REC::GetBeamData(r, 2, 1, &dx, nullptr, nullptr, &len), 1);
  EXPECT_FLOAT_EQ(dx, -2);
  // Out of range.
  for (auto nb : {std::make_pair(1, 0), {1, 7}, {5, 1}}) {
    EXPECT_EQ(CTOPO_REC::GetBeamData(r, nb.first, nb.second, &dx, &dy, &dz, &len), 0) << nb.second;
    EXPECT_EQ(std::vector<float>({dx, dy, dz, len}), std::vector<float>(4, 0.f));
  }
  // Beam 6 runs from node 2 to node 99, which the file lacks: its slot
  // holds zero coordinates.
  EXPECT_EQ(CTOPO_REC::GetBeamData(r, 2, 6, &dx, &dy, &dz, &len), 1);
  EXPECT_EQ(std::vector<float>({dx, dy, dz, len}), std::vector<float>({-2, 0, 0, 2}));

  EXPECT_NEAR(CTOPO_REC::GetAngleBetweenBeams(r, 1, 1, 2), kPi, 1e-9);
  EXPECT_NEAR(CTOPO_REC::GetAngleBetweenBeams(r, 1, 1, 4), 0, 1e-9);
  EXPECT_NEAR(CTOPO_REC::GetAngleBetweenBeams(r, 1, 1, 3), kPi / 2, 1e-9);
  EXPECT_NEAR(CTOPO_REC::GetAngleBetweenBeams(r, 1, 5, 3), kPi / 2, 1e-9);
  EXPECT_EQ(CTOPO_REC::GetAngleBetweenBeams(nullptr, 1, 1, 2), 0);

  // Either order of the ends; 0.0011 off in one coordinate misses. The
  // overlapping beam 4 is never reached, and beam 6 (one end unknown) is
  // skipped.
  EXPECT_EQ(CTOPO_REC::FindBeam(r->beams, 2, 0, 0, 0, 0, 0), r->beams);
  EXPECT_EQ(CTOPO_REC::FindBeam(r->beams, 0, 0.0009f, 0, 2, 0, 0), r->beams);
  EXPECT_EQ(CTOPO_REC::FindBeam(r->beams, 0, 0, 0, 0, 4.0011f, 0), nullptr);
  EXPECT_EQ(CTOPO_REC::FindBeam(r->beams, 2, 0, 0, 0, 0, 0.0011f), nullptr);
  EXPECT_EQ(CTOPO_REC::FindBeam(r->beams, 0, 4, 0, 0, 0, 0)->label, 3);
  EXPECT_EQ(CTOPO_REC::FindBeam(nullptr, 0, 0, 0, 0, 0, 0), nullptr);
}

// Generating from a TOP file read whole gives what opening it gives.
class Generator : public CTOPO_REC {
 public:
  using CTOPO_REC::Allocate;
  using CTOPO_REC::GenerateFromTOPO_CURDIMS_REC;
};

// Records alike up to their links, with the same node at each beam start.
void ExpectSameRecords(const TOPO_REC* a, const TOPO_REC* b) {
  for (const NODE_REC *p = a->nodes, *q = b->nodes; p || q; p = p->next, q = q->next) {
    ASSERT_TRUE(p && q);
    EXPECT_EQ(std::memcmp(p, q, offsetof(NODE_REC, next)), 0) << p->index;
  }
  for (const BEAM_REC *p = a->beams, *q = b->beams; p || q; p = p->next, q = q->next) {
    ASSERT_TRUE(p && q);
    EXPECT_EQ(std::memcmp(p, q, offsetof(BEAM_REC, start)), 0) << p->index;
    EXPECT_EQ(p->start->index, q->start->index);
  }
  for (const CURPHBM_REC *p = a->physBeams, *q = b->physBeams; p || q; p = p->next, q = q->next) {
    ASSERT_TRUE(p && q);
    ASSERT_EQ(p->beamCount, q->beamCount);
    for (int k = 0; k < p->beamCount; ++k) EXPECT_EQ(p->beams[k] == nullptr, q->beams[k] == nullptr);
  }
  EXPECT_EQ(std::memcmp(a->sections[7].prs, b->sections[7].prs, sizeof(TOP_PRS)), 0);
}

// Generating from a TOP file read whole, or opening it through a pipe
// (where the angles cannot be read ahead of the beams), gives what opening
// the file gives.
TEST(CTOPO_REC, GeneratingFromAReadFileOrOpeningAPipeMatchesOpeningIt) {
  TempDir dir;
  TopModelLayout m = telio_test::SampleTopModel();
  m.physBeams.push_back({103, 2, 4, {5, 42}});
  m.beams[2].angle = 0.75f;
  const std::string path = WriteJob(dir, m);
  CTOPO_REC opened;
  ASSERT_EQ(opened.Open(path.c_str()), 1);
  CFileTOP top;
  ASSERT_EQ(top.Import(path.c_str()), 0u);
  Generator g;
  ASSERT_EQ(g.Allocate(), 1);
  ASSERT_EQ(g.GenerateFromTOPO_CURDIMS_REC(top.GetTOPO_CURDIMS_REC()), 0);
  ExpectSameRecords(opened.GetTOPO_REC(), g.GetTOPO_REC());
  EXPECT_EQ(g.FindBeam(0, 0, 0, 5, 0, 0), g.GetTOPO_REC()->beams);

  const std::string pipe = dir.File("P.TOP");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::thread writer([&] {
    std::ifstream in(path, std::ios::binary);
    std::ofstream(pipe, std::ios::binary) << in.rdbuf();
  });
  CTOPO_REC piped;
  const int ok = piped.Open(pipe.c_str());
  writer.join();
  ASSERT_EQ(ok, 1);
  ExpectSameRecords(opened.GetTOPO_REC(), piped.GetTOPO_REC());
  EXPECT_FLOAT_EQ(piped.GetTOPO_REC()->angle[3], 0.75f);
}

// The member FindBeam goes through the index built at Open; it must give
// what the walk gives, ties (repeated, reversed or nearly coincident beams)
// included.
TEST(CTOPO_REC, IndexedFindBeamAgreesWithTheWalk) {
  TempDir dir;
  TopModelLayout m;
  uint32_t seed = 7;
  auto next = [&seed](int n) { return static_cast<int>((seed = seed * 1103515245u + 12345u) >> 16) % n; };
  for (int i = 0; i < 400; ++i) {
    // A coarse lattice, so that nodes repeat, and offsets around the tolerance.
    const float jitter[] = {0, 0.0005f, -0.0009f, 0.001f, 0.0011f, 0.3f};
    float x = static_cast<float>(next(8)) + jitter[next(6)], y = static_cast<float>(next(8)), z = 0.5f * next(3);
    m.nodes.push_back({static_cast<int16_t>(i + 1), 0, x, y, z, 0});
  }
  m.nodes[5].x = std::nanf("");
  for (int i = 0; i < 1500; ++i) {
    uint16_t a = static_cast<uint16_t>(1 + next(400)), b = static_cast<uint16_t>(1 + next(401));  // 401: unknown
    if (i % 50 == 0) std::swap(a, b);
    m.beams.push_back({1, static_cast<int16_t>(i + 1), a, b, 0});
  }
  m.supports.resize(1);
  m.sections = {{"S", 12, 0, 5, {}, {}}};
  CTOPO_REC t;
  ASSERT_EQ(t.Open(WriteJob(dir, m).c_str()), 1);
  const TOPO_REC* r = t.GetTOPO_REC();
  const float shifts[] = {0, 0.0009f, -0.001f, 0.001f, 0.0011f};
  int found = 0;
  for (const BEAM_REC* b = r->beams; b; b = b->next) {
    const NODE_REC* s = b->start ? b->start : r->nodes;
    const NODE_REC* e = b->end ? b->end : r->nodes;
    for (float d : shifts) {
      for (bool swap : {false, true}) {
        const NODE_REC* p = swap ? e : s;
        const NODE_REC* q = swap ? s : e;
        BEAM_REC* walk = CTOPO_REC::FindBeam(r->beams, p->x + d, p->y, p->z, q->x, q->y - d, q->z);
        ASSERT_EQ(t.FindBeam(p->x + d, p->y, p->z, q->x, q->y - d, q->z), walk) << b->index << " " << d;
        found += walk != nullptr;
      }
    }
  }
  EXPECT_GT(found, 3000);
  t.Close();
  EXPECT_EQ(t.FindBeam(0, 0, 0, 1, 0, 0), nullptr);
}

// Tolerances are 0.001 exactly: the float nearest it, 0.0010000000475,
// lies outside.
TEST(CTOPO_REC, ToleranceIsTheDoubleThousandth) {
  TempDir dir;
  TopModelLayout m = PlaneStar();
  m.beams[0].angle = 0.001f;
  m.beams[1].angle = -0.00099999f;
  CTOPO_REC t;
  ASSERT_EQ(t.Open(WriteJob(dir, m).c_str()), 1);
  TOPO_REC* r = t.GetTOPO_REC();
  EXPECT_EQ(CTOPO_REC::GetBeam(r->beams, 1)->zeroAngle, 0);
  EXPECT_EQ(CTOPO_REC::GetBeam(r->beams, 2)->zeroAngle, 1);
  EXPECT_EQ(CTOPO_REC::FindBeam(r->beams, 2, 0, 0, 0, 0, 0.001f), nullptr);
  EXPECT_EQ(CTOPO_REC::FindBeam(r->beams, 2, 0, 0, 0, 0, 0.00099999f), r->beams);
}

TEST(CTOPO_REC, OppositeBeamsAlongADiagonalMeetAtPi) {
  TempDir dir;
  TopModelLayout m;
  m.nodes = {{1, 0, 0, 0, 0, 0}, {2, 0, 1, 1, 1, 0}, {3, 0, -1, -1, -1, 0}, {4, 0, 0.1f, 0.2f, 0.3f, 0}};
  m.beams = {{1, 1, 1, 2, 0}, {1, 2, 3, 1, 0}, {1, 3, 4, 2, 0}};
  m.supports.resize(1);
  m.sections = {{"S", 12, 0, 5, {}, {}}};
  CTOPO_REC t;
  ASSERT_EQ(t.Open(WriteJob(dir, m).c_str()), 1);
  EXPECT_DOUBLE_EQ(CTOPO_REC::GetAngleBetweenBeams(t.GetTOPO_REC(), 1, 1, 2), kPi);
  EXPECT_DOUBLE_EQ(CTOPO_REC::GetAngleBetweenBeams(t.GetTOPO_REC(), 1, 1, 1), 0);
}

// Chains are made in blocks, yet any part of one can be freed on its own.
TEST(CTOPO_REC, ChainsAreFreedRecordByRecord) {
  NODE_REC* nodes = CTOPO_REC::AllocateNodesLList(5);
  NODE_REC* third = CTOPO_REC::GetNode(nodes, 3);
  CTOPO_REC::GetNode(nodes, 2)->next = nullptr;
  CTOPO_REC::DeAllocateNodesLList(third);
  NODE_REC* second = nodes->next;
  nodes->next = nullptr;
  CTOPO_REC::DeAllocateNodesLList(second);
  CTOPO_REC::DeAllocateNodesLList(nodes);

  CURPHBM_REC* phys = CTOPO_REC::AllocatePhysBeamsLList(3);
  for (CURPHBM_REC* p = phys; p; p = p->next) {
    p->beamCount = 2;
    p->beams = static_cast<BEAM_REC**>(telio::Calloc(2, sizeof(BEAM_REC*)));
  }
  CTOPO_REC::DeAllocatePhysBeamsLList(phys->next);
  phys->next = nullptr;
  CTOPO_REC::DeAllocatePhysBeamsLList(phys);

  // A beam unlinked from an opened topology outlives it.
  TempDir dir;
  CTOPO_REC t;
  ASSERT_EQ(t.Open(WriteJob(dir, PlaneStar()).c_str()), 1);
  BEAM_REC* b2 = t.GetTOPO_REC()->beams->next;
  t.GetTOPO_REC()->beams->next = b2->next;
  b2->next = nullptr;
  t.Close();
  EXPECT_EQ(b2->label, 2);
  CTOPO_REC::DeAllocateBeamsLList(b2);
}

TEST(CTOPO_REC, ResOffsetsAndTaperedLastSection) {
  TempDir dir;
  TopModelLayout m = PlaneStar();
  m.staticCases = 3;
  m.nodes.resize(10);
  m.beams.resize(5);
  m.supports.resize(2);
  m.sections.push_back({"T", 80, 0, 0, {}, {}});
  CTOPO_REC t;
  EXPECT_EQ(t.GetReactionsOffset(1, false), 0);
  ASSERT_EQ(t.Open(WriteJob(dir, m).c_str()), 1);
  EXPECT_EQ(t.GetReactionsOffset(1, false), 572);
  EXPECT_EQ(t.GetForcesOffset(2, 1, false), 1820);
  EXPECT_EQ(t.GetReactionsOffset(1, true), (22 * 3 + 11) * 52);
  EXPECT_EQ(CTOPO_REC::FindTaperedParent(t.GetTOPO_REC(), 1), &t.GetTOPO_REC()->sections[2]);
}

TEST(CTOPO_REC, TopologyOnlyLeavesSectionsEmpty) {
  TempDir dir;
  telio_test::ByteWriter cs = BuildCs({1});
  CTOPO_REC t;
  ASSERT_EQ(t.OpenTopology(WriteJob(dir, telio_test::SampleTopModel(), &cs).c_str()), 1);
  const TOPO_REC* r = t.GetTOPO_REC();
  EXPECT_EQ(r->beamCount, 5);
  EXPECT_STREQ(CTOPO_REC::GetBeam(r->beams, 2)->name, "B8");
  EXPECT_EQ(r->sections[1].Key(), 0u);
  EXPECT_EQ(r->sections[4].prs, nullptr);
  EXPECT_EQ(r->restraint[1], 0);
  EXPECT_EQ(t.GetCOMPSECTS().count, 0u);
}

// A section known only by its family and sub-number is resolved to its
// catalogue key before its property block is refilled from the catalogue.
TEST(CTOPO_REC, OpenTiesSectionsToTheCatalogue) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("FilesSectionDB"));
  std::ofstream(dir.File("FilesSectionDB/IPE.SEC"))
      << "TELIO-SEC 1\nI 12001 12 IPE80 80 46 3.8 5.2 5\nI 12007 12 IPE200 200 100 5.6 8.5 12\n";
  SetGDirs(dir.path().c_str());
  if (!GetTelmaroDir().IsEmpty()) GTEST_SKIP() << "a suite folder is installed";
  TopModelLayout m = PlaneStar();
  m.sections = {{"A", 12, 2, 0, {}, {}}, {"B", 12, 0, 12001, {}, {}}};
  CTOPO_REC t;
  ASSERT_EQ(t.OpenTopology(WriteJob(dir, m).c_str()), 1);
  ASSERT_EQ(t.Open(WriteJob(dir, m).c_str()), 1);
  const TOP_SEC& a = t.GetTOPO_REC()->sections[1];
  EXPECT_EQ(a.Key(), 12007u);
  ASSERT_NE(a.Prs(), nullptr);
  EXPECT_FLOAT_EQ(a.Prs()->Value(0), 200.f);
  EXPECT_FLOAT_EQ(a.Prs()->Value(3), 8.5f);
  ASSERT_NE(t.GetTOPO_REC()->sections[2].Prs(), nullptr);
  EXPECT_FLOAT_EQ(t.GetTOPO_REC()->sections[2].Prs()->Value(1), 46.f);
  FreeSMDBSectionFiles();
  SetGDirs(nullptr);
}

TEST(CTOPO_REC, CompanionPathReplacesEveryTOP) {
  EXPECT_STREQ(CTOPO_REC::CompSectsPath("C:\\MODELS\\TOPS\\A.TOP"), "C:\\MODELS\\CSS\\A.CS");
  EXPECT_STREQ(CTOPO_REC::CompSectsPath("/m/a.top"), "/m/a.top");
}

TEST(CTOPO_REC, RefusesCountsBeyondCapacity) {
  TempDir dir;
  TopModelLayout base = PlaneStar();
  struct Case {
    const char* what;
    size_t nodes, beams, sections;
    int opens;
  } cases[] = {{"full", 10000, 20000, 10000, 1},
               {"nodes", 10001, 1, 1, 0},
               {"beams", 4, 20001, 1, 0},
               {"sections", 4, 1, 10001, 0}};
  for (const Case& c : cases) {
    TopModelLayout m = base;
    m.nodes.resize(c.nodes);
    m.beams.resize(c.beams);
    m.sections.resize(c.sections);
    const std::string path = WriteJob(dir, m);
    CTOPO_REC t;
    for (bool whole : {true, false}) {
      EXPECT_EQ(whole ? t.Open(path.c_str()) : t.OpenTopology(path.c_str()), c.opens) << c.what;
      EXPECT_EQ(t.GetTOPO_REC() != nullptr, c.opens == 1) << c.what;
      if (!c.opens) {
        EXPECT_EQ(telio::GetLastError(), telio::kErrorBadArguments) << c.what;
      }
    }
  }
}

TEST(CTOPO_REC, BadCompositeFilesAreRefusedAndDoNotFailTheOpen) {
  TempDir dir;
  std::string path = dir.File("A.CS");
  COMPSECTS cs{0, nullptr};

  // A file cut inside its records gives the whole records it holds; a
  // huge count allocates only those; a negative one is no record.
  telio_test::ByteWriter three = BuildCs({1, 2, 3});
  struct Case {
    telio_test::ByteWriter file;
    size_t length;
    ulong32 code, kept;
  } cases[] = {{three, three.size() - 100, telio::kErrorHandleEof, 2},
               {BuildCs({1}, 0x7FFFFFFF), 1000, telio::kErrorHandleEof, 1},
               {BuildCs({1}, -2), 1000, 0, 0}};
  for (Case& c : cases) {
    c.file.WriteTo(path, c.length);
    telio::SetLastError(0);
    EXPECT_EQ(CTOPO_REC::ReadCompSects(path.c_str(), &cs), 1);
    EXPECT_EQ(telio::GetLastError(), c.code);
    EXPECT_EQ(cs.count, c.kept);
    EXPECT_EQ(cs.records != nullptr, c.kept > 0);
  }
  EXPECT_EQ(cs.records, nullptr);
  three.WriteTo(path, three.size() - 100);
  ASSERT_EQ(CTOPO_REC::ReadCompSects(path.c_str(), &cs), 1);
  EXPECT_EQ(cs.records[1].SteelSection(), 2u);
  EXPECT_EQ(cs.records[1].data[0], 0x31);
  BuildCs({}).WriteTo(path, 6);
  EXPECT_EQ(CTOPO_REC::ReadCompSects(path.c_str(), &cs), 0);
  EXPECT_EQ(telio::GetLastError(), telio::kErrorHandleEof);
  EXPECT_EQ(CTOPO_REC::ReadCompSects(dir.File("none.CS").c_str(), &cs), 0);
  EXPECT_EQ(telio::GetLastError(), telio::kErrorFileNotFound);
  BuildCs({}).WriteTo(path);
  EXPECT_EQ(CTOPO_REC::ReadCompSects(path.c_str(), &cs), 1);
  EXPECT_EQ(cs.count, 0u);

  BuildCs({}).WriteTo(path, 7);
  CTOPO_REC t;
  ASSERT_EQ(t.Open(WriteJob(dir, PlaneStar()).c_str()), 1);
  EXPECT_EQ(t.GetCOMPSECTS().count, 0u);
  EXPECT_EQ(t.GetCOMPSECTS().records, nullptr);
  three.WriteTo(path, three.size() - 1);
  ASSERT_EQ(t.Open(WriteJob(dir, PlaneStar()).c_str()), 1);
  EXPECT_EQ(t.GetCOMPSECTS().count, 2u);
}

}  // namespace
