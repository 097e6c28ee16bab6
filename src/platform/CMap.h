// CMap: the framework's hash map with integer keys.
//
// An entry's bucket is (key >> 4) mod the table size, the key taken as an
// unsigned 32-bit value; a new entry goes to the head of its bucket's chain.
// Iteration (GetStartPosition / GetNextAssoc) walks the buckets in order and
// each chain from its head. Checksums of maps are fed in this order, so it
// is part of the file-visible behaviour and must not change.
//
// Entries are allocated blockSize at a time (one allocation per block, as
// the framework's map does) and reused through a free list; the blocks are
// released when the map becomes empty.
//
// A map copied (CopyEntriesFrom) or filled from another map's entries in
// their iteration order (SetAtTail) iterates in that same order, so a copy,
// or a map saved and loaded again, has the checksum of the original. The
// framework's own copy and load insert at the chain heads and reverse each
// bucket's chain; that is the one place we depart from it.
#pragma once

#include <cstdint>
#include <new>
#include <utility>

#include "platform/Alloc.h"
#include "platform/CException.h"

typedef void* POSITION;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(-1))

template <class KEY>
inline unsigned int HashKey(KEY key) {
  return static_cast<unsigned int>(static_cast<std::uint32_t>(key) >> 4);
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap {
 protected:
  struct CAssoc {
    CAssoc* pNext;
    unsigned int nHashValue;
    KEY key;
    VALUE value;
  };

 public:
  typedef KEY KeyType;
  typedef VALUE ValueType;

  explicit CMap(int blockSize = 10) : blockSize_(blockSize > 0 ? blockSize : 10) {}
  CMap(const CMap&) = delete;
  CMap& operator=(const CMap&) = delete;
  virtual ~CMap() { RemoveAll(); }

  int GetCount() const { return count_; }
  int GetSize() const { return count_; }
  bool IsEmpty() const { return count_ == 0; }
  unsigned int GetHashTableSize() const { return hashSize_; }

  // Sets the number of buckets; only allowed while the map is empty.
  void InitHashTable(unsigned int hashSize, bool allocNow = true) {
    if (count_ != 0 || hashSize == 0) ThrowInvalidArgException();
    telio::Free(table_);
    table_ = nullptr;
    hashSize_ = hashSize;
    if (allocNow) AllocTable();
  }

  bool Lookup(ARG_KEY key, VALUE& value) const {
    unsigned int h;
    const CAssoc* a = GetAssocAt(key, h);
    if (!a) return false;
    value = a->value;
    return true;
  }

  // Key's value in place, or null; valid until the key is removed.
  VALUE* PLookup(ARG_KEY key) {
    unsigned int h;
    CAssoc* a = GetAssocAt(key, h);
    return a ? &a->value : nullptr;
  }
  const VALUE* PLookup(ARG_KEY key) const {
    unsigned int h;
    const CAssoc* a = GetAssocAt(key, h);
    return a ? &a->value : nullptr;
  }

  // The value of key, inserted value-initialised when absent.
  VALUE& operator[](ARG_KEY key) {
    unsigned int h;
    CAssoc* a = GetAssocAt(key, h);
    if (!a) {
      if (!table_) AllocTable();
      a = NewAssoc();
      if (!a) ThrowMemoryException();
      new (&a->key) KEY(key);
      new (&a->value) VALUE();
      a->nHashValue = h;
      a->pNext = table_[h];
      table_[h] = a;
      ++count_;
    }
    return a->value;
  }

  void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }

  // As SetAt, but a key not yet present goes to the tail of its bucket's
  // chain. False, with the map unchanged, when memory is short.
  bool SetAtTail(ARG_KEY key, ARG_VALUE value) {
    const unsigned int h = HashKey<KEY>(key) % hashSize_;
    if (!table_) {
      table_ = static_cast<CAssoc**>(telio::Calloc(hashSize_, sizeof(CAssoc*)));
      if (!table_) return false;
    }
    CAssoc** link = &table_[h];
    for (; *link; link = &(*link)->pNext) {
      if ((*link)->key == key) {
        (*link)->value = value;
        return true;
      }
    }
    CAssoc* a = NewAssoc();
    if (!a) return false;
    new (&a->key) KEY(key);
    new (&a->value) VALUE(value);
    a->nHashValue = h;
    a->pNext = nullptr;
    *link = a;
    ++count_;
    return true;
  }

  // This map becomes a copy of other, iterating in other's order (for maps
  // of the same table size). Throws CMemoryException* when memory is short,
  // leaving this map empty.
  void CopyEntriesFrom(const CMap& other) {
    if (&other == this) return;
    RemoveAll();
    KEY key;
    VALUE value;
    for (POSITION pos = other.GetStartPosition(); pos;) {
      other.GetNextAssoc(pos, key, value);
      if (!SetAtTail(key, value)) {
        RemoveAll();
        ThrowMemoryException();
      }
    }
  }

  bool RemoveKey(ARG_KEY key) {
    if (!table_) return false;
    CAssoc** link = &table_[HashKey<KEY>(key) % hashSize_];
    for (CAssoc* a = *link; a; link = &a->pNext, a = a->pNext) {
      if (a->key == key) {
        *link = a->pNext;
        FreeAssoc(a);
        if (count_ == 0) RemoveAll();
        return true;
      }
    }
    return false;
  }

  void RemoveAll() {
    if (table_) {
      for (unsigned int b = 0; b < hashSize_; ++b) {
        CAssoc* a = table_[b];
        while (a) {
          CAssoc* next = a->pNext;
          FreeAssoc(a);
          a = next;
        }
      }
      telio::Free(table_);
      table_ = nullptr;
    }
    FreeBlocks();
    count_ = 0;
  }

  POSITION GetStartPosition() const { return count_ == 0 ? nullptr : BEFORE_START_POSITION; }

  void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const {
    CAssoc* a = static_cast<CAssoc*>(pos);
    if (!table_ || !a) ThrowInvalidArgException();
    if (pos == BEFORE_START_POSITION) {
      a = nullptr;
      for (unsigned int b = 0; b < hashSize_ && !a; ++b) a = table_[b];
      if (!a) ThrowInvalidArgException();
    }
    CAssoc* next = a->pNext;
    if (!next) {
      for (unsigned int b = a->nHashValue + 1; b < hashSize_ && !next; ++b) next = table_[b];
    }
    pos = next;
    key = a->key;
    value = a->value;
  }

 protected:
  CAssoc* GetAssocAt(ARG_KEY key, unsigned int& hash) const {
    hash = HashKey<KEY>(key) % hashSize_;
    if (!table_) return nullptr;
    for (CAssoc* a = table_[hash]; a; a = a->pNext) {
      if (a->key == key) return a;
    }
    return nullptr;
  }

 private:
  void AllocTable() {
    table_ = static_cast<CAssoc**>(telio::Calloc(hashSize_, sizeof(CAssoc*)));
    if (!table_) ThrowMemoryException();
  }

  // A block: the link to the next block, then blockSize_ entries.
  struct alignas(CAssoc) CPlex {
    CPlex* pNext;
  };

  // An unconstructed entry from the free list, a new block being allocated
  // when it is empty; null when memory is short.
  CAssoc* NewAssoc() {
    if (!free_) {
      const std::size_t bytes = sizeof(CPlex) + sizeof(CAssoc) * static_cast<std::size_t>(blockSize_);
      CPlex* block = static_cast<CPlex*>(telio::Malloc(bytes));
      if (!block) return nullptr;
      block->pNext = blocks_;
      blocks_ = block;
      CAssoc* entries = reinterpret_cast<CAssoc*>(block + 1);
      for (int i = blockSize_ - 1; i >= 0; --i) {
        entries[i].pNext = free_;
        free_ = &entries[i];
      }
    }
    CAssoc* a = free_;
    free_ = a->pNext;
    return a;
  }

  // Destroys the entry and puts it on the free list.
  void FreeAssoc(CAssoc* a) {
    a->value.~VALUE();
    a->key.~KEY();
    a->pNext = free_;
    free_ = a;
    --count_;
  }

  void FreeBlocks() {
    while (blocks_) {
      CPlex* next = blocks_->pNext;
      telio::Free(blocks_);
      blocks_ = next;
    }
    free_ = nullptr;
  }

  CPlex* blocks_ = nullptr;
  CAssoc* free_ = nullptr;
  CAssoc** table_ = nullptr;
  unsigned int hashSize_ = 17;
  int count_ = 0;
  int blockSize_;
};
