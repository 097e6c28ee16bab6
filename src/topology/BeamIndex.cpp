#include "topology/BeamIndex.h"

#include <algorithm>
#include <cmath>

#include "platform/Alloc.h"

using TOPOStructs::BEAM_REC;
using TOPOStructs::TOPO_REC;

namespace {

// Cells are at least this wide, so that the points within twice the
// tolerance of a point span at most two cells per axis.
constexpr double kSmallestCell = 4 * kTopoTolerance;
// A query looks this far around each point: the tolerance and a margin
// for the rounding of the cell arithmetic.
constexpr double kReach = 2 * kTopoTolerance;
// Cell numbers are kept where a double holds them exactly.
constexpr double kCellLimit = 1e15;

// floor(v), held within the limit; a conversion and a correction rather
// than a call of floor, which is not an instruction on every target.
int64_t CellNumber(double v) {
  if (!(v > -kCellLimit)) return static_cast<int64_t>(-kCellLimit);  // NaN too
  if (v > kCellLimit) return static_cast<int64_t>(kCellLimit);
  const int64_t toward = static_cast<int64_t>(v);
  return toward - (static_cast<double>(toward) > v ? 1 : 0);
}

}  // namespace

BeamIndex::~BeamIndex() { Release(); }

void BeamIndex::Release() {
  for (uint32_t** p : {&head_, &nextNode_, &firstBeam_, &lastBeam_, &nextBeam_, &endNode_}) {
    telio::Free(*p);
    *p = nullptr;
  }
  first_ = nullptr;
  nodes_ = beams_ = mask_ = 0;
}

BeamIndex::Cell BeamIndex::CellOf(double x, double y, double z) const {
  return {{CellNumber((x - origin_[0]) * inverse_), CellNumber((y - origin_[1]) * inverse_),
           CellNumber((z - origin_[2]) * inverse_)}};
}

uint32_t BeamIndex::Bucket(const Cell& c) const {
  uint64_t h = static_cast<uint64_t>(c.i[0]) * 0x9E3779B97F4A7C15ull;
  h ^= static_cast<uint64_t>(c.i[1]) * 0xC2B2AE3D27D4EB4Full;
  h ^= static_cast<uint64_t>(c.i[2]) * 0x165667B19E3779F9ull;
  return static_cast<uint32_t>((h ^ (h >> 29)) >> 16) & mask_;
}

bool BeamIndex::Reserve(uint32_t nodes, uint32_t beams) {
  Release();
  // About two nodes a bucket: the table stays in the nearest cache.
  uint32_t buckets = 1;
  while (2 * buckets < nodes) buckets <<= 1;
  head_ = static_cast<uint32_t*>(telio::Calloc(buckets, sizeof(uint32_t)));
  nextNode_ = static_cast<uint32_t*>(telio::Malloc((nodes + 1) * sizeof(uint32_t)));
  firstBeam_ = static_cast<uint32_t*>(telio::Calloc(nodes + 1, sizeof(uint32_t)));
  lastBeam_ = static_cast<uint32_t*>(telio::Malloc((nodes + 1) * sizeof(uint32_t)));
  nextBeam_ = static_cast<uint32_t*>(telio::Malloc((beams + 1) * sizeof(uint32_t)));
  endNode_ = static_cast<uint32_t*>(telio::Malloc((beams + 1) * sizeof(uint32_t)));
  if (!head_ || !nextNode_ || !firstBeam_ || !lastBeam_ || !nextBeam_ || !endNode_) {
    Release();
    return false;
  }
  mask_ = buckets - 1;
  nodes_ = nodes;
  beams_ = beams;
  return true;
}

void BeamIndex::IndexNodes(const float* x, const float* y, const float* z) {
  xyz_[0] = x;
  xyz_[1] = y;
  xyz_[2] = z;
  auto finite = [&](uint32_t n) { return std::isfinite(x[n]) && std::isfinite(y[n]) && std::isfinite(z[n]); };
  // A cell holds about one node: the box of the finite nodes shared out
  // over the axes along which they spread.
  double low[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, high[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  uint32_t count = 0;
  for (uint32_t n = 1; n <= nodes_; ++n) {
    if (!finite(n)) continue;
    for (int a = 0; a < 3; ++a) {
      low[a] = std::min<double>(low[a], xyz_[a][n]);
      high[a] = std::max<double>(high[a], xyz_[a][n]);
    }
    ++count;
  }
  double volume = 1, cell = kSmallestCell;
  int spread = 0;
  for (int a = 0; a < 3 && count > 0; ++a) {
    if (high[a] - low[a] <= kSmallestCell) continue;
    volume *= high[a] - low[a];
    ++spread;
  }
  if (spread > 0) cell = std::max(kSmallestCell, std::pow(volume / count, 1.0 / spread));
  if (!std::isfinite(cell)) cell = 1;  // a box too large for a double: one crowded cell
  inverse_ = 1 / cell;
  // Regular grids put their nodes at cell centres, away from the borders.
  for (int a = 0; a < 3; ++a) origin_[a] = count > 0 ? low[a] - cell / 2 : 0;
  for (uint32_t n = 1; n <= nodes_; ++n) {
    // Non-finite coordinates are near nothing: such nodes are not indexed.
    if (!finite(n)) continue;
    const uint32_t k = Bucket(CellOf(x[n], y[n], z[n]));
    nextNode_[n] = head_[k];
    head_[k] = n;
  }
}

bool BeamIndex::NodeAt(uint32_t node, const float (&p)[3]) const {
  return NearCoordinate(xyz_[0][node], p[0]) && NearCoordinate(xyz_[1][node], p[1]) &&
         NearCoordinate(xyz_[2][node], p[2]);
}

void BeamIndex::Scan(const float (&from)[3], const float (&to)[3], uint32_t* best) const {
  const Cell lo = CellOf(from[0] - kReach, from[1] - kReach, from[2] - kReach);
  const Cell hi = CellOf(from[0] + kReach, from[1] + kReach, from[2] + kReach);
  for (int64_t x = lo.i[0]; x <= hi.i[0]; ++x) {
    for (int64_t y = lo.i[1]; y <= hi.i[1]; ++y) {
      for (int64_t z = lo.i[2]; z <= hi.i[2]; ++z) {
        for (uint32_t n = head_[Bucket({{x, y, z}})]; n != 0; n = nextNode_[n]) {
          if (!NodeAt(n, from)) continue;
          // The node's beams come in list order: the first whose end is
          // near `to` is the node's best.
          for (uint32_t b = firstBeam_[n]; b != 0 && b < *best; b = nextBeam_[b]) {
            if (NodeAt(endNode_[b], to)) {
              *best = b;
              break;
            }
          }
        }
      }
    }
  }
}

BEAM_REC* BeamIndex::Find(float x1, float y1, float z1, float x2, float y2, float z2) const {
  if (!first_) return nullptr;
  const float p[3] = {x1, y1, z1}, q[3] = {x2, y2, z2};
  uint32_t best = beams_ + 1;
  // A beam matches starting at either point; both are looked at.
  Scan(p, q, &best);
  Scan(q, p, &best);
  return best <= beams_ ? reinterpret_cast<BEAM_REC*>(first_ + (best - 1) * stride_) : nullptr;
}
