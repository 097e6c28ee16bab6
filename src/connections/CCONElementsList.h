// The connection element lists: CCONElementsList (shared data elements),
// CCONElementIntf (one entry of a positioned list: data, extras and
// position) and CCONPOSElementsLst (shared entries).
//
// A list is a fixed array of 1000 slots and a count; the first `count`
// slots are in use. Lists share their elements: appending, copying and
// exporting hand out the same objects, never copies.
//
// Archive forms (see CArchive and CConElmData_base):
//   CCONElementIntf     the data's four maps, the extras' four maps, the
//                       position's positioned form (a part that is null is
//                       stored as an empty element)
//   CCONElementsList    count (at most 1000), then each element's four maps
//   CCONPOSElementsLst  count (at most 1000), then each entry's form
// Loading empties the list and gives every slot a new element. A count
// above 1000 fails with 1392, one that the bytes left cannot hold with 38;
// on any failure the list keeps the elements loaded whole before it.
#pragma once

#include <cstdint>

#include "connections/CConElmData_base.h"
#include "framework/PtrStrong.h"
#include "platform/CArchive.h"
#include "platform/Export.h"
#include "platform/Types.h"

class TELIO_EXPORT CCONElementIntf : public GE_::Safe::ObjStrong {
 public:
  typedef GE_::Safe::PtrStrong<CConElmData_base> DataPtr;
  typedef GE_::Safe::PtrStrong<CConElmPos_base> PosPtr;
  static constexpr std::size_t kArchivedMinSize =
      2 * CConElmData_base::kArchivedMinSize + CConElmPos_base::kArchivedMinSize;

  CCONElementIntf() = default;
  // Shares the other entry's three objects.
  CCONElementIntf(const CCONElementIntf& other) = default;
  CCONElementIntf& operator=(const CCONElementIntf& other) = default;
  ~CCONElementIntf() override;

  const DataPtr& GetData() const { return m_data; }
  const DataPtr& GetExtras() const { return m_extras; }
  const PosPtr& GetPos() const { return m_pos; }
  void SetData(const DataPtr& p) { m_data = p; }
  void SetExtras(const DataPtr& p) { m_extras = p; }
  void SetPos(const PosPtr& p) { m_pos = p; }

  // True when the data pointer is empty.
  bool IsNull() const { return m_data.IsNull(); }
  // Empties the three pointers.
  void Null();
  // Takes over (shares) the three pointers; false for null.
  bool Set(const CCONElementIntf& other);
  bool Set(const CCONElementIntf* other);
  // Copies the contents of other's three objects into this entry's own
  // (made when missing; a part null in other becomes null here).
  void EqualTo(const CCONElementIntf& other);

  // On loading the entry first gets new empty data, extras and position.
  // On a failure the entry is left null.
  void Serialize(CArchive& ar);

 private:
  DataPtr m_data;
  DataPtr m_extras;
  PosPtr m_pos;
};

// The slots and count shared by the two lists. Not used on its own.
template <class T>
class CCONSlotList : public GE_::Safe::ObjStrong {
 public:
  typedef GE_::Safe::PtrStrong<T> Ptr;
  enum : int { kMaxElements = 1000 };

  int GetCount() const { return m_count; }
  bool IsEmpty() const { return m_count == 0; }
  bool IsFull() const { return m_count == kMaxElements; }
  int GetCountFree() const { return kMaxElements - m_count; }

  // The element at index (0 to count - 1), or null.
  T* GetElementPtr(int index) const {
    return index >= 0 && index < m_count ? m_slots[index].GetPtr() : nullptr;
  }
  // The slot's pointer (shared), null out of range.
  Ptr GetElement(int index) const { return index >= 0 && index < m_count ? m_slots[index] : Ptr(); }

