#include "topology/CEntity.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/TOPFixture.h"
#include "support/TempDir.h"
#include "topology/CTOPO_REC.h"

using namespace ENTITIESStructs;
using namespace ENTITIESConstants;
using telio_test::TempDir;
using telio_test::TopModelLayout;

namespace {

// Nodes 1..4; node 5 lies 0.0005 from node 3. Beams: 1-2, 2-3, 3-2 again
// with another section, 1-1, 1-4 and 4-5.
TopModelLayout SmallFrame() {
  TopModelLayout m;
  m.nodes = {{10, 0, 0, 0, 0, 1},   {20, 0, 1, 0, 0, 0}, {30, 0, 2, 0, 0, 0},
             {40, 0, 0, 3, 0, 0},   {50, 0, 2, 0, 0.0005f, 0}};
  m.beams = {{1, 1, 1, 2, 0.5f}, {1, 2, 2, 3, 0.f}, {2, 3, 3, 2, 1.5f},
             {1, 4, 1, 1, 0.f},  {2, 5, 1, 4, 0.f}, {1, 6, 4, 5, 0.f}};
  m.supports.resize(1);
  m.supports[0].node = 1;
  telio_test::TopSectionLayout ipe{"IPE200", 12, 0, 0xA1B2C3D4, {}, {}};
  telio_test::TopSectionLayout comp{"COMP1", 104, 1, 0, {}, {1, 2, 3, 4, 5, 6, 7}};
  for (size_t i = 0; i < 32; ++i) comp.prs[i] = static_cast<uint8_t>(0xC0 + i);
  telio_test::TopSectionLayout angle{"L\x81\x62", 31, 0, 77, {}, {}};  // OEM "Lüb"
  m.sections = {ipe, comp, angle};
  return m;
}

// Opens the model written as a TOP file and fills an entity model from it.
class Filled {
 public:
  explicit Filled(const TopModelLayout& m) {
    path_ = dir_.File("J.TOP");
    telio_test::BuildTop(m).WriteTo(path_);
    EXPECT_EQ(topo_.Open(path_.c_str()), 1);
  }
  const TOPOStructs::TOPO_REC* topo() const { return topo_.GetTOPO_REC(); }
  const std::string& path() const { return path_; }

 private:
  TempDir dir_;
  std::string path_;
  CTOPO_REC topo_;
};

long32 Count(const CEntity& e, int index) { return e.GetEntity(index)->Count(); }

JLoad NodeLoad(LoadingCase* lc, unsigned char attr, std::vector<float> v) {
  JLoad l{};
  l.SetAttr(attr, 0);
  l.SetLoadCase(lc);
  for (int k = 0; k < 6; ++k) l.SetValue(k, v[static_cast<size_t>(k)]);
  return l;
}

}  // namespace

