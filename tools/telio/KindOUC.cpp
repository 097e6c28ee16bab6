// `telio info|dump` for intermediate-point results (OUC) files. The table
// length comes from the JOB file beside the OUC file.
//
// dump lists every block of each load case (--lc R for one) in file order,
// written one load case at a time; --beam B looks up the block whose beam
// number is B instead. The file holds no node results, so --node is refused.
#include <cstdio>
#include <string>

#include "DocumentWriter.h"
#include "FileKind.h"
#include "files/CFileOUC.h"
#include "platform/CPathObj.h"
#include "platform/Coding.h"

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

  unsigned long StreamDump(const std::string& path, const ToolOptions& opt, DocumentWriter& w) override {
    if (opt.node >= 0) throw UsageError("an OUC file holds no node results; --node applies to RES files");
    CFileOUC ouc;
    ouc.SetUseBmidx(opt.beam >= 0);
    unsigned long code = ouc.Import(path.c_str());
    if (code != 0) return code;
    CheckChoice(opt.lc, 0, ouc.GetLCNum() - 1, "load case");
    Json head;
    Summary(ouc, head);
    w.Fields(head);
    w.OpenArray("load_cases");
    for (int lc = 0; lc < ouc.GetLCNum(); ++lc) {
      if (opt.lc >= 0 && opt.lc != lc) continue;
      Json blocks = Json::array();
      if (opt.beam >= 0) {
        if (const BEAM_DATA* bd = ouc.GetBeamData(lc, static_cast<int>(opt.beam) - 1)) blocks.push_back(Block(*bd));
      } else {
        for (int b = 0; const BEAM_DATA* bd = ouc.GetBeamData(lc, b); ++b) blocks.push_back(Block(*bd));
      }
      w.Element({{"load_case", lc}, {"blocks", blocks}});
    }
    w.Close();
    return 0;
  }

  long long DumpBytes(const std::string& path, const ToolOptions& opt) override {
    if (opt.beam >= 0) return 0;
    const long long size = FileKind::DumpBytes(path, opt);
    if (opt.lc < 0 || size <= 0) return size;
    // One load case of LCNum, from the first word of the file.
    unsigned char word[4] = {0, 0, 0, 0};
    if (std::FILE* f = telio::OpenFile(path.c_str(), "rb")) {
      if (std::fread(word, 1, 4, f) != 4) word[0] = 0;
      std::fclose(f);
    }
    const long long cases = static_cast<long32>(telio::DecodeFixed32(word));
    return cases > 1 ? size / cases : size;
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
