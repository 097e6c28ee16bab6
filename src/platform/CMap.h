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
// released when the map becomes empty. An entry never moves while its key
// is held, so a value's address (PLookup, operator[]) stays valid until the
// key is removed.
//
// Small maps (kInline > 0): the first kInline entries live inside the map
// object, and while they suffice the map allocates nothing: instead of a
// bucket table it keeps one chain of its entries in iteration order (bucket
// by bucket, each bucket's entries in the order its chain would hold them),
// which is also the order of a lookup's search. The entry that does not fit
// there makes the bucket table, each run of one bucket in that chain
// becoming the bucket's chain, in place; from then on the map works as any
// other until it is emptied. Iteration orders, and so checksums, are those
// of a map without inline entries.
//
// A map copied (CopyEntriesFrom) or filled from another map's entries in
// their iteration order (SetAtTail) iterates in that same order, so a copy,
// or a map saved and loaded again, has the checksum of the original. The
// framework's own copy and load insert at the chain heads and reverse each
// bucket's chain; that is the one place we depart from it.
#pragma once

#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

#include "platform/Alloc.h"
#include "platform/CException.h"

typedef void* POSITION;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(-1))

template <class KEY>
inline unsigned int HashKey(KEY key) {
  return static_cast<unsigned int>(static_cast<std::uint32_t>(key) >> 4);
}

namespace cmap_detail {

template <class KEY, class VALUE>
struct Assoc {
  Assoc* pNext;
  unsigned int nHashValue;
  KEY key;
  VALUE value;
};

// Room for n entries inside the map; none takes no room.
template <class A, int n>
struct InlineAssocs {
  A* Slots() { return reinterpret_cast<A*>(storage); }
  alignas(A) unsigned char storage[sizeof(A) * n];
};
template <class A>
struct InlineAssocs<A, 0> {
  A* Slots() { return nullptr; }
};

}  // namespace cmap_detail

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE, int kInline = 0>
class CMap : private cmap_detail::InlineAssocs<cmap_detail::Assoc<KEY, VALUE>, kInline> {
  static_assert(kInline >= 0 && kInline < 128, "inline entries are counted in a byte");

 protected:
  typedef cmap_detail::Assoc<KEY, VALUE> CAssoc;

 public:
  typedef KEY KeyType;
  typedef VALUE ValueType;