TEST(CEntity, FillsListsFromATopologyMergingCoincidentNodesAndRepeatedBeams) {
  Filled job(SmallFrame());
  CEntity e;
  ASSERT_EQ(e.GenerateFromTOPO_REC(job.topo()), 1);
  EXPECT_STREQ(e.GetFilePath(), job.path().c_str());
  EXPECT_EQ((std::vector<long32>{Count(e, EntNode), Count(e, EntBeam), Count(e, EntSection),
                                 Count(e, EntISupport)}),
            (std::vector<long32>{4, 3, 3, 0}));
  EXPECT_STREQ(e.GetEntity(EntNode)->Name(), "Node");
  EXPECT_STREQ(e.GetEntity(EntForcesRes)->Name(), "Forces");
  EXPECT_EQ(e.GetEntity(7)->First(), nullptr);
  EXPECT_EQ(e.GetEntity(25), nullptr);

  // Node 5 became node 3 (its record's attribute wins); only node 1 is
  // restrained.
  B_Node* n3 = e.FindNode(3);
  EXPECT_EQ((std::vector<float>{n3->X(), n3->Y(), n3->Z(), n3->PlaneX(), n3->PlaneY()}),
            (std::vector<float>{2, 0, 0, 2, 0}));
  EXPECT_EQ((std::vector<int>{e.FindNode(1)->Attr(), n3->Attr()}), (std::vector<int>{0x40, 0}));
  EXPECT_EQ((std::vector<long32>{e.FindNode(1)->Beams(), e.FindNode(2)->Beams(), n3->Beams(),
                                 e.FindNode(4)->Beams()}),
            (std::vector<long32>{2, 2, 1, 1}));

  // Beam 3-2 is beam 2-3 again: it takes the second section and the angle.
  Beam* b2 = e.FindBeam(2);
  EXPECT_EQ(b2->Start(), e.FindNode(2));
  EXPECT_EQ(b2->End(), n3);
  EXPECT_EQ(b2->Angle(), 1.5f);
  EXPECT_EQ(b2->SectionItem(), e.GetSectionOfBeam(3));
  EXPECT_EQ(e.FindBeam(3)->Start(), e.FindNode(1));
  EXPECT_EQ(e.FindBeam(3)->End(), e.FindNode(4));
  auto* s1 = static_cast<Section*>(e.FindItem(EntSection, 1));
  auto* s2 = static_cast<Section*>(e.FindItem(EntSection, 2));
  auto* s3 = static_cast<Section*>(e.FindItem(EntSection, 3));
  EXPECT_EQ((std::vector<long32>{s1->Users(), s2->Users(), s3->Users()}), (std::vector<long32>{1, 2, 0}));

  EXPECT_STREQ(s1->Name(), "IPE200");
  EXPECT_STREQ(s3->Name(), "L\xFC\x62");
  EXPECT_EQ((std::vector<ulong32>{s1->FamilyCode(), s1->Key(), s2->FamilyCode(), s3->FamilyCode(), s3->Key()}),
            (std::vector<ulong32>{12000, 0xA1B2C3D4, 104001, 31000, 77}));
  EXPECT_EQ(s1->Prs(), nullptr);
  ASSERT_NE(s2->Prs(), nullptr);
  EXPECT_EQ(s2->Prs()->data[0], 0xC0);
  EXPECT_EQ(s2->Prs()->data[31], 0xDF);
  std::vector<float> composite;
  for (int k = 0; k < 7; ++k) composite.push_back(s2->Composite(k));
  EXPECT_EQ(composite, (std::vector<float>{2, 3, 4, 5, 6, 7, 1}));
}

TEST(CEntity, NodesBeamsAndSectionsKeepTheirLimits) {
  TopModelLayout m;
  for (int i = 0; i < 10000; ++i) {
    m.nodes.push_back({static_cast<int16_t>(i), 0, static_cast<float>(i % 100),
                       static_cast<float>(i / 100), 0, 0});
  }
  for (int i = 0; m.beams.size() < 20000; ++i) {
    uint16_t a = static_cast<uint16_t>(1 + i % 10000), b = static_cast<uint16_t>(1 + (i + 1 + i / 10000) % 10000);
    m.beams.push_back({1, static_cast<int16_t>(i), a, b, 0});
  }
  m.supports.resize(1);
  m.sections = {{"S", 12, 0, 1, {}, {}}};
  Filled job(m);
  CEntity e;
  ASSERT_EQ(e.GenerateFromTOPO_REC(job.topo()), 1);
  EXPECT_EQ(Count(e, EntNode), 10000);
  EXPECT_EQ(Count(e, EntBeam), 20000);
  EXPECT_EQ(e.NewEntityNode(0.0005f, 0, 0), e.FindNode(1));
  EXPECT_EQ(e.NewEntityNode(500, 500, 0), nullptr);
  EXPECT_EQ(e.NewEntityBeam(e.FindNode(1), e.FindNode(5000)), nullptr);
  EXPECT_EQ(e.FindNodeByName("N12"), e.FindNode(12));
  EXPECT_EQ(e.FindNodeByName("B-4"), e.FindNode(4));
  EXPECT_EQ(e.FindNodeByName("Node"), nullptr);

  // Sections: the one from the topology, then 99 more; the 101st is refused.
  for (short k = 1; k < 100; ++k) ASSERT_NE(e.NewEntitySection(12, 100u + k, 0), nullptr);
  EXPECT_EQ(e.NewEntitySection(12, 7, 0), nullptr);
  EXPECT_EQ(e.NewEntitySection(12, 101, 0), e.SectionExists(12, 101, 0));
  EXPECT_EQ(e.NewEntitySection(0, 5, 0), nullptr);
  EXPECT_EQ(e.NewEntitySection(12, 0, 0), nullptr);
}

