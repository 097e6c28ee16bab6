// `telio info|dump` for composite-section (CS) files, the companions of
// topology files.
#include <string>

#include "FileKind.h"
#include "platform/LastError.h"
#include "topology/CTOPO_REC.h"

namespace telio_tool {
namespace {

// Reads the file; 0 or its code. A file that ends inside its records keeps
// the whole ones read and gives 38.
unsigned long Read(const std::string& path, TOPOStructs::COMPSECTS* cs) {
  if (CTOPO_REC::ReadCompSects(path.c_str(), cs)) return 0;
  const ulong32 code = telio::GetLastError();
  return code != 0 ? code : telio::kErrorFileCorrupt;
}

class KindCS : public FileKind {
 public:
  const char* Name() const override { return "CS"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "CS"; }

  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    TOPOStructs::COMPSECTS cs = {0, nullptr};
    const unsigned long code = Read(path, &cs);
    out["records"] = cs.count;
    CTOPO_REC::FreeCompSects(&cs);
    return code;
  }

  unsigned long Dump(const std::string& path, const ToolOptions&, Json& out) override {
    TOPOStructs::COMPSECTS cs = {0, nullptr};
    const unsigned long code = Read(path, &cs);
    out["records"] = cs.count;
    Json list = Json::array();
    for (ulong32 i = 0; i < cs.count; ++i) {
      const TOPOStructs::COMPSECT_REC& r = cs.records[i];
      list.push_back({{"record", i + 1}, {"steel_section", r.SteelSection()}, {"raw", HexBytes(r.data, r.kSize)}});
    }
    out["composite_sections"] = list;
    CTOPO_REC::FreeCompSects(&cs);
    return code;
  }
};

static KindRegistrar<KindCS> reg;

}  // namespace
}  // namespace telio_tool
