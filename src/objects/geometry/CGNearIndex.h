// CGNearIndex: the elements of a list being loaded, filed by a point of
// theirs in a grid, so that the unique-list rule ("no element equal to one
// held") looks at the few elements near a new one instead of all of them.
// Loading n elements into a unique list is then linear instead of
// quadratic.
//
// A short list is searched faster than filed: the list starts filing when
// it holds kFrom elements (ListHoldsEqual files all it holds then), and from
// then on files each element it takes.
//
// It is only used while a list loads: the elements are new and reachable
// through the list alone, so none moves while it is filed. A list that
// changes by any other way searches all of its elements.
//
// Filing: an element is filed under a point p of its own, in the cell
// (floor(x / kCell), floor(y / kCell), floor(z / kCell)). Two elements that
// can be equal have filing points within kReach of each other in every
// coordinate (a point: itself, 0.001 box; a line: the midpoint of its ends,
// which stays within the box whichever way round the ends are; kReach
// leaves room for the rounding of the midpoint). A search looks in the
// cells the box of half-width kReach around p touches: one cell mostly,
// eight at most. A filing point with a coordinate that is not finite or
// beyond kGridLimit goes to a loose list, which every search also walks;
// a search from such a point, or after filing failed for want of memory,
// is not answered (Search returns false) and the caller walks its list.
#pragma once

#include <cmath>
#include <cstdint>
#include <new>
#include <unordered_map>
#include <vector>

#include "objects/geometry/CGPoint.h"

namespace GEOMETRY_OBJECTS {

class CGNearIndex {
 public:

  static inline const double kReach = 2 * kGeoTolerance;
  static inline const double kCell = 8 * kGeoTolerance;
  static constexpr double kGridLimit = 1e12;
  static constexpr int kFrom = 16;

  bool Active() const { return m_active; }

  // Whether list, loading through this index, holds an element equal to e
  // (IsEqualWith); keyOf gives an element's filing point.
  template <class List, class Element, class KeyOf>
  bool ListHoldsEqual(const List& list, const Element& e, KeyOf keyOf) {
    if (list.GetCount() >= kFrom) {
      if (!m_active) {
        m_active = true;
        for (int i = 0; i < list.GetCount(); ++i) {
          const Element held = list.GetAt(i);
          if (!held.IsNull()) Add(keyOf(*held), held.GetPtr());
        }
      }
      const auto* wanted = e.GetPtr();
      auto equal = [wanted](const void* held) { return static_cast<decltype(wanted)>(held)->IsEqualWith(wanted); };
      bool found;
      if (Search(keyOf(*wanted), equal, &found)) return found;
    }
    return list.FindValue(e) >= 0;
  }

  // Files item under p. Failing for want of memory leaves the index
  // unusable, never throws.
  void Add(const CGPoint& p, const void* item) {
    if (m_broken) return;
    try {
      Cell c;
      if (CellOf(p.X(), p.Y(), p.Z(), &c)) {
        m_cells[c].push_back(item);
      } else {
        m_loose.push_back(item);
      }
    } catch (const std::bad_alloc&) {
      m_broken = true;
      m_cells.clear();
      m_loose.clear();
    }
  }

  // Sets *found to whether some filed item near p satisfies equal(item).
  // Returns false, leaving *found alone, when the index cannot answer for
  // p; the caller then searches its whole list.
  template <class Equal>
  bool Search(const CGPoint& p, Equal equal, bool* found) const {
    if (m_broken) return false;
    Cell lo, hi;
    if (!CellOf(p.X() - kReach, p.Y() - kReach, p.Z() - kReach, &lo) ||
        !CellOf(p.X() + kReach, p.Y() + kReach, p.Z() + kReach, &hi)) {
      return false;
    }
    *found = true;
    for (const void* item : m_loose) {
      if (equal(item)) return true;
    }
    for (std::int64_t x = lo.x; x <= hi.x; ++x) {
      for (std::int64_t y = lo.y; y <= hi.y; ++y) {
        for (std::int64_t z = lo.z; z <= hi.z; ++z) {
          auto it = m_cells.find(Cell{x, y, z});
          if (it == m_cells.end()) continue;
          for (const void* item : it->second) {
            if (equal(item)) return true;
          }
        }
      }
    }
    *found = false;
    return true;
  }

 private:
  struct Cell {
    std::int64_t x, y, z;
    bool operator==(const Cell& o) const { return x == o.x && y == o.y && z == o.z; }
  };
  struct CellHash {
    std::size_t operator()(const Cell& c) const {
      std::uint64_t h = static_cast<std::uint64_t>(c.x) * 0x9E3779B97F4A7C15ull;
      h ^= static_cast<std::uint64_t>(c.y) * 0xC2B2AE3D27D4EB4Full + (h << 6) + (h >> 2);
      h ^= static_cast<std::uint64_t>(c.z) * 0x165667B19E3779F9ull + (h << 6) + (h >> 2);
      return static_cast<std::size_t>(h ^ (h >> 29));
    }
  };

  static bool Coord(double v, std::int64_t* out) {
    if (!(std::fabs(v) <= kGridLimit)) return false;  // NaN too
    *out = static_cast<std::int64_t>(std::floor(v / kCell));
    return true;
  }
  static bool CellOf(double x, double y, double z, Cell* c) {
    return Coord(x, &c->x) && Coord(y, &c->y) && Coord(z, &c->z);
  }

  std::unordered_map<Cell, std::vector<const void*>, CellHash> m_cells;
  std::vector<const void*> m_loose;
  bool m_active = false;
  bool m_broken = false;
};

// Points a list's slot at a new index for the scope's length, however the
// scope is left (a load may end in an exception).
class CGNearIndexScope {
 public:
  explicit CGNearIndexScope(CGNearIndex*& slot) : m_slot(slot) { m_slot = &m_index; }
  ~CGNearIndexScope() { m_slot = nullptr; }
  CGNearIndexScope(const CGNearIndexScope&) = delete;
  CGNearIndexScope& operator=(const CGNearIndexScope&) = delete;
  CGNearIndex& Index() { return m_index; }

 private:
  CGNearIndex*& m_slot;
  CGNearIndex m_index;
};

}  // namespace GEOMETRY_OBJECTS
