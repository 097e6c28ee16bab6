// The sweeps every reader goes through: the file cut at every byte, the
// Nth allocation failing and the Nth record transfer failing, N = 0, 1, ...
// until the import no longer meets the fault.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/CFileACE.h"
#include "files/CFileCMI.h"
#include "files/CFileCount.h"
#include "files/CFileDYN.h"
#include "files/CFileJOB.h"
#include "files/CFileNAM.h"
#include "files/CFileOUC.h"
#include "files/CFileRES.h"
#include "files/CFileT3L.h"
#include "files/CFileTOP.h"
#include "platform/Alloc.h"
#include "platform/LastError.h"
#include "support/CSFixture.h"
#include "support/CaseFilesFixture.h"
#include "support/OUCFixture.h"
#include "support/RESFixture.h"
#include "support/T3LFixture.h"
#include "support/TOPFixture.h"
#include "support/TempDir.h"
#include "topology/CTOPO_REC.h"

namespace {

using namespace telio_test;

constexpr ulong32 kEof = telio::kErrorHandleEof;

// What an import gave: its code, whether the object is then whole or empty
// (never half-built), and how much it holds (records, names, ...).
struct Outcome {
  ulong32 code;
  bool whole;
  long held;
};

struct Reader {
  const char* name;
  // Writes the reader's sample job into dir; returns the file the sweeps cut.
  std::string (*write)(const TempDir& dir);
  // A fresh import of path.
  Outcome (*import)(const std::string& path);
  // The code of the sample cut to n bytes (0: the format accepts it).
  ulong32 (*cut)(size_t n);
  // The code of a failed record transfer (0: the reader does not count its
  // transfers, or takes a side file's failure as a missing file).
  ulong32 ioCode;
};

void PrintTo(const Reader& r, std::ostream* os) { *os << r.name; }

// ---------------------------------------------------------------------------
// T3L: a file may end anywhere in the case extra data after the node masses.

T3LOffsets g_t3l;
std::string WriteT3L(const TempDir& d) {
  BuildT3L(SampleT3L(), &g_t3l).WriteTo(d.File("m.T3L"));
  return d.File("m.T3L");
}
Outcome ImportT3L(const std::string& p) {
  CFileT3L f;
  ulong32 code = f.Import(p.c_str());
  // Tables the header claims are all held (a table not read claims 0).
  const DIMS_BUF_EX d = f.Dim();
  const bool whole = f.Count(CFileT3L::kNodes) == d.Count(DIMS_BUF_EX::kNodes) &&
                     f.Count(CFileT3L::kNodeMasses) == d.Count(DIMS_BUF_EX::kNodeMasses) &&
                     (code != telio::kErrorNotEnoughMemory || f.Count(CFileT3L::kNodes) == 0);
  long held = 0;
  for (int k = 1; k <= 12; ++k) held += f.Count(k);
  return {code, whole, held};
}
ulong32 CutT3L(size_t n) { return n >= g_t3l.extra ? 0 : kEof; }

// TOP: a file may end inside the seventh value of a composite block.
TopBlockOffsets g_top;
std::string WriteTOP(const TempDir& d) {
  BuildTop(SampleTopModel(), &g_top).WriteTo(d.File("f.TOP"));
  return d.File("f.TOP");
}
Outcome ImportTOP(const std::string& p) {
  CFileTOP top;
  ulong32 code = top.Import(p.c_str());
  const TOPO_CURDIMS_REC* r = top.GetTOPO_CURDIMS_REC();
  const bool whole =
      code == 0 || (r->NodeCount() == 0 && !r->nodes && !r->sections && top.GetFilePath().IsEmpty());
  return {code, whole, r->NodeCount() + r->SectionCount() + r->PhysBeamCount()};
}
ulong32 CutTOP(size_t n) { return n >= g_top.composite && (n - g_top.composite) % 28 >= 24 ? 0 : kEof; }

// The topology model over the TOP file beside its composite sections.
std::string WriteTopology(const TempDir& d) {
  BuildCs({1, 4}).WriteTo(d.File("f.CS"));
  return WriteTOP(d);
}
Outcome OpenTopology(const std::string& p) {
  CTOPO_REC t;
  int ok = t.Open(p.c_str());
  const TOPOStructs::TOPO_REC* r = t.GetTOPO_REC();
  // The companion is optional: losing it to memory leaves the topology whole.
  return {ok ? 0 : telio::GetLastError(), ok ? r != nullptr : r == nullptr,
          ok ? r->nodeCount + r->sectionCount + r->physBeamCount : 0};
}

// Composite sections: the records are taken as far as the file holds them.
std::string WriteCS(const TempDir& d) {
  BuildCs({1, 2, 3}).WriteTo(d.File("f.CS"));
  return d.File("f.CS");
}
Outcome ReadCS(const std::string& p) {
  TOPOStructs::COMPSECTS cs{0, nullptr};
  int ok = CTOPO_REC::ReadCompSects(p.c_str(), &cs);
  const Outcome out{ok ? 0 : telio::GetLastError(), ok ? cs.count <= 3 : cs.count == 0 && !cs.records,
                    static_cast<long>(cs.count)};
  CTOPO_REC::FreeCompSects(&cs);
  return out;
}
ulong32 CutCS(size_t n) { return n < 8 ? kEof : 0; }

// JOB: a short header leaves the rest zero; a partial record is dropped.
std::string WriteJOB(const TempDir& d) {
  ByteWriter w = JobHeader(2050, {1, 0, 0, 0, 0});
  for (int i = 0; i < 3; ++i) w.append(JobExtraRecord(1, 2, 3.f));
  w.WriteTo(d.File("j.JOB"));
  return d.File("j.JOB");
}
Outcome ImportJOB(const std::string& p) {
  CFileJOB job;
  ulong32 code = job.Import(p.c_str());
  return {code, true, job.GetLoadingCaseExtraData().GetSize()};
}

// NAM and DYN: a partial record is dropped.
std::string WriteNAM(const TempDir& d) {
  NameFile({"Dead", "Live", "Wind"}).WriteTo(d.File("n.NAM"));
  return d.File("n.NAM");
}
Outcome ImportNAM(const std::string& p) {
  CFileNAM nam;
  ulong32 code = nam.Import(p.c_str());
  return {code, true, nam.GetCountLdsNames()};
}
std::string WriteDYN(const TempDir& d) {
  TopModelSpec top = SampleTopModel();
  top.dynamicCases = 1;
  BuildTop(top).WriteTo(d.File("j.TOP"));
  CountFile(1).WriteTo(d.File("j.DCM"));
  CountFile(2).WriteTo(d.File("j.DEN"));
  NameFile({"a", "b", "c", "d", "e", "f", "g", "h"}).WriteTo(d.File("j.DYN"));
  return d.File("j.DYN");
}
Outcome ImportDYN(const std::string& p) {
  CFileDYN dyn;
  ulong32 code = dyn.Import(p.c_str());
  return {code, true, dyn.GetCountLdsNames()};
}

// DEN and DCM: a file shorter than its count leaves it 0.
std::string WriteDEN(const TempDir& d) {
  CountFile(5, 4).WriteTo(d.File("e.DEN"));
  return d.File("e.DEN");
}
Outcome ImportDEN(const std::string& p) {
  CFileDEN den;
  ulong32 code = den.Import(p.c_str());
  return {code, true, den.GetNumberOfDynamicEnvelopes()};
}

ulong32 Accepted(size_t) { return 0; }

// CMI: the zero padding after the last record's words is never read.
size_t g_cmiWordsEnd;
std::string WriteCMI(const TempDir& d) {
  ByteWriter w = CmiHeader(804, 2, 1, 12, 804);
  w.append(CmiRecord(804, 2, {1, 2}, {1.5f, 2.f}, 12, 8, 1));
  w.append(CmiRecord(804, 3, {1, 2, 3}, {1.f, 1.f, 1.f}, 12, 0, 0));
  g_cmiWordsEnd = 2 * 804 + 4 + 3 * 8 + 4;
  w.WriteTo(d.File("c.CMI"));
  return d.File("c.CMI");
}
Outcome ImportCMI(const std::string& p) {
  CFileCMI cmi;
  ulong32 code = cmi.Import(p.c_str());
  long held = 0;
  while (cmi.GetCombination(held)) ++held;
  return {code, code != telio::kErrorNotEnoughMemory || held == 0, held};
}
ulong32 CutCMI(size_t n) { return n >= g_cmiWordsEnd ? 0 : kEof; }

// ACE: the older 808-byte file; any shorter one is read as the current
// layout and ends inside its first list.
std::string WriteACE(const TempDir& d) {
  AceSpec s;
  s.cmbSize = s.envSize = 101;
  s.cmbAct = {{1, 1}, {2, 1}};
  AceFile(s).WriteTo(d.File("a.ACE"));
  return d.File("a.ACE");
}
Outcome ImportACE(const std::string& p) {
  CFileACE ace;
  ulong32 code = ace.Import(p.c_str());
  return {code, true, ace.GetActiveCombinations()};
}
ulong32 CutACE(size_t) { return kEof; }

// RES: only the header word is read on import; the side files are whole.
ResSpec SmallRes() {
  ResSpec s;
  s.nodes = 3;
  s.supports = 1;
  s.beams = 2;
  s.staticCases = 2;
  s.combinations = 1;
  return s;
}
std::string WriteRES(const TempDir& d) {
  BuildRes(SmallRes()).WriteTo(d.File("r.RES"));
  WriteResSideFiles(SmallRes(), d.File("r.RES"));
  return d.File("r.RES");
}
Outcome ImportRES(const std::string& p) {
  CFileRES res;
  ulong32 code = res.Import(p.c_str());
  return {code, code == 0 || code == kEof || res.NumberOfNodes() == 0, res.NumberOfLoadsResults()};
}
ulong32 CutRES(size_t n) { return n < 4 ? kEof : 0; }

// OUC: a file that ends right after its header holds no blocks and is
// accepted; one that ends inside its header or blocks is not.
OucSpec SampleOuc() {
  OucSpec s;
  s.lcs = {{{1, 3}, {2, 0}, {3, 4}}, {{1, 1}, {2, 2}}};
  return s;
}
std::string WriteOUC(const TempDir& d) {
  BuildOuc(SampleOuc()).WriteTo(d.File("o.OUC"));
  WriteOucJob(d.File("o.OUC"), false);
  return d.File("o.OUC");
}
template <bool kIndexed>
Outcome ImportOUC(const std::string& p) {
  CFileOUC ouc;
  ouc.SetUseBmidx(kIndexed);
  ulong32 code = ouc.Import(p.c_str());
  long held = ouc.GetLCNum();
  for (int lc = 0; lc < 2; ++lc) {
    for (int b = 0; b < 3; ++b) held += ouc.GetBeamData(lc, b) != nullptr;
  }
  return {code,
          code != telio::kErrorNotEnoughMemory ||
              (ouc.GetLCNum() == 0 && !ouc.GetBeamData(0, 0) && ouc.GetFilePath().IsEmpty()),
          held};
}
ulong32 CutOUC(size_t n) { return n == 8 + 4 * 400 ? 0 : kEof; }

const Reader kReaders[] = {
    {"T3L", WriteT3L, ImportT3L, CutT3L, telio::kErrorReadFault},
    {"TOP", WriteTOP, ImportTOP, CutTOP, telio::kErrorReadFault},
    {"Topology", WriteTopology, OpenTopology, CutTOP, telio::kErrorReadFault},
    {"CS", WriteCS, ReadCS, CutCS, 0},
    {"JOB", WriteJOB, ImportJOB, Accepted, telio::kErrorReadFault},
    {"NAM", WriteNAM, ImportNAM, Accepted, telio::kErrorReadFault},
    {"DYN", WriteDYN, ImportDYN, Accepted, 0},
    {"DEN", WriteDEN, ImportDEN, Accepted, telio::kErrorReadFault},
    {"CMI", WriteCMI, ImportCMI, CutCMI, telio::kErrorReadFault},
    {"ACE", WriteACE, ImportACE, CutACE, telio::kErrorReadFault},
    {"RES", WriteRES, ImportRES, CutRES, 0},
    {"OUC", WriteOUC, ImportOUC<false>, CutOUC, 0},
    {"OUCIndexed", WriteOUC, ImportOUC<true>, CutOUC, 0},
};

class Read : public ::testing::TestWithParam<Reader> {
 protected:
  TempDir dir_;
};

TEST_P(Read, TheFileCutAtEveryByte) {
  const std::string path = GetParam().write(dir_);
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  ASSERT_EQ(GetParam().import(path).code, 0u);
  for (size_t n = 0; n < bytes.size(); ++n) {
    WriteFileBytes(path, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n)));
    const Outcome o = GetParam().import(path);
    ASSERT_EQ(o.code, GetParam().cut(n)) << "cut at " << n;
    ASSERT_TRUE(o.whole) << "cut at " << n;
  }
}

