#include "platform/EntityList.h"

#include <cstdint>

#include "platform/Alloc.h"

namespace {

constexpr std::size_t kFlagsOffset = 0;
constexpr std::size_t kItemSizeOffset = 22;
constexpr std::size_t kNextNumberOffset = 30;
constexpr std::size_t kIndexOffset = 34;
constexpr std::size_t kNameOffset = 42;
constexpr std::size_t kNameSize = 14;
static_assert(kNameOffset + kNameSize == telio::kEntityHeaderSize, "header is 56 bytes");
static_assert(sizeof(void*) <= 8, "pointer fields are 8 bytes wide");

// Open-addressing table from item number to item, linear probing, at most
// half full. Each slot also keeps the item's predecessor so that erasing
// an item from the singly linked list takes constant time.
struct Slot {
  unsigned char* item;
  unsigned char* prev;
};

// One block: this header, then `capacity` slots.
struct Index {
  unsigned char* last;
  std::uint32_t capacity;  // a power of two
  std::uint32_t used;
};
static_assert(sizeof(Index) % alignof(Slot) == 0, "slots follow the header aligned");

Slot* Slots(Index* index) {
  return reinterpret_cast<Slot*>(reinterpret_cast<unsigned char*>(index) + sizeof(Index));
}

constexpr std::uint32_t kMinCapacity = 16;

template <class T>
T Get(const void* base, std::size_t offset) {
  T v;
  std::memcpy(&v, static_cast<const unsigned char*>(base) + offset, sizeof v);
  return v;
}

template <class T>
void Put(void* base, std::size_t offset, T v) {
  std::memcpy(static_cast<unsigned char*>(base) + offset, &v, sizeof v);
}

Index* IndexOf(const void* list) { return Get<Index*>(list, kIndexOffset); }

std::size_t IndexBytes(std::uint32_t capacity) {
  return sizeof(Index) + sizeof(Slot) * capacity;
}

std::uint32_t Home(long32 number, std::uint32_t capacity) {
  return (static_cast<std::uint32_t>(number) * 0x9E3779B1u) & (capacity - 1);
}

// The slot holding number, or the empty slot where it would go.
Slot* Probe(Index* index, long32 number) {
  std::uint32_t mask = index->capacity - 1;
  for (std::uint32_t i = Home(number, index->capacity);; i = (i + 1) & mask) {
    Slot* s = &Slots(index)[i];
    if (!s->item || telio::ItemNumber(s->item) == number) return s;
  }
}

// Makes room for one more entry; false (nothing changed) when memory is short.
bool Reserve(void* list) {
  Index* old = IndexOf(list);
  if (old && (old->used + 1) * 2 <= old->capacity) return true;
  std::uint32_t capacity = old ? old->capacity * 2 : kMinCapacity;
  if (old && capacity < old->capacity) return false;
  auto* fresh = static_cast<Index*>(telio::Calloc(1, IndexBytes(capacity)));
  if (!fresh) return false;
  fresh->capacity = capacity;
  if (old) {
    fresh->last = old->last;
    fresh->used = old->used;
    for (std::uint32_t i = 0; i < old->capacity; ++i) {
      if (Slots(old)[i].item) *Probe(fresh, telio::ItemNumber(Slots(old)[i].item)) = Slots(old)[i];
    }
    telio::Free(old);
  }
  Put<Index*>(list, kIndexOffset, fresh);
  return true;
}

// Removes a slot and shifts the entries after it back so that every entry
// stays reachable from its home slot.
void RemoveSlot(Index* index, Slot* slot) {
  std::uint32_t mask = index->capacity - 1;
  std::uint32_t hole = static_cast<std::uint32_t>(slot - Slots(index));
  for (std::uint32_t i = (hole + 1) & mask; Slots(index)[i].item; i = (i + 1) & mask) {
    std::uint32_t home = Home(telio::ItemNumber(Slots(index)[i].item), index->capacity);
    // Move the entry into the hole when its home is not within (hole, i].
    if (((i - home) & mask) >= ((i - hole) & mask)) {
      Slots(index)[hole] = Slots(index)[i];
      hole = i;
    }
  }
  Slots(index)[hole].item = nullptr;
  Slots(index)[hole].prev = nullptr;
  --index->used;
}

void SetNext(unsigned char* item, unsigned char* next) { Put(item, telio::kItemNextOffset, next); }

}  // namespace

