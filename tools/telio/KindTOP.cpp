// `telio info|dump` for topology (TOP) files.
#include <string>

#include "FileKind.h"
#include "files/CFileTOP.h"

namespace telio_tool {
namespace {

class KindTOP : public FileKind {
 public:
  const char* Name() const override { return "TOP"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "TOP"; }

  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    CFileTOP top;
    unsigned long code = top.Import(path.c_str());
    if (code != 0) return code;
    Summary(*top.GetTOPO_CURDIMS_REC(), out);
    return 0;
  }

  unsigned long Dump(const std::string& path, const ToolOptions& opt, Json& out) override {
    CFileTOP top;
    unsigned long code = top.Import(path.c_str());
    if (code != 0) return code;
    const TOPO_CURDIMS_REC& r = *top.GetTOPO_CURDIMS_REC();
    Summary(r, out);

    Json nodes = Json::array();
    for (unsigned i = 0; i < r.NodeCount(); ++i) {
      const TOP_NODE& n = r.nodes[i];
      nodes.push_back({{"number", i + 1}, {"label", n.Label()}, {"x", n.X()}, {"y", n.Y()},
                       {"z", n.Z()}, {"restraint", n.Restraint()}});
    }
    out["nodes"] = nodes;

    Json beams = Json::array();
    for (unsigned i = 0; i < r.BeamCount(); ++i) {
      if (opt.beam > 0 && static_cast<long>(i + 1) != opt.beam) continue;
      const TOP_BEAM& b = r.beams[i];
      beams.push_back({{"number", i + 1}, {"label", b.Label()}, {"section", b.Section()},
                       {"start_node", b.StartNode()}, {"end_node", b.EndNode()},
                       {"angle", r.angles[i]}});
    }
    out["beams"] = beams;

    Json supports = Json::array();
    for (unsigned i = 0; i < r.SupportCount(); ++i) {
      supports.push_back({{"number", i + 1}, {"node", r.supports[i].Node()}});
    }
    out["supports"] = supports;

    Json sections = Json::array();
    for (unsigned i = 0; i < r.SectionCount(); ++i) {
      const TOP_SEC& s = r.sections[i];
      Json j = {{"number", i + 1},
                {"name", AnsiToUtf8(s.Name().GetString())},
                {"family", s.Family()},
                {"sub_number", s.SubNumber()}};
      if (s.HasCatalogueKey()) j["catalogue_key"] = s.Key();
      if (s.Prs()) {
        Json values = Json::array();
        for (int k = 0; k < 7; ++k) values.push_back(s.Prs()->Value(k));
        j["property_block"] = {{"head", s.Prs()->Head()}, {"values", values},
                               {"tail", s.Prs()->Tail()}};
      }
      if (s.HasCompositeData()) {
        Json values = Json::array();
        for (int k = 0; k < TOP_SEC::kCompositeValues; ++k) values.push_back(s.Composite(k));
        j["composite"] = values;
      }
      sections.push_back(j);
    }
    out["sections"] = sections;

    Json phys = Json::array();
    for (unsigned i = 0; i < r.PhysBeamCount(); ++i) {
      const CURPHBM_REC_TOPO& p = r.physBeams[i];
      Json list = Json::array();
      for (int k = 0; k < p.BeamCount() && p.beams; ++k) list.push_back(p.beams[k]);
      phys.push_back({{"number", i + 1}, {"label", p.Label()}, {"first_node", p.FirstNode()},
                      {"last_node", p.LastNode()}, {"beams", list}});
    }
    out["physical_beams"] = phys;
    return 0;
  }

 private:
  static void Summary(const TOPO_CURDIMS_REC& r, Json& out) {
    out["counts"] = {{"nodes", r.NodeCount()},
                     {"beams", r.BeamCount()},
                     {"supports", r.SupportCount()},
                     {"sections", r.SectionCount()},
                     {"physical_beams", r.PhysBeamCount()},
                     {"static_load_cases", r.StaticLoadCases()},
                     {"dynamic_load_cases", r.DynamicLoadCases()}};
    out["space_model"] = r.Is3D();
    out["model_word"] = r.ModelWord();
  }
};

static KindRegistrar<KindTOP> reg;

}  // namespace
}  // namespace telio_tool
