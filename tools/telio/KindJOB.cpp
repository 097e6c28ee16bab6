// `telio info|dump` for run-control (JOB) files.
#include <string>

#include "FileKind.h"
#include "files/CFileJOB.h"
#include "platform/Coding.h"

namespace telio_tool {
namespace {

class KindJOB : public FileKind {
 public:
  const char* Name() const override { return "JOB"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "JOB"; }

  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    CFileJOB job;
    unsigned long code = job.Import(path.c_str());
    if (code != 0) return code;
    Summary(job, out);
    return 0;
  }

  unsigned long Dump(const std::string& path, const ToolOptions&, Json& out) override {
    CFileJOB job;
    unsigned long code = job.Import(path.c_str());
    if (code != 0) return code;
    Summary(job, out);
    Json words = Json::array();
    for (int i = 0; i < CFileJOB::kRunStatusWords; ++i) words.push_back(job.GetRunStatus(i));
    out["run_status_words"] = words;
    out["export_type"] = HexBytes(job.GetExportType(), CFileJOB::kExportTypeSize);
    Json records = Json::array();
    const auto& extra = job.GetLoadingCaseExtraData();
    for (int i = 0; i < extra.GetSize(); ++i) {
      const unsigned char* d = extra[i].data;
      records.push_back({{"number", i + 1},
                         {"byte0", d[0]},
                         {"byte1", d[1]},
                         {"value", FloatValue(telio::DecodeFloat(d + 2))}});
    }
    out["loading_case_extra_data"] = records;
    return 0;
  }

 private:
  static void Summary(const CFileJOB& job, Json& out) {
    out["version"] = job.GetVersion();
    out["runs"] = {{"pep", job.RunPEP() != 0},
                   {"static", job.RunStatic() != 0},
                   {"free_vibration", job.RunFreeVibration() != 0},
                   {"dynamic", job.RunDynamic() != 0},
                   {"spectral", job.RunSpectral() != 0}};
    out["flags"] = {{"eak", job.IsJobEAK()},
                    {"diaphragm", job.IsJobDiaph()},
                    {"eccentricity", job.IsJobEccen()},
                    {"structural_eccentricity", job.IsStructEccen()},
                    {"tgv_results", job.IsTGVResults()}};
    out["extra_records"] = job.GetLoadingCaseExtraData().GetSize();
    out["max_lce"] = CFileJOB::MaxLCE();
  }
};

static KindRegistrar<KindJOB> reg;

}  // namespace
}  // namespace telio_tool
