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
  // transfers, or takes a side file's failure for a missing file).
  ulong32 ioCode;
};

void PrintTo(const Reader& r, std::ostream* os) { *os << r.name; }

std::string Put(const TempDir& d, const char* name, const ByteWriter& w) {
  w.WriteTo(d.File(name));
  return d.File(name);
}

ulong32 Accepted(size_t) { return 0; }

T3LOffsets g_t3l;
TopBlockOffsets g_top;

std::string WriteTOP(const TempDir& d) { return Put(d, "f.TOP", BuildTop(SampleTopModel(), &g_top)); }
// A TOP file may end inside the seventh value of a composite block.
ulong32 CutTOP(size_t n) { return n >= g_top.composite && (n - g_top.composite) % 28 >= 24 ? 0 : kEof; }

ResLayout SmallRes() {
  ResLayout s;
  s.nodes = 3;
  s.supports = 1;
  s.beams = 2;
  s.staticCases = 2;
  s.combinations = 1;
  return s;
}

std::string WriteOUC(const TempDir& d) {
  OucLayout s;
  s.lcs = {{{1, 3}, {2, 0}, {3, 4}}, {{1, 1}, {2, 2}}};
  WriteOucJob(d.File("o.OUC"), false);
  return Put(d, "o.OUC", BuildOuc(s));
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
  return {code, code != telio::kErrorNotEnoughMemory || (held == 0 && ouc.GetFilePath().IsEmpty()), held};
}

