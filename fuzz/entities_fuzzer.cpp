// Entity models filled from arbitrary bytes: the input is a TOP file,
// opened as a topology and turned into entity lists. A filled model must
// keep its counts straight (every beam joins two listed nodes, the nodes'
// beam counts and the sections' user counts add up), survive a copy, and
// answer the member selection, section changes and result values without
// reading outside its items.
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "FuzzScratch.h"
#include "topology/CEntity.h"
#include "topology/CTOPO_REC.h"

namespace {

using namespace ENTITIESStructs;
using namespace ENTITIESConstants;

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void CheckCounts(const CEntity& e) {
  std::map<const void*, long32> beamsAt, usersOf;
  long32 n = 0;
  for (auto* b = FirstItem<Beam>(e.GetEntity(EntBeam)); b; b = NextItem(b), ++n) {
    Check(b->Start() && b->End() && b->Start() != b->End());
    Check(e.FindNode(b->Start()->Number()) == b->Start() && e.FindNode(b->End()->Number()) == b->End());
    ++beamsAt[b->Start()];
    ++beamsAt[b->End()];
    if (b->SectionItem()) ++usersOf[b->SectionItem()];
  }
  Check(n == e.GetEntity(EntBeam)->Count() && n <= CEntity::kMaxBeams);
  n = 0;
  for (auto* node = FirstItem<B_Node>(e.GetEntity(EntNode)); node; node = NextItem(node), ++n) {
    Check(node->Beams() == beamsAt[node]);
  }
  Check(n == e.GetEntity(EntNode)->Count() && n <= CEntity::kMaxNodes);
  for (auto* s = FirstItem<Section>(e.GetEntity(EntSection)); s; s = NextItem(s)) {
    Check(s->Users() == usersOf[s]);
    Check(std::memchr(s->Name(), '\0', Section::kNameSize) != nullptr);
  }
}

void Exercise(CEntity& e) {
  CheckCounts(e);
  std::vector<float> xs;
  for (auto* node = FirstItem<B_Node>(e.GetEntity(EntNode)); node; node = NextItem(node)) {
    xs.push_back(node->X());
  }
  e.CopyResults(xs.data(), static_cast<int>(xs.size()), EntNode);
  Check(e.GetCountResultsValues() == static_cast<int>(xs.size()));
  if (Beam* b = e.FindBeam(1)) {
    e.SelectEntitiesMember(b->Start(), b->End(), 0, 1);
    e.SelectItemByEnum(EntBeam, 1);
    Check(e.GetEntity(EntBeam)->SelectedItem() == b);
    e.ChangeBeamSection(1, 12, 4711, 0);
    e.ChangeBeamSection(e.GetEntity(EntBeam)->Count(), e.GetSectionOfBeam(1));
    CheckCounts(e);
  }
  CEntity copy(e);
  Check(copy.GetEntity(EntBeam)->Count() == e.GetEntity(EntBeam)->Count());
  CheckCounts(copy);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz_scratch::Put("in.TOP", data, size);
  if (path.empty()) return 0;
  CTOPO_REC topo;
  if (!topo.Open(path.c_str())) return 0;
  CEntity e(CEntity::NodePlaneXZ);
  if (e.GenerateFromTOPO_REC(topo.GetTOPO_REC())) Exercise(e);
  return 0;
}
