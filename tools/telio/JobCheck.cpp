#include "JobCheck.h"

#include <filesystem>
#include <memory>

#include "ResSides.h"
#include "files/CAJF_PATHS.h"
#include "files/CFileACE.h"
#include "files/CFileCMI.h"
#include "files/CFileCount.h"
#include "files/CFileDYN.h"
#include "files/CFileJOB.h"
#include "files/CFileNAM.h"
#include "files/CFileOUC.h"
#include "files/CFileRES.h"
#include "files/CFileT3L.h"
#include "platform/LastError.h"
#include "platform/PathCase.h"
#include "topology/CTOPO_REC.h"

namespace telio_tool {

namespace {

namespace fs = std::filesystem;

constexpr long long kResRecord = 52;
constexpr int kJobVersionWithLCE = 2050;

class Checker {
 public:
  Checker(JobCheckReport& report, const ProgressFn& progress) : r_(report), progress_(progress) {}

  // A file entry; true when the file exists (letter case ignored).
  CheckedFile& Enter(const std::string& kind, const std::string& path) {
    if (progress_) progress_("reading " + kind, 0, 0);
    CheckedFile f;
    f.kind = kind;
    f.path = path;
    std::error_code ec;
    f.present = fs::is_regular_file(telio::ResolvePathCase(path.c_str()), ec);
    r_.files.push_back(f);
    return r_.files.back();
  }

  void Find(const std::string& file, const std::string& code, const std::string& message,
            ulong32 error = 0, const std::string& path = std::string()) {
    r_.findings.push_back({file, code, message, error, path});
  }

  // Records an import's result; true when the file was read.
  bool Imported(CheckedFile& f, ulong32 code) {
    f.error = code;
    f.read = code == 0;
    if (code != 0) {
      Find(f.kind, "read_error",
           f.kind + " cannot be read: error " + std::to_string(code) + ": " + telio::SystemErrorMessage(code),
           code, f.path);
    }
    return f.read;
  }

  void Missing(const CheckedFile& f) {
    Find(f.kind, "missing_file", "the " + f.kind + " file is missing", 0, f.path);
  }

  // A count finding when two files disagree.
  void Same(const std::string& file, const std::string& what, long long here, const std::string& other,
            long long there) {
    if (here == there) return;
    Find(file, "count_mismatch",
         file + " holds " + std::to_string(here) + " " + what + ", " + other + " " + std::to_string(there));
  }

