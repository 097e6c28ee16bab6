#include "MemberJobCheck.h"

#include <cmath>
#include <filesystem>
#include <memory>

#include "files/CFileNAM.h"
#include "mdd/CFileMDD.h"
#include "mdd/CFileMDL.h"
#include "platform/CPathObj.h"
#include "platform/LastError.h"
#include "platform/PathCase.h"

namespace telio_tool {

namespace {

using MDDStrucst::MLCHEADER;

constexpr int kMaxNodesPerSet = 20;
constexpr int kNameArea = 128;
constexpr int kCountArea = 200;
constexpr int kCaseArea = 20;
constexpr double kLengthTolerance = 0.001;

std::string Num(long long v) { return std::to_string(v); }

bool IsMdl(const std::string& path) { return CPathObj(path.c_str()).IsFileEXTOneOf("MDL") != 0; }

class MemberChecker {
 public:
  MemberChecker(JobCheckReport& r, CFileMDD& job, const std::string& path) : r_(r), job_(job), path_(path) {}

  void Run() {
    const bool mdl = IsMdl(path_);
    CheckedFile& job = Enter(mdl ? "MDL" : "MDD", path_);
    if (!job.present) {
      Find(job.kind, "missing_file", "the " + job.kind + " file is missing", 0, path_);
      return;
    }
    const ulong32 code = job_.Import(path_.c_str());
    r_.name = job_.GetNewData4Job().JobName().GetString();
    // Import gives 1 with the job kept when only its results cannot be had.
    if (code != 0 && !(code == 1 && job_.GetMembers())) {
      job.error = code;
      Find(job.kind, "read_error", job.kind + " cannot be read: error " + Num(code) + ": " +
                                       telio::SystemErrorMessage(code), code, path_);
      return;
    }
    job.read = true;
    members_ = job_.GetMemberCount();
    job.counts = {{"members", members_},
                   {"positions", job_.GetTotalPositions()},
                   {"capacity", job_.GetCapacity()},
                   {"points", job_.GetPointsCount()},
                   {"linked", job_.IsLinked() ? 1 : 0}};
    if (code == 1 && job_.IsLinked()) {
      Find("MDD", "bad_link", "the linked analysis job " + Linked("AJF") +
                                  " cannot be used: it needs a JOB recording a run and CMI and NAM files that read");
    } else if (code == 1) {
      Find("MLC", "missing_file", "the MLC file is missing", 0, Side("MLC"));
    }
    CheckPositions();
    if (job_.IsLinked()) {
      CheckLinkedMLC();
    } else if (code == 0) {
      CheckOwnMLC();
    }
    CheckRestraints();
    CheckBuckling();
    CheckDB0();
    if (mdl) CheckPurlins();
  }

 private:
  CheckedFile& Enter(const std::string& kind, const std::string& path) {
    CheckedFile f;
    f.kind = kind;
    f.path = path;
    std::error_code ec;
    f.present = std::filesystem::is_regular_file(telio::ResolvePathCase(path.c_str()), ec);
    r_.files.push_back(f);
    return r_.files.back();
  }

  void Find(const std::string& file, const std::string& code, const std::string& message, ulong32 error = 0,
            const std::string& path = std::string()) {
    r_.findings.push_back({file, code, message, error, path});
  }

  // Reads a side file with one of the job's readers; true when it read.
  bool Read(CheckedFile& f, int (CFileMDD::*read)(const char*)) {
    if (!f.present) return false;
    f.read = (job_.*read)(f.path.c_str()) != 0;
    if (!f.read) {
      f.error = telio::GetLastError();
      Find(f.kind, "read_error", f.kind + " cannot be read: error " + Num(f.error) + ": " +
                                     telio::SystemErrorMessage(f.error), f.error, f.path);
    }
    return f.read;
  }

  void SizeIs(const CheckedFile& f, long long want, const std::string& what) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(telio::ResolvePathCase(f.path.c_str()), ec);
    if (!ec && static_cast<long long>(size) != want) {
      Find(f.kind, "size_mismatch", f.kind + " holds " + Num(static_cast<long long>(size)) + " bytes, " + what +
                                        " need " + Num(want), 0, f.path);
    }
  }

  std::string Side(const char* ext) const {
    CPathObj p(path_.c_str());
    p.ChangeEXT(ext);
    return p.GetFullPath();
  }

  std::string Linked(const char* ext) const {
    const MDDStrucst::NewData4Job j = job_.GetNewData4Job();
    if (std::string(ext) == "AJF") return j.JobFolder().GetString();
    return std::string(j.JobFolder().GetString()) + "/" + j.JobName().GetString() + "." + ext;
  }