namespace telio {

const char* EntityName(const void* list) {
  return static_cast<const char*>(list) + kNameOffset;
}

}  // namespace telio

int InitEntity(void* list, const char* name, int itemSize, int, int, int flags) {
  if (!list || itemSize < 0 || itemSize > 0xFFFF) return 0;
  if (static_cast<std::size_t>(itemSize) < telio::kItemHeaderSize) {
    itemSize = static_cast<int>(telio::kItemHeaderSize);
  }
  std::memset(list, 0, telio::kEntityHeaderSize);
  Put<std::uint16_t>(list, kFlagsOffset, static_cast<std::uint16_t>(flags));
  Put<std::uint16_t>(list, kItemSizeOffset, static_cast<std::uint16_t>(itemSize));
  Put<long32>(list, kNextNumberOffset, 1);
  if (name) {
    char* dst = static_cast<char*>(list) + kNameOffset;
    std::size_t n = std::strlen(name);
    std::memcpy(dst, name, n < kNameSize - 1 ? n : kNameSize - 1);
  }
  return 1;
}

void* InitNewItem(void* list, char kind) {
  if (!list) return nullptr;
  std::uint16_t itemSize = Get<std::uint16_t>(list, kItemSizeOffset);
  long32 number = Get<long32>(list, kNextNumberOffset);
  if (itemSize < telio::kItemHeaderSize || number <= 0 || number == INT32_MAX) return nullptr;
  if (!Reserve(list)) return nullptr;
  auto* item = static_cast<unsigned char*>(telio::Calloc(1, itemSize));
  if (!item) return nullptr;
  item[0] = static_cast<unsigned char>(kind);
  Put<long32>(item, telio::kItemNumberOffset, number);

  Index* index = IndexOf(list);
  Slot* slot = Probe(index, number);
  slot->item = item;
  slot->prev = index->last;
  ++index->used;
  if (index->last) {
    SetNext(index->last, item);
  } else {
    Put<void*>(list, telio::kEntityFirstOffset, item);
  }
  index->last = item;
  Put<long32>(list, telio::kEntityCountOffset, telio::EntityCount(list) + 1);
  Put<long32>(list, kNextNumberOffset, number + 1);
  return item;
}

void* FindItemPos(void* list, long32 number) {
  Index* index = list ? IndexOf(list) : nullptr;
  if (!index) return nullptr;
  return Probe(index, number)->item;
}

int EraseItem(void* list, void* item) {
  Index* index = list && item ? IndexOf(list) : nullptr;
  if (!index) return 0;
  Slot* slot = Probe(index, telio::ItemNumber(item));
  if (slot->item != item) return 0;
  unsigned char* prev = slot->prev;
  auto* next = static_cast<unsigned char*>(telio::ItemNext(item));
  if (prev) {
    SetNext(prev, next);
  } else {
    Put<void*>(list, telio::kEntityFirstOffset, next);
  }
  if (next) {
    Probe(index, telio::ItemNumber(next))->prev = prev;
  } else {
    index->last = prev;
  }
  RemoveSlot(index, slot);
  telio::Free(item);
  Put<long32>(list, telio::kEntityCountOffset, telio::EntityCount(list) - 1);
  return 1;
}

void ResetEntity(void* list) {
  if (!list) return;
  if (Index* index = IndexOf(list)) {
    for (std::uint32_t i = 0; i < index->capacity; ++i) telio::Free(Slots(index)[i].item);
    telio::Free(index);
  }
  Put<Index*>(list, kIndexOffset, nullptr);
  Put<void*>(list, telio::kEntityFirstOffset, nullptr);
  telio::SetEntitySelectedItem(list, nullptr);
  telio::SetEntitySelectedCount(list, 0);
  Put<long32>(list, telio::kEntityCountOffset, 0);
  Put<long32>(list, kNextNumberOffset, 1);
}