// Points on and beside the borders of small cells, some within the node
// tolerance of an earlier point: the fill merges exactly the nodes that
// adding them one by one merges.
TEST(CEntity, FillMergesTheNodesThatAddingThemOneByOneMerges) {
  TopModelLayout m;
  const float offsets[] = {0, 0.0004f, -0.0004f, 0.0009f, 0.0011f, 0.0099f, 0.0101f, -0.0099f};
  std::vector<float> xs;
  for (int i = 0; i < 40; ++i) {
    for (float d : offsets) xs.push_back(0.01f * static_cast<float>(i % 7) + d + (i > 20 ? -0.02f : 0));
  }
  for (size_t i = 0; i < xs.size(); ++i) {
    float y = (i % 3 == 0) ? 0.0005f : 0.f;
    m.nodes.push_back({static_cast<int16_t>(i), 0, xs[i], y, 0, 0});
  }
  m.supports.resize(1);
  Filled job(m);
  CEntity filled, added;
  ASSERT_EQ(filled.GenerateFromTOPO_REC(job.topo()), 1);
  ASSERT_EQ(added.InitEntities(), 1);
  for (const auto& n : m.nodes) added.NewEntityNode(n.x, n.y, n.z);
  ASSERT_EQ(Count(filled, EntNode), Count(added, EntNode));
  for (int k = 1; k <= Count(added, EntNode); ++k) {
    EXPECT_EQ(filled.FindNode(k)->X(), added.FindNode(k)->X()) << k;
    EXPECT_EQ(filled.FindNode(k)->Y(), added.FindNode(k)->Y()) << k;
  }
}

TEST(CEntity, NewNodesAndBeamsFollowTheToleranceAndJoiningRules) {
  CEntity e;
  EXPECT_EQ(e.NewEntityNode(0, 0, 0), nullptr);  // no block
  ASSERT_EQ(e.InitEntities(), 1);
  B_Node* a = e.NewEntityNode(0, 0, 0);
  EXPECT_EQ(e.NewEntityNode(0.0005f, 0, 0), a);
  B_Node* b = e.NewEntityNode(0.001f, 0, 0);
  EXPECT_NE(b, a);
  EXPECT_EQ(e.NodeExistsEx(0.0015f, 0, 0, 0.0004f), nullptr);
  EXPECT_EQ(e.NewEntityBeam(a, a), nullptr);
  EXPECT_EQ(e.NewEntityBeam(a, nullptr), nullptr);
  Beam* ba = e.NewEntityBeam(b, a);
  EXPECT_EQ(e.NewEntityBeam(a, b), ba);
  EXPECT_EQ(a->Beams(), 1);
  float x1 = -1, y2 = -1;
  CEntity::ExtractBeamCoords(ba, &x1, nullptr, nullptr, &y2);
  EXPECT_EQ(x1, 0.001f);
  EXPECT_EQ(y2, 0.f);
}

TEST(CEntity, SectionChangesKeepUserCountsAndEraseUnusedSections) {
  Filled job(SmallFrame());
  CEntity e;
  ASSERT_EQ(e.GenerateFromTOPO_REC(job.topo()), 1);
  auto* s1 = static_cast<Section*>(e.FindItem(EntSection, 1));
  // Beam 1 leaves section 1, its only user: section 1 is erased.
  Section* fresh = e.ChangeBeamSection(1, 55, 9, 0);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(e.FindItem(EntSection, 1), nullptr);
  EXPECT_EQ(fresh->Users(), 1);
  EXPECT_EQ(e.ChangeBeamSection(1, fresh), fresh);
  EXPECT_EQ(fresh->Users(), 1);
  // A section that is no item of the list takes the beam's section away.
  Section stray{};
  EXPECT_EQ(e.ChangeBeamSection(1, &stray), nullptr);
  EXPECT_EQ(e.GetSectionOfBeam(1), nullptr);
  EXPECT_EQ(e.SectionExists(55, 9, 0), nullptr);
  (void)s1;
  auto* s2 = static_cast<Section*>(e.FindItem(EntSection, 2));
  EXPECT_EQ(e.RemoveSection(s2, false), 0);
  EXPECT_EQ(e.RemoveSection(s2, true), 1);
  EXPECT_EQ(e.GetSectionOfBeam(2), nullptr);
}

