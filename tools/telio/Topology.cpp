#include "Topology.h"

#include <iostream>

#include "Tables.h"
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

}  // namespace

int RunTopology(const std::string& path, const ToolOptions& opt) {
  CTOPO_REC t;
  if (!t.Open(path.c_str())) {
    ulong32 code = telio::GetLastError();
    std::cerr << "telio: " << path << ": error " << code << ": "
              << telio::SystemErrorMessage(code) << '\n';
    return 1;
  }
  const TOPOStructs::TOPO_REC& r = *t.GetTOPO_REC();
  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = "topology";
  out["file"] = path;
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

}  // namespace telio_tool