const Reader kReaders[] = {
    // A T3L file may end anywhere in the case extra data after the node masses.
    {"T3L", [](const TempDir& d) { return Put(d, "m.T3L", BuildT3L(SampleT3L(), &g_t3l)); },
     [](const std::string& p) -> Outcome {
       CFileT3L f;
       ulong32 code = f.Import(p.c_str());
       long held = 0;
       for (int k = 1; k <= 12; ++k) held += f.Count(k);
       // The tables the header claims are all held (one not read claims 0).
       return {code, f.Count(CFileT3L::kNodes) == f.Dim().Count(DIMS_BUF_EX::kNodes) &&
                         f.Count(CFileT3L::kNodeMasses) == f.Dim().Count(DIMS_BUF_EX::kNodeMasses) &&
                         (code != telio::kErrorNotEnoughMemory || held == 0),
               held};
     },
     [](size_t n) { return n >= g_t3l.extra ? 0 : kEof; }, telio::kErrorReadFault},
    {"TOP", WriteTOP,
     [](const std::string& p) -> Outcome {
       CFileTOP top;
       ulong32 code = top.Import(p.c_str());
       const TOPO_CURDIMS_REC* r = top.GetTOPO_CURDIMS_REC();
       return {code, code == 0 || (!r->nodes && !r->sections && top.GetFilePath().IsEmpty()),
               r->NodeCount() + r->SectionCount() + r->PhysBeamCount()};
     },
     CutTOP, telio::kErrorReadFault},
    // The topology beside its composite sections, which are optional: losing
    // them to memory leaves the topology whole.
    {"Topology",
     [](const TempDir& d) {
       Put(d, "f.CS", BuildCs({1, 4}));
       return WriteTOP(d);
     },
     [](const std::string& p) -> Outcome {
       CTOPO_REC t;
       int ok = t.Open(p.c_str());
       const TOPOStructs::TOPO_REC* r = t.GetTOPO_REC();
       return {ok ? 0 : telio::GetLastError(), ok ? r != nullptr : r == nullptr,
               ok ? r->nodeCount + r->sectionCount + r->physBeamCount : 0};
     },
     CutTOP, telio::kErrorReadFault},
    // Composite sections: the whole records a short file holds are taken.
    {"CS", [](const TempDir& d) { return Put(d, "f.CS", BuildCs({1, 2, 3})); },
     [](const std::string& p) -> Outcome {
       TOPOStructs::COMPSECTS cs{0, nullptr};
       int ok = CTOPO_REC::ReadCompSects(p.c_str(), &cs);
       const Outcome out{ok ? 0 : telio::GetLastError(), ok || !cs.records, static_cast<long>(cs.count)};
       CTOPO_REC::FreeCompSects(&cs);
       return out;
     },
     [](size_t n) { return n < 8 ? kEof : 0; }, 0},
    // JOB: a short header leaves the rest zero; a partial record is dropped.
    {"JOB",
     [](const TempDir& d) {
       ByteWriter w = JobHeader(2050, {1, 0, 0, 0, 0});
       for (int i = 0; i < 3; ++i) w.append(JobExtraRecord(1, 2, 3.f));
       return Put(d, "j.JOB", w);
     },
     [](const std::string& p) -> Outcome {
       CFileJOB job;
       ulong32 code = job.Import(p.c_str());
       return {code, true, job.GetLoadingCaseExtraData().GetSize()};
     },
     Accepted, telio::kErrorReadFault},
    // NAM and DYN: a partial record is dropped.
    {"NAM", [](const TempDir& d) { return Put(d, "n.NAM", NameFile({"Dead", "Live", "Wind"})); },
     [](const std::string& p) -> Outcome {
       CFileNAM nam;
       ulong32 code = nam.Import(p.c_str());
       return {code, true, nam.GetCountLdsNames()};
     },
     Accepted, telio::kErrorReadFault},
    {"DYN",
     [](const TempDir& d) {
       TopModelLayout top = SampleTopModel();
       top.dynamicCases = 1;
       Put(d, "j.TOP", BuildTop(top));
       Put(d, "j.DCM", CountFile(1));
       Put(d, "j.DEN", CountFile(2));
       return Put(d, "j.DYN", NameFile({"a", "b", "c", "d", "e", "f", "g", "h"}));
     },
     [](const std::string& p) -> Outcome {
       CFileDYN dyn;
       ulong32 code = dyn.Import(p.c_str());
       return {code, true, dyn.GetCountLdsNames()};
     },
     Accepted, 0},
    // DEN and DCM: a file shorter than its count leaves it 0.
    {"DEN", [](const TempDir& d) { return Put(d, "e.DEN", CountFile(5, 4)); },
     [](const std::string& p) -> Outcome {
       CFileDEN den;
       ulong32 code = den.Import(p.c_str());
       return {code, true, den.GetNumberOfDynamicEnvelopes()};
     },
     Accepted, telio::kErrorReadFault},
    // CMI: the zero padding after the last record's words is never read.
    {"CMI",
     [](const TempDir& d) {
       ByteWriter w = CmiHeader(804, 2, 1, 12, 804);
       w.append(CmiRecord(804, 2, {1, 2}, {1.5f, 2.f}, 12, 8, 1));
       w.append(CmiRecord(804, 3, {1, 2, 3}, {1.f, 1.f, 1.f}, 12, 0, 0));
       return Put(d, "c.CMI", w);
     },
     [](const std::string& p) -> Outcome {
       CFileCMI cmi;
       ulong32 code = cmi.Import(p.c_str());
       long held = 0;
       while (cmi.GetCombination(held)) ++held;
       return {code, code != telio::kErrorNotEnoughMemory || held == 0, held};
     },
     [](size_t n) { return n >= 2 * 804 + 4 + 3 * 8 + 4 ? 0 : kEof; }, telio::kErrorReadFault},
    // ACE: the older 808-byte file; any shorter one is read as the current
    // layout and ends inside its first list.
    {"ACE",
     [](const TempDir& d) {
       AceLayout s;
       s.cmbSize = s.envSize = 101;
       s.cmbAct = {{1, 1}, {2, 1}};
       return Put(d, "a.ACE", AceFile(s));
     },
     [](const std::string& p) -> Outcome {
       CFileACE ace;
       ulong32 code = ace.Import(p.c_str());
       return {code, true, ace.GetActiveCombinations()};
     },
     [](size_t) { return kEof; }, telio::kErrorReadFault},
    // RES: only the header word is read on import, beside whole side files.
    {"RES",
     [](const TempDir& d) {
       WriteResSideFiles(SmallRes(), d.File("r.RES"));
       return Put(d, "r.RES", BuildRes(SmallRes()));
     },
     [](const std::string& p) -> Outcome {
       CFileRES res;
       ulong32 code = res.Import(p.c_str());
       return {code, code != telio::kErrorNotEnoughMemory || res.NumberOfNodes() == 0,
               res.NumberOfLoadsResults()};
     },
     [](size_t n) { return n < 4 ? kEof : 0; }, 0},
    // OUC: a file that ends right after its header holds no blocks and is
    // accepted; one that ends inside its header or blocks is not.
    {"OUC", WriteOUC, ImportOUC<false>, [](size_t n) { return n == 8 + 4 * 400 ? 0 : kEof; }, 0},
    {"OUCIndexed", WriteOUC, ImportOUC<true>, [](size_t n) { return n == 8 + 4 * 400 ? 0 : kEof; }, 0},
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
    if (o.code != 0) {
      ASSERT_TRUE(hit) << "fault " << n;
      ASSERT_EQ(o.code, faultCode) << "fault " << n;
      continue;
    }
    ASSERT_EQ(o.held, clean) << "fault " << n;
    if (!hit) break;
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
