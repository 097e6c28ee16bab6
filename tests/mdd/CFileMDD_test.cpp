#include "mdd/CFileMDD.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mdd/CFileMDL.h"
#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "platform/PathCase.h"
#include "support/MDDFixture.h"
#include "support/RESFixture.h"
#include "support/TempDir.h"

using MDDStrucst::BLIST;
using MDDStrucst::TEGIDA;
using telio_test::MddJobFiles;
using telio_test::MlcValue;
using telio_test::SidePath;
using telio_test::TempDir;

namespace {

std::string WriteUnlinked(const TempDir& dir, const MddJobFiles& job = telio_test::SmallUnlinkedJob()) {
  const std::string path = dir.File("Shed.MDD");
  telio_test::WriteMddJob(job, path);
  return path;
}

// The analysis job dir/Bridge.AJF and a linked job inside it.
std::string WriteLinked(const TempDir& dir, const std::string& folderText, int16_t staticRun = 1) {
  const std::string ajf = dir.File("Bridge.AJF");
  std::filesystem::create_directories(ajf);
  telio_test::WriteLinkedAnalysis(ajf, "Bridge", staticRun);
  const std::string path = ajf + "/Bridge.MDD";
  telio_test::WriteMddJob(telio_test::SmallLinkedJob("Bridge", folderText), path);
  return path;
}

// Everything a reader holds, in one comparable value.
std::vector<ulong32> Digest(CFileMDD& r) {
  std::vector<ulong32> d = {static_cast<ulong32>(r.GetMemberCount()), static_cast<ulong32>(r.GetTotalPositions()),
                            r.GetMemLCData()->CheckSum(), r.GetConstraintsLTB()->CheckSum(),
                            r.GetLTBbuf()->CheckSum(), static_cast<ulong32>(r.GetPointsCount())};
  for (int i = 0; i < r.GetLTBbuf()->GetSize(); ++i) d.push_back(static_cast<ulong32>((*r.GetLTBbuf())[i].GetSize()));
  for (int s = 0; s < 2; ++s) d.push_back(r.GetConstraintsX(s)->CheckSum() ^ r.GetConstraints(s)->CheckSum());
  for (auto* t : {r.GetBmFy(), r.GetBmFz(), r.GetBmlt(), r.GetC1(), r.GetC2(), r.GetC3()}) d.push_back(t->CheckSum());
  return d;
}

bool IsEmpty(CFileMDD& r) {
  return r.GetMembers() == nullptr && r.GetMemberCount() == 0 && r.GetMemLCData()->GetSize() == 0 &&
         r.GetNode(1) == nullptr && r.GetFilePath().IsEmpty();
}

TEST(CFileMDD, UnlinkedJobReadsBackThroughEveryGetter) {
  TempDir dir;
  CFileMDD r;
  ASSERT_EQ(r.Import(WriteUnlinked(dir).c_str()), 0u);

  const MDDStrucst::NewData4Job job = r.GetNewData4Job();
  EXPECT_EQ(job.JobName(), "Shed");
  EXPECT_EQ(job.Type(), 12);
  EXPECT_EQ(job.MemberCapacity(), 4);
  EXPECT_EQ(job.DefaultCapacity(), 10);  // filled in for a job that is not linked
  EXPECT_EQ(job.Engineer(), "A. Engineer");
  EXPECT_EQ(job.Date(), "2024-05-01");
  EXPECT_EQ(job.ProjectName(), "Shed frame");
  EXPECT_EQ(job.data[424], telio_test::MddCarried(424));
  EXPECT_TRUE(job.JobFolder().IsEmpty());
  EXPECT_EQ(r.GetOpenJob().Version(), 3);
  EXPECT_EQ(r.GetOpenJobExtension()[39], telio_test::MddCarried(451 + 39));
  EXPECT_FALSE(r.IsLinked());

  ASSERT_EQ(r.GetMemberCount(), 3);
  const BLIST& m3 = r.GetMembers()[2];
  EXPECT_EQ(m3.Name(), "M3");
  EXPECT_EQ(m3.Length(), 18.0f);
  EXPECT_EQ(m3.Family(), 80);
  EXPECT_EQ(m3.Profile(), 5);
  EXPECT_EQ(m3.Grade(), 3);
  EXPECT_EQ(m3.BeamCount(), 3);
  EXPECT_EQ(m3.HasLTB(), 1);
  EXPECT_EQ(m3.Angle(), 0.5f);
  EXPECT_EQ(m3.SectionId(), 8003);
  EXPECT_EQ(m3.data[136], telio_test::MddCarried(136));
  EXPECT_EQ(r.GetMembers()[3].BeamCount(), 0);  // a free slot of the capacity

  EXPECT_EQ(r.GetTotalPositions(), 6);
  const int first[] = {0, 1, 3, 0, 0};
  for (int m = -1; m < 4; ++m) EXPECT_EQ(r.GetBeamsPerMemberPos(m), m < 0 ? 0 : first[m]) << m;
  EXPECT_EQ(r.BeamsPerMemberPos(0), 11);
  EXPECT_EQ(r.BeamsPerMemberPos(5), 33);
  EXPECT_EQ(r.BeamsPerMemberPos(6), 0);
  ASSERT_EQ(r.GetPointsCount(), 4);
  EXPECT_EQ(r.GetPointAt(3)->X(), 18.0f);
  EXPECT_EQ(r.GetPointAt(4), nullptr);
  ASSERT_NE(r.GetNode(2), nullptr);
  EXPECT_EQ(r.GetNode(2)->x, 6.0f);
  EXPECT_EQ(r.GetNode(5), nullptr);
  EXPECT_EQ(r.GetNode(0), nullptr);

  // Names: OEM 0x84 is the ANSI 0xE4; 21 characters keep 19.
  const MDDStrucst::MLCHEADER h = r.GetMLCHeader();
  EXPECT_EQ(h.LoadCases(), 2);
  EXPECT_EQ(h.Members(), 3);
  EXPECT_EQ(h.Name(0), "L\xE4st 1");
  EXPECT_EQ(h.Name(1), "ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(h.PositionCounts()[2], 6);
  CFileMDD::MemLCData& lc = *r.GetMemLCData();
  ASSERT_EQ(lc.GetSize(), 3);
  ASSERT_EQ(lc[2].GetSize(), 2);
  ASSERT_EQ(lc[2][1].GetSize(), 6);
  for (int k = 0; k < 7; ++k) EXPECT_EQ(lc[2][1][5][k], MlcValue(3, 2, k, 5)) << k;
  EXPECT_EQ(lc[0][0][1][0], MlcValue(1, 1, 0, 1));

  // Restraints: member 3 has nodes 1 to 4 in set 0, its ends in set 1.
  ASSERT_EQ(r.GetConstraintsX(0)->GetSize(), 3);
  EXPECT_EQ((*r.GetConstraintsX(0))[2][0], 4);
  EXPECT_EQ((*r.GetConstraintsX(1))[2][2], 4);
  const MDDStrucst::CONSTRAINT& c = (*r.GetConstraints(0))[2][1];
  EXPECT_EQ(c.Kind(), 2);
  EXPECT_EQ(c.Eta(), 0.25f);
  EXPECT_EQ(c.Factor(), 1.5f);
  EXPECT_EQ(c.Byte(13), 1);
  EXPECT_EQ(c.Byte(82), telio_test::MddCarried(82));
  EXPECT_EQ(c.Byte(83), 0);
  EXPECT_EQ((*r.GetConstraints(1))[2][1].Factor(), 0.7f);
  EXPECT_EQ((*r.GetConstraints(0))[2][19].Kind(), 0);
  EXPECT_EQ(r.GetConstraints(2), nullptr);
  EXPECT_EQ(r.GetConstraintsX(-1), nullptr);

  ASSERT_EQ(r.GetConstraintsLTB()->GetSize(), 3);
  EXPECT_EQ((*r.GetConstraintsLTB())[2].Count(), 4);
  EXPECT_EQ((*r.GetConstraintsLTB())[2].Node(3), 4);
  ASSERT_EQ((*r.GetLTBbuf())[1].GetSize(), 20);
  ASSERT_EQ((*r.GetLTBbuf())[2].GetSize(), 4);  // the file ends after them
  const MDDStrucst::LTB_CONS& p = (*r.GetLTBbuf())[2][1];
  EXPECT_EQ(p.KType(), 2);
  EXPECT_EQ(p.KwType(), 1);
  EXPECT_EQ(p.K(), 0.875f);
  EXPECT_EQ(p.KW(), 0.5f);

  // DB0: code 2 at (1, 3, 2) grows only the path to its cell.
  const CFileMDD::DB0Table& fy = *r.GetBmFy();
  ASSERT_EQ(fy.GetSize(), 1);
  ASSERT_EQ(fy[0].GetSize(), 3);
  EXPECT_EQ(fy[0][0].GetSize(), 0);
  EXPECT_EQ(fy[0][1].GetSize(), 0);
  ASSERT_EQ(fy[0][2].GetSize(), 2);
  EXPECT_EQ(fy[0][2][0], 0.0f);
  EXPECT_EQ(fy[0][2][1], 0.5f);
  EXPECT_EQ((*r.GetBmFz())[1][0][0], 1.25f);
  EXPECT_EQ((*r.GetC3())[0][0][2], -2.0f);
  EXPECT_EQ((*r.GetC1())[2][0][0], 0.75f);
  EXPECT_EQ(r.GetBmlt()->GetSize() + r.GetC2()->GetSize(), 0);  // code 64 is skipped

  r.Close();
  EXPECT_TRUE(IsEmpty(r));
  EXPECT_EQ(r.GetMLCHeader().LoadCases(), 0);
}

TEST(CFileMDD, RecordSizesAndOffsetsFollowTheHeader) {
  TempDir dir;
  // Type 11: 37 bytes a member; a declared block of 440 bytes moves the
  // open block to 444; version 2 has no extension.
  MddJobFiles job = telio_test::SmallUnlinkedJob();
  job.mdd.type = 11;
  job.mdd.declaredSize = 440;
  job.mdd.version = 2;
  job.mdd.capacity = 0;
  job.mdd.defaultCapacity = 4;
  CFileMDD r;
  ASSERT_EQ(r.Import(WriteUnlinked(dir, job).c_str()), 0u);
  EXPECT_EQ(r.GetNewData4Job().DeclaredSize(), 440);
  EXPECT_EQ(r.GetCapacity(), 4);
  EXPECT_EQ(r.GetMembers()[1].SectionId(), 1302);
  EXPECT_EQ(r.GetMembers()[1].data[37], 0);
  EXPECT_EQ(r.GetOpenJobExtension()[0], 0);
  EXPECT_EQ(r.BeamsPerMemberPos(5), 33);
  EXPECT_EQ(r.GetPointAt(1)->X(), 6.0f);

  // Job kind 4 takes any type; other types store no member records.
  job.mdd.kind = 4;
  job.mdd.type = 7;
  job.mdd.positions.clear();
  job.hasMlc = true;
  job.mlc.b = 0;
  ASSERT_EQ(r.Import(WriteUnlinked(dir, job).c_str()), 0u);
  EXPECT_EQ(r.GetMemberCount(), 3);
  EXPECT_EQ(r.GetTotalPositions(), 0);
  EXPECT_EQ(r.GetMembers()[0].BeamCount(), 0);

  // Load cases past a member's 20-block area read the next member's.
  job = telio_test::SmallUnlinkedJob();
  job.mlc.a = 21;
  job.mlc.blockCases = 1;
  job.mlc.counts = {2, 2, 2};
  ASSERT_EQ(r.Import(WriteUnlinked(dir, job).c_str()), 0u);
  ASSERT_EQ((*r.GetMemLCData())[0].GetSize(), 21);
  EXPECT_EQ((*r.GetMemLCData())[0][20][1][3], MlcValue(2, 1, 3, 1));
  EXPECT_EQ((*r.GetMemLCData())[2].GetSize(), 1);  // the file ends after its first block
  job.mlc.a = 900;
  ASSERT_EQ(r.Import(WriteUnlinked(dir, job).c_str()), 0u);
  EXPECT_EQ(r.GetMLCHeader().LoadCases(), 800);
}

TEST(CFileMDD, LinkedJobTakesTheAnalysisJob) {
  TempDir dir;
  const std::string ajf = dir.File("Bridge.AJF");
  // An absolute folder, a relative one, and one that has moved: each ends
  // at the analysis job.
  for (const std::string& text : {ajf, std::string("../Bridge.AJF"), std::string("/gone/Bridge.AJF")}) {
    const std::string path = WriteLinked(dir, text);
    CFileMDD r;
    ASSERT_EQ(r.Import(path.c_str()), 0u) << text;
    EXPECT_TRUE(r.IsLinked());
    const std::string folder = r.GetNewData4Job().JobFolder().GetString();
    EXPECT_TRUE(std::filesystem::equivalent(telio::ResolvePathCase(folder.c_str()), ajf)) << text << " -> " << folder;
    EXPECT_EQ(r.GetCapacity(), 30);
    EXPECT_EQ(r.GetNode(4)->x, 3.0f);  // the analysis topology
    EXPECT_EQ(r.GetMLCHeader().LoadCases(), 0);
    EXPECT_EQ(r.ReadMLC(SidePath(path, "MLC").c_str()), 0);
    EXPECT_EQ(r.ValidateLinkJob(), 1);
    ASSERT_EQ(r.ReadMLCLinked(SidePath(path, "MLC").c_str()), 1);
    EXPECT_EQ(r.GetMLCHeader().LoadCases(), 2);
    EXPECT_EQ(r.GetMLCHeader().Name(1), "Live");
    EXPECT_EQ((*r.GetConstraintsX(0))[1][3], 4);
  }
  // A folder neither there nor named in the path, no analysis run, or a
  // missing NAM file: the link cannot be used.
  const std::string path = ajf + "/Bridge.MDD";
  telio_test::WriteMddJob(telio_test::SmallLinkedJob("Other", "/gone/Other.AJF"), path);
  CFileMDD r;
  EXPECT_EQ(r.Import(path.c_str()), 1u);
  EXPECT_TRUE(r.GetNewData4Job().JobFolder().IsEmpty());
  EXPECT_EQ(r.Import(WriteLinked(dir, ajf, 0).c_str()), 1u);
  WriteLinked(dir, ajf);
  std::remove((ajf + "/Bridge.NAM").c_str());
  EXPECT_EQ(r.Import(path.c_str()), 1u);
  std::remove((ajf + "/Bridge.RES").c_str());
  EXPECT_EQ(r.ReadMLCLinked(SidePath(path, "MLC").c_str()), 0);
}

TEST(CFileMDD, FilesTheLayoutCannotHoldAreRefused) {
  struct Case {
    const char* what;
    void (*change)(MddJobFiles&);
    ulong32 code;
  };
  const Case cases[] = {
      {"magic", [](MddJobFiles& j) { j.mdd.magic = 0xD192A039u; }, 1},
      {"type", [](MddJobFiles& j) { j.mdd.type = 14; }, 1},
      {"capacity", [](MddJobFiles& j) { j.mdd.capacity = -1; }, telio::kErrorFileCorrupt},
      {"default capacity", [](MddJobFiles& j) { j.mdd.capacity = 0; j.mdd.defaultCapacity = 40000; },
       telio::kErrorFileCorrupt},
      {"members", [](MddJobFiles& j) { j.mdd.memberCount = 5; }, telio::kErrorFileCorrupt},
      {"beam count", [](MddJobFiles& j) { j.mdd.members[1].beams = -2; }, telio::kErrorFileCorrupt},
      {"MLC members", [](MddJobFiles& j) { j.mlc.b = 5; }, telio::kErrorFileCorrupt},
      {"MLC positions", [](MddJobFiles& j) { j.mlc.counts[1] = 31; }, telio::kErrorFileCorrupt},
      {"MLC missing", [](MddJobFiles& j) { j.hasMlc = false; }, 1},
      {"positions lie", [](MddJobFiles& j) { j.mdd.members[2].beams = 30000; }, telio::kErrorHandleEof},
  };
  for (const Case& c : cases) {
    TempDir dir;
    MddJobFiles job = telio_test::SmallUnlinkedJob();
    c.change(job);
    CFileMDD r;
    EXPECT_EQ(r.Import(WriteUnlinked(dir, job).c_str()), c.code) << c.what;
  }
  TempDir dir;
  CFileMDD r;
  EXPECT_NE(r.Import(dir.File("none.MDD").c_str()), 0u);
  EXPECT_TRUE(IsEmpty(r));
  // A missing side file leaves its buffers empty.
  MddJobFiles job = telio_test::SmallUnlinkedJob();
  job.hasCns = job.hasLtb = job.hasDb0 = job.hasTop = false;
  ASSERT_EQ(r.Import(WriteUnlinked(dir, job).c_str()), 0u);
  EXPECT_EQ(r.GetConstraintsX(0)->GetSize() + r.GetConstraintsLTB()->GetSize() + r.GetC1()->GetSize(), 0);
  EXPECT_EQ(r.GetNode(1), nullptr);

  // DB0: an index below 1 is skipped, the rest read; indexes whose tables
  // would outgrow the file's bound are refused whole.
  const std::string db0 = dir.File("T.DB0");
  telio_test::BuildDb0({{8, 1, 1, 1, 2.0f}, {8, 0, 1, 1, 3.0f}}).WriteTo(db0);
  EXPECT_EQ(r.ReadDB0(db0.c_str()), 0);
  EXPECT_EQ(telio::GetLastError(), telio::kErrorFileCorrupt);
  EXPECT_EQ((*r.GetC1())[0][0][0], 2.0f);
  telio_test::BuildDb0({{8, 1, 32767, 32767, 1.0f}, {16, 32767, 1, 1, 1.0f}}).WriteTo(db0);
  EXPECT_EQ(r.ReadDB0(db0.c_str()), 0);
  EXPECT_EQ(r.GetC1()->GetSize() + r.GetC2()->GetSize(), 0);
}

// One sweep for every file of a job: cut at every byte, each reader gives
// its code and only whole records.
struct CutCase {
  const char* ext;
  // The code for a cut after `kept` bytes of a file of `size` bytes.
  ulong32 (*expected)(size_t kept, size_t size);
};

class CutEveryByte : public ::testing::TestWithParam<CutCase> {};

// A folder in memory when the host has one: the sweep writes every cut.
std::unique_ptr<TempDir> MemoryDir() {
  const char* before = std::getenv("TMPDIR");
  const std::string saved = before ? before : "";
  std::error_code ec;
  if (std::filesystem::is_directory("/dev/shm", ec)) setenv("TMPDIR", "/dev/shm", 1);
  std::unique_ptr<TempDir> dir(new TempDir);
  if (before) {
    setenv("TMPDIR", saved.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
  return dir;
}

TEST_P(CutEveryByte, GivesItsCodeAndWholeRecords) {
  const std::unique_ptr<TempDir> scratch = MemoryDir();
  const TempDir& dir = *scratch;
  const std::string mdd = WriteUnlinked(dir);
  const std::string ext = GetParam().ext;
  const std::string path = ext == "MDD" ? mdd : SidePath(mdd, ext);
  const std::vector<uint8_t> whole = telio_test::ReadFileBytes(path);
  CFileMDD r;
  ASSERT_EQ(r.Import(mdd.c_str()), 0u);
  const std::vector<ulong32> full = Digest(r);
  // The main file goes through Import; a side file through its own reader
  // on the job read (Import gives the same code for MLC damage and ignores
  // the others').
  auto read = [&]() -> ulong32 {
    if (ext == "MDD") return r.Import(mdd.c_str());
    const int ok = ext == "MLC"   ? r.ReadMLC(path.c_str())
                   : ext == "CNS" ? r.ReadCNS(path.c_str())
                   : ext == "LTB" ? r.ReadLTB(path.c_str())
                                  : r.ReadDB0(path.c_str());
    return ok ? 0 : telio::GetLastError();
  };
  for (size_t kept = 0; kept < whole.size(); ++kept) {
    telio_test::WriteFileBytes(path, std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(kept)));
    const ulong32 want = GetParam().expected(kept, whole.size());
    ASSERT_EQ(read(), want) << ext << " cut at " << kept;
    // Whatever was kept stays inside its tables.
    for (int m = 0; m < r.GetMemLCData()->GetSize(); ++m) {
      for (int c = 0; c < (*r.GetMemLCData())[m].GetSize(); ++c) {
        ASSERT_LE((*r.GetMemLCData())[m][c].GetSize(), CFileMDD::kMaxPositions);
      }
    }
    for (int s = 0; s < 2; ++s) ASSERT_LE(r.GetConstraints(s)->GetSize(), r.GetMemberCount());
    if (want == 0) {
      EXPECT_NE(Digest(r), full) << kept;
    }
  }
  telio_test::WriteFileBytes(path, whole);
  ASSERT_EQ(read(), 0u);
  EXPECT_EQ(Digest(r), full);
}

constexpr ulong32 kEof = telio::kErrorHandleEof;
INSTANTIATE_TEST_SUITE_P(
    MemberJob, CutEveryByte,
    ::testing::Values(
        // Points are read up to the end: four of them.
        CutCase{"MDD", [](size_t kept, size_t size) { return kept < size - 48 ? kEof : 0u; }},
        // The counts end at 2698; blocks are read as far as the file goes.
        CutCase{"MLC", [](size_t kept, size_t) { return kept < 2698 ? kEof : 0u; }},
        CutCase{"CNS", [](size_t, size_t) { return kEof; }},
        // The buckling records end at 84 x 2 + 54; their points "up to 20".
        CutCase{"LTB", [](size_t kept, size_t) { return kept < 222 ? kEof : 0u; }},
        CutCase{"DB0", [](size_t kept, size_t) { return kept < 32 ? kEof : 0u; }}),
    [](const ::testing::TestParamInfo<CutCase>& i) { return std::string(i.param.ext); });

TEST(CFileMDD, AllocationFailuresLeaveTheReaderEmptyOrWhole) {
  TempDir dir;
  const std::string paths[] = {WriteUnlinked(dir), WriteLinked(dir, dir.File("Bridge.AJF"))};
  for (const std::string& path : paths) {
    CFileMDD reference;
    ASSERT_EQ(reference.Import(path.c_str()), 0u);
    for (long n = 0;; ++n) {
      CFileMDD r;
      telio::FailAllocationsAfter(n);
      const ulong32 code = r.Import(path.c_str());
      telio::FailAllocationsAfter(-1);
      if (code == 0) {
        EXPECT_EQ(Digest(r), Digest(reference));
        break;
      }
      ASSERT_EQ(code, telio::kErrorNotEnoughMemory) << n;
      EXPECT_TRUE(IsEmpty(r)) << n;
      ASSERT_LT(n, 100000);
    }
  }
}

TEST(CFileMDL, ReadsPurlinRecordsOfTheMdlJob) {
  TempDir dir;
  const std::string mdl = dir.File("Shed.MDL");
  telio_test::WriteMddJob(telio_test::SmallUnlinkedJob(), mdl);
  CFileMDL r;
  ASSERT_EQ(r.Import(mdl.c_str()), 0u);
  EXPECT_EQ(r.GetFileDefExt(), "MDL");
  EXPECT_EQ(r.GetMemberCount(), 3);
  EXPECT_NE(r.Import(WriteUnlinked(dir).c_str()), 0u);  // an MDD is another kind

  telio_test::TgdRecord a;
  a.type = -3;
  a.f2 = 2.5f;
  a.b6 = -1;
  a.f7 = 0.25f;
  a.f11 = -7.9f;
  a.count = 12;
  a.shortValue = 1.5f;
  a.shortWord = 100;
  a.longValue = 0.5f;
  a.longByte = -2;
  a.tail = "PURLINS";
  telio_test::TgdRecord b;
  b.type = 2;
  const std::string tgd = dir.File("Shed.TGD");
  telio_test::BuildTgd({b, a}).WriteTo(tgd);
  TEGIDA out;
  std::memset(out.data, 0x55, sizeof out.data);
  ASSERT_EQ(r.ReadTegida(tgd.c_str(), out, 1), 0);
  EXPECT_EQ(out.Type(), -3);
  EXPECT_EQ(out.Double(4), 2.5);
  EXPECT_EQ(out.Int(12), -1);
  EXPECT_EQ(out.Double(16), 0.25);
  EXPECT_EQ(out.Int(24), -7);
  EXPECT_EQ(out.Count(), 12);
  EXPECT_EQ(out.Length(), 1.5);
  EXPECT_EQ(out.ShortValue(19), 1.5 * 19);
  EXPECT_EQ(out.ShortWord(19), 119);
  EXPECT_EQ(out.LongValue(800), 400.0);
  EXPECT_EQ(out.LongWord(1), -2);
  EXPECT_EQ(out.Int(188) + out.Int(6676), 0);  // entries 0 are not taken
  EXPECT_EQ(0, std::memcmp(out.data + 9884, "PURLINS", 8));

  // Past the end: zeros. Cut inside: what the file holds, zeros after.
  ASSERT_EQ(r.ReadTegida(tgd.c_str(), out, 2), 0);
  EXPECT_EQ(out.Type(), 0);
  telio_test::BuildTgd({b, a}).WriteTo(tgd, 8 + 4150 + 201);
  ASSERT_EQ(r.ReadTegida(tgd.c_str(), out, 1), 0);
  EXPECT_EQ(out.ShortWord(19), 119);
  EXPECT_EQ(out.LongValue(15), 7.5);
  EXPECT_EQ(out.LongValue(16), 0.0);
  EXPECT_EQ(r.ReadTegida(tgd.c_str(), out, -1), static_cast<int>(telio::kErrorBadArguments));

  // Not a TGD file: out is left alone.
  std::memset(out.data, 0x55, sizeof out.data);
  EXPECT_EQ(r.ReadTegida(mdl.c_str(), out, 0), 0);
  EXPECT_EQ(r.ReadTegida(dir.File("none.TGD").c_str(), out, 0), 0);
  EXPECT_EQ(out.data[100], 0x55);
}

}  // namespace
