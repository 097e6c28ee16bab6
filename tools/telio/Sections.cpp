// `telio sections`: the section catalogue of the suite data folder, with
// the properties computed from each section's dimensions; with --key F,P,ID
// the section object the section bridge builds for that catalogue key
// (family F, sub-number P, catalogue key ID), with its keyed values and the
// section data it converts to.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "Command.h"
#include "Suite.h"
#include "objects/data/CISectionElement.h"
#include "platform/LastError.h"
#include "platform/TelKrnl.h"
#include "sections/CSectionFiles.h"
#include "sections/SectionObjectBridge.h"

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

// "F,P,ID": three whole numbers, F and P of int range, ID of 32 bits.
bool ParseKey(const std::string& text, int* family, int* sub, ulong32* id) {
  long long v[3];
  int used = 0;
  if (std::sscanf(text.c_str(), "%lld,%lld,%lld%n", &v[0], &v[1], &v[2], &used) != 3 ||
      used != static_cast<int>(text.size())) {
    return false;
  }
  if (v[0] < 0 || v[0] > 32767 || v[1] < 0 || v[1] > 32767 || v[2] < 0 || v[2] > 0xFFFFFFFFLL) return false;
  *family = static_cast<int>(v[0]);
  *sub = static_cast<int>(v[1]);
  *id = static_cast<ulong32>(v[2]);
  return true;
}

// Names of the section element values, by SectionValue.
const char* const kValueNames[] = {
    "height_front", "height_back", "width_up", "width_down", "t_flange_up", "t_flange_down", "t_web",
    "c_param",      "hc_param",    "he_param", "angle_out",  "angle_in",    "rad_in",        "rad_out",
    "ey",           "ez",          "ax",       "ay",         "az",          "it",            "iy",
    "iz",           "wel",         "wpl",      "g"};
static_assert(sizeof kValueNames / sizeof kValueNames[0] == TELMARO_DATA_OBJECTS::kSectionValueCount,
              "a name per value");

int RunSectionKey(const ToolOptions& opt, const std::string& text) {
  int family = 0, sub = 0;
  ulong32 id = 0;
  if (!ParseKey(text, &family, &sub, &id)) {
    std::cerr << "telio: --key " << text << ": expected F,P,ID (family, sub-number, catalogue key)\n";
    return 2;
  }
  Suite suite;
  if (!UseCatalogue(opt, &suite)) return 1;
  SetGDirs(suite.Catalogue().c_str());
  if (!GetSMDBKernelCatalogue()) {
    ReportFileError(suite.Catalogue() + "/FilesSectionDB", telio::GetLastError());
    return 1;
  }
  GE_::Safe::PtrStrong<CConElmData_base> obj = GetSMDBSectionDataObj(family, sub, id, nullptr);
  if (obj.IsNull()) {
    std::cerr << "telio: " << text << ": the catalogue holds no section for this key";
    if (family == 80 || family == 81 || family == 104 || family == 108 || family == 109) {
      std::cerr << " (family " << family << " takes its section from a topology)";
    }
    std::cerr << '\n';
    return 1;
  }
  using TELMARO_DATA_OBJECTS::CISectionElement;
  GE_::Safe::PtrStrong<TELMARO_DATA_OBJECTS::CISectionData> data = GetSectionDataFromObj(obj.GetPtr());
  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = "section_object";
  AddSuiteFields(suite, out);
  out["key"] = {{"family", family}, {"sub", sub}, {"id", id}};
  out["object"] = {{"i", MapJson(*obj->PIData())}, {"f", MapJson(*obj->PFData())}, {"s", MapJson(*obj->PStrData(), [](const CString& t) { return std::string(t.GetString()); })}};
  Json section;
  section["name"] = data->Name().GetString();
  section["section"] = data->Section();
  section["family"] = data->Family();
  section["profile"] = data->Profile();
  section["bannet"] = data->BAnnet();
  section["valid"] = data->IsValidSection();
  Json values = Json::object();
  const auto& element = static_cast<const CISectionElement&>(*data);
  for (int i = 0; i < TELMARO_DATA_OBJECTS::kSectionValueCount; ++i) values[kValueNames[i]] = element.GetSectionValue(i);
  section["values"] = values;
  section["checksum"] = data->CheckSum();
  out["section_data"] = section;
  PrintResult(out, opt);
  return 0;
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
           "With --key F,P,ID, shows instead the section object that a design member gets for that "
           "catalogue key (family F, sub-number P, catalogue key ID): its keyed integer, real and "
           "text values, and the section data it converts to.\n\n"
           "  telio sections --family 12 --json\n"
           "  telio sections --key 41,0,41003";
  }
  void Define(CLI::App& cmd, ToolOptions& opt) override {
    cmd.add_option("--family", family_, "Only this family id")->type_name("F");
    cmd.add_option("--key", key_, "F,P,ID: the section object the bridge builds for this catalogue key")
        ->type_name("F,P,ID");
    AddJsonFlag(cmd, opt);
  }
  int Run(const ToolOptions& opt) override {
    return key_.empty() ? ListSections(opt, family_) : RunSectionKey(opt, key_);
  }

 private:
  int family_ = 0;
  std::string key_;
};

CommandRegistrar<SectionsCommand> reg;

}  // namespace

}  // namespace telio_tool