  // Appends one element (shared); 0 when the list is full or p is null.
  int Add(const Ptr& p) {
    if (IsFull() || p.IsNull()) return 0;
    m_slots[m_count++] = p;
    return 1;
  }
  // Appends every element of other, sharing them; 0 (nothing changed)
  // when this list is full, other is empty, or the free room is smaller
  // than other's count.
  int Append(const CCONSlotList& other) {
    const int n = other.m_count;
    if (IsFull() || n == 0 || GetCountFree() < n) return 0;
    for (int i = 0; i < n; ++i) m_slots[m_count + i] = other.m_slots[i];
    m_count += n;
    return 1;
  }
  int Append(const CCONSlotList* other) { return other ? Append(*other) : 0; }
  // Releases the last element; 0 when empty.
  int Remove() {
    if (m_count == 0) return 0;
    m_slots[--m_count].Reset();
    return 1;
  }
  // Removes the element at index and closes the gap; 0 out of range.
  int RemoveAt(int index) {
    if (index < 0 || index >= m_count) return 0;
    for (int i = index; i + 1 < m_count; ++i) m_slots[i] = m_slots[i + 1];
    m_slots[--m_count].Reset();
    return 1;
  }
  // Releases every element.
  void Empty() {
    while (m_count > 0) m_slots[--m_count].Reset();
  }
  // This list becomes a copy of other, sharing its elements.
  void EqualTo(const CCONSlotList& other) {
    if (&other == this) return;
    for (int i = 0; i < other.m_count; ++i) m_slots[i] = other.m_slots[i];
    for (int i = other.m_count; i < m_count; ++i) m_slots[i].Reset();
    m_count = other.m_count;
  }

 protected:
  CCONSlotList() = default;
  CCONSlotList(const CCONSlotList& other)
      : GE_::Safe::ObjStrong_base(other), GE_::Safe::ObjStrong(other) {
    EqualTo(other);
  }
  ~CCONSlotList() override { Empty(); }

  Ptr m_slots[kMaxElements];
  int m_count = 0;
};

class TELIO_EXPORT CCONElementsList : public CCONSlotList<CConElmData_base> {
 public:
  CCONElementsList() = default;
  CCONElementsList(const CCONElementsList& other) = default;
  CCONElementsList& operator=(const CCONElementsList& other) {
    EqualTo(other);
    return *this;
  }
  // Null leaves the list as it is.
  CCONElementsList& operator=(const CCONElementsList* other) {
    if (other) EqualTo(*other);
    return *this;
  }
  virtual ~CCONElementsList();

  // Index of the first element whose identifier (I data 101) is id, or -1.
  // Slots that are empty and elements without an identifier are skipped.
  int FindPosByID(int id) const;
  CConElmData_base* FindElmByID(int id) const;

  void Serialize(CArchive& ar);
};

class TELIO_EXPORT CCONPOSElementsLst : public CCONSlotList<CCONElementIntf> {
 public:
  CCONPOSElementsLst() = default;
  CCONPOSElementsLst(const CCONPOSElementsLst& other) = default;
  CCONPOSElementsLst& operator=(const CCONPOSElementsLst& other) {
    EqualTo(other);
    return *this;
  }
  CCONPOSElementsLst& operator=(const CCONPOSElementsLst* other) {
    if (other) EqualTo(*other);
    return *this;
  }
  virtual ~CCONPOSElementsLst();

  // The parts of the entry at index, or null.
  CConElmData_base* GetElmData(int index) const;
  CConElmData_base* GetElmExtras(int index) const;
  CConElmPos_base* GetElmPos(int index) const;

  // Index (from start on) of the first entry whose data has the
  // identifier id, or -1; a start below 0 counts as 0.
  int FindPosByID(int id, int start = 0) const;
  CCONElementIntf* FindElmByID(int id) const;
  CConElmData_base* FindElmDataByID(int id) const;

  // A new list (the caller owns it; hold it in a PtrStrong) sharing the
  // data element of each entry in order, an identifier only the first time
  // it occurs; entries whose data has no identifier are all kept. Null when
  // memory is short.
  CCONElementsList* ExportList() const;
  // This list becomes one entry per element of list, each sharing the
  // element as its data, with new empty extras and a new unplaced
  // position. 0 (nothing changed) for null; throws std::bad_alloc when
  // memory is short.
  int ImportList(const CCONElementsList* list);

  void Serialize(CArchive& ar);
};
