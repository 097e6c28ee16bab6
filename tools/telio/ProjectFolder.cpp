#include "ProjectFolder.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <vector>

#include "Command.h"
#include "files/CAJF_PATHS.h"
#include "platform/LastError.h"
#include "platform/PathCase.h"

namespace telio_tool {

namespace fs = std::filesystem;

bool IsProjectFolderPath(const std::string& path) { return UpperExtension(path) == "AJF"; }

int ShowProjectFolder(const std::string& path, const ToolOptions& opt, bool dump) {
  std::string given = path;
  while (given.size() > 1 && (given.back() == '/' || given.back() == '\\')) given.pop_back();
  const std::string folder = telio::ResolvePathCase(given.c_str());
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    ReportFileError(path, telio::kErrorPathNotFound);
    return 1;
  }
  std::vector<fs::path> files;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError)) files.push_back(it->path());
  }
  if (ec) {
    ReportFileError(path, telio::ErrnoToSystemError(ec.value()));
    return 1;
  }
  std::sort(files.begin(), files.end());

  CAJF_PATHS job;
  job.Set(folder.c_str(), nullptr, 0);
  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = "AJF";
  out["file"] = path;
  out["name"] = job.Name().GetString();
  long long total = 0;
  int failed = 0;
  Json list = Json::array();
  for (const fs::path& f : files) {
    const std::string file = f.string();
    Json entry;
    entry["file"] = f.filename().string();
    const auto bytes = fs::file_size(f, ec);
    entry["bytes"] = ec ? -1 : static_cast<long long>(bytes);
    total += ec ? 0 : static_cast<long long>(bytes);
    FileKind* kind = FindKindForPath(file);
    entry["kind"] = kind ? Json(kind->Name()) : Json(nullptr);
    if (kind) {
      Json info;
      const unsigned long code = kind->Info(file, opt, info);
      if (code != 0) {
        const FileFailure failure = kind->Failure(file, code);
        ReportFailure(file, failure);
        entry["error"] = failure.code;
        entry["error_message"] = telio::SystemErrorMessage(static_cast<ulong32>(failure.code));
        if (failure.path != file) entry["error_file"] = failure.path;
        ++failed;
      } else if (dump) {
        entry["info"] = info;
      } else {
        entry["counts"] = kind->MainCounts(info);
      }
    }
    list.push_back(entry);
  }
  out["file_count"] = files.size();
  out["bytes"] = total;
  out["files"] = list;
  PrintResult(out, opt);
  return failed == 0 ? 0 : 1;
}

}  // namespace telio_tool
