// CSmartCollection: the shared, ordered collection of the design model.
//
// Every insertion asks the collection's placement rule, the protected
// virtual GetPosition, where the element is to stand; list classes with
// rules of their own (shape flags, ranges, order) override it and reach
// their own fields directly. Operations return 1 when done and 0 when
// refused, and change nothing when refused. The ...Ex variants call the
// protected hooks, which derived lists override to keep dependent data in
// step or to veto a removal.
#pragma once

#include <utility>

#include "framework/CArrayEx.h"
#include "framework/ElementTraits.h"
#include "framework/PtrStrong.h"
#include "platform/CCheckSum.h"
#include "platform/CException.h"
#include "platform/Types.h"

template <class T>
class CSmartCollection : public GE_::Safe::ObjStrong {
 public:
  CSmartCollection() = default;
  CSmartCollection& operator=(const CSmartCollection& other) {
    CopyFrom(&other);
    return *this;
  }
  ~CSmartCollection() override = default;

  int Add(const T& e) {
    int at = Place(e, -1);
    if (at < 0) return 0;
    m_array.InsertAt(at, e);
    return 1;
  }
  int AddAt(int i, const T& e) {
    int at = Place(e, i);
    if (at < 0 || (i != -1 && at != i)) return 0;
    m_array.InsertAt(at, e);
    return 1;
  }
  int AddFirst(const T& e) { return AddAt(0, e); }
  int AddLast(const T& e) {
    int count = GetCount();
    if (Place(e, count) != count) return 0;
    m_array.InsertAt(count, e);
    return 1;
  }

  // Add of an element made just now (a list making its elements while it
  // loads): the element cannot be held yet, so the search for it that the
  // common rule makes is skipped; every other rule applies.
  int AddNew(const T& e) {
    AddingNew adding(m_addingNew);
    return Add(e);
  }

  // As AddNew, taking over e's reference when the element is added (e is
  // then null): no count changes hands. The index the element went to, or
  // -1 when refused (e unchanged).
  int AdoptNew(T& e) {
    int at;
    {
      AddingNew adding(m_addingNew);
      at = Place(e, -1);
    }
    if (at < 0) return -1;
    if (at == GetCount()) {
      m_array.SetSize(at + 1);
      m_array.GetData()[at] = std::move(e);
    } else {
      m_array.InsertAt(at, e);
      e = T();
    }
    return at;
  }

  // The number of elements the storage grows by when it is full (0: the
  // array's own rule). A list about to load n elements sets n, so that its
  // storage is allocated once; nothing is allocated here.
  void SetGrowStep(int step) { m_array.SetSize(m_array.GetSize(), step < 0 ? 0 : step); }

  int AddEx(const T& e) {
    int at = Place(e, -1);
    if (at < 0) return 0;
    m_array.InsertAt(at, e);
    OnAfterAddElement(at);
    return 1;
  }
  int AddAtEx(int i, const T& e) {
    if (!AddAt(i, e)) return 0;
    OnAfterAddElement(i);
    return 1;
  }
  int AddFirstEx(const T& e) {
    if (!AddFirst(e)) return 0;
    OnAfterAddElement(0);
    return 1;
  }
  int AddLastEx(const T& e) {
    if (!AddLast(e)) return 0;
    OnAfterAddElement(GetCount() - 1);
    return 1;
  }

  void RemoveAt(int i) {
    if (i >= 0 && i < GetCount()) m_array.RemoveAt(i);
  }
  void RemoveFirst() {
    if (!IsEmpty()) m_array.RemoveAt(0);
  }
  void RemoveLast() {
    if (!IsEmpty()) m_array.RemoveAt(GetCount() - 1);
  }
  void RemoveAll() { m_array.RemoveAll(); }

  int RemoveAtEx(int i) {
    if (i < 0 || i >= GetCount() || !OnBeforeRemoveElement(i)) return 0;
    m_array.RemoveAt(i);
    OnAfterRemoveElement();
    return 1;
  }
  int RemoveFirstEx() { return IsEmpty() ? 0 : RemoveAtEx(0); }
  int RemoveLastEx() { return IsEmpty() ? 0 : RemoveAtEx(GetCount() - 1); }
  int RemoveAllEx() {
    if (!OnBeforeRemoveElement(-1)) return 0;
    m_array.RemoveAll();
    OnAfterRemoveElement();
    return 1;
  }

  // A copy of the element; CInvalidArgException* when out of range.
  T GetAt(int i) const { return m_array.GetAt(i); }
  T GetFirst() const { return m_array.GetAt(0); }
  T GetLast() const { return m_array.GetAt(GetCount() - 1); }

  int GetCount() const { return m_array.GetSize(); }
  // The elements in place (GetCount() of them), for reading them without a
  // copy; valid until the collection changes.
  const T* GetData() const { return m_array.GetData(); }
  bool IsEmpty() const { return m_array.GetSize() == 0; }

  int GetPositionBase(int i) const { return i == -1 ? GetCount() : i; }

  // First index >= start holding the same object; -1 when none or when
  // start is out of range.
  int Find(const T& e, int start = 0) const {
    if (start < 0 || start >= GetCount()) return -1;
    const void* id = GE_::Safe::detail::ElementIdentity(e);
    for (int i = start; i < GetCount(); ++i) {
      if (GE_::Safe::detail::ElementIdentity(m_array.GetData()[i]) == id) return i;
    }
    return -1;
  }