// Under a fault the import gives the fault's code, or succeeds with all it
// would have read without it.
template <void (*kFailAfter)(long), long (*kSeen)()>
void Sweep(const Reader& r, const std::string& path, ulong32 faultCode) {
  const long clean = r.import(path).held;
  for (long n = 0;; ++n) {
    kFailAfter(n);
    const Outcome o = r.import(path);
    const bool hit = kSeen() > n;
    kFailAfter(-1);
    ASSERT_TRUE(o.whole) << "fault " << n;
    if (!hit || o.code == 0) {
      ASSERT_EQ(o.code, 0u) << "fault " << n;
      ASSERT_EQ(o.held, clean) << "fault " << n;
      if (!hit) break;
      continue;
    }
    ASSERT_EQ(o.code, faultCode) << "fault " << n;
  }
}

TEST_P(Read, EveryAllocationFailing) {
  Sweep<telio::FailAllocationsAfter, telio::AllocationsSeen>(GetParam(), GetParam().write(dir_),
                                                             telio::kErrorNotEnoughMemory);
}

TEST_P(Read, EveryRecordTransferFailing) {
  if (GetParam().ioCode == 0) GTEST_SKIP() << "transfers not counted";
  Sweep<telio::FailRecordIoAfter, telio::RecordIoSeen>(GetParam(), GetParam().write(dir_), GetParam().ioCode);
}

INSTANTIATE_TEST_SUITE_P(EveryReader, Read, ::testing::ValuesIn(kReaders),
                         [](const ::testing::TestParamInfo<Reader>& i) { return std::string(i.param.name); });

}  // namespace
