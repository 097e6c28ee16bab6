// CMapEx: the framework's integer hash map with a checksum; CMapExNumbers
// adds the value comparison and copy of numeric maps.
//
// Every map of the model has 17 buckets and a block size of 10, and feeds
// its checksum in iteration order, so both are part of the saved state.
// kInline entries live inside the map object (see CMap): a map that rarely
// holds more saves its allocations.
// Copies and loads keep that order (see CMap), so a map copied, or saved
// and loaded again, gives the checksum of the original.
//
// Archive form (Serialize): the entry count in the archive's count form,
// then each entry in iteration order: the key (4 bytes), then the value
// (4 bytes for int and long, 8 for double, the archive's string form for
// CString).
#pragma once

#include <cmath>
#include <type_traits>

#include "platform/CArchive.h"
#include "platform/CCheckSum.h"
#include "platform/CMap.h"
#include "platform/CString.h"
#include "platform/LastError.h"
#include "platform/Types.h"

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, int kInline = 0>
class CMapEx : public CMap<KEY, ARG_KEY, VALUE, ARG_VALUE, kInline> {
 public:
  enum { kHashTableSize = 17, kBlockSize = 10 };

  CMapEx() : CMap<KEY, ARG_KEY, VALUE, ARG_VALUE, kInline>(kBlockSize, kHashTableSize) {}
  CMapEx(const CMapEx& other) : CMapEx() { this->CopyEntriesFrom(other); }
  CMapEx& operator=(const CMapEx& other) {
    this->CopyEntriesFrom(other);
    return *this;
  }
  ~CMapEx() override = default;

  // Storing writes every entry. Loading empties the map first and adds the
  // entries read in their order; a key read twice keeps its last value. On
  // a failure (the archive's error is set; nothing is thrown) the map holds
  // the entries read before it.
  void Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
      ar.WriteCount(static_cast<std::uint32_t>(this->GetCount()));
      KEY key;
      VALUE value;
      for (POSITION pos = this->GetStartPosition(); pos && ar.ok();) {
        this->GetNextAssoc(pos, key, value);
        ar << key << value;
      }
      return;
    }
    this->RemoveAll();
    const std::uint32_t count =
        ar.ReadCount(ArchivedMinSize<KEY>() + ArchivedMinSize<VALUE>());
    for (std::uint32_t i = 0; i < count && ar.ok(); ++i) {
      KEY key{};
      VALUE value{};
      ar >> key >> value;
      if (!ar.ok()) break;
      if (!this->SetAtTail(key, value)) ar.Fail(telio::kErrorNotEnoughMemory);
    }
  }

  // Each entry in iteration order: the key (4 bytes), then the value (4
  // bytes for integers, 8 for double, the text for CString).
  virtual ulong32 CheckSum() const {
    CCheckSum sum;
    POSITION pos = this->GetStartPosition();
    while (pos) {
      KEY key;
      VALUE value;
      this->GetNextAssoc(pos, key, value);
      sum.AddU32(static_cast<ulong32>(key));
      if constexpr (std::is_same<VALUE, CString>::value) {
        sum.Add(value);
      } else if constexpr (std::is_floating_point<VALUE>::value) {
        sum.AddF64(static_cast<double>(value));
      } else {
        static_assert(sizeof(VALUE) == 4, "integer map values are 32-bit");
        sum.AddU32(static_cast<ulong32>(value));
      }
    }
    return sum.get();
  }
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, int kInline = 0>
class CMapExNumbers : public CMapEx<KEY, ARG_KEY, VALUE, ARG_VALUE, kInline> {
 public:
  // Tolerance of the value comparison.
  static constexpr double kTolerance = 0.001;

  CMapExNumbers() = default;
  CMapExNumbers(const CMapExNumbers& other) : CMapEx<KEY, ARG_KEY, VALUE, ARG_VALUE, kInline>(other) {}
  CMapExNumbers& operator=(const CMapExNumbers& other) {
    this->CopyEntriesFrom(other);
    return *this;
  }
  ~CMapExNumbers() override = default;

  // Every entry of other is here with a value within kTolerance, and both
  // hold as many entries. False for null.
  bool IsEqualWith(const CMapExNumbers* other) const {
    if (!other) return false;
    POSITION pos = other->GetStartPosition();
    while (pos) {
      KEY key;
      VALUE theirs;
      other->GetNextAssoc(pos, key, theirs);
      VALUE mine;
      if (!this->Lookup(key, mine)) return false;
      double diff = static_cast<double>(mine) - static_cast<double>(theirs);
      if (!(std::fabs(diff) <= kTolerance)) return false;
    }
    return this->GetCount() == other->GetCount();
  }

  // This map becomes a copy of other, in other's iteration order. False for
  // null. Throws CMemoryException* when memory is short (this map is then
  // empty).
  bool CopyFrom(const CMapExNumbers* other) {
    if (!other) return false;
    this->CopyEntriesFrom(*other);
    return true;
  }
};
