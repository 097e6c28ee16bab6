// `telio info|dump` for model (T3L) files.
#include <string>

#include "FileKind.h"
#include "files/CFileT3L.h"

namespace telio_tool {
namespace {

std::string Text(const DIMS_BUF_EX& d, int offset) {
  int n = 0;
  while (n < DIMS_BUF_EX::kTextWidth && d.b[offset + n]) ++n;
  return AnsiToUtf8(d.Text(offset), n);
}

class KindT3L : public FileKind {
 public:
  const char* Name() const override { return "T3L"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "T3L"; }

  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    CFileT3L f;
    unsigned long code = f.Import(path.c_str());
    if (code != 0) return code;
    f.OemToCharSectC();
    Summary(f, out);
    return 0;
  }

  unsigned long Dump(const std::string& path, const ToolOptions& opt, Json& out) override {
    CFileT3L f;
    unsigned long code = f.Import(path.c_str());
    if (code != 0) return code;
    f.OemToCharSectC();
    Summary(f, out);
    const DIMS_BUF_EX d = f.Dim();
    out["texts"] = {Text(d, DIMS_BUF_EX::kText1), Text(d, DIMS_BUF_EX::kText2),
                    Text(d, DIMS_BUF_EX::kText3)};

    Json nodes = Json::array();
    for (int i = 0; i < f.Count(CFileT3L::kNodes); ++i) {
      nodes.push_back({{"number", i + 1}, {"raw", HexBytes(f.Node(i)->b, 32)}});
    }
    out["nodes"] = nodes;

    Json beams = Json::array();
    for (int i = 0; i < f.Count(CFileT3L::kBeams); ++i) {
      if (opt.beam > 0 && i + 1 != opt.beam) continue;
      const REC32A* b = f.Beam(i);
      beams.push_back({{"number", i + 1}, {"start_node", b->StartNode()}, {"end_node", b->EndNode()},
                       {"section", b->SectionNo()}, {"material", b->MaterialNo()},
                       {"raw", HexBytes(b->b, 32)}});
    }
    out["beams"] = beams;

    Json phys = Json::array();
    for (int i = 0; i < f.Count(CFileT3L::kPhysBeams); ++i) {
      const REC128* b = f.Buf(i);
      phys.push_back({{"number", i + 1}, {"first_node", b->FirstNode()}, {"second_node", b->SecondNode()},
                      {"raw", HexBytes(b->b, 128)}});
    }
    out["physical_beams"] = phys;

    Json supports = Json::array();
    for (int i = 0; i < f.Count(CFileT3L::kSupports); ++i) {
      supports.push_back({{"number", i + 1}, {"node", f.Supp(i)->SupportNode()}, {"raw", HexBytes(f.Supp(i)->b, 64)}});
    }
    out["supports"] = supports;

    Json sections = Json::array();
    for (int i = 0; i < f.Count(CFileT3L::kSections); ++i) {
      const REC96A* s = f.Section(i);
      sections.push_back({{"number", i + 1}, {"name", AnsiToUtf8(s->Name(), s->NameLength())}});
    }
    out["sections"] = sections;

    Json cases = Json::array();
    for (int i = 0; i < f.Count(CFileT3L::kStaticLoadCases); ++i) {
      if (opt.lc >= 0 && i != opt.lc) continue;
      const LOADCASE_EXTRA* e = f.LoadingCaseExtra(i);
      cases.push_back({{"number", i + 1}, {"self_weight_count", f.StaticLoad(i)->SelfWeightCount()},
                       {"extra", {{"first", e->First()}, {"second", e->Second()}, {"value", e->Value()}}},
                       {"raw", HexBytes(f.StaticLoad(i)->b, 32)}});
    }
    out["static_load_cases"] = cases;

    RawTable(f, CFileT3L::kConnections, "connections", out);
    RawTable(f, CFileT3L::kMaterials, "materials", out);
    RawTable(f, CFileT3L::kStaticBeamLoads, "static_beam_loads", out);
    RawTable(f, CFileT3L::kStaticNodeLoads, "static_node_loads", out);
    RawTable(f, CFileT3L::kBeamMasses, "beam_masses", out);
    RawTable(f, CFileT3L::kNodeMasses, "node_masses", out);
    return 0;
  }

 private:
  static void RawTable(const CFileT3L& f, int kind, const char* name, Json& out) {
    Json rows = Json::array();
    const auto* base = kind == CFileT3L::kConnections   ? f.Conns()
                       : kind == CFileT3L::kMaterials    ? f.Mates()
                       : kind == CFileT3L::kStaticBeamLoads ? f.StaticBeamLoads()
                       : kind == CFileT3L::kStaticNodeLoads ? f.StaticNodeLoads()
                       : kind == CFileT3L::kBeamMasses   ? f.BeamMasses()
                                                         : f.NodeMasses();
    for (int i = 0; i < f.Count(kind); ++i) {
      rows.push_back({{"number", i + 1}, {"raw", HexBytes(base[i].b, 64)}});
    }
    out[name] = rows;
  }

  static void Summary(const CFileT3L& f, Json& out) {
    out["layout"] = f.ReadExtendedLayout() ? "extended" : "classic";
    out["system"] = static_cast<int>(f.System());
    out["counts"] = {
        {"nodes", f.Count(CFileT3L::kNodes)},
        {"beams", f.Count(CFileT3L::kBeams)},
        {"physical_beams", f.Count(CFileT3L::kPhysBeams)},
        {"supports", f.Count(CFileT3L::kSupports)},
        {"connections", f.Count(CFileT3L::kConnections)},
        {"sections", f.Count(CFileT3L::kSections)},
        {"materials", f.Count(CFileT3L::kMaterials)},
        {"static_load_cases", f.Count(CFileT3L::kStaticLoadCases)},
        {"static_beam_loads", f.Count(CFileT3L::kStaticBeamLoads)},
        {"static_node_loads", f.Count(CFileT3L::kStaticNodeLoads)},
        {"beam_masses", f.Count(CFileT3L::kBeamMasses)},
        {"node_masses", f.Count(CFileT3L::kNodeMasses)},
    };
    Json names = Json::array();
    for (int i = 0; i < f.Count(CFileT3L::kSections); ++i) {
      names.push_back(AnsiToUtf8(f.Section(i)->Name(), f.Section(i)->NameLength()));
    }
    out["sections"] = names;
  }
};

static KindRegistrar<KindT3L> reg;

}  // namespace
}  // namespace telio_tool
