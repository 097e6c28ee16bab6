// BeamIndex: the beams of an opened topology by the position of their
// nodes, so that a beam is found by its end coordinates in expected
// constant time. Internal to CTOPO_REC: not part of the exported interface.
//
// A spatial hash of the nodes, on a grid whose cells are at least four
// tolerances wide and hold about one node each, and the beams grouped by
// start node in list order. A query looks at the cells within twice the
// tolerance of each given point (at most eight, usually one), takes the
// beams starting at the nodes found there, checks them exactly as the walk
// of the list does and keeps the one that comes first in the list. The
// index describes the topology as opened: records edited afterwards are not
// seen.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "topology/TOPO_REC.h"

// Geometric tolerance of the topology: an absolute 0.001, compared in double.
constexpr double kTopoTolerance = 0.001;

inline bool NearCoordinate(float a, float b) {
  return std::fabs(static_cast<double>(a) - b) <= kTopoTolerance;
}

// True when the beam has both node records and its ends lie within the
// tolerance of the two points, in either order.
inline bool BeamEndsAt(const TOPOStructs::BEAM_REC* b, const float (&p)[3], const float (&q)[3]) {
  const TOPOStructs::NODE_REC* s = b->start;
  const TOPOStructs::NODE_REC* e = b->end;
  if (!s || !e) return false;
  auto at = [](const TOPOStructs::NODE_REC* n, const float (&v)[3]) {
    return NearCoordinate(n->x, v[0]) && NearCoordinate(n->y, v[1]) && NearCoordinate(n->z, v[2]);
  };
  return (at(s, p) && at(e, q)) || (at(s, q) && at(e, p));
}

class BeamIndex {
 public:
  BeamIndex() = default;
  ~BeamIndex();
  BeamIndex(const BeamIndex&) = delete;
  BeamIndex& operator=(const BeamIndex&) = delete;

  // The index is built alongside the reading of a topology: Reserve for
  // its counts, IndexNodes once the node coordinates are known, AddBeam for
  // every beam in list order, then Finish. Reserve is false when memory
  // runs out.
  bool Reserve(uint32_t nodes, uint32_t beams);
  // Node number n (1 to the count) is at x[n], y[n], z[n].
  void IndexNodes(const float* x, const float* y, const float* z);
  void AddBeam(uint32_t beam, int32_t start, int32_t end) {
    // A beam without both nodes never matches.
    if (start < 1 || static_cast<uint32_t>(start) > nodes_ || end < 1 || static_cast<uint32_t>(end) > nodes_) return;
    nextBeam_[beam] = 0;
    endNode_[beam] = static_cast<uint32_t>(end);
    if (firstBeam_[start] == 0) {
      firstBeam_[start] = beam;
    } else {
      nextBeam_[lastBeam_[start]] = beam;
    }
    lastBeam_[start] = beam;
  }
  // Beam number k is the record at first + (k - 1) x stride bytes, the
  // k-th of the list.
  void Finish(TOPOStructs::BEAM_REC* first, size_t stride) {
    first_ = reinterpret_cast<unsigned char*>(first);
    stride_ = stride;
  }

  // The first beam of the list whose ends lie within the tolerance of the
  // two points, in either order; null when none (or not finished).
  TOPOStructs::BEAM_REC* Find(float x1, float y1, float z1, float x2, float y2, float z2) const;

 private:
  struct Cell {
    int64_t i[3];
  };
  Cell CellOf(double x, double y, double z) const;
  uint32_t Bucket(const Cell& c) const;
  bool NodeAt(uint32_t node, const float (&p)[3]) const;
  // The beams starting at a node near `from` and ending near `to`: *best
  // holds the smallest beam number found so far.
  void Scan(const float (&from)[3], const float (&to)[3], uint32_t* best) const;
  void Release();

  uint32_t nodes_ = 0;
  uint32_t beams_ = 0;
  const float* xyz_[3] = {nullptr, nullptr, nullptr};
  unsigned char* first_ = nullptr;
  size_t stride_ = 0;
  double origin_[3] = {0, 0, 0};
  double inverse_ = 1;  // 1 / cell size
  uint32_t mask_ = 0;   // buckets - 1
  uint32_t* head_ = nullptr;       // per bucket: its first node number, 0 when empty
  uint32_t* nextNode_ = nullptr;   // per node number: the next of its bucket
  uint32_t* firstBeam_ = nullptr;  // per node number: its first beam, in list order
  uint32_t* lastBeam_ = nullptr;   // per node number: its last beam so far
  uint32_t* nextBeam_ = nullptr;   // per beam number: the next beam of its start node
  uint32_t* endNode_ = nullptr;    // per beam number: its end node
};