  explicit CMap(int blockSize = 10) : blockSize_(blockSize > 0 ? blockSize : 10) {}
  // With hashSize buckets (> 0), the table made with the first entry.
  CMap(int blockSize, unsigned int hashSize)
      : hashSize_(hashSize > 0 ? hashSize : 17), blockSize_(blockSize > 0 ? blockSize : 10) {}
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
    if (allocNow && !MakeTable()) ThrowMemoryException();
  }

  bool Lookup(ARG_KEY key, VALUE& value) const {
    const CAssoc* a = Find(key);
    if (!a) return false;
    value = a->value;
    return true;
  }

  // Key's value in place, or null; valid until the key is removed.
  VALUE* PLookup(ARG_KEY key) {
    CAssoc* a = Find(key);
    return a ? &a->value : nullptr;
  }
  const VALUE* PLookup(ARG_KEY key) const {
    const CAssoc* a = Find(key);
    return a ? &a->value : nullptr;
  }

  // The value of key, inserted value-initialised when absent.
  VALUE& operator[](ARG_KEY key) {
    CAssoc** link;
    if (CAssoc* a = Search(key, false, link)) return a->value;
    CAssoc* a = NewAssoc(key, false, link);
    if (!a) ThrowMemoryException();
    new (&a->value) VALUE();
    Attach(a, link);
    return a->value;
  }

  void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }

  // As SetAt, but a key not yet present goes to the tail of its bucket's
  // chain. False, with the map unchanged, when memory is short.
  bool SetAtTail(ARG_KEY key, ARG_VALUE value) {
    CAssoc** link;
    if (CAssoc* a = Search(key, true, link)) {
      a->value = value;
      return true;
    }
    CAssoc* a = NewAssoc(key, true, link);
    if (!a) return false;
    new (&a->value) VALUE(value);
    Attach(a, link);
    return true;
  }

  // This map becomes a copy of other, iterating in other's order (for maps
  // of the same table size). Throws CMemoryException* when memory is short,
  // leaving this map empty.
  template <int kOtherInline>
  void CopyEntriesFrom(const CMap<KEY, ARG_KEY, VALUE, ARG_VALUE, kOtherInline>& other) {
    if (static_cast<const void*>(&other) == static_cast<const void*>(this)) return;
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
    CAssoc** link = table_ ? &table_[Bucket(key)] : &chain_;
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
      for (unsigned int b = 0; b < hashSize_ && !kPlainEntries; ++b) FreeChain(table_[b]);
      telio::Free(table_);
      table_ = nullptr;
    } else if (!kPlainEntries) {
      FreeChain(chain_);
    }
    chain_ = nullptr;
    FreeBlocks();
    inlineUsed_ = 0;
    count_ = 0;
  }

  POSITION GetStartPosition() const { return count_ == 0 ? nullptr : BEFORE_START_POSITION; }

  void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const {
    CAssoc* a = static_cast<CAssoc*>(pos);
    if (!a) ThrowInvalidArgException();
    if (pos == BEFORE_START_POSITION) {
      a = chain_;
      for (unsigned int b = 0; table_ && b < hashSize_ && !a; ++b) a = table_[b];
      if (!a) ThrowInvalidArgException();
    }
    CAssoc* next = a->pNext;
    if (!next && table_) {
      for (unsigned int b = a->nHashValue + 1; b < hashSize_ && !next; ++b) next = table_[b];
    }
    pos = next;
    key = a->key;
    value = a->value;
  }

 protected:
  // The entry of key, or null.
  CAssoc* Find(ARG_KEY key) const {
    CAssoc* a = table_ ? table_[Bucket(key)] : chain_;
    for (; a; a = a->pNext) {
      if (a->key == key) return a;
    }
    return nullptr;
  }

 private:
  // Entries with nothing to destroy are dropped with their blocks, unwalked.
  static constexpr bool kPlainEntries =
      std::is_trivially_destructible<KEY>::value && std::is_trivially_destructible<VALUE>::value;

  // The bucket of key. Keys are mostly small: no division for them.
  unsigned int Bucket(ARG_KEY key) const {
    const unsigned int h = HashKey<KEY>(key);
    return h < hashSize_ ? h : h % hashSize_;
  }

  // The entry of key; when there is none, null, and link is where a new
  // entry of key goes: the head (tail false) or the tail of its bucket.
  // One walk of the chain either way.
  CAssoc* Search(ARG_KEY key, bool tail, CAssoc**& link) {
    const unsigned int h = Bucket(key);
    CAssoc** l;
    if (table_) {
      link = l = &table_[h];
      for (; *l; l = &(*l)->pNext) {
        if ((*l)->key == key) return *l;
      }
      if (tail) link = l;
      return nullptr;
    }
    // The one chain holds the buckets in order: bucket h is a run in it.
    CAssoc** head = nullptr;
    for (l = &chain_; *l && (*l)->nHashValue <= h; l = &(*l)->pNext) {
      if ((*l)->nHashValue != h) continue;
      if ((*l)->key == key) return *l;
      if (!head) head = l;
    }
    link = (tail || !head) ? l : head;
    return nullptr;
  }

  // The bucket table, made from the one chain of a small map; false when
  // memory is short (the map unchanged).
  bool MakeTable() {
    CAssoc** table = static_cast<CAssoc**>(telio::Calloc(hashSize_, sizeof(CAssoc*)));
    if (!table) return false;
    CAssoc* prev = nullptr;
    for (CAssoc* a = chain_; a;) {
      CAssoc* next = a->pNext;
      a->pNext = nullptr;
      if (prev && prev->nHashValue == a->nHashValue) {
        prev->pNext = a;
      } else {
        table[a->nHashValue] = a;
      }
      prev = a;
      a = next;
    }
    chain_ = nullptr;
    table_ = table;
    return true;
  }

  // A block: the link to the next block, then blockSize_ entries.
  struct alignas(CAssoc) CPlex {
    CPlex* pNext;
  };

  // A new entry of key, its value unconstructed and not yet in the map;
  // null when memory is short, the map unchanged. The entry is a freed
  // one, an unused inline one, or one of a new block, the bucket table made
  // first when the map has none (link, as Search gave it, then follows).
  CAssoc* NewAssoc(ARG_KEY key, bool tail, CAssoc**& link) {
    CAssoc* a = free_;
    if (a) {
      free_ = a->pNext;
    } else if (inlineUsed_ < kInline) {
      a = this->Slots() + inlineUsed_++;
    } else {
      if (!table_) {
        if (!MakeTable()) return nullptr;
        Search(key, tail, link);  // the chain has become the table
      }
      const std::size_t bytes = sizeof(CPlex) + sizeof(CAssoc) * static_cast<std::size_t>(blockSize_);
      CPlex* block = static_cast<CPlex*>(telio::Malloc(bytes));
      if (!block) return nullptr;
      block->pNext = blocks_;
      blocks_ = block;
      CAssoc* entries = reinterpret_cast<CAssoc*>(block + 1);
      for (int i = blockSize_ - 1; i > 0; --i) {
        entries[i].pNext = free_;
        free_ = &entries[i];
      }
      a = &entries[0];
    }
    new (&a->key) KEY(key);
    a->nHashValue = Bucket(key);
    return a;
  }

  // Puts entry a, key and value made, at link.
  void Attach(CAssoc* a, CAssoc** link) {
    a->pNext = *link;
    *link = a;
    ++count_;
  }

  // Destroys the entry and puts it on the free list.
  void FreeAssoc(CAssoc* a) {
    a->value.~VALUE();
    a->key.~KEY();
    a->pNext = free_;
    free_ = a;
    --count_;
  }

  void FreeChain(CAssoc* a) {
    while (a) {
      CAssoc* next = a->pNext;
      FreeAssoc(a);
      a = next;
    }
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
  // The bucket table, or null while the entries are one chain (chain_).
  CAssoc** table_ = nullptr;
  CAssoc* chain_ = nullptr;
  unsigned int hashSize_ = 17;
  int count_ = 0;
  int blockSize_;
  signed char inlineUsed_ = 0;  // inline entries handed out
};
