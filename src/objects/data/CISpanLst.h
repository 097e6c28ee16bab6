// CISpanLst: what the restraint lists of a member share: restraints (TItem,
// a CGDistance) along the member line and one span (TSpan) between each two
// consecutive restraints, each span with its values per load case.
//
// The restraints are kept unique, ascending and on the line, ends included
// (distance-list flags 0x97). The spans follow them:
//  - a restraint added, or moved to a position the list accepts, rebuilds
//    every span (AfterItemsChanged), the list first being completed;
//  - a restraint removed rebuilds the spans of the restraints left, without
//    completing the list, so that a restraint taken off an end can be
//    replaced by another at the same position.
// Completing (CompleteEnds) works on a list that holds restraints: it
// removes restraints beyond the line's ends and adds a default restraint
// (NewEndItem) at an end that has none, so that the spans cover the whole
// member. An empty list stays empty.
// Rebuilt spans are new objects: their factors are computed afresh and
// their value lists follow the load-case list of the last
// SynchronizeLCValues (held weakly), without value sets yet.
//
// TSpan provides TSpan(TItem*, TItem*), GetLCValuesLst(), CopyFrom,
// IsEqualWith, Serialize and CheckSum.
#pragma once

#include <cstdio>

#include "framework/CArrayExPointers.h"
#include "framework/Persist.h"
#include "framework/PtrStrong.h"
#include "objects/data/CILoadCaseLstSyn.h"
#include "objects/geometry/CGDistance.h"
#include "objects/geometry/CGLine.h"
#include "platform/CException.h"
#include "platform/LastError.h"
#include "platform/Types.h"

namespace TELMARO_DATA_OBJECTS {

// Unique, on-line, in-line, ascending, positive.
const ulong32 kSpanLstFlags = 0x97;

template <class TItem, class TSpan>
class CISpanLst : public GEOMETRY_OBJECTS::CGDistanceLst {
 public:
  typedef GE_::Safe::PtrStrong<TSpan> SpanPtr;
  typedef GE_::Safe::PtrStrong<GEOMETRY_OBJECTS::CGDistance> ItemPtr;

  explicit CISpanLst(GEOMETRY_OBJECTS::CGLine* line) : CGDistanceLst(line, kSpanLstFlags) {}
  ~CISpanLst() override = default;

  // A new default restraint, as the element factory of the list.
  ItemPtr CreateNewObject() const override { return ItemPtr(new TItem); }

  // Restraint i, or null.
  TItem* ItemAt(int i) const {
    const ItemPtr* e = ElementAt(i);
    return e ? dynamic_cast<TItem*>(e->GetPtr()) : nullptr;
  }
  // The restraint at position (within 0.001), or null.
  TItem* FindItemAt(double position) const { return ItemAt(FindDistance(position)); }
  int GetCountSpans() const { return m_spans.GetSize(); }
  // Span i, or null.
  TSpan* SpanAt(int i) const { return (i >= 0 && i < m_spans.GetSize()) ? m_spans[i].GetPtr() : nullptr; }

  // Every span's values follow lst (which must be owned through PtrStrong,
  // or null), and so will those of spans made later. Returns 1.
  int SynchronizeLCValues(CILoadCaseLstSyn* lst) {
    m_lcLst = lst;
    int result = 1;
    for (int i = 0; i < m_spans.GetSize(); ++i) {
      if (TSpan* span = SpanAt(i)) result = span->GetLCValuesLst()->SynchronizeLCValues(lst) && result;
    }
    return result;
  }
  void InitializeLCValuesAll() {
    for (int i = 0; i < m_spans.GetSize(); ++i) {
      if (TSpan* span = SpanAt(i)) span->GetLCValuesLst()->InitializeLCValuesAll();
    }
  }

  using CGDistanceLst::OnChangeElement;
  // Moves e as the distance list does; when e moved, the spans are rebuilt
  // (AfterItemsChanged).
  int OnChangeElement(GEOMETRY_OBJECTS::CGDistance* e, double v) override {
    const double before = e ? e->Distance() : 0.0;
    int result;
    {
      Quiet quiet(*this);
      result = CGDistanceLst::OnChangeElement(e, v);
    }
    if (result && e->Distance() != before && IndexOf(e) >= 0) AfterItemsChanged();
    return result;
  }

