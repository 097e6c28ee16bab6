// `telio info|dump` for intermediate-point results (OUC) files. The table
// length comes from the JOB file beside the OUC file.
//
// dump lists every block of each load case (--lc R for one) in file order;
// --beam B looks up the block whose beam number is B instead.
#include <string>

#include "FileKind.h"
#include "files/CFileOUC.h"

namespace telio_tool {
namespace {

Json Block(const BEAM_DATA& bd) {
  static const char* const kNames[BEAM_DATA::kTables] = {"positions", "value_1", "value_2", "value_3",
                                                         "value_4",   "value_5", "value_6"};
  Json j = {{"beam", bd.BeamNumber()}, {"ip_count", bd.NumIPs()}};
  for (int kind = 0; kind < BEAM_DATA::kTables; ++kind) {
    Json v = Json::array();
    const float* t = bd.Table(kind);
    for (int ip = 0; t && ip < bd.NumIPs(); ++ip) v.push_back(FloatValue(t[ip]));
    j[kNames[kind]] = v;
  }
  return j;
}

class KindOUC : public FileKind {
 public:
  const char* Name() const override { return "OUC"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "OUC"; }

  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    CFileOUC ouc;
    ouc.SetUseBmidx(true);  // the header is all that is needed
    unsigned long code = ouc.Import(path.c_str());
    Summary(ouc, out);
    return code;
  }

  unsigned long Dump(const std::string& path, const ToolOptions& opt, Json& out) override {
    CFileOUC ouc;
    ouc.SetUseBmidx(opt.beam >= 0);
    unsigned long code = ouc.Import(path.c_str());
    Summary(ouc, out);
    Json lcs = Json::array();
    for (int lc = 0; lc < ouc.GetLCNum(); ++lc) {
      if (opt.lc >= 0 && opt.lc != lc) continue;
      Json blocks = Json::array();
      if (opt.beam >= 0) {
        if (const BEAM_DATA* bd = ouc.GetBeamData(lc, static_cast<int>(opt.beam) - 1)) blocks.push_back(Block(*bd));
      } else {
        for (int b = 0; const BEAM_DATA* bd = ouc.GetBeamData(lc, b); ++b) blocks.push_back(Block(*bd));
      }
      lcs.push_back({{"load_case", lc}, {"blocks", blocks}});
    }
    out["load_cases"] = lcs;
    return code;
  }

 private:
  static void Summary(const CFileOUC& ouc, Json& out) {
    out["max_lce"] = ouc.GetMaxLCE();
    out["lc_num"] = ouc.GetLCNum();
    out["max_ip"] = ouc.GetMaxIP();
    out["max_beams_per_lc"] = ouc.GetMaxBeamPerLC();
  }
};

static KindRegistrar<KindOUC> reg;

}  // namespace
}  // namespace telio_tool
