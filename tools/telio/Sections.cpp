#include "Sections.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "Tables.h"
#include "platform/LastError.h"
#include "sections/CSectionFiles.h"

namespace telio_tool {

namespace {

const char* ShapeName(int shape) {
  switch (shape) {
    case kShapeRolledI: return "rolled I";
    case kShapeWeldedI: return "welded I";
    case kShapeChannel: return "channel";
    case kShapeAngle: return "angle";
    case kShapeDoubleAngle: return "double angle";
    case kShapeTee: return "tee";
    case kShapeCircularHollow: return "circular hollow";
    case kShapeRectHollow: return "rectangular hollow";
    case kShapeRoundBar: return "round bar";
    case kShapeRectBar: return "flat bar";
    default: return "unknown";
  }
}

// Four significant digits, as the published tables print them.
double Round4(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4g", v);
  return std::strtod(buf, nullptr);
}

}  // namespace

int RunSections(const ToolOptions& opt, int family) {
  std::string suite = ResolveSuiteFolder(opt);
  if (suite.empty()) suite = TELIO_SOURCE_DATA_DIR;
  const std::string pattern = suite + "/FilesSectionDB/*.SEC";
  CSectionFiles catalogue;
  const ulong32 code = catalogue.Load(pattern.c_str());
  if (code != 0) {
    std::cerr << "telio: " << pattern << ": error " << code << ": " << telio::SystemErrorMessage(code);
    if (!catalogue.GetLoadError().IsEmpty()) std::cerr << " (" << catalogue.GetLoadError().GetString() << ")";
    std::cerr << '\n';
    return 1;
  }
  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = "sections";
  out["suite"] = suite;
  Json files = Json::array();
  for (int i = 0; i < catalogue.GetFileCount(); ++i) files.push_back(catalogue.GetFileName(i).GetString());
  out["files"] = files;
  if (family != 0) out["family"] = family;
  Json list = Json::array();
  for (int i = 0; i < catalogue.GetCount(); ++i) {
    const CSectionData& d = *catalogue.GetAt(i);
    if (family != 0 && d.family != family) continue;
    Json s;
    s["key"] = d.key;
    s["family"] = d.family;
    s["name"] = d.name;
    s["shape"] = ShapeName(d.shape);
    if (d.shape == kShapeDoubleAngle) {
      s["angle"] = d.baseName;
      s["arrangement"] = d.arrangement;
      s["spacing_mm"] = d.spacing;
    }
    s["A_cm2"] = Round4(d.A);
    s["Iy_cm4"] = Round4(d.Iy);
    s["Iz_cm4"] = Round4(d.Iz);
    s["Wel_y_cm3"] = Round4(d.Wely);
    s["Wpl_y_cm3"] = Round4(d.Wply);
    s["It_cm4"] = Round4(d.It);
    s["G_kg_m"] = Round4(d.G);
    list.push_back(s);
  }
  out["count"] = list.size();
  out["sections"] = list;
  PrintResult(out, opt);
  return 0;
}

}  // namespace telio_tool
