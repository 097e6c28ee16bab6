// `telio info|dump` for member-design jobs (MDD, MDL) and each file of
// their set (MLC, CNS, LTB, DB0, TGD). A side file that needs the job's
// counts is read through the MDD or MDL file beside it; an MLC file without
// a job, or of a linked job, shows its header alone.
//
// dump lists every member (--member M for the M-th, 1-based) with its
// record, analysis beams, forces per load case, restraints, buckling points
// and, for an MDL job, purlin record.
#include <memory>
#include <string>

#include "FileKind.h"
#include "mdd/CFileMDD.h"
#include "mdd/CFileMDL.h"
#include "platform/CPathObj.h"
#include "platform/LastError.h"

namespace telio_tool {
namespace {

using MDDStrucst::MLCHEADER;

std::string Side(const std::string& path, const char* ext) {
  CPathObj p(path.c_str());
  p.ChangeEXT(ext);
  return p.GetFullPath();
}

// The job of the set a side file belongs to: the MDD beside it, else the
// MDL. Null when neither is there.
std::unique_ptr<CFileMDD> JobBeside(const std::string& path, std::string* jobPath) {
  for (const char* ext : {"MDD", "MDL"}) {
    *jobPath = Side(path, ext);
    if (CPathObj(jobPath->c_str()).ExistsPath()) {
      return std::unique_ptr<CFileMDD>(ext[2] == 'L' ? new CFileMDL : new CFileMDD);
    }
  }
  return nullptr;
}

// Import's code, except that a job whose results alone cannot be had (1
// with the job kept) still shows.
unsigned long ImportJob(CFileMDD& job, const std::string& path) {
  const unsigned long code = job.Import(path.c_str());
  return code == 1 && job.GetMembers() ? 0 : code;
}

Json Floats(const float* v, int n) {
  Json a = Json::array();
  for (int i = 0; i < n; ++i) a.push_back(FloatValue(v[i]));
  return a;
}

Json Names(const MLCHEADER& h) {
  Json names = Json::array();
  for (int c = 0; c < h.LoadCases(); ++c) names.push_back(AnsiToUtf8(h.Name(c).GetString()));
  return names;
}

Json Restraints(CFileMDD& job, int m) {
  Json sets = Json::array();
  for (int s = 0; s < 2; ++s) {
    const CFileMDD::RestraintWords& words = *job.GetConstraintsX(s);
    const CFileMDD::Restraints& records = *job.GetConstraints(s);
    if (m >= words.GetSize()) continue;
    const int count = words[m][0];
    Json nodes = Json::array(), list = Json::array();
    for (int j = 0; j < count && j + 1 < words[m].GetSize(); ++j) {
      nodes.push_back(words[m][j + 1]);
      if (m < records.GetSize() && j < records[m].GetSize()) {
        const MDDStrucst::CONSTRAINT& c = records[m][j];
        list.push_back({{"kind", c.Kind()}, {"eta", FloatValue(c.Eta())}, {"factor", FloatValue(c.Factor())},
                        {"byte_13", c.Byte(13)}});
      }
    }
    sets.push_back({{"set", s}, {"nodes", nodes}, {"records", list}});
  }
  return sets;
}

Json Buckling(CFileMDD& job, int m) {
  if (m >= job.GetConstraintsLTB()->GetSize()) return Json();
  const MDDStrucst::CONSTRAINTS_LTB& h = (*job.GetConstraintsLTB())[m];
  Json nodes = Json::array(), points = Json::array();
  for (int j = 0; j < h.Count() && j < MDDStrucst::CONSTRAINTS_LTB::kMaxNodes; ++j) nodes.push_back(h.Node(j));
  if (m < job.GetLTBbuf()->GetSize()) {
    const CArrayEx<MDDStrucst::LTB_CONS>& recs = (*job.GetLTBbuf())[m];
    for (int j = 0; j < recs.GetSize() && j < h.Count(); ++j) {
      points.push_back({{"k_type", recs[j].KType()}, {"kw_type", recs[j].KwType()}, {"k", FloatValue(recs[j].K())},
                        {"kw", FloatValue(recs[j].KW())}});
    }
  }
  return {{"nodes", nodes}, {"points", points}};
}

Json LoadCases(CFileMDD& job, int m) {
  Json list = Json::array();
  const CFileMDD::MemLCData& data = *job.GetMemLCData();
  if (m >= data.GetSize()) return list;
  for (int c = 0; c < data[m].GetSize(); ++c) {
    Json positions = Json::array();
    for (int p = 0; p < data[m][c].GetSize(); ++p) positions.push_back(Floats(data[m][c][p].GetData(), CFileMDD::kKinds));
    list.push_back({{"load_case", c + 1}, {"positions", positions}});
  }
  return list;
}

Json Purlin(const MDDStrucst::TEGIDA& t) {
  Json shortValues = Json::array(), shortWords = Json::array(), longValues = Json::array(), longWords = Json::array();
  for (int k = 1; k <= MDDStrucst::TEGIDA::kShortTable; ++k) {
    shortValues.push_back(t.ShortValue(k));
    shortWords.push_back(t.ShortWord(k));
  }
  int last = 0;
  for (int k = 1; k <= MDDStrucst::TEGIDA::kLongTable; ++k) {
    if (t.LongValue(k) != 0.0 || t.LongWord(k) != 0) last = k;
  }
  for (int k = 1; k <= last; ++k) {
    longValues.push_back(t.LongValue(k));
    longWords.push_back(t.LongWord(k));
  }
  return {{"type", t.Type()},      {"value_4", t.Double(4)},         {"word_12", t.Int(12)},
          {"value_16", t.Double(16)}, {"word_24", t.Int(24)},       {"count", t.Count()},
          {"short_values", shortValues}, {"short_words", shortWords}, {"long_values", longValues},
          {"long_words", longWords}};
}

Json Member(CFileMDD& job, int m, const std::string& tgd) {
  const MDDStrucst::BLIST& r = job.GetMembers()[m];
  Json beams = Json::array();
  const int first = job.GetBeamsPerMemberPos(m);
  for (int p = first; p < first + r.BeamCount(); ++p) beams.push_back(job.BeamsPerMemberPos(p));
  Json j = {{"member", m + 1},         {"name", AnsiToUtf8(r.Name().GetString())},
            {"length", FloatValue(r.Length())}, {"family", r.Family()},
            {"profile", r.Profile()},  {"grade", r.Grade()},
            {"beam_count", r.BeamCount()}, {"has_ltb", r.HasLTB()},
            {"angle", FloatValue(r.Angle())}, {"section_id", r.SectionId()},
            {"beams", beams},          {"load_cases", LoadCases(job, m)},
            {"restraints", Restraints(job, m)}, {"buckling", Buckling(job, m)}};
  MDDStrucst::TEGIDA t;
  if (!tgd.empty() && CPathObj(tgd.c_str()).ExistsPath() && static_cast<CFileMDL&>(job).ReadTegida(tgd.c_str(), t, m) == 0) {
    j["purlin"] = Purlin(t);
  }
  return j;
}

class KindMemberJob : public FileKind {
 public:
  explicit KindMemberJob(bool mdl) : mdl_(mdl) {}
  const char* Name() const override { return mdl_ ? "MDL" : "MDD"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == Name(); }

  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    std::unique_ptr<CFileMDD> job(mdl_ ? new CFileMDL : new CFileMDD);
    const unsigned long code = ImportJob(*job, path);
    Summary(*job, path, out);
    return code;
  }