  const TOPOStructs::TOPO_REC* Topology() const { return job_.GetTopology().GetTOPO_REC(); }

  bool IsNode(int n) const { return Topology() && n >= 1 && n <= Topology()->nodeCount; }

  void CheckPositions() {
    const TOPOStructs::TOPO_REC* t = Topology();
    if (!t) {
      Find("TOP", "missing_file", "the job's topology cannot be opened", 0,
           job_.IsLinked() ? Linked("TOP") : Side("TOP"));
      return;
    }
    for (int m = 0; m < members_; ++m) {
      const int first = job_.GetBeamsPerMemberPos(m);
      const int count = job_.GetMembers()[m].BeamCount();
      for (int p = first; p < first + count; ++p) {
        const int b = job_.BeamsPerMemberPos(p);
        if (b < 1 || b > t->beamCount) {
          Find("MDD", "bad_reference", "member " + Num(m + 1) + " runs over beam " + Num(b) + ", the topology has " +
                                           Num(t->beamCount));
          return;
        }
        const int a = p > first ? job_.BeamsPerMemberPos(p - 1) : 0;
        if (a >= 1 && a <= t->beamCount && t->startNode[b] != t->startNode[a] && t->startNode[b] != t->endNode[a] &&
            t->endNode[b] != t->startNode[a] && t->endNode[b] != t->endNode[a]) {
          Find("MDD", "bad_reference", "member " + Num(m + 1) + " runs over beams " + Num(a) + " and " + Num(b) +
                                           ", which do not meet");
          return;
        }
      }
    }
  }

  void CheckLinkedMLC() {
    CheckedFile& f = Enter("MLC", Side("MLC"));
    if (!f.present) return;
    MLCHEADER head;
    if (!CFileMDD::ReadMLCHeader(f.path.c_str(), head)) {
      f.error = telio::GetLastError();
      Find("MLC", "read_error", "MLC cannot be read: error " + Num(f.error), f.error, f.path);
      return;
    }
    f.read = true;
    f.counts = {{"load_cases", head.LoadCases()}, {"members", head.Members()}};
    if (!job_.ReadMLCLinked(f.path.c_str())) {
      Find("RES", "read_error", "the results beside the MLC file cannot be read", 0, Side("RES"));
    }
    CFileNAM nam;
    if (nam.Import(Linked("NAM").c_str()) != 0) return;  // the link check has said so
    if (head.LoadCases() != nam.GetCountLdsNames()) {
      Find("MLC", "count_mismatch", "MLC names " + Num(head.LoadCases()) + " load cases, NAM " +
                                        Num(nam.GetCountLdsNames()));
      return;
    }
    for (int c = 0; c < head.LoadCases(); ++c) {
      if (head.Name(c).CompareNoCase(nam.LdsNames(c).GetString()) != 0) {
        Find("MLC", "value_mismatch", "MLC load case " + Num(c + 1) + " is \"" + head.Name(c).GetString() +
                                          "\", NAM \"" + nam.LdsNames(c).GetString() + "\"");
        return;
      }
    }
  }

  void CheckOwnMLC() {
    CheckedFile& f = Enter("MLC", Side("MLC"));
    f.read = true;  // Import read it
    const MLCHEADER head = job_.GetMLCHeader();
    const int cases = head.LoadCases(), members = head.Members();
    f.counts = {{"load_cases", cases}, {"members", members}};
    if (members != members_) Find("MLC", "count_mismatch", "MLC holds " + Num(members) + " members, the job " + Num(members_));
    if (cases > kNameArea || members > kCountArea || cases > kCaseArea) {
      Find("MLC", "overlapping_areas", "MLC areas overlap: " + Num(cases) + " load cases and " + Num(members) +
                                           " members, room for 20 load cases (128 names) and 200 members");
    }
    const CFileMDD::MemLCData& data = *job_.GetMemLCData();
    for (int m = 0; m < members && m < members_; ++m) {
      if (data[m].GetSize() < cases) {
        Find("MLC", "size_mismatch", "MLC holds " + Num(data[m].GetSize()) + " of the " + Num(cases) +
                                         " load-case blocks of member " + Num(m + 1), 0, f.path);
        return;
      }
      const int n = data[m].GetSize() > 0 ? data[m][0].GetSize() : 0;
      const float length = job_.GetMembers()[m].Length();
      if (n > 0 && std::fabs(static_cast<double>(data[m][0][n - 1][0]) - length) > kLengthTolerance) {
        Find("MLC", "value_mismatch", "MLC positions of member " + Num(m + 1) + " end at " +
                                          std::to_string(data[m][0][n - 1][0]) + ", the member is " +
                                          std::to_string(length) + " long");
        return;
      }
    }
  }

