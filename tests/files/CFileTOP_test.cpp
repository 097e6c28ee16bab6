#include "files/CFileTOP.h"

#include <filesystem>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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
using telio_test::TopModelSpec;

namespace {

std::string WriteTop(const TempDir& dir, const std::string& name, const telio_test::ByteWriter& w) {
  std::string path = dir.File(name);
  w.WriteTo(path);
  return path;
}

void ExpectEmpty(CFileTOP& top) {
  const TOPO_CURDIMS_REC* r = top.GetTOPO_CURDIMS_REC();
  EXPECT_EQ(r->NodeCount(), 0);
  EXPECT_EQ(r->SectionCount(), 0);
  EXPECT_EQ(r->nodes, nullptr);
  EXPECT_EQ(r->sections, nullptr);
  EXPECT_EQ(r->physBeams, nullptr);
  EXPECT_TRUE(top.GetFilePath().IsEmpty());
}

TEST(CFileTOP, ReadsEveryRecordAndSectionGroup) {
  TempDir dir;
  TopModelSpec m = SampleTopModel();
  CFileTOP top;
  ASSERT_EQ(top.Import(WriteTop(dir, "frame.top", BuildTop(m)).c_str()), 0u);
  const TOPO_CURDIMS_REC& r = *top.GetTOPO_CURDIMS_REC();

  EXPECT_EQ((std::vector<long>{r.NodeCount(), r.BeamCount(), r.SupportCount(), r.SectionCount(),
                                r.PhysBeamCount(), r.StaticLoadCases(), r.DynamicLoadCases(),
                                r.Is3D(), r.ModelWord()}),
            (std::vector<long>{4, 5, 2, 10, 3, 3, 2, 1, 0x1234}));

  for (size_t i = 0; i < m.nodes.size(); ++i) {
    EXPECT_EQ(r.nodes[i].Label(), m.nodes[i].label);
    EXPECT_EQ(r.nodes[i].X(), m.nodes[i].x);
    EXPECT_EQ(r.nodes[i].Y(), m.nodes[i].y);
    EXPECT_EQ(r.nodes[i].Z(), m.nodes[i].z);
    EXPECT_EQ(r.nodes[i].Restraint(), m.nodes[i].restraint);
  }
  for (size_t i = 0; i < m.beams.size(); ++i) {
    EXPECT_EQ(r.beams[i].Section(), m.beams[i].section);
    EXPECT_EQ(r.beams[i].Label(), m.beams[i].label);
    EXPECT_EQ(r.beams[i].StartNode(), m.beams[i].start);
    EXPECT_EQ(r.beams[i].EndNode(), m.beams[i].end);
    EXPECT_EQ(r.angles[i], m.beams[i].angle);
  }
  EXPECT_EQ(r.supports[1].Node(), 2);
  EXPECT_EQ(r.supports[0].data[2], 0x10);

  // Which blocks each section draws from depends on family and sub-number.
  for (size_t i = 0; i < m.sections.size(); ++i) {
    const TOP_SEC& s = r.sections[i];
    const telio_test::TopSectionSpec& e = m.sections[i];
    SCOPED_TRACE(e.name);
    EXPECT_STREQ(s.Name(), e.name.c_str());
    EXPECT_EQ(s.Family(), e.family);
    EXPECT_EQ(s.SubNumber(), e.sub);
    EXPECT_EQ(s.Key(), telio_test::TopHasKey(e.family, e.sub) ? e.key : 0u);
    ASSERT_EQ(s.Prs() != nullptr, telio_test::TopHasPrs(e.family));
    if (s.Prs()) {
      EXPECT_EQ(std::memcmp(s.Prs()->data, e.prs.data(), 32), 0);
    }
    for (int k = 0; k < 7; ++k) {
      EXPECT_EQ(s.Composite(k), telio_test::TopHasComposite(e.family) ? e.composite[k] : 0.f);
    }
  }

  for (size_t i = 0; i < m.physBeams.size(); ++i) {
    const CURPHBM_REC_TOPO& p = r.physBeams[i];
    EXPECT_EQ(p.Label(), m.physBeams[i].label);
    EXPECT_EQ(p.FirstNode(), m.physBeams[i].first);
    EXPECT_EQ(p.LastNode(), m.physBeams[i].last);
    ASSERT_EQ(p.BeamCount(), static_cast<int>(m.physBeams[i].beams.size()));
    for (int k = 0; k < p.BeamCount(); ++k) EXPECT_EQ(p.beams[k], m.physBeams[i].beams[k]);
  }
  EXPECT_EQ(r.physBeams[2].beams, nullptr);
}

TEST(CFileTOP, RoundTripIsByteForByte) {
  TopModelSpec plane = SampleTopModel();
  plane.space = false;
  plane.sections.clear();
  plane.physBeams.clear();
  for (auto& b : plane.beams) b.section = 0;
  for (const TopModelSpec& m : {SampleTopModel(), plane}) {
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

TEST(CFileTOP, TruncatedFileIsRefusedAtEveryByte) {
  TempDir dir;
  TopBlockOffsets o{};
  telio_test::ByteWriter w = BuildTop(SampleTopModel(), &o);
  std::string path = dir.File("cut.top");
  CFileTOP top;
  for (size_t n = 0; n < w.size(); ++n) {
    w.WriteTo(path, n);
    ulong32 code = top.Import(path.c_str());
    // A file may end inside the seventh value of a composite block; the
    // reading stops there.
    bool inSeventh = n >= o.composite && (n - o.composite) % 28 >= 24;
    if (inSeventh) {
      EXPECT_EQ(code, 0u) << n;
      continue;
    }
    ASSERT_EQ(code, telio::kErrorHandleEof) << n;
    ExpectEmpty(top);
  }

  // On a caller's record a read that fails halfway keeps what was read.
  w.WriteTo(path, o.physBeams + 3);
  TOPO_CURDIMS_REC rec{};
  int err = 0;
  EXPECT_EQ(CFileTOP::ReadFile(path.c_str(), &rec, &err), 0);
  EXPECT_EQ(err, static_cast<int>(telio::kErrorHandleEof));
  ASSERT_NE(rec.nodes, nullptr);
  EXPECT_EQ(rec.nodes[1].Label(), 12);
  ASSERT_NE(rec.sections[3].Prs(), nullptr);
  EXPECT_EQ(rec.sections[0].Key(), 0xA1B2C3D4u);
  CFileTOP::DeAllocateArrays(&rec);
  EXPECT_EQ(rec.SectionCount(), 10);  // counts stay
  EXPECT_EQ(rec.sections, nullptr);
}

TEST(CFileTOP, LyingHeadersAreRefusedWithACode) {
  TempDir dir;
  TopBlockOffsets o{};
  const telio_test::ByteWriter good = BuildTop(SampleTopModel(), &o);
  struct Case {
    const char* what;
    size_t at;
    uint16_t value;
    ulong32 code;
    bool allocates;
  };
  const Case cases[] = {
      {"nodes", 48, 0xFFFF, telio::kErrorHandleEof, false},
      {"beams", 50, 0xFFFF, telio::kErrorHandleEof, false},
      {"supports", 52, 0xFFFF, telio::kErrorHandleEof, false},
      {"sections", 62, 0xFFFF, telio::kErrorHandleEof, false},
      {"physical beams", 66, 0xFFFF, telio::kErrorHandleEof, false},
      {"no nodes under beams", 48, 0, telio::kErrorBadArguments, false},
      {"beam list longer than the file", o.physBeams + 2, 0x7FFF, telio::kErrorHandleEof, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    telio_test::ByteWriter w = good;
    w.put_u16(c.at, c.value);
    std::string path = WriteTop(dir, "lie.top", w);
    telio::FailAllocationsAfter(-1);
    TOPO_CURDIMS_REC rec{};
    int err = 0;
    EXPECT_EQ(CFileTOP::ReadFile(path.c_str(), &rec, &err), 0);
    EXPECT_EQ(static_cast<ulong32>(err), c.code);
    if (!c.allocates) {
      EXPECT_EQ(telio::AllocationsSeen(), 0);
    }
    CFileTOP::DeAllocateArrays(&rec);
  }
}

TEST(CFileTOP, ANegativeBeamCountIsAnEmptyList) {
  TempDir dir;
  TopBlockOffsets o{};
  telio_test::ByteWriter w = BuildTop(SampleTopModel(), &o);
  // The first physical beam claims -2 beams; its two numbers then read as
  // the next record.
  w.put_u16(o.physBeams + 2, 0xFFFE);
  TopModelSpec m = SampleTopModel();
  m.physBeams[0].beams.clear();
  telio_test::ByteWriter want = BuildTop(m);
  want.put_u16(o.physBeams + 2, 0xFFFE);
  std::string path = WriteTop(dir, "neg.top", want);
  CFileTOP top;
  ASSERT_EQ(top.Import(path.c_str()), 0u);
  EXPECT_EQ(top.GetTOPO_CURDIMS_REC()->physBeams[0].beams, nullptr);
  ASSERT_EQ(top.Export(dir.File("out.top").c_str()), 0u);
  EXPECT_EQ(ReadFileBytes(dir.File("out.top")), want.data());
}

TEST(CFileTOP, ACallersRecordIsTouchedOnlyOnceTheFileCanFillIt) {
  TempDir dir;
  std::string path = WriteTop(dir, "frame.top", BuildTop(SampleTopModel()));
  TOPO_CURDIMS_REC loaded{};
  int err = 0;
  ASSERT_EQ(CFileTOP::ReadFile(path.c_str(), &loaded, &err), 1);
  const TOPO_CURDIMS_REC before = loaded;
  telio_test::ByteWriter lying = BuildTop(SampleTopModel());
  lying.put_u16(48, 0xFFFF);
  for (const std::string& bad : {dir.File("missing.top"), WriteTop(dir, "lie.top", lying)}) {
    EXPECT_EQ(CFileTOP::ReadFile(bad.c_str(), &loaded, &err), 0) << bad;
    EXPECT_EQ(CFileTOP::ReadTopologyFile(bad.c_str(), &loaded, &err), 0) << bad;
    EXPECT_EQ(std::memcmp(&loaded, &before, sizeof loaded), 0) << bad;
  }
  CFileTOP::DeAllocateArrays(&loaded);

  // A record never initialised is not freed.
  TOPO_CURDIMS_REC garbage;
  std::memset(&garbage, 0xAB, sizeof garbage);
  EXPECT_EQ(CFileTOP::ReadFile(dir.File("missing.top").c_str(), &garbage, &err), 0);
  EXPECT_EQ(err, static_cast<int>(telio::kErrorFileNotFound));
  ASSERT_EQ(CFileTOP::ReadFile(path.c_str(), &garbage, &err), 1);
  CFileTOP::DeAllocateArrays(&garbage);
}

TEST(CFileTOP, AllocationAndIoFailuresLeaveTheObjectEmpty) {
  TempDir dir;
  telio_test::ByteWriter w = BuildTop(SampleTopModel());
  std::string path = WriteTop(dir, "frame.top", w);
  CFileTOP top;
  ulong32 code = 1;
  long n = 0;
  for (; code != 0 && n < 200; ++n) {
    telio::FailAllocationsAfter(n);
    code = top.Import(path.c_str());
    telio::FailAllocationsAfter(-1);
    if (code != 0) {
      ASSERT_EQ(code, telio::kErrorNotEnoughMemory) << n;
      ExpectEmpty(top);
    }
  }
  EXPECT_GT(n, 5);  // tables, property blocks and beam lists all fail once
  ASSERT_EQ(code, 0u);

  // Failed reads and writes of the stream, transfer by transfer.
  for (long k = 0;; ++k) {
    telio::FailRecordIoAfter(k);
    code = top.Import(path.c_str());
    telio::FailRecordIoAfter(-1);
    if (code == 0) break;
    ASSERT_EQ(code, telio::kErrorReadFault) << k;
    ExpectEmpty(top);
  }
  for (long k = 0;; ++k) {
    telio::FailRecordIoAfter(k);
    code = top.Export(dir.File("out.top").c_str());
    telio::FailRecordIoAfter(-1);
    if (code == 0) break;
    ASSERT_EQ(code, telio::kErrorWriteFault) << k;
  }
  EXPECT_EQ(ReadFileBytes(dir.File("out.top")), w.data());
}

TEST(CFileTOP, WriteNeedsEveryRequiredTable) {
  TempDir dir;
  TopBlockOffsets o{};
  telio_test::ByteWriter w = BuildTop(SampleTopModel(), &o);
  std::string path = WriteTop(dir, "frame.top", w);
  std::string out = dir.File("out.top");
  CFileTOP top;
  ASSERT_EQ(top.Import(path.c_str()), 0u);
  TOPO_CURDIMS_REC* r = top.GetTOPO_CURDIMS_REC();

  // No supports: refused after the header, nodes and beams were written,
  // and the half-written file is not left behind.
  TOP_SUPPORT* supports = r->supports;
  r->supports = nullptr;
  EXPECT_EQ(top.Export(out.c_str()), telio::kErrorBadArguments);
  EXPECT_FALSE(std::filesystem::exists(out));
  r->supports = supports;

  // A composite section without its property block.
  TOP_PRS* prs = r->sections[6].prs;
  r->sections[6].prs = nullptr;
  EXPECT_EQ(top.Export(out.c_str()), telio::kErrorBadArguments);
  r->sections[6].prs = prs;

  // A physical beam that claims beams but has no list.
  int16_t* list = r->physBeams[0].beams;
  r->physBeams[0].beams = nullptr;
  EXPECT_EQ(top.Export(out.c_str()), telio::kErrorBadArguments);
  r->physBeams[0].beams = list;

  EXPECT_EQ(top.Export(out.c_str()), 0u);
  EXPECT_EQ(ReadFileBytes(out), w.data());
  int err = 0;
  EXPECT_EQ(CFileTOP::WriteFile(out.c_str(), nullptr, &err), 0);
  EXPECT_EQ(err, static_cast<int>(telio::kErrorBadArguments));
}

TEST(CFileTOP, TopologyOnlyReadsNodesAndBeams) {
  TempDir dir;
  TopBlockOffsets o{};
  telio_test::ByteWriter w = BuildTop(SampleTopModel(), &o);
  CFileTOP top;
  ASSERT_EQ(top.ImportTopology(WriteTop(dir, "frame.top", w).c_str()), 0u);
  const TOPO_CURDIMS_REC& r = *top.GetTOPO_CURDIMS_REC();
  EXPECT_EQ(r.beams[4].Label(), 11);
  ASSERT_NE(r.sections, nullptr);
  EXPECT_EQ(r.sections[0].Family(), 0);
  EXPECT_EQ(r.sections[3].Prs(), nullptr);
  EXPECT_EQ(r.supports[0].Node(), 0);

  // Only nodes and beams need to be there; both must be.
  w.WriteTo(dir.File("short.top"), o.supports);
  EXPECT_EQ(top.ImportTopology(dir.File("short.top").c_str()), 0u);
  w.WriteTo(dir.File("short.top"), o.supports - 1);
  EXPECT_EQ(top.ImportTopology(dir.File("short.top").c_str()), telio::kErrorHandleEof);
  TopModelSpec noBeams = SampleTopModel();
  noBeams.beams.clear();
  noBeams.physBeams.clear();
  EXPECT_EQ(top.ImportTopology(WriteTop(dir, "nob.top", BuildTop(noBeams)).c_str()),
            telio::kErrorBadArguments);
  ExpectEmpty(top);
}

TEST(CFileTOP, PathFailuresAndClose) {
  TempDir dir;
  CFileTOP top;
  EXPECT_EQ(top.NewFile(dir.File("new.top").c_str()), 0);
  EXPECT_NE(top.Import(dir.File("missing.top").c_str()), 0u);
  ExpectEmpty(top);
  std::string other = WriteTop(dir, "frame.job", BuildTop(SampleTopModel()));
  EXPECT_NE(top.Import(other.c_str()), 0u);
  ExpectEmpty(top);
  EXPECT_EQ(top.Import(WriteTop(dir, "frame.top", BuildTop(SampleTopModel())).c_str()), 0u);
  top.Close();
  top.Close();
  ExpectEmpty(top);
}

}  // namespace