  unsigned long Dump(const std::string& path, const ToolOptions& opt, Json& out) override {
    std::unique_ptr<CFileMDD> job(mdl_ ? new CFileMDL : new CFileMDD);
    const unsigned long code = ImportJob(*job, path);
    Summary(*job, path, out);
    if (code != 0) return code;
    Json members = Json::array();
    const std::string tgd = mdl_ ? Side(path, "TGD") : std::string();
    for (int m = 0; m < job->GetMemberCount(); ++m) {
      if (opt.member < 1 || opt.member == m + 1) members.push_back(Member(*job, m, tgd));
    }
    out["members_data"] = members;
    Json points = Json::array();
    for (int i = 0; i < job->GetPointsCount(); ++i) {
      const MDDStrucst::Point3D& p = *job->GetPointAt(i);
      points.push_back({FloatValue(p.X()), FloatValue(p.Y()), FloatValue(p.Z())});
    }
    out["points_data"] = points;
    return 0;
  }

 private:
  static void Summary(CFileMDD& job, const std::string& path, Json& out) {
    const MDDStrucst::NewData4Job j = job.GetNewData4Job();
    out["job_name"] = AnsiToUtf8(j.JobName().GetString());
    out["job_folder"] = AnsiToUtf8(j.JobFolder().GetString());
    out["job_kind"] = j.JobKind();
    out["type"] = j.Type();
    out["version"] = job.GetOpenJob().Version();
    out["linked"] = job.IsLinked();
    out["capacity"] = job.GetCapacity();
    out["members"] = job.GetMemberCount();
    out["positions"] = job.GetTotalPositions();
    out["points"] = job.GetPointsCount();
    MLCHEADER head = job.GetMLCHeader();
    if (job.IsLinked() && !CFileMDD::ReadMLCHeader(Side(path, "MLC").c_str(), head)) head.SetLoadCases(0);
    out["load_cases"] = head.LoadCases();
    out["load_case_names"] = Names(head);
    const TOPOStructs::TOPO_REC* t = job.GetTopology().GetTOPO_REC();
    out["topology"] = t ? Json{{"nodes", t->nodeCount}, {"beams", t->beamCount}} : Json();
  }

