// `telio info|dump` for combination (CMI) and activation (ACE) files.
#include <string>

#include "FileKind.h"
#include "files/CFileACE.h"
#include "files/CFileCMI.h"

namespace telio_tool {
namespace {

class KindCMI : public FileKind {
 public:
  const char* Name() const override { return "CMI"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "CMI"; }

  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    CFileCMI cmi;
    unsigned long code = cmi.Import(path.c_str());
    Summary(cmi, out);
    return code;
  }

  unsigned long Dump(const std::string& path, const ToolOptions& opt, Json& out) override {
    CFileCMI cmi;
    unsigned long code = cmi.Import(path.c_str());
    Summary(cmi, out);
    Json list = Json::array();
    for (long32 i = 0;; ++i) {
      const CMI_REC* r = cmi.GetCombination(i);
      if (!r) break;
      if (opt.lc >= 0 && opt.lc != i) continue;
      Json terms = Json::array();
      for (int k = 0; k < r->Count(); ++k) {
        terms.push_back({{"load_case", r->Index(k)}, {"factor", FloatValue(r->Factor(k))}});
      }
      list.push_back({{"number", i + 1}, {"kind", cmi.GetKind(i)}, {"link", cmi.GetLink(i)},
                      {"terms", terms}});
    }
    out["combinations"] = list;
    return code;
  }

 private:
  static void Summary(const CFileCMI& cmi, Json& out) {
    out["version"] = cmi.GetVersion();
    out["record_size"] = cmi.GetRecordSize();
    out["combinations_count"] = cmi.GetNumberOfCombinations();
    out["linked_count"] = cmi.GetNumberOfLinkedCombinations();
  }
};

class KindACE : public FileKind {
 public:
  const char* Name() const override { return "ACE"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "ACE"; }

  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    CFileACE ace;
    unsigned long code = ace.Import(path.c_str());
    Summary(ace, out);
    return code;
  }

  unsigned long Dump(const std::string& path, const ToolOptions&, Json& out) override {
    CFileACE ace;
    unsigned long code = ace.Import(path.c_str());
    Summary(ace, out);
    Json cmb = Json::array();
    for (int i = 1; i <= CFileACE::kCmbFlags; ++i) {
      if (ace.IsActiveCombination(i)) cmb.push_back(i);
    }
    Json env = Json::array();
    for (int i = 1; i <= CFileACE::kEnvFlags; ++i) {
      if (ace.IsActiveEnvelope(i)) env.push_back(i);
    }
    out["active_combination_positions"] = cmb;
    out["active_envelope_positions"] = env;
    return code;
  }

 private:
  static void Summary(const CFileACE& ace, Json& out) {
    out["list_sizes"] = {{"combinations", ace.GetCmbListSize()}, {"envelopes", ace.GetEnvListSize()}};
    out["active_combinations"] = ace.GetActiveCombinations();
    out["active_envelopes"] = ace.GetActiveEnvelopes();
  }
};

static KindRegistrar<KindCMI> regCmi;
static KindRegistrar<KindACE> regAce;

}  // namespace
}  // namespace telio_tool