TEST(CEntity, SupportsShareOneReferencePerRestraintSet) {
  CEntity e;
  ASSERT_EQ(e.InitEntities(), 1);
  B_Node* n1 = e.NewEntityNode(0, 0, 0);
  B_Node* n2 = e.NewEntityNode(1, 0, 0);
  Support fixed{};
  fixed.SetFlags(0x38);  // rotations free
  fixed.SetValue(0, 1e9f);
  fixed.SetValue(5, 42.f);  // not copied: its direction is free
  Support pinned{};
  pinned.SetFlags(0x07);

  Instance* i1 = e.NewEntityISupport(n1, &fixed);
  Instance* i2 = e.NewEntityISupport(n2, &fixed);
  auto* ref = static_cast<Support*>(i1->Reference());
  EXPECT_EQ(i2->Reference(), ref);
  EXPECT_EQ(ref->Users(), 2);
  EXPECT_EQ(ref->Value(5), 0.f);
  EXPECT_EQ(n2->Attr(), AttrSupported);

  // Node 1 moves to another reference; its instance stays.
  EXPECT_EQ(e.NewEntityISupport(n1, &pinned), i1);
  EXPECT_EQ(ref->Users(), 1);
  EXPECT_EQ(Count(e, EntSupport), 2);
  EXPECT_EQ(e.RemoveISupportAt(n2), 1);
  EXPECT_EQ(n2->Attr(), 0);
  EXPECT_EQ(Count(e, EntSupport), 1);
  EXPECT_EQ(e.SupportExists(n1), i1);
  EXPECT_EQ(e.RemoveISupport(i1), 1);
  EXPECT_EQ((std::vector<long32>{Count(e, EntSupport), Count(e, EntISupport)}),
            (std::vector<long32>{0, 0}));
}

