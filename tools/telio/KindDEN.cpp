// `telio info|dump` for the count files (DEN, DCM).
#include <string>

#include "FileKind.h"
#include "files/CFileCount.h"

namespace telio_tool {
namespace {

class KindDEN : public FileKind {
 public:
  const char* Name() const override { return "DEN"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "DEN"; }
  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    CFileDEN den;
    unsigned long code = den.Import(path.c_str());
    if (code == 0) out["dynamic_envelopes"] = den.GetNumberOfDynamicEnvelopes();
    return code;
  }
  unsigned long Dump(const std::string& path, const ToolOptions& opt, Json& out) override {
    return Info(path, opt, out);
  }
};

class KindDCM : public FileKind {
 public:
  const char* Name() const override { return "DCM"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "DCM"; }
  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    CFileDCM dcm;
    unsigned long code = dcm.Import(path.c_str());
    if (code == 0) out["dynamic_combinations"] = dcm.GetNumberOfDynamicCombinations();
    return code;
  }
  unsigned long Dump(const std::string& path, const ToolOptions& opt, Json& out) override {
    return Info(path, opt, out);
  }
};

static KindRegistrar<KindDEN> regDen;
static KindRegistrar<KindDCM> regDcm;

}  // namespace
}  // namespace telio_tool
