#include "files/CFileT3L.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/T3LFixture.h"
#include "support/TempDir.h"

namespace {

using namespace telio_test;

class T3LTest : public ::testing::Test {
 protected:
  std::string Write(const ByteWriter& w, const std::string& name = "Model.T3L") {
    w.WriteTo(dir_.File(name));
    return dir_.File(name);
  }
  // The sample model, imported.
  void Load(CFileT3L& f) { ASSERT_EQ(0u, f.Import(Write(BuildT3L(SampleT3L())).c_str())); }
  TempDir dir_;
};

TEST_F(T3LTest, ImportsEveryTableWhereTheLayoutPutsIt) {
  T3LOffsets off;
  ByteWriter w = BuildT3L(SampleT3L(), &off);
  Write(w);
  CFileT3L f;
  ASSERT_EQ(0u, f.Import((dir_.path() + "\\MODEL.t3l").c_str()));  // letter case as on Windows
  EXPECT_TRUE(f.ReadExtendedLayout());
  const long32 counts[] = {0, 4, 3, 2, 1, 2, 1, 1, 2, 2, 1, 1, 2};  // by kind
  for (int k = 1; k <= 12; ++k) EXPECT_EQ(counts[k], f.Count(k)) << "kind " << k;
  const Bytes& b = w.data();
  EXPECT_EQ(0, std::memcmp(f.DynaBuf().b, &b[off.dyna], 178));
  EXPECT_EQ(0, std::memcmp(f.Node(3)->b, &b[off.nodes + 3 * 32], 32));
  EXPECT_EQ(0, std::memcmp(f.Buf(0)->b, &b[off.physBeams], 128));
  EXPECT_EQ(0, std::memcmp(f.StaticBeamLoad(1)->b, &b[off.beamLoads + 64], 64));
  EXPECT_EQ(0, std::memcmp(f.NodeMass(1)->b, &b[off.nodeMasses + 64], 64));
  EXPECT_EQ(nullptr, f.NodeMass(2));

  EXPECT_EQ(f.Node(1), f.SNodeOfBeam(1));
  EXPECT_EQ(f.Node(3), f.ENodeOfBeam(2));
  EXPECT_EQ(f.Section(1), f.SectionOfBeam(2));
  EXPECT_EQ(nullptr, f.SectionOfBeam(3));  // section number 0
  EXPECT_EQ(4, f.Supp(1)->SupportNode());
  EXPECT_FLOAT_EQ(-1.5f, f.LoadingCaseExtra(1)->Value());

  // Names go from the OEM to the ANSI page in place, within their record.
  std::memset(f.Section(0)->b, 0x84, 96);  // OEM 437 a-umlaut, no NUL
  f.OemToCharSectC();
  EXPECT_EQ(0xE4, f.Section(0)->b[95]);
  EXPECT_STREQ("HEA 200", f.Section(1)->Name());
}

TEST_F(T3LTest, ClassicHeaderIsWidenedAndWrittenBackExtended) {
  T3LLayout model = SampleT3L(false);
  model.flagBits = 0x05;
  const ByteWriter built = BuildT3L(model);
  const Bytes& classic = built.data();
  CFileT3L f;
  ASSERT_EQ(0u, f.Import(Write(built).c_str()));
  EXPECT_FALSE(f.ReadExtendedLayout());
  DIMS_BUF_EX d = f.Dim();
  EXPECT_EQ(0, std::memcmp(d.Text(DIMS_BUF_EX::kText2), "TWELVE-CHARS", 12));
  for (int at : {12, 19, 32, 36, 52, 59}) EXPECT_EQ(0, d.b[at]) << at;
  EXPECT_EQ(1, d.Count(DIMS_BUF_EX::kStaticNodeLoads));
  EXPECT_EQ(77, d.Count(DIMS_BUF_EX::kCarried88));

  ASSERT_EQ(0u, f.Export(dir_.File("Out.T3L").c_str()));
  Bytes written = ReadFileBytes(dir_.File("Out.T3L"));
  ASSERT_EQ(classic.size() + 26, written.size());
  EXPECT_EQ(0x85, written[39]);
  EXPECT_EQ(1u, written[104]);  // static node loads, now an i32
  EXPECT_TRUE(std::equal(classic.begin() + 86, classic.end(), written.begin() + 112));
}

TEST_F(T3LTest, ExportRepeatsTheFileByteForByte) {
  ByteWriter w = BuildT3L(SampleT3L());
  CFileT3L f;
  ASSERT_EQ(0u, f.Import(Write(w).c_str()));
  ASSERT_EQ(0u, f.Export(dir_.File("Copy.T3L").c_str()));
  EXPECT_EQ(w.data(), ReadFileBytes(dir_.File("Copy.T3L")));

  // Built through the editing interface from the same records.
  T3LLayout s = SampleT3L();
  CFileT3L g;
  g.SetDIM(f.Dim());
  g.SetDYNA(f.DynaBuf());
  const std::vector<Bytes>* tables[] = {nullptr, &s.nodes, &s.beams, &s.sections, &s.physBeams, &s.supports,
                                        &s.connections, &s.materials, &s.staticCases, &s.beamLoads,
                                        &s.nodeLoads, &s.beamMasses, &s.nodeMasses};
  for (int kind = 1; kind <= 12; ++kind) {
    Bytes all;
    for (const Bytes& r : *tables[kind]) all.insert(all.end(), r.begin(), r.end());
    ASSERT_EQ(0, g.SetREC(all.data(), kind, static_cast<int>(tables[kind]->size()))) << kind;
  }
  ASSERT_EQ(1, g.SetLoadingCaseExtraData(0, 1, 2, 9.81f));
  ASSERT_EQ(1, g.SetLoadingCaseExtraData(1, 0x103, 4, -1.5f));  // only the low 8 bits count
  ASSERT_EQ(0u, g.Export(dir_.File("Built.T3L").c_str()));
  EXPECT_EQ(w.data(), ReadFileBytes(dir_.File("Built.T3L")));

  // The header goes out as held: a count SetDIM installed for a table never
  // filled is written too.
  CFileT3L h;
  h.SetDIM(f.Dim());
  ASSERT_EQ(0u, h.Export(dir_.File("Empty.T3L").c_str()));
  Bytes header = ReadFileBytes(dir_.File("Empty.T3L"));
  ASSERT_EQ(112u + 178u, header.size());
  EXPECT_TRUE(std::equal(header.begin(), header.begin() + 112, w.data().begin()));
}

TEST_F(T3LTest, ShortExtraDataLyingAndNegativeCounts) {
  T3LOffsets off;
  ByteWriter w = BuildT3L(SampleT3L(), &off);
  w.WriteTo(dir_.File("Cut.T3L"), off.extra + 14 + 5);
  CFileT3L f;
  ASSERT_EQ(0u, f.Import(dir_.File("Cut.T3L").c_str()));
  EXPECT_FLOAT_EQ(9.81f, f.LoadingCaseExtra(0)->Value());
  EXPECT_EQ(0, f.LoadingCaseExtra(1)->First());  // the record cut short stays zero

  T3LLayout model;
  model.claim[kT3LNodes] = 0x7FFFFFFF;
  model.nodes = {T3LNode(1)};
  telio::FailAllocationsAfter(-1);
  EXPECT_EQ(telio::kErrorHandleEof, f.Import(Write(BuildT3L(model)).c_str()));
  EXPECT_EQ(0, telio::AllocationsSeen());
  EXPECT_EQ(0, f.Dim().Count(DIMS_BUF_EX::kNodes));

  model.claim[kT3LNodes] = 1;
  model.claim[kT3LNodeMasses] = -1;
  EXPECT_EQ(0u, f.Import(Write(BuildT3L(model)).c_str()));
  EXPECT_EQ(1, f.Count(CFileT3L::kNodes));
  EXPECT_EQ(nullptr, f.NodeMasses());

  T3LLayout phys;  // physical beams are counted in 16 bits: 65535 claimed
  phys.claimPhysBeams = 0xFFFF;
  EXPECT_EQ(telio::kErrorHandleEof, f.Import(Write(BuildT3L(phys)).c_str()));
  EXPECT_EQ(telio::kErrorFileNotFound, f.Import(dir_.File("None.T3L").c_str()));
  EXPECT_EQ(nullptr, f.Nodes());
}

TEST_F(T3LTest, CopiesAndAddsAreWholeOrUnchangedWhenMemoryRunsOut) {
  CFileT3L model;
  Load(model);
  model.AddLoadingCaseSelfWeight(1, 8);
  REC32A beam;
  std::memcpy(beam.b, T3LBeam(1, 2, 1, 1).data(), 32);
  REC32B lc{};

  // A copy is whole or has no tables at all.
  auto wholeOrEmpty = [&](const CFileT3L& c) {
    const bool whole = c.Count(CFileT3L::kNodes) == 4;
    for (int k = 1; k <= 12; ++k) EXPECT_EQ(whole ? model.Count(k) : 0, c.Count(k)) << k;
    if (whole) {
      EXPECT_EQ(8, c.SelfWeightList(1)->entries[0]);
    }
    return whole;
  };
  for (long n = 0;; ++n) {
    telio::FailAllocationsAfter(n);
    CFileT3L copy(model);
    CFileT3L assigned;
    assigned = model;
    telio::FailAllocationsAfter(-1);
    const bool copied = wholeOrEmpty(copy), done = wholeOrEmpty(assigned);
    if (copied && done) break;
    ASSERT_LT(n, 100);
  }
  for (long n = 0;; ++n) {
    CFileT3L f(model);
    telio::FailAllocationsAfter(n);
    int added = f.AddStaticLoadCaseEx(lc, 5, 6, 1.0f);
    int weight = added ? f.AddLoadingCaseSelfWeight(2, 3) : 0;
    int beams = f.AddBeam(&beam, 1);
    telio::FailAllocationsAfter(-1);
    EXPECT_EQ(added ? 3 : 2, f.Count(CFileT3L::kStaticLoadCases));
    EXPECT_EQ(beams ? 4 : 3, f.Count(CFileT3L::kBeams));
    EXPECT_NE(nullptr, f.SelfWeightList(f.Count(CFileT3L::kStaticLoadCases) - 1));
    if (added && weight && beams) break;
    ASSERT_LT(n, 20);
  }
  CFileT3L f;
  telio::FailAllocationsAfter(0);
  EXPECT_EQ(-2, f.SetREC(&lc, CFileT3L::kStaticLoadCases, 1));
  EXPECT_EQ(0, f.AddStaticLoadCase(&lc, 1));
  telio::FailAllocationsAfter(-1);
  EXPECT_EQ(nullptr, f.StaticLoads());
}

TEST_F(T3LTest, RemovingRenumbersTheRecordsThatPointAtTheRemovedOne) {
  T3LLayout s = SampleT3L();
  s.beams = {T3LBeam(3, 1, 1, 1), T3LBeam(2, 3, 2, 1), T3LBeam(3, 4, 0, 0), T3LBeam(4, 3, 2, 0),
             T3LBeam(4, 5, 2, 1)};
  s.nodes.push_back(T3LNode(14));
  s.supports = {T3LSupport(5), T3LSupport(3), T3LSupport(3)};
  CFileT3L f;
  ASSERT_EQ(0u, f.Import(Write(BuildT3L(s)).c_str()));
  f.RemoveNode(2);  // node 3: beams 1 to 4 all use it
  ASSERT_EQ(1, f.Count(CFileT3L::kBeams));
  EXPECT_EQ(3, f.Beam(0)->StartNode());
  EXPECT_EQ(4, f.Beam(0)->EndNode());
  ASSERT_EQ(2, f.Count(CFileT3L::kSupports));  // the first support of node 3 only
  EXPECT_EQ(5, f.Supp(0)->SupportNode());       // not renumbered
  EXPECT_EQ(4, f.Buf(0)->SecondNode());

  CFileT3L g;
  ASSERT_EQ(0u, g.Import(dir_.File("Model.T3L").c_str()));
  g.RemoveSect(0);
  EXPECT_EQ((std::vector<int>{0, 1, 0}), (std::vector<int>{g.Beam(0)->SectionNo(), g.Beam(1)->SectionNo(),
                                                            g.Beam(2)->SectionNo()}));
  g.RemoveMaterial(0);
  EXPECT_EQ(0, g.Beam(0)->MaterialNo());
  g.RemoveSect(0);
  EXPECT_NE(nullptr, g.Sections());  // an emptied table keeps its block
  g.ClearNodes();
  EXPECT_EQ(nullptr, g.Supps());
}

TEST_F(T3LTest, LoadCaseTablesStayParallel) {
  CFileT3L f;
  Load(f);
  EXPECT_EQ(1, f.AddLoadingCaseSelfWeight(1, 7));
  EXPECT_EQ(1, f.AddLoadingCaseSelfWeight(1, 9));
  EXPECT_EQ(1, f.AddLoadingCaseSelfWeight(1, 7));  // already there
  EXPECT_EQ(1, f.AddLoadingCaseSelfWeight(0, 7));
  EXPECT_EQ(2, f.StaticLoad(1)->SelfWeightCount());
  EXPECT_EQ(0, f.AddLoadingCaseSelfWeight(2, 1));
  EXPECT_EQ(0, f.RemoveLoadingCaseSelfWeight(-2, 1));

  f.RemoveStaticLoadCase(0);
  ASSERT_EQ(1, f.Count(CFileT3L::kStaticLoadCases));
  EXPECT_EQ(3, f.LoadingCaseExtra(0)->First());
  EXPECT_EQ(9, f.SelfWeightList(0)->entries[1]);
  EXPECT_EQ(1, f.RemoveLoadingCaseSelfWeight(-1, 7));
  EXPECT_EQ(9, f.SelfWeightList(0)->entries[0]);
  EXPECT_EQ(1, f.StaticLoad(0)->SelfWeightCount());

  REC32B lc;
  std::memset(lc.b, 0xAB, sizeof lc.b);
  EXPECT_EQ(1, f.AddStaticLoadCaseEx(lc, 0x1FF, 2, 3.5f));
  const LOADCASE_EXTRA* e = f.LoadingCaseExtra(1);
  EXPECT_EQ(0xFF, e->First());
  for (int k = 6; k < 14; ++k) EXPECT_EQ(0, e->b[k]);
  EXPECT_EQ(0, f.SelfWeightList(1)->count);

  CFileT3L copy(f);  // a copy owns its tables
  EXPECT_EQ(1, copy.RemoveLoadingCaseSelfWeight(0, -1));
  EXPECT_EQ(1, f.SelfWeightList(0)->count);
  f.ClearStaticLoadCases();
  EXPECT_EQ(nullptr, f.LoadingCaseExtraData());
  EXPECT_EQ(0, f.SetLoadingCaseExtraData(0, 1, 1, 1.0f));
}

TEST_F(T3LTest, AddingAndBulkReplacement) {
  CFileT3L f;
  Load(f);
  REC32A beams[2];
  std::memcpy(beams[0].b, T3LBeam(0, 2, 1, 1).data(), 32);
  std::memcpy(beams[1].b, T3LBeam(1, 2, 3, 1).data(), 32);
  EXPECT_EQ(-1, f.AddBeam(beams, 2));  // start node 0
  EXPECT_EQ(3, f.Count(CFileT3L::kBeams));
  beams[0].SetStartNode(4);
  beams[1].SetEndNode(5);  // only the first record is tested
  EXPECT_EQ(1, f.AddBeam(beams, 2));
  EXPECT_EQ(0, f.Beam(4)->SectionNo());  // section 3 of 2

  REC128 phys;
  std::memcpy(phys.b, T3LPhysBeam(2, 9).data(), 128);
  EXPECT_EQ(-1, f.AddPhysBeam(&phys, 1));
  phys.SetSecondNode(3);
  EXPECT_EQ(1, f.AddPhysBeam(&phys, 1));
  EXPECT_EQ(2, f.Dim().PhysBeams());

  EXPECT_EQ(-1, f.SetEqualREC(&phys, CFileT3L::kPhysBeams, 1, 2));  // start == count
  EXPECT_EQ(0, f.SetEqualREC(beams, CFileT3L::kBeams, 5, 4));       // one record fits
  EXPECT_EQ(0, std::memcmp(f.Beam(4)->b, beams[0].b, 32));
  EXPECT_EQ(-2, f.SetREC(beams, CFileT3L::kBeams, 0));
  EXPECT_EQ(nullptr, f.Beams());
  EXPECT_EQ(-1, f.SetREC(beams, 15, 1));
  EXPECT_EQ(-2, f.SetREC(beams, 14, 1));
  EXPECT_EQ(-1, f.SetREC(nullptr, CFileT3L::kMaterials, 2));  // sized, nothing copied
  EXPECT_EQ(2, f.Count(CFileT3L::kMaterials));
  REC64A hahi[2] = {};
  EXPECT_EQ(-1, f.SetREC(hahi, CFileT3L::kHaHi, 2));  // allocated; no copy takes kind 13
  EXPECT_NE(nullptr, f.HaHis());
  EXPECT_EQ(nullptr, f.HaHi(0));

  f.SetSystem(CFileT3L::SYS_4);
  EXPECT_EQ((std::vector<int>{1, 2, 0}), (std::vector<int>{f.X_SYS(), f.Y_SYS(), f.Z_SYS()}));
  f.SetSystem(static_cast<CFileT3L::SYSTEM>(7));
  f.Close();
  EXPECT_EQ(CFileT3L::SYS_4, f.System());  // Close keeps the axis system
}

}  // namespace