TEST(CEntity, LoadsShareReferencesAndKeepTheirExtremes) {
  CEntity e;
  ASSERT_EQ(e.InitEntities(), 1);
  B_Node* n1 = e.NewEntityNode(0, 0, 0);
  B_Node* n2 = e.NewEntityNode(4, 0, 0);
  Beam* beam = e.NewEntityBeam(n1, n2);
  LoadingCase* dead = e.NewEntitySLoadCase("Dead", 1, 0, 1.35f);
  EXPECT_EQ(e.NewEntitySLoadCase("DEAD", 1, 2, 1.5f), dead);
  EXPECT_NE(e.NewEntitySLoadCase("Dead", 2, 0, 1.f), dead);
  EXPECT_EQ(dead->Value(), 1.5f);

  JLoad force = NodeLoad(dead, AttrForceLoad, {5, -3, 0, 0, 0, 1});
  JLoad close = NodeLoad(dead, AttrForceLoad, {5.001f, -3, 0, 0, 0, 1});
  JLoad apart = NodeLoad(dead, AttrForceLoad, {5.002f, -3, 0, 0, 0, 1});
  JLoad settle = NodeLoad(dead, AttrImposedDispl, {0, -20, 0, 0, 0, 0});
  Instance* l1 = e.NewEntityINodeLoad(n1, &force);
  Instance* l2 = e.NewEntityINodeLoad(n2, &close);
  EXPECT_EQ(l1->Reference(), l2->Reference());
  EXPECT_EQ(static_cast<JLoad*>(l1->Reference())->Users(), 2);
  EXPECT_NE(e.NewEntityINodeLoad(n2, &apart)->Reference(), l1->Reference());
  e.NewEntityINodeLoad(n2, &settle);
  EXPECT_EQ((std::vector<long32>{Count(e, EntNodalLoad), Count(e, EntDisplacement), dead->Count(),
                                 n2->Loads()}),
            (std::vector<long32>{2, 1, 4, 3}));

  CLoad point{};
  point.SetAttr(AttrConcentrated, 0);
  point.SetLoadCase(dead);
  point.SetValue(1, 7);
  DLoad spread{};
  spread.SetAttr(AttrDistributed, 0);
  spread.SetLoadCase(dead);
  spread.SetValue(1, -9);
  spread.SetValue(3, 4);
  spread.SetValue(2, 100);  // not an extreme value
  BasicDataEx neither{};
  neither.SetAttr(0x30, 0);
  Instance* cp = e.NewEntityIBeamLoad(beam, &point);
  ASSERT_NE(cp, nullptr);
  ASSERT_NE(e.NewEntityIBeamLoad(beam, &spread), nullptr);
  EXPECT_EQ(e.NewEntityIBeamLoad(beam, &neither), nullptr);
  EXPECT_EQ(e.GetEntity(EntConcentrated)->First()->Kind(), 'C');

  e.UpdateNodeLoadsMaxMin(nullptr);
  e.UpdateBeamLoadsMaxMin(nullptr);
  const CEntity::LoadExtremes& x = e.GetLoadExtremes();
  EXPECT_EQ((std::vector<float>{x.nodeMax, x.nodeMin, x.beamMax, x.beamMin, x.max, x.min}),
            (std::vector<float>{5.002f, -3, 7, -9, 7, -9}));
  e.UpdateNodeLoadsMaxMin(&settle);  // an imposed displacement changes nothing
  EXPECT_EQ(x.nodeMin, -3);

  // Removing the concentrated load erases its reference; the extremes follow.
  EXPECT_EQ(e.RemoveIBeamLoad(cp), 1);
  EXPECT_EQ(Count(e, EntConcentrated), 0);
  e.UpdateBeamLoadsMaxMin(nullptr);
  EXPECT_EQ(x.beamMax, 4);
  EXPECT_EQ(x.max, 5.002f);
  EXPECT_EQ(e.CountBeamLoadsFor(dead), 1);

  // Moving node 2's shared load to new values leaves node 1 on the old one.
  EXPECT_EQ(e.ChangeEntityINodeLoad(l2, &apart), l2);
  EXPECT_EQ(static_cast<JLoad*>(l1->Reference())->Users(), 1);
  EXPECT_EQ(e.RemoveINodeLoad(l1), 1);
  EXPECT_EQ(Count(e, EntNodalLoad), 1);
  EXPECT_EQ(e.CountNodeLoadsFor(dead), 3);

  e.NewEntityBeamSelfWeightLoad(beam, dead);
  PhysBeam* chain = e.NewEntityPhysBeam(n1, n2, 1);
  ASSERT_NE(chain, nullptr);
  EXPECT_EQ(chain->BeamCount(), 1);
  e.NewEntityBeamSelfWeightLoad(chain, dead);
  EXPECT_EQ(e.NewEntityBeamSelfWeightLoad(beam, dead), e.FindIBeamLoad(beam, dead));
  EXPECT_EQ(e.CountSelfLoads(dead, false), 2);
  EXPECT_EQ(dead->Count(), 6);  // three node loads, one distributed, two self-weights
}

TEST(CEntity, SelfWeightForAllBeamsAddsOnlyTheMissingOnes) {
  CEntity e;
  ASSERT_EQ(e.InitEntities(), 1);
  B_Node* n1 = e.NewEntityNode(0, 0, 0);
  B_Node* n2 = e.NewEntityNode(1, 0, 0);
  B_Node* n3 = e.NewEntityNode(2, 0, 0);
  Beam* b1 = e.NewEntityBeam(n1, n2);
  Beam* b2 = e.NewEntityBeam(n2, n3);
  Beam* b3 = e.NewEntityBeam(n3, n1);
  LoadingCase* dead = e.NewEntitySLoadCase("DEAD", 1, 0, 1);
  LoadingCase* live = e.NewEntitySLoadCase("LIVE", 1, 0, 1);
  PhysBeam* chain = e.NewEntityPhysBeam(n1, n2, 1);
  ASSERT_TRUE(b1 && b2 && b3 && dead && live && chain);
  ASSERT_NE(e.NewEntityBeamSelfWeightLoad(b2, dead), nullptr);
  ASSERT_NE(e.NewEntityBeamSelfWeightLoad(chain, dead), nullptr);
  ASSERT_NE(e.NewEntityBeamSelfWeightLoad(b1, live), nullptr);

  // Beams that already carry it count too; the others get one each, in
  // beam order after the existing instances.
  EXPECT_EQ(e.AddNewEntityBeamSelfWeightLoadAll(dead), 3);
  std::vector<std::pair<BasicData*, BasicData*>> list;
  for (BasicData* p = e.GetEntity(EntIBeamLoad)->First(); p; p = p->Next()) {
    list.emplace_back(static_cast<Instance*>(p)->Object(), static_cast<Instance*>(p)->Reference());
  }
  EXPECT_EQ(list, (std::vector<std::pair<BasicData*, BasicData*>>{
                      {b2, dead}, {chain, dead}, {b1, live}, {b1, dead}, {b3, dead}}));
  EXPECT_EQ(dead->Count(), 4);
  EXPECT_EQ((std::vector<long32>{b1->Loads(), b2->Loads(), b3->Loads()}), (std::vector<long32>{2, 1, 1}));

  EXPECT_EQ(e.AddNewEntityBeamSelfWeightLoadAll(dead), 3);
  EXPECT_EQ(Count(e, EntIBeamLoad), 5);
  LoadingCase stranger{};
  EXPECT_EQ(e.AddNewEntityBeamSelfWeightLoadAll(&stranger), 0);
  EXPECT_EQ(Count(e, EntIBeamLoad), 5);
}

