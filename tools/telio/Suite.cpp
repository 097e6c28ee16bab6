#include "Suite.h"

#include <filesystem>
#include <iostream>

#include "files/CAJF_PATHS.h"
#include "platform/TelKrnl.h"

#if defined(_WIN32)
#include <windows.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace telio_tool {

namespace {

namespace fs = std::filesystem;

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

std::string Normal(const fs::path& p) {
  std::error_code ec;
  fs::path c = fs::weakly_canonical(p, ec);
  return (ec ? p : c).lexically_normal().string();
}

// True when path lies inside folder.
bool Inside(const std::string& path, const std::string& folder) {
  if (path.empty() || folder.empty()) return false;
  const fs::path rel = fs::path(Normal(path)).lexically_relative(Normal(folder));
  return !rel.empty() && *rel.begin() != "..";
}

// A folder in the layout of data/: everything in the folder itself.
Suite Flat(const std::string& folder, const char* source) {
  Suite s;
  s.folder = folder;
  s.source = source;
  s.tables = folder;
  s.settings = GetPathIni(CString(folder.c_str()), CString("TELMARO.INI")).GetString();
  if (s.settings.empty()) s.settings = GetPathIni(CString(), CString("TELMARO.INI")).GetString();
  return s;
}

}  // namespace

SuiteSearch::SuiteSearch()
    : executable(ExecutablePath()),
      installedRelative(TELIO_DATA_FROM_BINDIR),
      buildTree(TELIO_BUILD_TREE),
      sourceData(TELIO_SOURCE_DATA_DIR) {}

Suite FindSuite(const SuiteSearch& where) {
  if (!where.option.empty()) return Flat(where.option, "option");
  const std::string telmaro = GetTelmaroDir().GetString();
  if (!telmaro.empty()) {
    Suite s;
    s.folder = telmaro;
    s.source = "settings";
    s.tables = GetTelmaroBinDataDir().GetString();
    if (s.tables.empty()) s.tables = telmaro;
    s.settings = GetPathIni(CString(), CString("TELMARO.INI")).GetString();
    return s;
  }
  if (!where.executable.empty()) {
    const fs::path installed = fs::path(where.executable).parent_path() / where.installedRelative;
    if (IsFolder(installed.string())) return Flat(Normal(installed), "installed");
    if (Inside(where.executable, where.buildTree) && IsFolder(where.sourceData)) {
      return Flat(where.sourceData, "source_tree");
    }
  }
  Suite none;
  none.source = "none";
  return none;
}

bool UseSuite(const ToolOptions& opt, Suite* suite) {
  SuiteSearch where;
  where.option = opt.suite;
  *suite = FindSuite(where);
  if (!opt.suite.empty() && !IsFolder(opt.suite)) {
    std::cerr << "telio: " << opt.suite << ": suite folder not found\n";
    return false;
  }
  return true;
}

void ShareSuiteWithLibrary(const ToolOptions& opt) {
  SuiteSearch where;
  where.option = opt.suite;
  SetGDirs(FindSuite(where).folder.c_str());
}

bool UseCatalogue(const ToolOptions& opt, Suite* suite) {
  if (!UseSuite(opt, suite)) return false;
  if (suite->Found()) return true;
  std::cerr << "telio: no suite data folder, so no section catalogue; give one with --suite DIR\n";
  return false;
}

void AddSuiteFields(const Suite& suite, Json& out) {
  out["suite"] = suite.folder;
  out["suite_source"] = suite.source;
}

std::string ExecutablePath() {
#if defined(_WIN32)
  char buf[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buf, n) : std::string();
#elif defined(__APPLE__)
  char buf[4096];
  uint32_t size = sizeof buf;
  return _NSGetExecutablePath(buf, &size) == 0 ? Normal(buf) : std::string();
#else
  std::error_code ec;
  const fs::path p = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
#endif
}

}  // namespace telio_tool
