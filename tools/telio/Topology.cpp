// `telio topology FILE.TOP`: the topology model opened as the analysis
// readers see it (counts, sections with their catalogue names and keys after
// resolution, composite sections from the CS companion).
#include <iostream>

#include "Command.h"
#include "Suite.h"
#include "platform/LastError.h"
#include "topology/CTOPO_REC.h"

namespace telio_tool {

namespace {

Json Sections(const CTOPO_REC& t) {
  const TOPOStructs::TOPO_REC& r = *t.GetTOPO_REC();
  Json out = Json::array();
  for (int i = 1; i <= r.sectionCount; ++i) {
    const TOP_SEC& s = r.sections[i];
    Json j = {{"number", i},
              {"name", AnsiToUtf8(s.Name().GetString())},
              {"family", s.Family()},
              {"sub_number", s.SubNumber()},
              {"catalogue_key", s.Key()}};
    if (s.Prs()) {
      Json values = Json::array();
      for (int k = 0; k < 7; ++k) values.push_back(FloatValue(s.Prs()->Value(k)));
      j["property_values"] = values;
    }
    if (const TOP_SEC* steel = t.GetCompositeSteelSection(&s)) {
      j["steel_section"] = static_cast<int>(steel - r.sections);
    }
    out.push_back(j);
  }
  return out;
}

Json CompositeSections(const CTOPO_REC& t) {
  const TOPOStructs::COMPSECTS& cs = t.GetCOMPSECTS();
  const TOPOStructs::TOPO_REC& r = *t.GetTOPO_REC();
  Json out = Json::array();
  for (ulong32 i = 0; i < cs.count; ++i) {
    ulong32 steel = cs.records[i].SteelSection();
    Json j = {{"record", i + 1}, {"steel_section", steel}};
    if (const TOP_SEC* s = r.Section(static_cast<int>(steel))) {
      j["steel_name"] = AnsiToUtf8(s->Name().GetString());
    }
    out.push_back(j);
  }
  return out;
}

int ShowTopology(const std::string& path, const ToolOptions& opt) {
  Suite suite;
  if (!UseSuite(opt, &suite)) return 1;
  CTOPO_REC t;
  if (!t.Open(path.c_str())) {
    ReportFileError(path, telio::GetLastError());
    return 1;
  }
  const TOPOStructs::TOPO_REC& r = *t.GetTOPO_REC();
  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = "topology";
  out["file"] = path;
  AddSuiteFields(suite, out);
  out["space_model"] = r.flag3D != 0;
  out["nodes"] = r.nodeCount;
  out["beams"] = r.beamCount;
  out["supports"] = r.supportCount;
  out["sections"] = r.sectionCount;
  out["physical_beams"] = r.physBeamCount;
  out["static_load_cases"] = t.StaticCases();
  out["dynamic_load_cases"] = t.DynamicCases();
  out["model_word"] = r.modelWord;
  out["composite_file"] = CTOPO_REC::CompSectsPath(path.c_str()).GetString();
  out["section_list"] = Sections(t);
  out["composite_sections"] = CompositeSections(t);
  PrintResult(out, opt);
  return 0;
}

class TopologyCommand : public PathCommand {
 public:
  TopologyCommand()
      : PathCommand("topology", "Open a TOP file as a topology model", kRankFiles + 30, "FILE", "The TOP file") {}
  std::string Description() const override {
    return "Opens the topology as the analysis readers do: the counts, every section with its catalogue "
           "name and key after it is resolved against the suite's section catalogue, and the composite "
           "sections of the CS file beside it.";
  }
  int Run(const ToolOptions& opt) override { return ShowTopology(Path(), opt); }
};

CommandRegistrar<TopologyCommand> reg;

}  // namespace

}  // namespace telio_tool
