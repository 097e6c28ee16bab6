// `telio psf [FILE]`: the sets of partial safety factors of a PSF file (the
// suite folder's EC3.PSF by default), each with its 19 factors.
#include <iostream>

#include "Command.h"
#include "Suite.h"
#include "objects/data/CISafetyFactorsLib.h"
#include "platform/CPathObj.h"
#include "platform/LastError.h"

namespace telio_tool {

namespace {

using namespace SAFETY_FACTORS_LIB;

// Exit status 0, or 1 when the file does not exist (2 without a suite to
// take the default file from).
int RunPsf(const std::string& given, const std::string& suffix, const ToolOptions& opt) {
  Suite suite;
  std::string path = given;
  if (path.empty()) {
    if (!UseSuite(opt, &suite)) return 2;
    if (!suite.Found()) {
      std::cerr << "telio: psf: no suite folder to take EC3.PSF from; name the file or --suite DIR\n";
      return 2;
    }
    path = suite.tables + "/EC3.PSF";
  }
  if (!CPathObj(path.c_str()).ExistsPath()) {
    ReportFileError(path, telio::kErrorFileNotFound);
    return 1;
  }
  CISafetyFactorsLib lib;
  lib.SetLoadPSFCasesValues(path.c_str(), suffix.c_str());
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
  out["suffix"] = suffix;
  out["count"] = lib.GetCountPSF();
  out["default_set_regulation_0"] = lib.GetDefaultCodeForRegulation(0, 0);
  out["default_set_regulation_1"] = lib.GetDefaultCodeForRegulation(1, 0);
  out["checksum"] = lib.CheckSum();
  out["sets"] = sets;
  if (given.empty()) AddSuiteFields(suite, out);
  PrintResult(out, opt);
  return 0;
}

class PsfCommand : public Command {
 public:
  PsfCommand() : Command("psf", "List the partial safety factor sets of a PSF file", kRankSuite + 50) {}
  std::string Description() const override {
    return "Reads the sets of partial safety factors of a PSF file (a private-profile file of up to ten "
           "sets, each a name and 19 factors; missing keys take their defaults) and lists them with "
           "the set a design of each regulation takes by default. Without FILE, EC3.PSF of the suite "
           "folder is read.\n\n"
           "  telio psf\n"
           "  telio psf MY.PSF --suffix _uk --json";
  }
  void Define(CLI::App& cmd, ToolOptions& opt) override {
    cmd.add_option("FILE", file_, "The PSF file (default: EC3.PSF of the suite folder)")->type_name("FILE");
    cmd.add_option("--suffix", suffix_, "Suffix of the set name keys (type<n><suffix>)")->type_name("S");
    AddJsonFlag(cmd, opt);
  }
  int Run(const ToolOptions& opt) override { return RunPsf(file_, suffix_, opt); }

 private:
  std::string file_;
  std::string suffix_;
};

CommandRegistrar<PsfCommand> reg;

}  // namespace

}  // namespace telio_tool