  // First index >= start whose live element reports equality with e's
  // object (IsEqualWith); -1 when none or start is out of range.
  int FindValue(const T& e, int start = 0) const {
    if (start < 0 || start >= GetCount()) return -1;
    for (int i = start; i < GetCount(); ++i) {
      const T& mine = m_array.GetData()[i];
      if (!GE_::Safe::detail::IsLiveElement(mine)) continue;
      if (mine->IsEqualWith(&*e)) return i;
    }
    return -1;
  }

  // Moves element from to index to, through the placement rule: the result
  // is that of inserting a copy at to (0 ... count, count appending) and
  // removing the original, so to > from leaves the element at to - 1.
  // Returns to, or -1, changing nothing, when from is out of range, to is
  // below 0 or past the end, to equals from, or the rule refuses. The
  // element is taken out while the rule is asked, so that it is not its own
  // duplicate.
  int MoveElement(int from, int to) {
    if (from < 0 || from >= GetCount() || to < 0 || to > GetCount() || from == to) return -1;
    T e = m_array.GetAt(from);
    m_array.RemoveAt(from);
    int requested = (to > from) ? to - 1 : to;
    int at = Place(e, requested);
    if (at != requested) {
      m_array.InsertAt(from, e);
      return -1;
    }
    m_array.InsertAt(at, e);
    return to;
  }

  // The collection becomes a copy of the source's element list; the
  // element objects are shared. False for null.
  bool CopyFrom(const CSmartCollection* src) {
    if (!src) return false;
    if (src == this) return true;
    m_array.Copy(src->m_array);
    return true;
  }

  // Index by index, both elements null (or dangling), or both live and
  // equal by value (the element's IsEqualWith). Counts must match.
  bool IsEqualElementByElement(const CSmartCollection& other) const {
    if (other.GetCount() != GetCount()) return false;
    for (int i = 0; i < GetCount(); ++i) {
      const T& mine = m_array.GetData()[i];
      const T& theirs = other.m_array.GetData()[i];
      const bool live = GE_::Safe::detail::IsLiveElement(mine);
      if (live != GE_::Safe::detail::IsLiveElement(theirs)) return false;
      if (live && !mine->IsEqualWith(&*theirs)) return false;
    }
    return true;
  }

  // The collection becomes a list of copies (the element's Clone) of
  // other's elements in order, null for null; no placement rule is asked.
  // other must not be this collection.
  // The storage is sized once and each copy moved into its place; when a
  // copy cannot be made the list keeps those made before it.
  void CopyClonesFrom(const CSmartCollection& other) {
    RemoveAll();
    const int n = other.GetCount();
    m_array.SetSize(n);
    for (int i = 0; i < n; ++i) {
      const T& e = other.m_array.GetData()[i];
      if (!GE_::Safe::detail::IsLiveElement(e)) continue;
      try {
        m_array.GetData()[i] = T(e->Clone());
      } catch (...) {
        m_array.SetSize(i);
        throw;
      }
    }
  }

  // Inner checksum over the live elements' checksums, fed as 4 bytes into
  // an outer checksum (the count is not fed).
  virtual ulong32 CheckSum() const {
    CCheckSum inner;
    for (int i = 0; i < GetCount(); ++i) {
      ulong32 value;
      if (GE_::Safe::detail::ElementCheckSum(m_array.GetData()[i], value)) inner.AddU32(value);
    }
    return OuterCheckSum(inner.get());
  }

  // What a collection pointer that is null contributes where a collection's
  // checksum is asked for: the outer checksum of an inner value 0.
  static ulong32 CheckSumOfNull() { return OuterCheckSum(0); }

 protected:
  // Non-zero allows the removal of element index (-1: all of them).
  virtual int OnBeforeRemoveElement(int index) {
    (void)index;
    return 1;
  }
  virtual void OnAfterRemoveElement() {}
  virtual void OnAfterAddElement(int index) { (void)index; }

  // The placement rule: the index at which e is to stand when requested is
  // asked for (-1: "anywhere", normally the end), or -1 to refuse it. This
  // default refuses what the common rule refuses and otherwise places at
  // GetPositionBase(requested).
  virtual int GetPosition(const T& e, int requested) const {
    if (IsRefusedByCommonRule(e)) return -1;
    return GetPositionBase(requested);
  }

  // The common part of every placement rule: a null or dangling element,
  // or one already held, is refused.
  bool IsRefusedByCommonRule(const T& e) const {
    if (!GE_::Safe::detail::IsLiveElement(e)) return true;
    return !m_addingNew && Find(e, 0) >= 0;
  }

  T* ElementAt(int i) { return (i >= 0 && i < GetCount()) ? &m_array.GetData()[i] : nullptr; }
  const T* ElementAt(int i) const {
    return (i >= 0 && i < GetCount()) ? &m_array.GetData()[i] : nullptr;
  }

  int Place(const T& e, int requested) const { return GetPosition(e, requested); }

  CArrayEx<T, const T&> m_array;

 private:
  // Set while AddNew or AdoptNew places an element.
  bool m_addingNew = false;
  // Sets the flag for a scope, clearing it however the scope is left.
  struct AddingNew {
    explicit AddingNew(bool& flag) : m_flag(flag) { m_flag = true; }
    ~AddingNew() { m_flag = false; }
    AddingNew(const AddingNew&) = delete;
    AddingNew& operator=(const AddingNew&) = delete;
    bool& m_flag;
  };

  CSmartCollection(const CSmartCollection&) = delete;

  static ulong32 OuterCheckSum(ulong32 inner) {
    CCheckSum outer;
    outer.AddU32(inner);
    return outer.get();
  }
};
