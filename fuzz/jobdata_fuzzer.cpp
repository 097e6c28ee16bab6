// Loads a project header and an analysis-job link from arbitrary bytes: the
// header record followed by the link record, as a design project holds
// them, and the link record alone.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "objects/data/CIJobData.h"
#include "objects/data/CILinkJobData.h"

namespace {

FILE* OpenBytes(const uint8_t* data, size_t size) {
  FILE* f = std::tmpfile();
  if (!f) return nullptr;
  if (size) std::fwrite(data, 1, size, f);
  std::rewind(f);
  return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace TELMARO_DATA_OBJECTS;
  FILE* f = OpenBytes(data, size);
  if (!f) return 0;
  {
    auto job = CIJobData::GetNewObject();
    auto link = CILinkJobData::GetNewObject();
    if (job->Serialize(f, true)) link->Serialize(f, true);
    (void)job->CheckSum();
    (void)link->CheckSum();
    auto copy = job->Clone();
    if (!copy->IsEqualWith(job.GetPtr())) __builtin_trap();
  }
  std::rewind(f);
  {
    CILinkJobData link;
    link.Serialize(f, true);
    (void)link.CheckSum();
  }
  std::fclose(f);
  return 0;
}