TEST(CEntity, ResultSetsAreReusedPerLoadCase) {
  CEntity e;
  ASSERT_EQ(e.InitEntities(), 1);
  Beam* beam = e.NewEntityBeam(e.NewEntityNode(0, 0, 0), e.NewEntityNode(1, 0, 0));
  LoadingCase* c1 = e.NewEntitySLoadCase("C1", 1, 0, 1);
  LoadingCase* c2 = e.NewEntitySLoadCase("C2", 1, 0, 1);
  ForcesRes r{};
  r.SetLoadCase(c1);
  r.SetValue(0, 10);
  r.SetValue(11, -8);
  Instance* i1 = e.NewEntityIBeamRes(beam, &r);
  r.SetValue(0, 12);
  EXPECT_EQ(e.NewEntityIBeamRes(beam, &r), i1);
  auto* set = static_cast<ForcesRes*>(i1->Reference());
  EXPECT_EQ(set->Value(0), 12);
  EXPECT_EQ(set->Users(), 1);
  r.SetLoadCase(c2);
  r.SetValue(11, -30);
  Instance* i2 = e.NewEntityIBeamRes(beam, &r);
  EXPECT_NE(i2, i1);
  EXPECT_EQ(Count(e, EntForcesRes), 2);
  e.UpdateBeamForcesResMaxMin(c1);
  EXPECT_EQ(e.GetResultExtremes().forcesMin, -8);
  e.UpdateBeamForcesResMaxMin(nullptr);
  EXPECT_EQ(e.GetResultExtremes().forcesMin, -30);
  EXPECT_EQ(e.RemoveIBeamRes(i1), 1);
  EXPECT_EQ(Count(e, EntForcesRes), 1);
  e.RemoveIBeamResAll();
  EXPECT_EQ(Count(e, EntIBeamRes), 0);

  const float values[] = {3, -1, 8};
  ASSERT_EQ(e.CopyResults(values, 3, EntBeam), 1);
  EXPECT_EQ((std::vector<float>{e.GetResultValueAt(-1), e.GetResultValueAt(2),
                                e.GetResultValueAt(3), e.GetColorTable().GetMinValue(),
                                e.GetColorTable().GetMaxValue()}),
            (std::vector<float>{0, 8, 0, -1, 8}));
  e.CopyResults(nullptr, 3, EntBeam);
  EXPECT_EQ(e.GetCountResultsValues(), 0);
  EXPECT_FALSE(e.GetColorTable().HasValues());
}

