#include "Demo.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "SampleModel.h"
#include "Tables.h"
#include "files/CAJF_PATHS.h"
#include "files/CFileT3L.h"
#include "platform/LastError.h"

namespace telio_tool {

namespace {

namespace fs = std::filesystem;

class Stopwatch {
 public:
  double Lap() {
    auto now = std::chrono::steady_clock::now();
    double ms = std::chrono::duration<double, std::milli>(now - last_).count();
    last_ = now;
    return ms;
  }

 private:
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

double Round2(double v) { return static_cast<double>(static_cast<long long>(v * 100 + 0.5)) / 100; }

}  // namespace

int RunDemo(const DemoOptions& demo, const ToolOptions& opt) {
  std::error_code ec;
  fs::path root;
  bool temporary = demo.keep.empty();
  if (temporary) {
    std::string templ = (fs::temp_directory_path() / "telio-demo-XXXXXX").string();
    if (!mkdtemp(&templ[0])) {
      std::cerr << "telio: cannot make a temporary folder\n";
      return 1;
    }
    root = templ;
  } else {
    root = demo.keep;
    fs::create_directories(root, ec);
  }

  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = "demo";
  Json steps = Json::array();
  Stopwatch clock;
  int findings = 0;

  // 1. The project's file set, created on disk.
  CAJF_PATHS job;
  job.Set((root / "Demo.AJF" / "Demo.T3L").string().c_str(), "Demo", 0);
  ulong32 missing = job.ValidatePaths(1);
  steps.push_back({{"step", "project folder created"}, {"ms", Round2(clock.Lap())}});
  if (missing != 0) ++findings;

  // 2. A sample model written.
  SampleSize size;
  size.nodes = demo.nodes;
  size.cases = demo.cases;
  CFileT3L model;
  if (!BuildSampleT3L(model, size)) {
    std::cerr << "telio: the sample model could not be built (out of memory)\n";
    return 1;
  }
  ulong32 code = model.Export(job.T3L());
  steps.push_back({{"step", "model written"}, {"ms", Round2(clock.Lap())}});
  if (code != 0) {
    std::cerr << "telio: " << job.T3L().GetString() << ": error " << code << ": "
              << telio::SystemErrorMessage(code) << '\n';
    return 1;
  }

  // 3. Read back, sections converted to the ANSI page, links checked.
  CFileT3L back;
  code = back.Import(job.T3L());
  steps.push_back({{"step", "model read back"}, {"ms", Round2(clock.Lap())}});
  if (code != 0) {
    std::cerr << "telio: " << job.T3L().GetString() << ": error " << code << ": "
              << telio::SystemErrorMessage(code) << '\n';
    return 1;
  }
  back.OemToCharSectC();
  findings += CheckSampleT3L(back, size);
  steps.push_back({{"step", "beams linked to nodes and sections"}, {"ms", Round2(clock.Lap())}});

  // 4. Summary.
  out["project"] = job.ProjectFolder().GetString();
  out["model"] = {{"nodes", back.Count(CFileT3L::kNodes)},
                  {"beams", back.Count(CFileT3L::kBeams)},
                  {"sections", back.Count(CFileT3L::kSections)},
                  {"supports", back.Count(CFileT3L::kSupports)},
                  {"static_load_cases", back.Count(CFileT3L::kStaticLoadCases)},
                  {"file_bytes", static_cast<long long>(fs::file_size(job.T3L().GetString(), ec))}};
  Json names = Json::array();
  for (int i = 0; i < back.Count(CFileT3L::kSections); ++i) {
    const REC96A* s = back.Section(i);
    names.push_back(AnsiToUtf8(s->Name(), s->NameLength()));
  }
  out["sections"] = names;
  out["steps"] = steps;
  out["findings"] = findings;
  PrintResult(out, opt);

  if (temporary) fs::remove_all(root, ec);
  return findings == 0 ? 0 : 1;
}

}  // namespace telio_tool
