// `telio entities FILE.TOP`: the analysis entity lists made from a topology,
// with the count of each list, what the fill merged or refused, the extent
// of the nodes and the extreme values the model keeps.
#include <iostream>

#include "Command.h"
#include "platform/LastError.h"
#include "topology/CEntity.h"
#include "topology/CTOPO_REC.h"

namespace telio_tool {

namespace {

using namespace ENTITIESStructs;

int Fail(const std::string& path) {
  ReportFileError(path, telio::GetLastError());
  return 1;
}

Json Lists(const CEntity& e) {
  Json out = Json::array();
  for (int i = 0; i < ENTITIESConstants::EntCount; ++i) {
    const Entity* list = e.GetEntity(i);
    if (!list->Name()[0]) continue;
    out.push_back({{"index", i},
                   {"name", list->Name()},
                   {"count", list->Count()},
                   {"selected", list->SelectedCount()}});
  }
  return out;
}

Json Extents(const CEntity& e) {
  const B_Node* n = FirstItem<B_Node>(e.GetEntity(ENTITIESConstants::EntNode));
  if (!n) return Json();
  float lo[3] = {n->X(), n->Y(), n->Z()}, hi[3] = {n->X(), n->Y(), n->Z()};
  for (; n; n = NextItem(n)) {
    const float v[3] = {n->X(), n->Y(), n->Z()};
    for (int k = 0; k < 3; ++k) {
      if (v[k] < lo[k]) lo[k] = v[k];
      if (v[k] > hi[k]) hi[k] = v[k];
    }
  }
  return {{"x_min", FloatValue(lo[0])}, {"x_max", FloatValue(hi[0])},
          {"y_min", FloatValue(lo[1])}, {"y_max", FloatValue(hi[1])},
          {"z_min", FloatValue(lo[2])}, {"z_max", FloatValue(hi[2])}};
}

int UnusedSections(const CEntity& e) {
  int n = 0;
  for (auto* s = FirstItem<Section>(e.GetEntity(ENTITIESConstants::EntSection)); s; s = NextItem(s)) {
    if (s->Users() < 1) ++n;
  }
  return n;
}

// Exit status 0, or 1 when the topology cannot be opened or filled.
int RunEntities(const std::string& path, const ToolOptions& opt) {
  CTOPO_REC topo;
  if (!topo.Open(path.c_str())) return Fail(path);
  CEntity e;
  if (!e.GenerateFromTOPO_REC(topo.GetTOPO_REC())) return Fail(path);
  const TOPOStructs::TOPO_REC& r = *topo.GetTOPO_REC();
  const CEntity::LoadExtremes& load = e.GetLoadExtremes();
  const CEntity::ResultExtremes& res = e.GetResultExtremes();
  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = "entities";
  out["file"] = path;
  out["topology"] = {{"nodes", r.nodeCount}, {"beams", r.beamCount}, {"sections", r.sectionCount}};
  out["lists"] = Lists(e);
  out["merged_nodes"] = r.nodeCount - e.GetEntity(ENTITIESConstants::EntNode)->Count();
  out["refused_beams"] = r.beamCount - e.GetEntity(ENTITIESConstants::EntBeam)->Count();
  out["unused_sections"] = UnusedSections(e);
  out["extents"] = Extents(e);
  out["load_extremes"] = {{"node_max", FloatValue(load.nodeMax)}, {"node_min", FloatValue(load.nodeMin)},
                          {"beam_max", FloatValue(load.beamMax)}, {"beam_min", FloatValue(load.beamMin)},
                          {"max", FloatValue(load.max)},          {"min", FloatValue(load.min)}};
  out["result_extremes"] = {{"displacement_max", FloatValue(res.displMax)},
                            {"displacement_min", FloatValue(res.displMin)},
                            {"force_max", FloatValue(res.forcesMax)},
                            {"force_min", FloatValue(res.forcesMin)}};
  PrintResult(out, opt);
  return 0;
}

class EntitiesCommand : public PathCommand {
 public:
  EntitiesCommand()
      : PathCommand("entities", "The analysis entity lists made from a TOP file", kRankFiles + 40, "FILE",
                    "The TOP file") {}
  std::string Description() const override {
    return "Opens the topology and fills the analysis entity lists from it, as a host application "
           "does: the count of each list, the nodes merged because they coincide, the beams refused, "
           "the sections no beam uses, the extent of the nodes and the extreme load and result "
           "values.\n\n"
           "  telio entities Bridge.AJF/Bridge.TOP --json";
  }
  int Run(const ToolOptions& opt) override { return RunEntities(Path(), opt); }
};

CommandRegistrar<EntitiesCommand> reg;

}  // namespace

}  // namespace telio_tool