 protected:
  // A restraint for an end of the line that has none.
  virtual ItemPtr NewEndItem(double position) const = 0;
  // After a restraint was added or moved.
  virtual void AfterItemsChanged() { ResetSpans(); }

  void OnAfterAddElement(int i) override {
    CGDistanceLst::OnAfterAddElement(i);
    if (!m_quiet) AfterItemsChanged();
  }
  void OnAfterRemoveElement() override {
    if (!m_quiet) RebuildSpans();
  }
  int GetPosition(const ItemPtr& e, int requested) const override {
    if (!dynamic_cast<const TItem*>(e.GetPtr())) return -1;
    return CGDistanceLst::GetPosition(e, requested);
  }

  // Index of the element e (the same object), or -1.
  int IndexOf(const GEOMETRY_OBJECTS::CGDistance* e) const {
    for (int i = 0; e && i < GetCount(); ++i) {
      if (ElementAt(i)->GetRawPtr() == e) return i;
    }
    return -1;
  }

  // Removes restraints beyond the line's ends and adds a NewEndItem at an
  // end without one (nothing for an empty list). True when the list was
  // complete as it stood; false without a live line.
  bool CompleteEnds() {
    GEOMETRY_OBJECTS::CGLine* line = GetLine();
    if (!line) return false;
    if (GetCount() == 0) return true;
    bool complete = true;
    const double length = line->Length();
    for (int i = GetCount() - 1; i >= 0; --i) {
      TItem* item = ItemAt(i);
      if (!item || item->Distance() < -GEOMETRY_OBJECTS::kGeoTolerance ||
          item->Distance() > length + GEOMETRY_OBJECTS::kGeoTolerance) {
        RemoveAt(i);
        complete = false;
      }
    }
    for (double end : {0.0, length}) {
      if (FindDistance(end) >= 0) continue;
      ItemPtr item = NewEndItem(end);
      if (Add(item)) CGDistanceLst::OnAfterAddElement(IndexOf(item.GetPtr()));
      complete = false;
    }
    return complete;
  }
  // One span per two consecutive restraints, each linked to them.
  bool SpansFollowItems() const {
    const int spans = GetCount() > 0 ? GetCount() - 1 : 0;
    if (m_spans.GetSize() != spans) return false;
    for (int i = 0; i < spans; ++i) {
      const TSpan* span = SpanAt(i);
      if (!span || span->Left() != ItemAt(i) || span->Right() != ItemAt(i + 1)) return false;
    }
    return true;
  }
  // CompleteEnds, then whether the spans follow the restraints (1) or not
  // (0).
  int CompleteAndCheckSpans() { return CompleteEnds() && SpansFollowItems() ? 1 : 0; }
  // CompleteEnds, then RebuildSpans.
  void ResetSpans() {
    CompleteEnds();
    RebuildSpans();
  }
  // New spans between the restraints as they stand.
  void RebuildSpans() {
    m_spans.RemoveAll();
    CILoadCaseLstSyn* lcLst = m_lcLst.GetPtr();
    for (int i = 0; i + 1 < GetCount(); ++i) {
      SpanPtr span(new TSpan(ItemAt(i), ItemAt(i + 1)));
      if (lcLst) span->GetLCValuesLst()->SynchronizeLCValues(lcLst);
      m_spans.Add(span);
    }
  }
  // Span i takes over from's element, factors and value sets; its values
  // then follow this list's load-case list again.
  void TakeOverSpan(int i, const TSpan& from) {
    TSpan* span = SpanAt(i);
    if (!span) return;
    span->CopyFrom(&from);
    if (CILoadCaseLstSyn* lcLst = m_lcLst.GetPtr()) span->GetLCValuesLst()->SynchronizeLCValues(lcLst);
  }

