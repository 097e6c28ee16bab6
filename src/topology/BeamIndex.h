// BeamIndex: the beams of an opened topology by the position of their
// nodes, so that a beam is found by its end coordinates in expected
// constant time. Internal to CTOPO_REC: not part of the exported interface.
//
// A spatial hash of the nodes, on a grid whose cells are at least four
// tolerances wide and hold about one node each, and the beams chained by
// start node. A query looks at the cells within twice the tolerance of each
// given point (at most eight, usually one), takes the beams starting at the
// nodes found there, checks them exactly as the walk of the list does and
// keeps the one that comes first in the list. The index describes the
// topology as opened: records and arrays edited afterwards are not
// followed (an end node number edited out of range is skipped, never used).
//
// It is built while the topology is read, at the cost of a few
// instructions per node and per beam: the box of the nodes is widened as
// each node is read, and each beam is put at the head of its start node's
// chain, so that a chain runs against list order and a query keeps the
// smallest number it meets. All its tables are one block.
#pragma once

#include <algorithm>
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

  // The box of the nodes with finite coordinates (the others are near
  // nothing and are not indexed), widened as the nodes are read.
  struct Box {
    float low[3] = {HUGE_VALF, HUGE_VALF, HUGE_VALF};
    float high[3] = {-HUGE_VALF, -HUGE_VALF, -HUGE_VALF};
    uint32_t nodes = 0;

    void Add(float x, float y, float z) {
      if (!(std::isfinite(x) && std::isfinite(y) && std::isfinite(z))) return;
      low[0] = std::min(low[0], x);
      low[1] = std::min(low[1], y);
      low[2] = std::min(low[2], z);
      high[0] = std::max(high[0], x);
      high[1] = std::max(high[1], y);
      high[2] = std::max(high[2], z);
      ++nodes;
    }
  };
  // The beam chains, to be extended beam by beam from a copy held in
  // registers while the beams are read.
  struct Chains {
    uint32_t nodes;
    uint32_t* first;  // per node number: the last beam starting there
    uint32_t* next;   // per beam number: the previous beam of its start node

    void Add(uint32_t beam, int32_t start, int32_t end) const {
      // A beam without both nodes never matches.
      if (start < 1 || static_cast<uint32_t>(start) > nodes || end < 1 || static_cast<uint32_t>(end) > nodes) return;
      next[beam] = first[start];
      first[start] = beam;
    }
  };

  // Built alongside the reading of a topology: Reserve for its counts,
  // IndexNodes once the nodes are read (with their box), the beams added
  // to the chains, then Finish. Reserve is false when memory runs out.
  bool Reserve(uint32_t nodes, uint32_t beams);
  // Node number n (1 to the count) is at x[n], y[n], z[n].
  void IndexNodes(const float* x, const float* y, const float* z, const Box& box);
  Chains BeamChains() const { return {nodes_, firstBeam_, nextBeam_}; }
  // Beam number k is the record at first + (k - 1) x stride bytes, the
  // k-th of the list, and ends at node endNode[k].
  void Finish(TOPOStructs::BEAM_REC* first, size_t stride, const int32_t* endNode) {
    first_ = reinterpret_cast<unsigned char*>(first);
    stride_ = stride;
    endNode_ = endNode;
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

  uint32_t nodes_ = 0;
  uint32_t beams_ = 0;
  const float* xyz_[3] = {nullptr, nullptr, nullptr};
  const int32_t* endNode_ = nullptr;
  unsigned char* first_ = nullptr;
  size_t stride_ = 0;
  double origin_[3] = {0, 0, 0};
  double inverse_ = 1;  // 1 / cell size
  uint32_t mask_ = 0;   // buckets - 1
  void* block_ = nullptr;          // every table below
  uint32_t* head_ = nullptr;       // per bucket: a node of it, 0 when empty
  uint32_t* nextNode_ = nullptr;   // per node number: the next of its bucket
  uint32_t* firstBeam_ = nullptr;  // per node number: the last beam starting there
  uint32_t* nextBeam_ = nullptr;   // per beam number: the previous beam of its start node
};