  // A member's node list: a count, then that many nodes of the topology.
  template <class NodeAt>
  bool NodesOk(const std::string& file, int member, int count, NodeAt node) {
    if (count < 0 || count > kMaxNodesPerSet) {
      Find(file, "bad_reference", file + " member " + Num(member + 1) + " names " + Num(count) + " nodes, at most 20");
      return false;
    }
    for (int j = 0; j < count; ++j) {
      if (!IsNode(node(j))) {
        Find(file, "bad_reference", file + " member " + Num(member + 1) + " names node " + Num(node(j)) +
                                        ", which the topology lacks");
        return false;
      }
    }
    return true;
  }

  void CheckRestraints() {
    CheckedFile& f = Enter("CNS", Side("CNS"));
    if (!Read(f, &CFileMDD::ReadCNS)) return;
    const long long perMember = 2LL * CFileMDD::kRestraintsPerSet * MDDStrucst::CONSTRAINT::kFileSize;
    SizeIs(f, CFileMDD::kCnsSlot * static_cast<long long>(job_.GetCapacity()) + perMember * members_,
           Num(members_) + " members");
    for (int s = 0; s < 2; ++s) {
      const CFileMDD::RestraintWords& words = *job_.GetConstraintsX(s);
      for (int m = 0; m < words.GetSize(); ++m) {
        const CArrayEx<short>& w = words[m];
        if (!NodesOk("CNS", m, w[0], [&w](int j) { return static_cast<int>(w[j + 1]); })) return;
      }
    }
  }

  void CheckBuckling() {
    CheckedFile& f = Enter("LTB", Side("LTB"));
    if (!Read(f, &CFileMDD::ReadLTB)) return;
    const CArrayEx<MDDStrucst::CONSTRAINTS_LTB>& heads = *job_.GetConstraintsLTB();
    const CArrayEx<CArrayEx<MDDStrucst::LTB_CONS>>& points = *job_.GetLTBbuf();
    for (int m = 0; m < heads.GetSize(); ++m) {
      const MDDStrucst::CONSTRAINTS_LTB& h = heads[m];
      if (!NodesOk("LTB", m, h.Count(), [&h](int j) { return static_cast<int>(h.Node(j)); })) return;
      if (heads[m].Count() > points[m].GetSize()) {
        Find("LTB", "count_mismatch", "LTB member " + Num(m + 1) + " names " + Num(heads[m].Count()) +
                                          " buckling nodes, the file holds " + Num(points[m].GetSize()) + " records");
        return;
      }
    }
  }

  void CheckDB0() {
    CheckedFile& f = Enter("DB0", Side("DB0"));
    if (!Read(f, &CFileMDD::ReadDB0)) return;
    std::error_code ec;
    const auto size = std::filesystem::file_size(telio::ResolvePathCase(f.path.c_str()), ec);
    if (!ec && (static_cast<long long>(size) - CFileMDD::kDb0Header) % CFileMDD::kDb0Record != 0) {
      Find("DB0", "size_mismatch", "DB0 ends inside a record", 0, f.path);
    }
  }

  void CheckPurlins() {
    CheckedFile& f = Enter("TGD", Side("TGD"));
    if (!f.present) {
      Find("TGD", "missing_file", "the TGD file is missing", 0, f.path);
      return;
    }
    f.read = true;
    SizeIs(f, CFileMDL::kTgdHeader + CFileMDL::kTgdRecord * static_cast<long long>(members_),
           Num(members_) + " purlin records");
  }

  JobCheckReport& r_;
  CFileMDD& job_;
  std::string path_;
  int members_ = 0;
};

}  // namespace

bool IsMemberJobPath(const std::string& path) { return CPathObj(path.c_str()).IsFileEXTOneOf("MDD;MDL") != 0; }

JobCheckReport CheckMemberJob(const std::string& path) {
  JobCheckReport report;
  report.files.reserve(16);  // entries are filled through references
  report.project = path;
  std::unique_ptr<CFileMDD> job(IsMdl(path) ? new CFileMDL : new CFileMDD);
  MemberChecker(report, *job, path).Run();
  return report;
}

}  // namespace telio_tool
