// CGDistance: a position along a line, held as the distance from its start;
// CGDistanceLst: the distances along one line, kept by the list's own
// rules (range, sign, uniqueness, order).
//
// Records:
//   CGDistance (no version word): the distance, 8 bytes.
//   CGDistanceLst (version 1): version word (4), count (4, signed), then
//     count distance records in the framing of CreateNewObject()'s class.
//     The flags and the line are not stored: they come from the
//     constructor. Loading offers each distance to the placement rule and
//     links each accepted one to the list (OnAfterAddElement is not called:
//     a derived list rebuilds what depends on its elements once loaded).
// Checksums:
//   CGDistance: the distance, 8 bytes.
//   CGDistanceLst: the collection checksum (4 bytes), then, while the line
//     is alive, its length (8 bytes).
//
// Placement rule of a distance v under the flags F (the requested index is
// ignored, the list chooses):
//  1. refused without a live line, or for a null, dangling or held element;
//  2. unique (0x001): refused when a distance equal within 0.001 is held;
//  3. using -1 (0x100) and v exactly -1.0: placed at the end;
//  4. refused when v >= 0 without positive (0x080), when v < 0 without
//     negative (0x040);
//  5. the point at v along the line (range-checked unless out-line, 0x008)
//     must exist, and its position must be allowed: beyond an end needs
//     out-line (0x008); strictly inside needs on-line (0x002) or in-line
//     (0x004); at the start or the end needs on-line (0x002);
//  6. ascending (0x010): before the first live element greater than v;
//     descending (0x020, without ascending): after the last live element
//     greater than v; otherwise at the end;
//  7. a place at the end of a list ending with the -1.0 marker (with
//     0x100) becomes the place before the marker.
#pragma once

#include <cstdio>

#include "framework/CSmartCollection.h"
#include "framework/PtrStrong.h"
#include "objects/geometry/CGLine.h"
#include "objects/geometry/CGPoint.h"
#include "platform/Export.h"
#include "platform/Types.h"

namespace GEOMETRY_OBJECTS {

const unsigned int _SerializeVersionCGDistance = 0;
const unsigned int _SerializeVersionCGDistanceLst = 1;

// Flags of a distance list (frozen values: derived lists store them).
enum : ulong32 {
  kDstLstUnique = 0x001,
  kDstLstOnLine = 0x002,
  kDstLstInLine = 0x004,
  kDstLstOutLine = 0x008,
  kDstLstSortA = 0x010,
  kDstLstSortD = 0x020,
  kDstLstNegative = 0x040,
  kDstLstPositive = 0x080,
  kDstLstUsingNegOne = 0x100,
};

class CGDistanceLst;

class TELIO_EXPORT CGDistance : public GE_::Safe::ObjStrong {
 public:
  explicit CGDistance(double distance = 0);
  // A copy has the value and belongs to no list.
  CGDistance(const CGDistance& other);
  // As CopyFrom: the value goes through SetDistance.
  CGDistance& operator=(const CGDistance& other);
  ~CGDistance() override;

  static GE_::Safe::PtrStrong<CGDistance> GetNewObject();

  double Distance() const { return m_distance; }
  // The owning list, null when the distance is in none (or it is gone).
  // Observed, not owned: do not make a PtrStrong of it unless the list is
  // itself held by one.
  CGDistanceLst* GetDistanceLst() const { return m_owner.GetPtr(); }

  // In a live list the list decides (OnChangeElement) and the result is its
  // answer (0: refused, the value and place unchanged); otherwise the value
  // is set and the result is 1.
  int SetDistance(double distance);
  // p is converted to a distance along the list's line; 0 without a live
  // list or when p is not on the line.
  int SetDistance(const CGPoint& p);
  // The distance belongs to a live list.
  bool IsValidDistance() const;
  // The point at this distance along the list's line, or null.
  GE_::Safe::PtrStrong<CGPoint> DistanceToPoint() const;

  // Comparisons: equal within 0.001; smaller and bigger without tolerance.
  // The pointer forms are false for null.
  bool IsEqualWith(double v) const;
  bool IsEqualWith(const CGDistance* other) const;
  bool IsSmaller(double v) const;
  bool IsSmaller(const CGDistance* other) const;
  bool IsBigger(double v) const;
  bool IsBigger(const CGDistance* other) const;
  bool IsEqualSmaller(double v) const;
  bool IsEqualSmaller(const CGDistance* other) const;
  bool IsEqualBigger(double v) const;
  bool IsEqualBigger(const CGDistance* other) const;

