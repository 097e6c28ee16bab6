// `telio info|dump` for static results (RES) files. The counts come from
// the job's TOP, CMI and JOB files beside the RES file.
//
// dump lists, for every load result (--lc R for one), the displacements and
// reactions of the nodes and the end forces of the beams. --beam B narrows
// it to that beam's forces, --node N to that node's displacements and
// reactions; both together give both. The dump is written one load result
// at a time.
#include <string>

#include "DocumentWriter.h"
#include "FileKind.h"
#include "ResSides.h"
#include "files/CFileRES.h"

namespace telio_tool {
namespace {

Json Values(const AnasisData& d) {
  Json v = Json::array();
  for (int k = 0; k < CFileRES::kValues; ++k) v.push_back(FloatValue(d.Value(k)));
  return v;
}

// Node results by node number; nodes without a record are left out.
// node: only this node (1-based), or -1 for all.
Json NodeResults(const CArrayEx<AnasisData, const AnasisData&>& a, long node) {
  Json list = Json::array();
  for (int i = 0; i < a.GetSize(); ++i) {
    if (a[i].NodeNumber() == 0 || (node >= 0 && i + 1 != node)) continue;
    list.push_back({{"node", a[i].NodeNumber()}, {"values", Values(a[i])}});
  }
  return list;
}

Json Forces(const AnasisForces& f) {
  return {{"beam", f.BeamNumber()}, {"first_end", Values(f.first)}, {"second_end", Values(f.second)}};
}

class KindRES : public FileKind {
 public:
  const char* Name() const override { return "RES"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "RES"; }

  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    CFileRES res;
    unsigned long code = res.Import(path.c_str());
    Summary(res, out);
    return code;
  }

  unsigned long StreamDump(const std::string& path, const ToolOptions& opt, DocumentWriter& w) override {
    CFileRES res;
    unsigned long code = res.Import(path.c_str());
    if (code != 0) return code;
    CheckChoice(opt.lc, 0, res.NumberOfLoadsResults() - 1, "load result");
    CheckChoice(opt.beam, 1, res.NumberOfBeams(), "beam");
    CheckChoice(opt.node, 1, res.NumberOfNodes(), "node");
    const bool nodes = opt.beam < 0 || opt.node >= 0;
    const bool beams = opt.node < 0 || opt.beam >= 0;
    Json head;
    Summary(res, head);
    w.Fields(head);
    w.OpenArray("load_results");
    for (int r = 0; r < res.NumberOfLoadsResults(); ++r) {
      if (opt.lc >= 0 && opt.lc != r) continue;
      Json one = {{"load_result", r}, {"kind", r < res.NumberOfStaticLCS() ? "static" : "combination"}};
      if (nodes) {
        one["displacements"] = NodeResults(res.GetDisplacementsFor(r), opt.node);
        one["reactions"] = NodeResults(res.GetReactionsFor(r), opt.node);
      }
      if (beams) {
        Json forces = Json::array();
        if (opt.beam >= 0) {
          if (const AnasisForces* f = res.GetForcesFor(r, static_cast<int>(opt.beam) - 1)) forces.push_back(Forces(*f));
        } else {
          auto all = res.GetForcesFor(r);
          for (int b = 0; b < all.GetSize(); ++b) forces.push_back(Forces(all[b]));
        }
        one["forces"] = forces;
      }
      w.Element(one);
    }
    w.Close();
    return 0;
  }

  long long DumpBytes(const std::string& path, const ToolOptions& opt) override {
    if (opt.beam >= 0 || opt.node >= 0) return 0;
    CFileRES res;
    if (res.Import(path.c_str()) != 0) return 0;
    const long long block = (static_cast<long long>(res.NumberOfNodes()) + res.NumberOfSupports() +
                             2LL * res.NumberOfBeams()) * CFileRES::kRecordSize;
    return block * (opt.lc >= 0 ? 1 : res.NumberOfLoadsResults());
  }

  FileFailure Failure(const std::string& path, unsigned long code) override {
    if (code == 0xFFFFFFFFu) return ResSideFailure(path);
    return FileKind::Failure(path, code);
  }

 private:
  static void Summary(const CFileRES& res, Json& out) {
    out["header_word"] = res.HeaderWord();
    out["eak"] = res.IsJobEAK() != 0;
    out["space_model"] = res.IsJob3D() != 0;
    out["counts"] = {{"nodes", res.NumberOfNodes()},
                     {"beams", res.NumberOfBeams()},
                     {"supports", res.NumberOfSupports()},
                     {"static_load_cases", res.NumberOfStaticLCS()},
                     {"combinations", res.NumberOfCombinaiosn()}};
  }
};

static KindRegistrar<KindRES> reg;

}  // namespace
}  // namespace telio_tool
