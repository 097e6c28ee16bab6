#include "files/CFileTOP.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/ByteWriter.h"
#include "support/TOPFixture.h"
#include "support/TempDir.h"

using telio_test::BuildTop;
using telio_test::ReadFileBytes;
using telio_test::SampleTopModel;
using telio_test::TempDir;
using telio_test::TopBlockOffsets;
using telio_test::TopModelLayout;

namespace {

std::string WriteTop(const TempDir& dir, const std::string& name, const telio_test::ByteWriter& w) {
  w.WriteTo(dir.File(name));
  return dir.File(name);
}

TEST(CFileTOP, ReadsEveryRecordAndSectionGroup) {
  TempDir dir;
  CFileTOP top;
  ASSERT_EQ(top.Import(WriteTop(dir, "frame.top", BuildTop(SampleTopModel())).c_str()), 0u);
  const TOPO_CURDIMS_REC& r = *top.GetTOPO_CURDIMS_REC();
  EXPECT_EQ((std::vector<long>{r.NodeCount(), r.BeamCount(), r.SupportCount(), r.SectionCount(),
                                r.PhysBeamCount(), r.StaticLoadCases(), r.DynamicLoadCases(), r.Is3D(),
                                r.ModelWord()}),
            (std::vector<long>{4, 5, 2, 10, 3, 3, 2, 1, 0x1234}));
  EXPECT_EQ((std::vector<float>{r.nodes[3].Z(), r.angles[4]}), (std::vector<float>{-2.25f, 3.25f}));
  EXPECT_EQ((std::vector<int>{r.nodes[1].Label(), r.nodes[2].Restraint(), r.beams[4].Section(),
                               r.beams[4].Label(), r.beams[4].EndNode(), r.supports[1].Node()}),
            (std::vector<int>{12, 1, 9, 11, 3, 2}));
  EXPECT_EQ(r.supports[0].data[2], 0x10);

  // Which blocks a section draws from depends on its family and sub-number:
  // key, property block, composite data.
  struct Row {
    ulong32 key;
    bool prs, composite;
  } const rows[] = {{0xA1B2C3D4, false, false}, {0, false, false}, {0, false, false}, {0, true, false},
                    {0, true, false},           {0, true, false},  {0, true, true},   {0, false, true},
                    {0, true, true},            {77, false, false}};
  for (int i = 0; i < 10; ++i) {
    const TOP_SEC& s = r.sections[i];
    EXPECT_EQ(s.Key(), rows[i].key) << i;
    ASSERT_EQ(s.Prs() != nullptr, rows[i].prs) << i;
    if (s.Prs()) {
      EXPECT_EQ(s.Prs()->data[31], s.Family() + 31) << i;
    }
    EXPECT_EQ(s.Composite(6), rows[i].composite ? s.Family() + 3.f : 0.f) << i;
  }
  EXPECT_STREQ(r.sections[9].Name(), "L50x5");
  EXPECT_EQ((std::vector<int>{r.physBeams[1].Label(), r.physBeams[1].FirstNode(), r.physBeams[1].BeamCount(),
                               r.physBeams[1].beams[2]}),
            (std::vector<int>{101, 3, 3, 5}));
  EXPECT_EQ(r.physBeams[2].beams, nullptr);
}

TEST(CFileTOP, RoundTripIsByteForByte) {
  TopModelLayout plane = SampleTopModel();
  plane.space = false;
  plane.sections.clear();
  plane.physBeams.clear();
  for (auto& b : plane.beams) b.section = 0;
  for (const TopModelLayout& m : {SampleTopModel(), plane}) {
    TempDir dir;
    telio_test::ByteWriter w = BuildTop(m);
    WriteTop(dir, "Frame.TOP", w);
    CFileTOP top;
    // Jobs come from Windows: the name may be given in another letter case.
    ASSERT_EQ(top.Import(dir.File("FRAME.top").c_str()), 0u);
    ASSERT_EQ(top.Export(dir.File("copy.top").c_str()), 0u);
    EXPECT_EQ(ReadFileBytes(dir.File("copy.top")), w.data());
  }
}

TEST(CFileTOP, LyingHeadersAreRefusedBeforeAllocating) {
  TempDir dir;
  TopBlockOffsets o{};
  const telio_test::ByteWriter good = BuildTop(SampleTopModel(), &o);
  struct Case {
    size_t at;
    uint16_t value;
    ulong32 code;
    bool allocates;
  } const cases[] = {
      {48, 0xFFFF, telio::kErrorHandleEof, false},  // nodes
      {50, 0xFFFF, telio::kErrorHandleEof, false},  // beams
      {52, 0xFFFF, telio::kErrorHandleEof, false},  // supports
      {62, 0xFFFF, telio::kErrorHandleEof, false},  // sections
      {66, 0xFFFF, telio::kErrorHandleEof, false},  // physical beams
      {48, 0, telio::kErrorBadArguments, false},    // no nodes under beams
      {o.physBeams + 2, 0x7FFF, telio::kErrorHandleEof, true},  // a beam list longer than the file
  };
  for (const Case& c : cases) {
    telio_test::ByteWriter w = good;
    w.put_u16(c.at, c.value);
    telio::FailAllocationsAfter(-1);
    TOPO_CURDIMS_REC rec{};
    int err = 0;
    EXPECT_EQ(CFileTOP::ReadFile(WriteTop(dir, "lie.top", w).c_str(), &rec, &err), 0) << c.at;
    EXPECT_EQ(static_cast<ulong32>(err), c.code) << c.at;
    EXPECT_EQ(telio::AllocationsSeen() > 0, c.allocates) << c.at;
    CFileTOP::DeAllocateArrays(&rec);
  }
}

TEST(CFileTOP, ANegativeBeamCountIsAnEmptyList) {
  TempDir dir;
  TopBlockOffsets o{};
  TopModelLayout m = SampleTopModel();
  m.physBeams[0].beams.clear();
  telio_test::ByteWriter w = BuildTop(m, &o);
  w.put_u16(o.physBeams + 2, 0xFFFE);  // -2 beams
  CFileTOP top;
  ASSERT_EQ(top.Import(WriteTop(dir, "neg.top", w).c_str()), 0u);
  EXPECT_EQ(top.GetTOPO_CURDIMS_REC()->physBeams[0].beams, nullptr);
  ASSERT_EQ(top.Export(dir.File("out.top").c_str()), 0u);
  EXPECT_EQ(ReadFileBytes(dir.File("out.top")), w.data());
}

TEST(CFileTOP, ACallersRecordIsTouchedOnlyOnceTheFileCanFillIt) {
  TempDir dir;
  TopBlockOffsets o{};
  telio_test::ByteWriter w = BuildTop(SampleTopModel(), &o);
  std::string path = WriteTop(dir, "frame.top", w);
  TOPO_CURDIMS_REC loaded{};
  int err = 0;
  ASSERT_EQ(CFileTOP::ReadFile(path.c_str(), &loaded, &err), 1);
  const TOPO_CURDIMS_REC before = loaded;
  telio_test::ByteWriter lying = w;
  lying.put_u16(48, 0xFFFF);
  for (const std::string& bad : {dir.File("missing.top"), WriteTop(dir, "lie.top", lying)}) {
    EXPECT_EQ(CFileTOP::ReadFile(bad.c_str(), &loaded, &err), 0) << bad;
    EXPECT_EQ(CFileTOP::ReadTopologyFile(bad.c_str(), &loaded, &err), 0) << bad;
    EXPECT_EQ(std::memcmp(&loaded, &before, sizeof loaded), 0) << bad;
  }
  CFileTOP::DeAllocateArrays(&loaded);

  TOPO_CURDIMS_REC garbage;  // never initialised: not freed
  std::memset(&garbage, 0xAB, sizeof garbage);
  EXPECT_EQ(CFileTOP::ReadFile(dir.File("missing.top").c_str(), &garbage, &err), 0);
  EXPECT_EQ(err, static_cast<int>(telio::kErrorFileNotFound));

  // A read that fails halfway keeps what was read; the counts stay.
  w.WriteTo(path, o.physBeams + 3);
  TOPO_CURDIMS_REC rec{};
  EXPECT_EQ(CFileTOP::ReadFile(path.c_str(), &rec, &err), 0);
  EXPECT_EQ(err, static_cast<int>(telio::kErrorHandleEof));
  EXPECT_EQ(rec.nodes[1].Label(), 12);
  EXPECT_EQ(rec.sections[0].Key(), 0xA1B2C3D4u);
  CFileTOP::DeAllocateArrays(&rec);
  EXPECT_EQ(rec.SectionCount(), 10);
  EXPECT_EQ(rec.sections, nullptr);
}

TEST(CFileTOP, WriteNeedsEveryRequiredTable) {
  TempDir dir;
  telio_test::ByteWriter w = BuildTop(SampleTopModel());
  std::string out = dir.File("out.top");
  CFileTOP top;
  ASSERT_EQ(top.Import(WriteTop(dir, "frame.top", w).c_str()), 0u);
  TOPO_CURDIMS_REC* r = top.GetTOPO_CURDIMS_REC();
  // No supports, a composite section without its property block, a physical
  // beam that claims beams but has no list: refused, nothing left behind.
  TOP_SUPPORT* supports = r->supports;
  TOP_PRS* prs = r->sections[6].prs;
  int16_t* list = r->physBeams[0].beams;
  for (int missing = 0; missing < 3; ++missing) {
    r->supports = missing == 0 ? nullptr : supports;
    r->sections[6].prs = missing == 1 ? nullptr : prs;
    r->physBeams[0].beams = missing == 2 ? nullptr : list;
    EXPECT_EQ(top.Export(out.c_str()), telio::kErrorBadArguments) << missing;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
  r->physBeams[0].beams = list;
  EXPECT_EQ(top.Export(out.c_str()), 0u);
  EXPECT_EQ(ReadFileBytes(out), w.data());
}

TEST(CFileTOP, TopologyOnlyReadsNodesAndBeams) {
  TempDir dir;
  TopBlockOffsets o{};
  telio_test::ByteWriter w = BuildTop(SampleTopModel(), &o);
  CFileTOP top;
  ASSERT_EQ(top.ImportTopology(WriteTop(dir, "frame.top", w).c_str()), 0u);
  const TOPO_CURDIMS_REC& r = *top.GetTOPO_CURDIMS_REC();
  EXPECT_EQ(r.beams[4].Label(), 11);
  EXPECT_EQ(r.sections[0].Family(), 0);
  EXPECT_EQ(r.sections[3].Prs(), nullptr);

  // Only nodes and beams need to be there; both must be.
  w.WriteTo(dir.File("short.top"), o.supports);
  EXPECT_EQ(top.ImportTopology(dir.File("short.top").c_str()), 0u);
  TopModelLayout noBeams = SampleTopModel();
  noBeams.beams.clear();
  noBeams.physBeams.clear();
  EXPECT_EQ(top.ImportTopology(WriteTop(dir, "nob.top", BuildTop(noBeams)).c_str()), telio::kErrorBadArguments);
  EXPECT_EQ(top.GetTOPO_CURDIMS_REC()->nodes, nullptr);
  top.Close();
  top.Close();
}

}  // namespace
