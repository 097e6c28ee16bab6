// `telio info|dump` for static results (RES) files. The counts come from
// the job's TOP, CMI and JOB files beside the RES file.
#include <string>

#include "FileKind.h"
#include "files/CFileRES.h"

namespace telio_tool {
namespace {

Json Values(const AnasisData& d) {
  Json v = Json::array();
  for (int k = 0; k < CFileRES::kValues; ++k) v.push_back(FloatValue(d.Value(k)));
  return v;
}

// Node results by node number; nodes without a record are left out.
Json NodeResults(const CArrayEx<AnasisData, const AnasisData&>& a) {
  Json list = Json::array();
  for (int i = 0; i < a.GetSize(); ++i) {
    if (a[i].NodeNumber() == 0) continue;
    list.push_back({{"node", a[i].NodeNumber()}, {"values", Values(a[i])}});
  }
  return list;
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

  unsigned long Dump(const std::string& path, const ToolOptions& opt, Json& out) override {
    CFileRES res;
    unsigned long code = res.Import(path.c_str());
    Summary(res, out);
    if (code != 0) return code;
    Json results = Json::array();
    for (int r = 0; r < res.NumberOfLoadsResults(); ++r) {
      if (opt.lc >= 0 && opt.lc != r) continue;
      Json forces = Json::array();
      auto f = res.GetForcesFor(r);
      for (int b = 0; b < f.GetSize(); ++b) {
        forces.push_back({{"beam", f[b].BeamNumber()},
                          {"first_end", Values(f[b].first)},
                          {"second_end", Values(f[b].second)}});
      }
      results.push_back({{"load_result", r},
                         {"kind", r < res.NumberOfStaticLCS() ? "static" : "combination"},
                         {"displacements", NodeResults(res.GetDisplacementsFor(r))},
                         {"reactions", NodeResults(res.GetReactionsFor(r))},
                         {"forces", forces}});
    }
    out["load_results"] = results;
    return 0;
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
