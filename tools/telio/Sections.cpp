// `telio sections`: the section catalogue of the suite data folder, with
// the properties computed from each section's dimensions.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "Command.h"
#include "Suite.h"
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

int ListSections(const ToolOptions& opt, int family) {
  Suite suite;
  if (!UseCatalogue(opt, &suite)) return 1;
  const std::string pattern = suite.Catalogue() + "/FilesSectionDB/*.SEC";
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
  AddSuiteFields(suite, out);
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

class SectionsCommand : public Command {
 public:
  SectionsCommand()
      : Command("sections", "List the section catalogue with the properties computed from the dimensions",
                kRankSuite + 40) {}
  std::string Description() const override {
    return "Lists every section of the suite's catalogue (FilesSectionDB/*.SEC) with its key, family "
           "and shape, and the properties computed from its dimensions: A, Iy, Iz, Wel,y, Wpl,y, It and "
           "the mass per metre G, to four significant digits.\n\n"
           "  telio sections --family 12 --json";
  }
  void Define(CLI::App& cmd, ToolOptions& opt) override {
    cmd.add_option("--family", family_, "Only this family id")->type_name("F");
    AddJsonFlag(cmd, opt);
  }
  int Run(const ToolOptions& opt) override { return ListSections(opt, family_); }

 private:
  int family_ = 0;
};

CommandRegistrar<SectionsCommand> reg;

}  // namespace

}  // namespace telio_tool