 private:
  JobCheckReport& r_;
  const ProgressFn& progress_;
};

std::string SidePath(const CAJF_PATHS& job, const char* ext) {
  std::string p = job.T3L().GetString();
  return p.substr(0, p.size() - 3) + ext;
}

long long FileSize(const std::string& path) {
  std::error_code ec;
  auto n = fs::file_size(telio::ResolvePathCase(path.c_str()), ec);
  return ec ? -1 : static_cast<long long>(n);
}

}  // namespace

const CheckedFile* JobCheckReport::File(const std::string& kind) const {
  for (const CheckedFile& f : files) {
    if (f.kind == kind) return &f;
  }
  return nullptr;
}

int JobCheckReport::Count(const std::string& code, const std::string& file) const {
  int n = 0;
  for (const CheckFinding& f : findings) n += (f.code == code && (file.empty() || f.file == file)) ? 1 : 0;
  return n;
}

JobCheckReport CheckJob(const std::string& path, const ProgressFn& progress) {
  JobCheckReport report;
  report.files.reserve(16);  // entries are filled through references
  Checker c(report, progress);
  const std::string resolved = telio::ResolvePathCase(path.c_str());
  CAJF_PATHS job;
  job.Set(resolved.c_str(), nullptr, 0);
  report.project = job.ProjectFolder().GetString();
  report.name = job.Name().GetString();
  if (report.project.empty()) report.project = path;
  std::error_code ec;
  if (!fs::exists(resolved, ec) || report.name.empty() || !fs::is_directory(report.project, ec)) {
    c.Find("AJF", "no_project", "no project folder at " + path, telio::kErrorPathNotFound, path);
    return report;
  }

  // Model.
  long long t3lNodes = -1, t3lBeams = 0, t3lSupports = 0, t3lSections = 0, t3lCases = 0, t3lPhys = 0;
  {
    CheckedFile& f = c.Enter("T3L", job.T3L().GetString());
    if (!f.present) {
      c.Missing(f);
    } else {
      CFileT3L model;
      if (c.Imported(f, model.Import(f.path.c_str()))) {
        t3lNodes = model.Count(CFileT3L::kNodes);
        t3lBeams = model.Count(CFileT3L::kBeams);
        t3lSupports = model.Count(CFileT3L::kSupports);
        t3lSections = model.Count(CFileT3L::kSections);
        t3lCases = model.Count(CFileT3L::kStaticLoadCases);
        t3lPhys = model.Count(CFileT3L::kPhysBeams);
        f.counts = {{"nodes", t3lNodes},       {"beams", t3lBeams},
                    {"supports", t3lSupports}, {"sections", t3lSections},
                    {"physical_beams", t3lPhys}, {"static_load_cases", t3lCases}};
        for (int b = 0; b < t3lBeams; ++b) {
          if (!model.SNodeOfBeam(b) || !model.ENodeOfBeam(b)) {
            c.Find("T3L", "bad_reference", "T3L beam " + std::to_string(b + 1) + " names a node that does not exist");
            break;
          }
        }
      }
    }
  }

  // Topology and its composite sections.
  bool haveTopo = false;
  long long nodes = 0, beams = 0, supports = 0, sections = 0, cases = 0, dynCases = 0, phys = 0;
  std::unique_ptr<CTOPO_REC> topo(new CTOPO_REC);
  {
    CheckedFile& f = c.Enter("TOP", job.TOP().GetString());
    if (!f.present) {
      c.Missing(f);
    } else if (!topo->Open(f.path.c_str())) {
      c.Imported(f, telio::GetLastError() != 0 ? telio::GetLastError() : telio::kErrorFileCorrupt);
    } else {
      c.Imported(f, 0);
      haveTopo = true;
      const TOPOStructs::TOPO_REC& t = *topo->GetTOPO_REC();
      nodes = t.nodeCount;
      beams = t.beamCount;
      supports = t.supportCount;
      sections = t.sectionCount;
      cases = topo->StaticCases();
      dynCases = topo->DynamicCases();
      phys = t.physBeamCount;
      f.counts = {{"nodes", nodes},         {"beams", beams},           {"supports", supports},
                  {"sections", sections},   {"physical_beams", phys},   {"static_load_cases", cases},
                  {"dynamic_load_cases", dynCases},
                  {"composite_sections", static_cast<long long>(topo->GetCOMPSECTS().count)}};
      for (long long b = 1; b <= beams; ++b) {
        if (t.startNode[b] < 1 || t.startNode[b] > nodes || t.endNode[b] < 1 || t.endNode[b] > nodes ||
            t.section[b] < 0 || t.section[b] > sections) {
          c.Find("TOP", "bad_reference", "TOP beam " + std::to_string(b) + " names a node or section that does not exist");
          break;
        }
      }
      CheckedFile& cs = c.Enter("CS", CTOPO_REC::CompSectsPath(f.path.c_str()).GetString());
      int composite = 0;
      for (long long s = 1; s <= sections; ++s) composite += t.sections[s].Family() == 104 ? 1 : 0;
      if (cs.present) {
        TOPOStructs::COMPSECTS read = {0, nullptr};
        telio::SetLastError(0);
        const int whole = CTOPO_REC::ReadCompSects(cs.path.c_str(), &read);
        const ulong32 code = telio::GetLastError();
        c.Imported(cs, whole ? 0 : code);
        cs.counts = {{"records", static_cast<long long>(read.count)}};
        // A file cut inside its records is read as far as it goes.
        if (whole && code == telio::kErrorHandleEof) {
          c.Find("CS", "size_mismatch",
                 "the composite-section file ends inside its records: " + std::to_string(read.count) +
                     " whole records read",
                 code, cs.path);
        }
        CTOPO_REC::FreeCompSects(&read);
      }
      for (long long s = 1; s <= sections; ++s) {
        const TOP_SEC& sec = t.sections[s];
        if (sec.Family() == 104 && !topo->GetCompositeSteelSection(&sec)) {
          c.Find("CS", "bad_reference",
                 "composite section " + std::to_string(s) + " has no record in the composite-section file");
        }
      }
      if (!cs.present && composite > 0) c.Missing(cs);
    }
  }
  if (haveTopo && t3lNodes >= 0) {
    c.Same("T3L", "nodes", t3lNodes, "TOP", nodes);
    c.Same("T3L", "beams", t3lBeams, "TOP", beams);
    c.Same("T3L", "supports", t3lSupports, "TOP", supports);
    c.Same("T3L", "sections", t3lSections, "TOP", sections);
    c.Same("T3L", "physical beams", t3lPhys, "TOP", phys);
    c.Same("T3L", "static load cases", t3lCases, "TOP", cases);
  }
  // The static load-case count the other files must follow.
  const long long staticCases = haveTopo ? cases : (t3lNodes >= 0 ? t3lCases : -1);

  // Run control.
  int jobVersion = 0;
  bool eak = false;
  {
    CheckedFile& f = c.Enter("JOB", job.JOB().GetString());
    if (!f.present) {
      c.Missing(f);
    } else {
      CFileJOB run;
      if (c.Imported(f, run.Import(f.path.c_str()))) {
        jobVersion = run.GetVersion();
        eak = run.IsJobEAK() == 1;
        const long long extra = run.GetLoadingCaseExtraData().GetSize();
        f.counts = {{"version", jobVersion}, {"eak", eak ? 1 : 0}, {"static_run", run.RunStatic()},
                    {"load_case_records", extra}};
        if (staticCases >= 0) c.Same("JOB", "load-case records", extra, "static load cases", staticCases);
      }
    }
  }

  // Static names.
  {
    CheckedFile& f = c.Enter("NAM", job.NAM().GetString());
    if (!f.present) {
      c.Missing(f);
    } else {
      CFileNAM nam;
      if (c.Imported(f, nam.Import(f.path.c_str()))) {
        f.counts = {{"names", nam.GetCountLdsNames()}};
        if (staticCases >= 0) c.Same("NAM", "names", nam.GetCountLdsNames(), "static load cases", staticCases);
      }
    }
  }

  // Dynamic counts and names.
  long long dcmCount = 0, denCount = 0;
  {
    CheckedFile& f = c.Enter("DCM", SidePath(job, "DCM"));
    CFileDCM dcm;
    if (f.present && c.Imported(f, dcm.Import(f.path.c_str()))) {
      dcmCount = dcm.GetNumberOfDynamicCombinations();
      f.counts = {{"dynamic_combinations", dcmCount}};
    }
  }
  {
    CheckedFile& f = c.Enter("DEN", SidePath(job, "DEN"));
    CFileDEN den;
    if (f.present && c.Imported(f, den.Import(f.path.c_str()))) {
      denCount = den.GetNumberOfDynamicEnvelopes();
      f.counts = {{"dynamic_envelopes", denCount}};
    }
  }
  {
    CheckedFile& f = c.Enter("DYN", SidePath(job, "DYN"));
    CFileDYN dyn;
    if (f.present && c.Imported(f, dyn.Import(f.path.c_str()))) {
      const long long names = dyn.GetCountLdsNames();
      f.counts = {{"names", names}};
      c.Same("DYN", "names", names, "TOP, DCM and DEN count", dynCases + dcmCount + denCount);
    }
  }

  // Combinations and their activation.
  long long combinations = -1;
  {
    CheckedFile& f = c.Enter("CMI", job.CMI().GetString());
    if (!f.present) {
      c.Missing(f);
    } else {
      CFileCMI cmi;
      if (c.Imported(f, cmi.Import(f.path.c_str()))) {
        combinations = cmi.GetNumberOfCombinations();
        f.counts = {{"combinations", combinations}};
        for (long32 i = 0; i < combinations && staticCases >= 0; ++i) {
          const CMI_REC* rec = cmi.GetCombination(i);
          bool bad = false;
          for (int t = 0; rec && t < rec->Count() && t < CMI_REC::kMaxTerms; ++t) {
            bad = bad || rec->Index(t) < 0 || rec->Index(t) >= staticCases;
          }
          if (bad) {
            c.Find("CMI", "bad_reference",
                   "CMI combination " + std::to_string(i + 1) + " adds a load case beyond the " +
                       std::to_string(staticCases) + " static load cases");
          }
        }
      }
    }
  }
  {
    CheckedFile& f = c.Enter("ACE", job.ACE().GetString());
    std::unique_ptr<CFileACE> ace(new CFileACE);
    if (f.present && c.Imported(f, ace->Import(f.path.c_str()))) {
      f.counts = {{"active_combinations", ace->GetActiveCombinations()},
                  {"active_envelopes", ace->GetActiveEnvelopes()}};
      if (combinations >= 0) {
        for (int i = static_cast<int>(combinations) + 1; i < CFileACE::kCmbListSize; ++i) {
          if (ace->CmbActivation(i) != CFileACE::kInactive) {
            c.Find("ACE", "count_mismatch",
                   "ACE activates combination " + std::to_string(i) + ", CMI holds " +
                       std::to_string(combinations));
            break;
          }
        }
      }
    }
  }

  // Static results.
  long long loadResults = (staticCases >= 0 && combinations >= 0) ? staticCases + combinations : -1;
  {
    CheckedFile& f = c.Enter("RES", job.RES().GetString());
    CFileRES res;
    ulong32 code = f.present ? res.Import(f.path.c_str()) : 0;
    if (code == 0xFFFFFFFFu) {
      // A side file failed: name it with its own code.
      const FileFailure side = ResSideFailure(f.path);
      const ulong32 sideCode = static_cast<ulong32>(side.code);
      f.error = sideCode;
      const std::string what = side.path == f.path ? std::string("its side files give impossible counts")
                                                   : "its side file " + side.path + " cannot be read";
      c.Find("RES", "read_error",
             "RES cannot be placed: " + what + " (error " + std::to_string(sideCode) + ": " +
                 telio::SystemErrorMessage(sideCode) + ")",
             sideCode, side.path);
    } else if (f.present && c.Imported(f, code)) {
      f.counts = {{"nodes", res.NumberOfNodes()},
                  {"beams", res.NumberOfBeams()},
                  {"supports", res.NumberOfSupports()},
                  {"static_load_cases", res.NumberOfStaticLCS()},
                  {"combinations", res.NumberOfCombinaiosn()},
                  {"eak", res.IsJobEAK()},
                  {"header_word", static_cast<long long>(res.HeaderWord())}};
      if (haveTopo) {
        c.Same("RES", "nodes", res.NumberOfNodes(), "TOP", nodes);
        c.Same("RES", "beams", res.NumberOfBeams(), "TOP", beams);
        c.Same("RES", "supports", res.NumberOfSupports(), "TOP", supports);
      }
      const long long block =
          (static_cast<long long>(res.NumberOfNodes()) + res.NumberOfSupports() + 2LL * res.NumberOfBeams()) *
          kResRecord;
      const long long want = kResRecord + block * res.NumberOfLoadsResults();
      const long long size = FileSize(f.path);
      if (size != want) {
        c.Find("RES", "size_mismatch",
               "RES holds " + std::to_string(size) + " bytes, " + std::to_string(res.NumberOfLoadsResults()) +
                   " load results of " + std::to_string(res.NumberOfNodes()) + " nodes, " +
                   std::to_string(res.NumberOfSupports()) + " supports and " +
                   std::to_string(res.NumberOfBeams()) + " beams need " + std::to_string(want),
               0, f.path);
      }
    }
  }

  // Intermediate-point results.
  {
    CheckedFile& f = c.Enter("OUC", job.OUC().GetString());
    CFileOUC ouc;
    ouc.SetUseBmidx(true);
    if (f.present && c.Imported(f, ouc.Import(f.path.c_str()))) {
      f.counts = {{"max_lce", ouc.GetMaxLCE()},
                  {"load_cases", ouc.GetLCNum()},
                  {"max_ip", ouc.GetMaxIP()},
                  {"max_beams_per_load_case", ouc.GetMaxBeamPerLC()}};
      if (jobVersion == kJobVersionWithLCE) {
        c.Same("OUC", "load-case table entries", ouc.GetMaxLCE(), eak ? "an EAK job needs" : "a job needs",
               eak ? 20803 : 400);
      } else if (ouc.GetMaxLCE() == 0) {
        c.Find("OUC", "count_mismatch", "OUC cannot be sized: the JOB file gives no table length");
      }
      if (loadResults >= 0 && ouc.GetMaxLCE() > 0) {
        c.Same("OUC", "load cases", ouc.GetLCNum(), "static load cases and combinations", loadResults);
      }
      if (haveTopo) {
        for (long32 lc = 0; lc < ouc.GetLCNum(); ++lc) {
          if (ouc.GetBeamsInLC(lc) > beams) {
            c.Find("OUC", "count_mismatch",
                   "OUC load case " + std::to_string(lc) + " holds " + std::to_string(ouc.GetBeamsInLC(lc)) +
                       " beam blocks, TOP " + std::to_string(beams) + " beams");
            break;
          }
        }
      }
    }
  }
  return report;
}

}  // namespace telio_tool