TEST(CEntity, ConnectionsMaterialsAndNodeResultsFollowTheirOwnRules) {
  CEntity e;
  ASSERT_EQ(e.InitEntities(), 1);
  B_Node* a = e.NewEntityNode(0, 0, 0);
  B_Node* b = e.NewEntityNode(0, 0, 3);
  Beam* beam = e.NewEntityBeam(a, b);
  Connection* pinned = e.NewEntityConnection(beam, 0, 2, 0.5f);
  Connection* rigid = e.NewEntityConnection(beam, 1, 1, 1.f);
  EXPECT_EQ(e.ConnectionExists(beam, 0), pinned);
  EXPECT_EQ(e.ConnectionExists(beam, 7), rigid);
  EXPECT_EQ(e.NewEntityConnection(beam, 0, 3, 0.f)->Type(), 3);  // replaces the pin
  EXPECT_EQ(Count(e, EntConnection), 2);

  Material steel{};
  steel.SetName("S355");
  steel.SetValue(0, 210000);
  Material* m = e.NewEntityMaterial(&steel);
  steel.SetName("s355");
  steel.SetValue(0, 210000.001f);
  EXPECT_EQ(e.NewEntityMaterial(&steel), m);
  steel.SetValue(1, 0.3f);
  EXPECT_NE(e.NewEntityMaterial(&steel), m);
  EXPECT_EQ(e.RemoveMaterial(m), 1);
  EXPECT_EQ(Count(e, EntMaterial), 1);

  LoadingCase* lc = e.NewEntitySLoadCase("G", 1, 0, 1);
  DispRes d{};
  d.SetLoadCase(lc);
  d.SetValue(2, -0.02f);
  EXPECT_EQ(e.AddNewEntityINodeLoadAll(nullptr), 0);
  Instance* ra = e.NewEntityINodeRes(a, &d);
  d.SetValue(2, -0.05f);
  Instance* rb = e.NewEntityINodeRes(b, &d);
  EXPECT_NE(ra->Reference(), rb->Reference());  // each node keeps a set of its own
  e.UpdateNodeDispResMaxMin(lc);
  EXPECT_EQ(e.GetResultExtremes().displMin, -0.05f);
  e.RemoveINodeResAll();
  EXPECT_EQ((std::vector<long32>{Count(e, EntINodeRes), Count(e, EntDispRes)}),
            (std::vector<long32>{0, 0}));
}

TEST(CEntity, SelectionKeepsTheCountAndTheSingleSelectedItem) {
  Filled job(SmallFrame());
  CEntity e;
  ASSERT_EQ(e.GenerateFromTOPO_REC(job.topo()), 1);
  const Entity* nodes = e.GetEntity(EntNode);
  e.SelectItemByEnum(EntNode, 2);
  EXPECT_EQ(nodes->SelectedItem(), e.FindNode(2));
  e.SelectItemByEnum(EntNode, 4);
  EXPECT_EQ(nodes->SelectedItem(), nullptr);
  EXPECT_EQ(nodes->SelectedCount(), 2);
  e.UnSelectItemByEnum(EntNode, 2);
  EXPECT_EQ(nodes->SelectedItem(), e.FindNode(4));
  EXPECT_EQ(nodes->SelectedCount(), 1);
  e.UnSelectItemByEnum(EntNode, 2);  // no change
  EXPECT_EQ(nodes->SelectedCount(), 1);
  EXPECT_EQ(e.SetAttrItem(25, 1, AttrSelected, 0), nullptr);
  e.SelectAll();
  EXPECT_EQ(e.FindItemsWithAttr(EntBeam, AttrSelected), 3);
  EXPECT_EQ(nodes->SelectedCount(), 4);
  e.UnselectAll();
  EXPECT_EQ(nodes->SelectedItem(), nullptr);
  EXPECT_EQ(nodes->SelectedCount(), 0);
}

TEST(CEntity, MemberSelectionTakesTheBeamsOfAWholeSegment) {
  CEntity e;
  ASSERT_EQ(e.InitEntities(), 1);
  B_Node* a = e.NewEntityNode(0, 0, 0);
  B_Node* m = e.NewEntityNode(1, 0, 0);
  B_Node* b = e.NewEntityNode(3, 0, 0);
  B_Node* off = e.NewEntityNode(1, 1, 0);
  e.NewEntityBeam(a, m);
  e.NewEntityBeam(off, m);
  EXPECT_EQ(e.SelectEntitiesMember(a, b, 0, 1), 0u);  // m-b is missing
  e.NewEntityBeam(b, m);
  EXPECT_EQ(e.SelectEntitiesMember(0, 0, 0, 3, 0, 0, 0, 0), 2u);
  EXPECT_EQ(e.GetHeldMember()->GetStartNode(), a);
  e.SetForSelectEntitiesMember(m, b);
  EXPECT_EQ(e.SelectSettedEntitiesMember(), 1u);
  EXPECT_EQ(e.GetHeldMember()->GetBeams().GetAt(0), e.FindBeam(3));

  CEntityBasicDataLstArray& lists = e.GetMemberLists();
  lists.Add(e.GetHeldMember());
  lists.Add(new CEntityBasicDataLst(a, m));
  EXPECT_EQ(lists.FindLstMember(3, 0, 0, 1, 0, 0), 0);
  EXPECT_EQ(lists.FindLstMember(3, 0, 0, 1, 0, 0, 1), -1);
  EXPECT_EQ(lists.RenameLstMember(0, 0, 0, 1, 0, 0, "M1"), 1);
  EXPECT_EQ(lists.GetAt(1)->GetName(), CString("M1"));
  EXPECT_EQ(lists.RemoveLstMember(1, 0, 0, 3, 0, 0), 0);
  EXPECT_EQ(lists.GetSize(), 1);
}