  bool mdl_;
};

class KindMDD : public KindMemberJob {
 public:
  KindMDD() : KindMemberJob(false) {}
};
class KindMDL : public KindMemberJob {
 public:
  KindMDL() : KindMemberJob(true) {}
};

// A side file of the set, read through the job beside it.
class KindSide : public FileKind {
 public:
  unsigned long Info(const std::string& path, const ToolOptions& opt, Json& out) override {
    return Read(path, opt, out, false);
  }
  unsigned long Dump(const std::string& path, const ToolOptions& opt, Json& out) override {
    return Read(path, opt, out, true);
  }

 protected:
  virtual unsigned long Read(const std::string& path, const ToolOptions& opt, Json& out, bool dump) = 0;

  // Imports the job beside path, or gives 2 (with "job" naming where it was
  // looked for) when there is none.
  static unsigned long WithJob(const std::string& path, Json& out, std::unique_ptr<CFileMDD>& job) {
    std::string jobPath;
    job = JobBeside(path, &jobPath);
    out["job"] = job ? jobPath : Side(path, "MDD");
    if (!job) return telio::kErrorFileNotFound;
    return ImportJob(*job, jobPath);
  }

  // The code of one of the job's side readers on path.
  static unsigned long Code(int read) { return read ? 0 : telio::GetLastError(); }
};

class KindMLC : public KindSide {
 public:
  const char* Name() const override { return "MLC"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "MLC"; }

 protected:
  unsigned long Read(const std::string& path, const ToolOptions& opt, Json& out, bool dump) override {
    std::unique_ptr<CFileMDD> job;
    const bool withJob = WithJob(path, out, job) == 0 && !job->IsLinked();
    MLCHEADER head;
    if (withJob) {
      if (!job->ReadMLC(path.c_str())) return telio::GetLastError();
      head = job->GetMLCHeader();
    } else if (!CFileMDD::ReadMLCHeader(path.c_str(), head)) {
      return telio::GetLastError();
    }
    out["header_only"] = !withJob;
    out["load_cases"] = head.LoadCases();
    out["members"] = head.Members();
    out["names"] = Names(head);
    if (!withJob) return 0;
    Json counts = Json::array();
    for (int m = 0; m < head.Members(); ++m) counts.push_back(head.PositionCounts()[m]);
    out["position_counts"] = counts;
    if (!dump) return 0;
    Json members = Json::array();
    for (int m = 0; m < head.Members(); ++m) {
      if (opt.member < 1 || opt.member == m + 1) members.push_back({{"member", m + 1}, {"load_cases", LoadCases(*job, m)}});
    }
    out["members_data"] = members;
    return 0;
  }
};

// CNS and LTB: per member, through the job.
class KindMemberTables : public KindSide {
 public:
  explicit KindMemberTables(bool restraints) : restraints_(restraints) {}
  const char* Name() const override { return restraints_ ? "CNS" : "LTB"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == Name(); }

