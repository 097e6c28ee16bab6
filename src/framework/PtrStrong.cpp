#include "framework/PtrStrong.h"

#include <cstddef>
#include <thread>

namespace GE_ {
namespace Safe {

namespace {

typedef RefCount<ObjStrong_base> OwnBlock;

// The room in front of a shared object made with new: its block, once it
// is made there, what of the two is still alive, and the allocation's size.
struct alignas(16) Room {
  alignas(OwnBlock) unsigned char block[sizeof(OwnBlock)];
  std::atomic<std::uint32_t> state;
  std::uint32_t bytes;
};
static_assert(sizeof(Room) % 16 == 0, "the object keeps malloc's alignment");
static_assert(offsetof(Room, block) == 0, "a block's address is its room's");

// Room::state bits.
constexpr std::uint32_t kObjectGone = 1;
constexpr std::uint32_t kBlockInUse = 2;

// The object new made last on this thread, until its constructor takes
// the room in front of it.
thread_local const unsigned char* t_made = nullptr;
thread_local std::size_t t_madeSize = 0;

Room* RoomOf(const void* object) {
  return reinterpret_cast<Room*>(const_cast<unsigned char*>(static_cast<const unsigned char*>(object)) - sizeof(Room));
}

void* Allocate(std::size_t size) {
  if (size > 0xFFFFFFFFu - sizeof(Room)) return nullptr;
  void* block = telio::ObjectAlloc(sizeof(Room) + size);
  if (!block) return nullptr;
  Room* room = new (block) Room;
  room->state.store(0, std::memory_order_relaxed);
  room->bytes = static_cast<std::uint32_t>(sizeof(Room) + size);
  t_made = reinterpret_cast<const unsigned char*>(room + 1);
  t_madeSize = size;
  return room + 1;
}

void Release(Room* room) {
  const std::size_t bytes = room->bytes;
  room->~Room();
  telio::ObjectFree(room, bytes);
}

}  // namespace

void ThrowRefcntPtrExcp() {
  static Refcnt_ptr_excp instance;
  throw &instance;
}

RefCount_base::~RefCount_base() = default;

void* ObjStrong_base::operator new(std::size_t size) {
  if (void* object = Allocate(size)) return object;
  throw std::bad_alloc();
}

void* ObjStrong_base::operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }

void ObjStrong_base::operator delete(void* object) noexcept {
  if (!object) return;
  if (t_made == object) t_made = nullptr;  // its constructor threw before taking the room
  Room* room = RoomOf(object);
  // Without a block in the room nothing else can reach it; with one, the
  // block's last release may be running on another thread.
  if ((room->state.load(std::memory_order_acquire) & kBlockInUse) == 0 ||
      (room->state.fetch_or(kObjectGone, std::memory_order_acq_rel) & kBlockInUse) == 0) {
    Release(room);
  }
}

void ObjStrong_base::operator delete(void* object, const std::nothrow_t&) noexcept { operator delete(object); }

// The first shared-object part constructed in an allocation new has just
// made is the whole object's (the part is a virtual base: it is constructed
// before anything else of the object), so it takes the room.
ObjStrong_base::ObjStrong_base() : m_refCount(0) {
  const auto at = reinterpret_cast<std::uintptr_t>(this);
  const auto made = reinterpret_cast<std::uintptr_t>(t_made);
  if (made && at >= made && at < made + t_madeSize) {
    m_refCount.store(reinterpret_cast<std::uintptr_t>(RoomOf(t_made)) | kRoom, std::memory_order_relaxed);
    t_made = nullptr;
  }
}

ObjStrong_base::ObjStrong_base(const ObjStrong_base&) : ObjStrong_base() {}

RefCount_base* ObjStrong_base::MakeRefCount(bool& withRef, bool strong) const {
  ObjStrong_base* self = const_cast<ObjStrong_base*>(this);
  const long32 strongRefs = withRef && strong ? 1 : 0;
  std::uintptr_t held = m_refCount.load(std::memory_order_acquire);
  for (;;) {
    if (IsBlock(held)) {
      withRef = false;  // another thread made the block first
      return reinterpret_cast<OwnBlock*>(held);
    }
    if (held & kRoomFilling) {
      std::this_thread::yield();
      held = m_refCount.load(std::memory_order_acquire);
      continue;
    }
    // The room serves the whole object: a pointer made while a part of it
    // is still being constructed gets a block apart.
    Room* room = (held & kRoom) ? reinterpret_cast<Room*>(held & ~kRoom) : nullptr;
    if (room && dynamic_cast<const void*>(this) == static_cast<const void*>(room + 1)) {
      if (!m_refCount.compare_exchange_strong(held, held | kRoomFilling, std::memory_order_acq_rel)) continue;
      room->state.store(kBlockInUse, std::memory_order_relaxed);
      OwnBlock* block = new (room->block) OwnBlock(self, true, strongRefs, true);
      if (withRef && !strong) block->AddWeakRef();
      m_refCount.store(reinterpret_cast<std::uintptr_t>(block), std::memory_order_release);
      return block;
    }
    OwnBlock* fresh = new OwnBlock(self, true, strongRefs);
    if (withRef && !strong) fresh->AddWeakRef();
    if (m_refCount.compare_exchange_strong(held, reinterpret_cast<std::uintptr_t>(fresh), std::memory_order_acq_rel)) {
      return fresh;
    }
    delete fresh;
  }
}

void ObjStrong_base::DisposeInRoom(OwnBlock* block, bool byObject) {
  Room* room = reinterpret_cast<Room*>(block);
  block->~OwnBlock();
  if (byObject) {
    // The object's delete follows on this thread, and nothing else refers
    // to the block any more.
    room->state.store(room->state.load(std::memory_order_relaxed) & ~kBlockInUse, std::memory_order_relaxed);
    return;
  }
  if (room->state.fetch_and(~kBlockInUse, std::memory_order_acq_rel) & kObjectGone) Release(room);
}

ObjStrong_base::~ObjStrong_base() {
  // Pointers still referring to the block (weak ones, or strong ones when a
  // caller deleted the object directly) must see it gone.
  // Nothing else may touch an object being destroyed, so a plain load is
  // enough (and costs the many objects without a block no atomic write).
  const std::uintptr_t held = m_refCount.load(std::memory_order_acquire);
  if (!IsBlock(held)) return;
  m_refCount.store(0, std::memory_order_relaxed);
  OwnBlock* block = reinterpret_cast<OwnBlock*>(held);
  block->Expire();
  block->ReleaseObjectRef();
}

long32 ObjStrong_base::DeleteIfUnowned() {
  const std::uintptr_t held = m_refCount.load(std::memory_order_acquire);
  long32 strong = IsBlock(held) ? reinterpret_cast<OwnBlock*>(held)->StrongCount() : 0;
  if (strong != 0) return strong;
  delete this;
  return 0;
}

ObjStrong::ObjStrong() : ObjStrong_base(), m_validity(reinterpret_cast<std::uintptr_t>(this)) {}

ObjStrong::ObjStrong(const ObjStrong& other)
    : ObjStrong_base(other), m_validity(reinterpret_cast<std::uintptr_t>(this)) {}

ObjStrong::~ObjStrong() { m_validity = 0; }

}  // namespace Safe
}  // namespace GE_
