// The kernel's entity lists: singly linked item lists under a fixed 56-byte
// header that the caller owns (usually inside a larger zero-filled block).
//
// Header layout (byte offsets; pointers are native and stored unaligned in
// 8-byte fields so the header keeps its 56 bytes on 64-bit hosts):
//    0  u16      flags given to InitEntity
//    2  i32      item count
//    6  pointer  first item
//   14  pointer  selected item (kept by the caller, cleared by ResetEntity)
//   22  u16      item size in bytes
//   24  u16      0
//   26  i32      selected item count (kept by the caller, cleared by ResetEntity)
//   30  i32      number the next item gets (items are numbered 1, 2, ...)
//   34  pointer  number index (owned block, allocated with the first item)
//   42  char[14] list name, NUL-terminated (cut at 13 characters)
// A zero-filled header is a valid empty list that cannot make items until
// InitEntity has given it an item size. A header owns its items and index:
// never copy it byte for byte.
//
// Item layout: kind (char) at 0, attribute bits (u8) at 1, number (i32) at
// 2, next item pointer at 6; the caller's fields follow at kItemHeaderSize,
// which is 10 on 32-bit hosts and 14 on 64-bit hosts. Items are zero-filled
// telio::Calloc blocks.
#pragma once

#include <cstddef>
#include <cstring>

#include "platform/Export.h"
#include "platform/Types.h"

namespace telio {

constexpr std::size_t kEntityHeaderSize = 56;
constexpr std::size_t kEntityCountOffset = 2;
constexpr std::size_t kEntityFirstOffset = 6;
constexpr std::size_t kEntitySelectedItemOffset = 14;
constexpr std::size_t kEntitySelectedCountOffset = 26;
constexpr std::size_t kItemAttrOffset = 1;
constexpr std::size_t kItemNumberOffset = 2;
constexpr std::size_t kItemNextOffset = 6;
constexpr std::size_t kItemHeaderSize = kItemNextOffset + sizeof(void*);

inline long32 EntityCount(const void* list) {
  long32 v;
  std::memcpy(&v, static_cast<const char*>(list) + kEntityCountOffset, sizeof v);
  return v;
}

inline void* EntityFirst(const void* list) {
  void* p;
  std::memcpy(&p, static_cast<const char*>(list) + kEntityFirstOffset, sizeof p);
  return p;
}

inline void* EntitySelectedItem(const void* list) {
  void* p;
  std::memcpy(&p, static_cast<const char*>(list) + kEntitySelectedItemOffset, sizeof p);
  return p;
}

inline void SetEntitySelectedItem(void* list, void* item) {
  std::memcpy(static_cast<char*>(list) + kEntitySelectedItemOffset, &item, sizeof item);
}

inline long32 EntitySelectedCount(const void* list) {
  long32 v;
  std::memcpy(&v, static_cast<const char*>(list) + kEntitySelectedCountOffset, sizeof v);
  return v;
}

inline void SetEntitySelectedCount(void* list, long32 count) {
  std::memcpy(static_cast<char*>(list) + kEntitySelectedCountOffset, &count, sizeof count);
}

inline char ItemKind(const void* item) { return *static_cast<const char*>(item); }

inline unsigned char ItemAttr(const void* item) {
  return static_cast<const unsigned char*>(item)[kItemAttrOffset];
}

inline void SetItemAttr(void* item, unsigned char attr) {
  static_cast<unsigned char*>(item)[kItemAttrOffset] = attr;
}

inline long32 ItemNumber(const void* item) {
  long32 v;
  std::memcpy(&v, static_cast<const char*>(item) + kItemNumberOffset, sizeof v);
  return v;
}

inline void* ItemNext(const void* item) {
  void* p;
  std::memcpy(&p, static_cast<const char*>(item) + kItemNextOffset, sizeof p);
  return p;
}

// The list's name as given to InitEntity (at most 13 characters).
TELIO_EXPORT const char* EntityName(const void* list);

}  // namespace telio

// Makes list an empty list of items of itemSize bytes (raised to
// kItemHeaderSize when smaller; at most 65535). The header's old contents
// are overwritten, not freed: ResetEntity a list in use first. The two
// middle arguments are unused. Returns 0 for a null list or a bad size.
TELIO_EXPORT int InitEntity(void* list, const char* name, int itemSize, int, int, int flags);

// Appends a zero-filled item of the given kind with the next number and
// raises the count. Null when memory is short (the list is unchanged) or
// the list has no item size.
TELIO_EXPORT void* InitNewItem(void* list, char kind);

// The item with that number, or null. Constant time.
TELIO_EXPORT void* FindItemPos(void* list, long32 number);

// Unlinks and frees one item of the list and lowers the count; the caller
// clears its own references to it (including the selected item). Returns 0,
// changing nothing, when the item is not in the list.
TELIO_EXPORT int EraseItem(void* list, void* item);

// Frees every item and the index; the list keeps its name and item size,
// is empty and numbers from 1 again.
TELIO_EXPORT void ResetEntity(void* list);
