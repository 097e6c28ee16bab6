// Opens a topology (TOP file with its composite-section companion) from
// arbitrary bytes: the first 4 bytes (little-endian) give the TOP file's
// length, the TOP bytes follow and the rest is the CS file. An opened
// topology must answer every lookup without reading outside its tables.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "topology/CTOPO_REC.h"

#include "FuzzScratch.h"

namespace {

using TOPOStructs::BEAM_REC;
using TOPOStructs::CURPHBM_REC;
using TOPOStructs::NODE_REC;
using TOPOStructs::TOPO_REC;

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

bool Finite(const NODE_REC* n) {
  return std::isfinite(n->x) && std::isfinite(n->y) && std::isfinite(n->z);
}

void Exercise(CTOPO_REC& t) {
  TOPO_REC* r = t.GetTOPO_REC();
  Check(r != nullptr);
  int n = 0;
  for (NODE_REC* node = r->nodes; node; node = node->next) Check(node->index == ++n);
  Check(n == r->nodeCount);
  n = 0;
  for (BEAM_REC* b = r->beams; b; b = b->next) {
    Check(b->index == ++n);
    float len = 0;
    CTOPO_REC::GetBeamData(r, r->startNode[n], n, nullptr, nullptr, nullptr, &len);
    CTOPO_REC::GetAngleBetweenBeams(r, r->endNode[n], n, 1 + n % r->beamCount);
    // NaN and infinite coordinates never compare near anything; the first
    // beams are enough (each lookup walks the list).
    // and the index built at the opening finds what the walk finds.
    if (n <= 64 && b->start && b->end && Finite(b->start) && Finite(b->end)) {
      BEAM_REC* walk = CTOPO_REC::FindBeam(r->beams, b->end->x, b->end->y, b->end->z, b->start->x,
                                           b->start->y, b->start->z);
      Check(walk != nullptr);
      Check(t.FindBeam(b->end->x, b->end->y, b->end->z, b->start->x, b->start->y, b->start->z) == walk);
    }
  }
  Check(n == r->beamCount);
  n = 0;
  for (CURPHBM_REC* p = r->physBeams; p; p = p->next) {
    ++n;
    for (int k = 0; k < p->beamCount; ++k) {
      if (p->beams[k]) Check(p->beams[k]->index >= 1);
    }
  }
  Check(n == r->physBeamCount);
  for (int i = 1; i <= r->sectionCount; ++i) {
    if (TOP_SEC* s = t.GetCompositeSteelSection(&r->sections[i])) {
      Check(s >= &r->sections[1] && s <= &r->sections[r->sectionCount]);
    }
  }
  for (int k = 1; k <= 3; ++k) {
    CTOPO_REC::FindTaperedParent(r, k);
    CTOPO_REC::FindCompositeParent(r, k);
  }
  t.GetForcesOffset(1, r->beamCount, true);
  t.GetReactionsOffset(2, false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  size_t topSize = static_cast<size_t>(data[0]) | static_cast<size_t>(data[1]) << 8 |
                   static_cast<size_t>(data[2]) << 16 | static_cast<size_t>(data[3]) << 24;
  data += 4;
  size -= 4;
  if (topSize > size) topSize = size;

  const std::string top = fuzz_scratch::Put("in.TOP", data, topSize);
  if (top.empty() || fuzz_scratch::Put("in.CS", data + topSize, size - topSize).empty()) return 0;

  // The topology alone reads a part of what the whole file gives: it is
  // worth a second opening only when the whole file is refused.
  CTOPO_REC t;
  if (t.Open(top.c_str()) || t.OpenTopology(top.c_str())) Exercise(t);
  return 0;
}