  // Through SetDistance; false for null or when the list refused the value.
  bool CopyFrom(const CGDistance* other);
  bool CopyTo(CGDistance* other) const;

  // A new object of this object's own class with the same content, in no
  // list. Derived classes must override it: lists copy their elements
  // with it.
  virtual GE_::Safe::PtrStrong<CGDistance> Clone() const;
  virtual bool Serialize(FILE* f, bool load);
  virtual ulong32 CheckSum() const;

 protected:
  double m_distance;

 private:
  friend class CGDistanceLst;

  GE_::Safe::PtrWeak<CGDistanceLst> m_owner;
};

class TELIO_EXPORT CGDistanceLst : public CSmartCollection<GE_::Safe::PtrStrong<CGDistance>> {
 public:
  // line is observed, not owned (it must be an object that lives on its own
  // or through a PtrStrong); the list refuses everything once it is gone.
  explicit CGDistanceLst(CGLine* line = nullptr, ulong32 flags = 0);
  ~CGDistanceLst() override;
  // As CopyFrom.
  CGDistanceLst& operator=(const CGDistanceLst& other);

  // Empties the list and sets new flags.
  void Initialize(ulong32 flags);
  ulong32 GetFlags() const { return m_flags; }
  // The line, null once it is gone; observed, not owned.
  CGLine* GetLine() const { return m_line.GetPtr(); }
  void SetLine(CGLine* line) { m_line = line; }

  bool IsUniqueList() const { return (m_flags & kDstLstUnique) != 0; }
  bool IsOnLineList() const { return (m_flags & kDstLstOnLine) != 0; }
  bool IsInLineList() const { return (m_flags & kDstLstInLine) != 0; }
  bool IsOutLineList() const { return (m_flags & kDstLstOutLine) != 0; }
  bool IsSortAList() const { return (m_flags & kDstLstSortA) != 0; }
  bool IsSortDList() const { return (m_flags & kDstLstSortD) != 0; }
  bool IsNegativeList() const { return (m_flags & kDstLstNegative) != 0; }
  bool IsPositiveList() const { return (m_flags & kDstLstPositive) != 0; }
  bool IsUsingNegOneList() const { return (m_flags & kDstLstUsingNegOne) != 0; }

  // A new distance 0; derived lists make their own element class.
  virtual GE_::Safe::PtrStrong<CGDistance> CreateNewObject() const;
  // Index of the first live distance equal to d within 0.001, or -1.
  int FindDistance(double d) const;
  // A new point at d along the line (range-checked unless the out-line
  // flag is set), or null without a live line or when d gives none.
  GE_::Safe::PtrStrong<CGPoint> Distance2Point(double d) const;

  // The flags and a copy (Clone) of each distance, in order, each linked to
  // this list; the line stays this list's own. False for null.
  bool CopyFrom(const CGDistanceLst* other);
  bool CopyTo(CGDistanceLst* other) const;

  // --- virtual operations, in slot order after the collection's ---
  ulong32 CheckSum() const override;
  // Returns false when the stream failed or the list could not grow (the
  // distances read until then are kept).
  virtual bool Serialize(FILE* f, bool load);
  // p converted to a distance along the line (Point2Distance, inside only
  // unless the out-line flag is set); 0 when that fails, else the answer of
  // OnChangeElement(e, distance).
  virtual int OnChangeElement(CGDistance* e, const CGPoint& p);
  // Moves e to the value v where the rules place it. Nothing, result 0, for
  // a null e; nothing, result 1, when e already holds v within 0.001. e is
  // taken out (RemoveAtEx) and a copy with v offered to the placement rule:
  // accepted, e takes v, goes to the placed index and OnAfterAddElement
  // runs, result 1; refused, e goes back to its index with its value and
  // OnAfterAddElement runs for it, result 0. An e this list does not hold
  // simply takes v (result 1).
  virtual int OnChangeElement(CGDistance* e, double v);

 protected:
  // Links element index to this list.
  void OnAfterAddElement(int index) override;
  int GetPosition(const GE_::Safe::PtrStrong<CGDistance>& e, int requested) const override;

 private:
  CGDistanceLst(const CGDistanceLst&) = delete;

  GE_::Safe::PtrWeak<CGLine> m_line;
  ulong32 m_flags;
};

}  // namespace GEOMETRY_OBJECTS
