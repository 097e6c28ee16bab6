#include "topology/BeamIndex.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/Alloc.h"

using TOPOStructs::BEAM_REC;

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

BeamIndex::~BeamIndex() { telio::Free(block_); }

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
  // About two nodes a bucket: the table stays in the nearest cache.
  uint32_t buckets = 1;
  while (2 * buckets < nodes) buckets <<= 1;
  // Buckets and first beams start empty; the links are written before
  // they are followed.
  const size_t zeroed = buckets + static_cast<size_t>(nodes) + 1;
  const size_t words = zeroed + static_cast<size_t>(nodes) + 1 + static_cast<size_t>(beams) + 1;
  telio::Free(block_);
  block_ = nullptr;
  auto* w = static_cast<uint32_t*>(telio::Malloc(words * sizeof(uint32_t)));
  if (!w) return false;
  std::memset(w, 0, zeroed * sizeof(uint32_t));
  block_ = w;
  head_ = w;
  firstBeam_ = w + buckets;
  nextNode_ = firstBeam_ + nodes + 1;
  nextBeam_ = nextNode_ + nodes + 1;
  mask_ = buckets - 1;
  nodes_ = nodes;
  beams_ = beams;
  return true;
}

void BeamIndex::IndexNodes(const float* x, const float* y, const float* z, const Box& box) {
  xyz_[0] = x;
  xyz_[1] = y;
  xyz_[2] = z;
  // A cell holds about one node: the box of the finite nodes shared out
  // over the axes along which they spread.
  double volume = 1, cell = kSmallestCell;
  int spread = 0;
  for (int a = 0; a < 3 && box.nodes > 0; ++a) {
    const double extent = static_cast<double>(box.high[a]) - box.low[a];
    if (extent <= kSmallestCell) continue;
    volume *= extent;
    ++spread;
  }
  if (spread > 0) cell = std::max(kSmallestCell, std::pow(volume / box.nodes, 1.0 / spread));
  if (!std::isfinite(cell)) cell = 1;  // a box too large for a double: one crowded cell
  inverse_ = 1 / cell;
  // Regular grids put their nodes at cell centres, away from the borders.
  for (int a = 0; a < 3; ++a) origin_[a] = box.nodes > 0 ? box.low[a] - cell / 2 : 0;
  for (uint32_t n = 1; n <= nodes_; ++n) {
    if (!(std::isfinite(x[n]) && std::isfinite(y[n]) && std::isfinite(z[n]))) continue;
    // Inside the box a cell number is never negative: its floor is the
    // conversion's.
    auto number = [this](int a, float v) {
      return static_cast<int64_t>(std::min((v - origin_[a]) * inverse_, kCellLimit));
    };
    const uint32_t k = Bucket({{number(0, x[n]), number(1, y[n]), number(2, z[n])}});
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
          for (uint32_t b = firstBeam_[n]; b != 0; b = nextBeam_[b]) {
            const int32_t end = endNode_[b];
            if (b < *best && end >= 1 && static_cast<uint32_t>(end) <= nodes_ &&
                NodeAt(static_cast<uint32_t>(end), to)) {
              *best = b;
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
