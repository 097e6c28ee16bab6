// `telio info|dump` for an archive of a positioned connection element list
// (CCONPOSElementsLst). The connection program names no extension for it
// and the archive carries no signature to sniff (an empty list is two zero
// bytes), so the tool takes such archives by the extension "CON".
#include <cstdio>
#include <string>

#include "FileKind.h"
#include "connections/CCONElementsList.h"
#include "platform/CArchive.h"
#include "platform/LastError.h"

namespace telio_tool {
namespace {

Json Maps(const CConElmData_base& e) {
  return {{"b", MapJson(*e.PBData())},
          {"i", MapJson(*e.PIData())},
          {"f", MapJson(*e.PFData())},
          {"strings", MapJson(*e.PStrData(), [](const CString& s) {
             return AnsiToUtf8(s.GetString(), s.GetLength());
           })}};
}

Json Placement(const CConElmPos_base& p) {
  return {{"origin", {p.GetOrgX(), p.GetOrgY(), p.GetOrgZ()}},
          {"views", {p.GetVFront(), p.GetVRight(), p.GetVTop()}},
          {"offsets", {p.GetDx(), p.GetDy(), p.GetDz()}},
          {"rotations", {p.GetRotX(), p.GetRotY(), p.GetRotZ()}}};
}

class KindCONNECTIONS : public FileKind {
 public:
  const char* Name() const override { return "CONNECTIONS"; }
  bool HandlesExtension(const std::string& ext) const override { return ext == "CON"; }

  unsigned long Info(const std::string& path, const ToolOptions&, Json& out) override {
    CCONPOSElementsLst list;
    unsigned long code = Load(path, list, out);
    if (code == 0) out["element_count"] = list.GetCount();
    return code;
  }

  unsigned long Dump(const std::string& path, const ToolOptions&, Json& out) override {
    CCONPOSElementsLst list;
    unsigned long code = Load(path, list, out);
    if (code != 0) return code;
    out["element_count"] = list.GetCount();
    Json elements = Json::array();
    for (int k = 0; k < list.GetCount(); ++k) {
      const CConElmData_base* data = list.GetElmData(k);
      Json e = {{"index", k}};
      const long32* id = data ? data->GetIData(CConElmData_base::kIdentifierKey) : nullptr;
      e["identifier"] = id ? Json(*id) : Json();
      if (data) e.update(Maps(*data));
      if (const CConElmData_base* extras = list.GetElmExtras(k)) e["extras"] = Maps(*extras);
      if (const CConElmPos_base* pos = list.GetElmPos(k)) {
        e["position"] = Maps(*pos);
        e["position"].update(Placement(*pos));
      }
      elements.push_back(std::move(e));
    }
    out["elements"] = std::move(elements);
    return 0;
  }

 private:
  static unsigned long Load(const std::string& path, CCONPOSElementsLst& list, Json& out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return telio::SetLastErrorFromErrno();
    CArchive ar(f, CArchive::load);
    list.Serialize(ar);
    const unsigned long code = ar.Error();
    if (code == 0 && ar.Remaining() != 0) out["trailing_bytes"] = ar.Remaining();
    std::fclose(f);
    return code;
  }
};

static KindRegistrar<KindCONNECTIONS> regConnections;

}  // namespace
}  // namespace telio_tool
