// CMapEx: the framework's integer hash map with a checksum; CMapExNumbers
// adds the value comparison and copy of numeric maps.
//
// Every map of the model has 17 buckets and a block size of 10, and feeds
// its checksum in iteration order, so both are part of the saved state.
// The archive form of these maps (the entry count, then each key and value)
// arrives with the archive object; until then a map is saved by its owner.
#pragma once

#include <cmath>
#include <type_traits>

#include "platform/CCheckSum.h"
#include "platform/CMap.h"
#include "platform/CString.h"
#include "platform/Types.h"

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMapEx : public CMap<KEY, ARG_KEY, VALUE, ARG_VALUE> {
 public:
  enum { kHashTableSize = 17, kBlockSize = 10 };

  CMapEx() : CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>(kBlockSize) {
    this->InitHashTable(kHashTableSize, false);
  }
  ~CMapEx() override = default;

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

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMapExNumbers : public CMapEx<KEY, ARG_KEY, VALUE, ARG_VALUE> {
 public:
  // Tolerance of the value comparison.
  static constexpr double kTolerance = 0.001;

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

  // This map becomes a copy of other. False for null.
  bool CopyFrom(const CMapExNumbers* other) {
    if (!other) return false;
    if (other == this) return true;
    this->RemoveAll();
    POSITION pos = other->GetStartPosition();
    while (pos) {
      KEY key;
      VALUE value;
      other->GetNextAssoc(pos, key, value);
      this->SetAt(key, value);
    }
    return true;
  }
};
