// `telio info|dump` for load-case name files (NAM, DYN).
#include <string>

#include "FileKind.h"
#include "files/CFileDYN.h"
#include "files/CFileNAM.h"

namespace telio_tool {
namespace {

template <class F>
Json Names(const F& file) {
  Json names = Json::array();
  for (long32 i = 0; i < file.GetCountLdsNames(); ++i) {
    names.push_back(AnsiToUtf8(file.LdsNames(static_cast<int>(i)).GetString()));
  }
  return names;
}

class KindNAM : public FileKind {
 public:
  const char* Name() const override { return "NAM"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "NAM"; }

  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    CFileNAM nam;
    unsigned long code = nam.Import(path.c_str());
    if (code != 0) return code;
    out["names_count"] = nam.GetCountLdsNames();
    return 0;
  }

  unsigned long Dump(const std::string& path, const ToolOptions&, Json& out) override {
    CFileNAM nam;
    unsigned long code = nam.Import(path.c_str());
    if (code != 0) return code;
    out["names_count"] = nam.GetCountLdsNames();
    out["names"] = Names(nam);
    return 0;
  }
};

class KindDYN : public FileKind {
 public:
  const char* Name() const override { return "DYN"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "DYN"; }

  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    CFileDYN dyn;
    unsigned long code = dyn.Import(path.c_str());
    if (code != 0) return code;
    Summary(dyn, out);
    return 0;
  }

  unsigned long Dump(const std::string& path, const ToolOptions&, Json& out) override {
    CFileDYN dyn;
    unsigned long code = dyn.Import(path.c_str());
    if (code != 0) return code;
    Summary(dyn, out);
    out["names"] = Names(dyn);
    return 0;
  }

 private:
  static void Summary(const CFileDYN& dyn, Json& out) {
    out["counts"] = {{"dynamic_load_cases", dyn.GetNumOfDynamicLoadCases()},
                     {"dynamic_combinations", dyn.GetNumOfDynamicCombinations()},
                     {"dynamic_envelopes", dyn.GetNumOfDynamicEnvelopes()}};
    out["names_count"] = dyn.GetCountLdsNames();
  }
};

static KindRegistrar<KindNAM> regNam;
static KindRegistrar<KindDYN> regDyn;

}  // namespace
}  // namespace telio_tool
