#include "Psf.h"

#include <iostream>

#include <CLI/CLI.hpp>

#include "Tables.h"
#include "objects/data/CISafetyFactorsLib.h"
#include "platform/CPathObj.h"
#include "platform/LastError.h"

namespace telio_tool {

namespace {

using namespace SAFETY_FACTORS_LIB;

std::string& Suffix() {
  static std::string suffix;
  return suffix;
}

std::string DefaultPsf(const ToolOptions& opt) {
  std::string suite = ResolveSuiteFolder(opt);
  if (suite.empty()) suite = TELIO_SOURCE_DATA_DIR;
  return suite + "/EC3.PSF";
}

}  // namespace

CLI::App* AddPsfCommand(CLI::App& app, std::string& file, ToolOptions& opt) {
  auto* cmd = app.add_subcommand("psf", "List the partial safety factor sets of a PSF file");
  cmd->add_option("FILE", file, "The PSF file (default: EC3.PSF of the suite folder)");
  cmd->add_option("--suffix", Suffix(), "Suffix of the set name keys (type<n><suffix>)");
  cmd->add_flag("--json", opt.json, "Print JSON");
  return cmd;
}

int RunPsf(const std::string& given, const ToolOptions& opt) {
  const std::string path = given.empty() ? DefaultPsf(opt) : given;
  if (!CPathObj(path.c_str()).ExistsPath()) {
    std::cerr << "telio: " << path << ": error " << telio::kErrorFileNotFound << ": "
              << telio::SystemErrorMessage(telio::kErrorFileNotFound) << '\n';
    return 1;
  }
  CISafetyFactorsLib lib;
  lib.SetLoadPSFCasesValues(path.c_str(), Suffix().c_str());
  Json sets = Json::array();
  for (int i = 0; i < lib.GetCountPSF(); ++i) {
    const PSF_REC* set = lib.GetCodeDataAt(i);
    Json factors = Json::object();
    for (int k = 1; k <= kPSFFactors; ++k) {
      factors[CISafetyFactorsLib::GetFactorKey(k)] = FloatValue(static_cast<float>(set->Value(k)));
    }
    sets.push_back({{"number", set->Number()},
                    {"name", AnsiToUtf8(set->Name().GetString())},
                    {"factors", factors}});
  }
  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = "psf";
  out["file"] = path;
  out["suffix"] = Suffix();
  out["count"] = lib.GetCountPSF();
  out["default_set_regulation_0"] = lib.GetDefaultCodeForRegulation(0, 0);
  out["default_set_regulation_1"] = lib.GetDefaultCodeForRegulation(1, 0);
  out["checksum"] = lib.CheckSum();
  out["sets"] = sets;
  PrintResult(out, opt);
  return 0;
}

}  // namespace telio_tool