  // Adds item (shared) where the rules place it; 1 when added.
  int AddItem(const ItemPtr& item) { return item.IsNull() ? 0 : AddEx(item); }
  // Removes every restraint that pred accepts, then rebuilds the spans
  // once. Returns how many were removed.
  template <class Pred>
  int RemoveItemsWhere(Pred pred) {
    int removed = 0;
    for (int i = GetCount() - 1; i >= 0; --i) {
      TItem* item = ItemAt(i);
      if (item && pred(*item) && OnBeforeRemoveElement(i)) {
        RemoveAt(i);
        ++removed;
      }
    }
    if (removed) OnAfterRemoveElement();
    return removed;
  }

  // Positions equal within 0.001, index by index.
  bool IsItemsEqualWith(const CISpanLst& other) const {
    if (other.GetCount() != GetCount()) return false;
    for (int i = 0; i < GetCount(); ++i) {
      const TItem* a = ItemAt(i);
      const TItem* b = other.ItemAt(i);
      if (!a || !b || !a->IsEqualWith(b->Distance())) return false;
    }
    return true;
  }
  // The restraints match (MatchWith) and so do the spans (IsEqualWith),
  // index by index.
  bool IsItemsDataEqualWith(const CISpanLst& other) const {
    if (other.GetCount() != GetCount() || other.m_spans.GetSize() != m_spans.GetSize()) return false;
    for (int i = 0; i < GetCount(); ++i) {
      const TItem* a = ItemAt(i);
      if (!a || !a->MatchWith(other.ItemAt(i))) return false;
    }
    for (int i = 0; i < m_spans.GetSize(); ++i) {
      const TSpan* a = SpanAt(i);
      if (!a || !a->IsEqualWith(other.SpanAt(i))) return false;
    }
    return true;
  }
  // Copies of other's restraints and spans; the line and the load-case
  // list stay this list's own.
  void CopySpanLstFrom(const CISpanLst& other) {
    if (&other == this) return;
    {
      Quiet quiet(*this);
      CGDistanceLst::CopyFrom(&other);
    }
    RebuildSpans();
    for (int i = 0; i < other.m_spans.GetSize(); ++i) {
      if (const TSpan* span = other.SpanAt(i)) TakeOverSpan(i, *span);
    }
  }

  // The span count (4, signed) and the span records.
  bool WriteSpans(FILE* f) const {
    CPersist io(f, false);
    long32 count = m_spans.GetSize();
    io.Int32(count);
    for (long32 i = 0; i < count && io.ok(); ++i) {
      if (TSpan* span = SpanAt(i)) {
        if (!span->Serialize(f, false)) return false;
      } else {
        TSpan blank;
        if (!blank.Serialize(f, false)) return false;
      }
    }
    return io.ok();
  }
  // Reads the span count and records; span i, for i below both counts,
  // takes over record i. A negative count reads no record.
  bool ReadSpans(FILE* f) {
    CPersist io(f, true);
    long32 count = 0;
    io.Int32(count);
    for (long32 i = 0; i < count && io.ok(); ++i) {
      TSpan read;
      if (!read.Serialize(f, true)) return false;
      TakeOverSpan(i, read);
    }
    return io.ok();
  }
  // Reads the restraint list record (no hooks: the owner rebuilds).
  bool ReadItems(FILE* f) {
    Quiet quiet(*this);
    m_spans.RemoveAll();
    return CGDistanceLst::Serialize(f, true);
  }

  // Runs body, reporting 8 when a container could not grow.
  template <class Body>
  static bool WithMemoryCheck(Body body) {
    try {
      return body();
    } catch (CMemoryException*) {
      telio::SetLastError(telio::kErrorNotEnoughMemory);
      return false;
    }
  }

  CArrayExPointers<SpanPtr> m_spans;

 private:
  CISpanLst(const CISpanLst&) = delete;

  // Holds the hooks back while the distance list moves or loads elements.
  struct Quiet {
    explicit Quiet(CISpanLst& l) : list(l), was(l.m_quiet) { l.m_quiet = true; }
    ~Quiet() { list.m_quiet = was; }
    CISpanLst& list;
    bool was;
  };

  GE_::Safe::PtrWeak<CILoadCaseLstSyn> m_lcLst;
  bool m_quiet = false;
};

}  // namespace TELMARO_DATA_OBJECTS