TEST(CEntity, CopiesAreDeepAndOutliveTheirSource) {
  Filled job(SmallFrame());
  CEntity* source = new CEntity(CEntity::NodePlaneXZ);
  ASSERT_EQ(source->GenerateFromTOPO_REC(job.topo()), 1);
  LoadingCase* lc = source->NewEntitySLoadCase("L", 1, 0, 1);
  JLoad load = NodeLoad(lc, AttrForceLoad, {1, 0, 0, 0, 0, 0});
  source->NewEntityINodeLoad(source->FindNode(2), &load);
  source->NewEntityPhysBeam(source->FindNode(1), source->FindNode(3), 7);
  source->SelectItemByEnum(EntBeam, 2);
  source->SelectEntitiesMember(source->FindNode(1), source->FindNode(3), 0, 0);

  CEntity copy(*source);
  delete source;
  EXPECT_EQ(copy.FindBeam(2)->Start(), copy.FindNode(2));
  EXPECT_EQ(copy.FindBeam(2)->SectionItem(), copy.FindItem(EntSection, 2));
  EXPECT_EQ(copy.GetEntity(EntBeam)->SelectedItem(), copy.FindBeam(2));
  auto* inst = static_cast<Instance*>(copy.GetEntity(EntINodeLoad)->First());
  EXPECT_EQ(inst->Object(), copy.FindNode(2));
  EXPECT_EQ(static_cast<JLoad*>(inst->Reference())->LoadCase(), copy.FindItem(EntLdCase, 1));
  auto* chain = static_cast<PhysBeam*>(copy.GetEntity(EntPhysBeam)->First());
  ASSERT_EQ(chain->BeamCount(), 2);
  EXPECT_EQ(chain->Beams()[1], copy.FindBeam(2));
  EXPECT_EQ(static_cast<Section*>(copy.FindItem(EntSection, 2))->Prs()->data[0], 0xC0);
  EXPECT_EQ(copy.GetHeldMember()->GetBeams().GetAt(0), copy.FindBeam(1));
  EXPECT_EQ(copy.GetNodeType(), CEntity::NodePlaneXZ);
}

// Every allocation of a fill and of a copy failing in turn: the operation
// reports 8 and leaves an empty model, never a partial one.
TEST(CEntity, AllocationFailuresLeaveAnEmptyModel) {
  Filled job(SmallFrame());
  CEntity whole;
  ASSERT_EQ(whole.GenerateFromTOPO_REC(job.topo()), 1);
  for (long budget = 0;; ++budget) {
    CEntity e;
    telio::SetLastError(0);
    telio::FailAllocationsAfter(budget);
    int filled = e.GenerateFromTOPO_REC(job.topo());
    telio::FailAllocationsAfter(-1);
    if (filled) {
      EXPECT_EQ(Count(e, EntBeam), 3);
      break;
    }
    EXPECT_EQ(telio::GetLastError(), telio::kErrorNotEnoughMemory);
    EXPECT_TRUE(!e.GetEntities() || Count(e, EntNode) == 0) << budget;
  }
  for (long budget = 0;; ++budget) {
    telio::FailAllocationsAfter(budget);
    CEntity copy(whole);
    telio::FailAllocationsAfter(-1);
    if (copy.GetEntities()) {
      EXPECT_EQ(Count(copy, EntSection), 3);
      break;
    }
  }
}