 protected:
  unsigned long Read(const std::string& path, const ToolOptions& opt, Json& out, bool dump) override {
    std::unique_ptr<CFileMDD> job;
    unsigned long code = WithJob(path, out, job);
    if (code != 0) return code;
    code = Code(restraints_ ? job->ReadCNS(path.c_str()) : job->ReadLTB(path.c_str()));
    out["members"] = job->GetMemberCount();
    out["capacity"] = job->GetCapacity();
    out["members_read"] = restraints_ ? job->GetConstraintsX(1)->GetSize() : job->GetConstraintsLTB()->GetSize();
    if (!dump) return code;
    Json members = Json::array();
    for (int m = 0; m < job->GetMemberCount(); ++m) {
      if (opt.member >= 1 && opt.member != m + 1) continue;
      members.push_back({{"member", m + 1}, {restraints_ ? "restraints" : "buckling",
                                             restraints_ ? Restraints(*job, m) : Buckling(*job, m)}});
    }
    out["members_data"] = members;
    return code;
  }

 private:
  bool restraints_;
};

class KindCNS : public KindMemberTables {
 public:
  KindCNS() : KindMemberTables(true) {}
};
class KindLTB : public KindMemberTables {
 public:
  KindLTB() : KindMemberTables(false) {}
};

class KindDB0 : public KindSide {
 public:
  const char* Name() const override { return "DB0"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "DB0"; }

 protected:
  unsigned long Read(const std::string& path, const ToolOptions&, Json& out, bool dump) override {
    CFileMDD reader;  // the tables need no counts of the job
    const unsigned long code = Code(reader.ReadDB0(path.c_str()));
    const struct {
      const char* name;
      CFileMDD::DB0Table* table;
    } tables[] = {{"bmfz", reader.GetBmFz()}, {"bmfy", reader.GetBmFy()}, {"bmlt", reader.GetBmlt()},
                  {"c1", reader.GetC1()},     {"c2", reader.GetC2()},     {"c3", reader.GetC3()}};
    Json cells = Json::object(), entries = Json::object();
    for (const auto& t : tables) {
      long long n = 0;
      Json list = Json::array();
      for (int i = 0; i < t.table->GetSize(); ++i) {
        for (int j = 0; j < (*t.table)[i].GetSize(); ++j) {
          const CArrayEx<float>& row = (*t.table)[i][j];
          n += row.GetSize();
          for (int k = 0; dump && k < row.GetSize(); ++k) list.push_back({i + 1, j + 1, k + 1, FloatValue(row[k])});
        }
      }
      cells[t.name] = n;
      if (dump) entries[t.name] = list;
    }
    out["cells"] = cells;
    if (dump) out["entries"] = entries;
    return code;
  }
};

class KindTGD : public KindSide {
 public:
  const char* Name() const override { return "TGD"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "TGD"; }

 protected:
  unsigned long Read(const std::string& path, const ToolOptions& opt, Json& out, bool dump) override {
    std::FILE* f = telio::OpenFile(path.c_str(), "rb");
    if (!f) return telio::GetLastError();
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fclose(f);
    const long records = size < CFileMDL::kTgdHeader ? 0 : (size - CFileMDL::kTgdHeader) / CFileMDL::kTgdRecord;
    out["records"] = records;
    if (!dump) return 0;
    CFileMDL reader;
    Json list = Json::array();
    for (long r = 0; r < records; ++r) {
      if (opt.member >= 1 && opt.member != r + 1) continue;
      MDDStrucst::TEGIDA t;
      const int code = reader.ReadTegida(path.c_str(), t, static_cast<int>(r));
      if (code != 0) return static_cast<unsigned long>(code);
      Json j = Purlin(t);
      j["record"] = r + 1;
      list.push_back(j);
    }
    out["records_data"] = list;
    return 0;
  }
};

static KindRegistrar<KindMDD> regMdd;
static KindRegistrar<KindMDL> regMdl;
static KindRegistrar<KindMLC> regMlc;
static KindRegistrar<KindCNS> regCns;
static KindRegistrar<KindLTB> regLtb;
static KindRegistrar<KindDB0> regDb0;
static KindRegistrar<KindTGD> regTgd;

}  // namespace
}  // namespace telio_tool
