#include "ResSides.h"

#include "files/CFileCMI.h"
#include "files/CFileJOB.h"
#include "platform/CPathObj.h"
#include "platform/LastError.h"
#include "topology/CTOPO_REC.h"

namespace telio_tool {

namespace {

std::string SidePath(const std::string& resPath, const char* ext) {
  CPathObj p(resPath.c_str());
  p.ChangeEXT(ext);
  return p.GetFullPath();
}

}  // namespace

FileFailure ResSideFailure(const std::string& resPath) {
  const std::string job = SidePath(resPath, "JOB");
  ulong32 code = CFileJOB().Import(job.c_str());
  if (code != 0) return {job, code, "side file"};
  const std::string top = SidePath(resPath, "TOP");
  {
    CTOPO_REC topo;
    if (!topo.Open(top.c_str())) {
      code = telio::GetLastError();
      return {top, code != 0 ? code : telio::kErrorFileCorrupt, "side file"};
    }
  }
  const std::string cmi = SidePath(resPath, "CMI");
  code = CFileCMI().Import(cmi.c_str());
  if (code != 0) return {cmi, code, "side file"};
  return {resPath, telio::kErrorFileCorrupt, std::string()};
}

}  // namespace telio_tool
