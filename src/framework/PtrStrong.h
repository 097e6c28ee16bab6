// Shared ownership of the design objects: strong and weak smart pointers
// with atomic counts, intrusive count blocks for ObjStrong objects and a
// separate block for every other type.
//
// Lifetime rules:
//  - An ObjStrong has its own block (strong 0, weak 1: the object holds a
//    weak reference on its block while it lives), made with its first
//    pointer. Two PtrStrong made separately from the same raw ObjStrong
//    share that block. An ObjStrong made with new carries the room for its
//    block in front of it, in the same allocation, which is released when
//    both the object and the block are gone.
//  - Any other type gets a new block per PtrStrong made from a raw pointer,
//    so make such a pointer once and copy the pointer, never the address.
//  - The object dies with its last PtrStrong, never through a PtrWeak; the
//    block lives on while any PtrWeak refers to it and is freed when both
//    counts reach 0.
//  - A pointer whose block is expired (object gone) is "dangling": it tests
//    null, copies as null and throws Refcnt_ptr_excp* on dereference.
//
// Threads: counts change atomically and the thread whose decrement reaches 0
// takes the decision that follows, so pointers to one object may be copied
// and dropped on several threads. A pointer object itself, and the object
// pointed to, are not synchronised. Making a PtrStrong from a PtrWeak while
// another thread drops the last PtrStrong is a race the caller must avoid.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

#include "platform/Alloc.h"
#include "platform/Export.h"
#include "platform/Interlocked.h"
#include "platform/Types.h"

namespace GE_ {
namespace Safe {

// Thrown, as a pointer to one static instance, when a null or dangling
// smart pointer is dereferenced. Do not delete it.
struct TELIO_EXPORT Refcnt_ptr_excp {
  const char* what() const { return "null or expired smart pointer dereferenced"; }
};

[[noreturn]] TELIO_EXPORT void ThrowRefcntPtrExcp();

// Allocation of count blocks and shared objects: they are made and dropped
// by the million, and their blocks are recycled by size on the freeing
// thread (telio::ObjectAlloc). new throws std::bad_alloc as the global form
// does; the nothrow and placement forms are there too.
struct TELIO_EXPORT SmallObjectAlloc {
  static void* operator new(std::size_t size) {
    if (void* p = telio::ObjectAlloc(size)) return p;
    throw std::bad_alloc();
  }
  static void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return telio::ObjectAlloc(size); }
  static void* operator new(std::size_t, void* where) noexcept { return where; }
  static void operator delete(void* p, std::size_t size) noexcept { telio::ObjectFree(p, size); }
  // A constructor that throws after a nothrow new: the size is not told.
  static void operator delete(void* p, const std::nothrow_t&) noexcept { telio::ObjectFree(p, 0); }
  static void operator delete(void*, void*) noexcept {}
};

// Interface of a count block.
struct TELIO_EXPORT RefCount_base : SmallObjectAlloc {
  virtual ~RefCount_base();
  virtual void AddStrongRef() = 0;
  virtual void AddWeakRef() = 0;
  // True when this call destroyed the object.
  virtual bool ReleaseStrongRef() = 0;
  // Frees the block when both counts are 0 afterwards; the block must not be
  // touched by the caller after this returns.
  virtual bool ReleaseWeakRef() = 0;
  virtual bool IsExpired() const = 0;
  virtual long32 StrongCount() const = 0;
  virtual long32 WeakCount() const = 0;

  // IsExpired without a virtual call: every test and dereference of a smart
  // pointer asks it.
  bool Expired() const { return m_expired.load(std::memory_order_acquire); }

 protected:
  void MarkExpired() { m_expired.store(true, std::memory_order_release); }

 private:
  std::atomic<bool> m_expired{false};
};

class ObjStrong_base;

// The count block of a T. The object field becomes null when the object is
// destroyed; from then on the block is "expired".
template <class T>
struct RefCount : RefCount_base {
  // holdsObjectRef: the block keeps one weak reference for the object's
  // lifetime (an ObjStrong's own reference, or the same rule for a block
  // made by a PtrStrong for another type). That reference is what keeps a
  // concurrent release of the last PtrWeak from freeing the block while the
  // last PtrStrong is destroying the object.
  // inHeader: the block lives in the room in front of its object (an own
  // block only), and is disposed of there.
  RefCount(T* object, bool holdsObjectRef, long32 strong = 0, bool inHeader = false)
      : m_strong(strong),
        m_weak(holdsObjectRef && (kIsOwnBlock || !kIsObjStrong) ? 1 : 0),
        m_object(object),
        m_holdsObjectRef(holdsObjectRef && !kIsObjStrong),
        m_inHeader(inHeader) {}

  void AddStrongRef() override { InterlockedIncrement(&m_strong); }
  void AddWeakRef() override { InterlockedIncrement(&m_weak); }

  bool ReleaseStrongRef() override {
    if (!ReleaseLast(m_strong)) return false;
    if constexpr (kIsOwnBlock) {
      // The object's own weak reference keeps the block alive until the
      // object's destructor has expired it and let go; the block is not
      // touched after the object is gone.
      T* object = m_object.load(std::memory_order_acquire);
      return object && DestroyObject(object);
    }
    AddWeakRef();  // the block must survive the destruction that follows
    bool destroyed = false;
    if (T* object = m_object.load(std::memory_order_acquire)) {
      destroyed = DestroyObject(object);
      if (destroyed) {
        Expire();
        if (m_holdsObjectRef) {
          m_holdsObjectRef = false;
          ReleaseWeakRef();
        }
      }
    }
    ReleaseWeakRef();
    return destroyed;
  }

  bool ReleaseWeakRef() override {
    if (ReleaseLast(m_weak) && m_strong.load(std::memory_order_acquire) == 0) Dispose(false);
    return true;
  }

  // The object's own weak reference, dropped by the object's destructor.
  void ReleaseObjectRef() {
    if (ReleaseLast(m_weak) && m_strong.load(std::memory_order_acquire) == 0) Dispose(true);
  }

  bool IsExpired() const override { return Expired(); }
  long32 StrongCount() const override { return m_strong.load(std::memory_order_acquire); }
  long32 WeakCount() const override { return m_weak.load(std::memory_order_acquire); }

  // Used by the owning ObjStrong_base when it is destroyed by other means
  // than its last pointer.
  void Expire() {
    m_object.store(nullptr, std::memory_order_release);
    MarkExpired();
  }

 private:
  // An ObjStrong drops its own weak reference in its destructor; the block
  // only does it for other types.
  static constexpr bool kIsOwnBlock = std::is_same<T, ObjStrong_base>::value;
  static constexpr bool kIsObjStrong = std::is_base_of<ObjStrong_base, T>::value;

  static bool DestroyObject(T* object);

  // Frees the block (last reference gone); byObject: on the thread that is
  // destroying the object.
  void Dispose(bool byObject);

  // Drops one reference of count; true when it was the last. A count of 1
  // is the caller's own reference alone: no other thread holds one, so none
  // can take another (see the thread rules above), and it is cleared
  // without a locked instruction, as happens to most objects, which only
  // ever have one owner.
  static bool ReleaseLast(std::atomic<long32>& count) {
    if (count.load(std::memory_order_acquire) == 1) {
      count.store(0, std::memory_order_relaxed);
      return true;
    }
    return InterlockedDecrement(&count) == 0;
  }

  std::atomic<long32> m_strong;
  std::atomic<long32> m_weak;
  std::atomic<T*> m_object;
  bool m_holdsObjectRef;
  bool m_inHeader;
};

// Owner of an object's intrusive count block.
//
// The block is made when it is first asked for (the first pointer to the
// object), not with the object: the many objects that only ever live on the
// stack or inside others (points of a computation, a line's end points)
// then cost no block. An object has at most one block; two threads asking
// at once agree on one.
//
// Allocation: new gives every shared object room in front of it for its
// block (one allocation, and the block beside the object in memory, rather
// than a second allocation per object; the blocks come from
// telio::ObjectAlloc). The object's constructor recognises the allocation
// just made for it; the room is used when the first pointer is made to the
// whole object, and a block is allocated apart otherwise (an object on the
// stack, inside another, in an array, or given its first pointer while it
// is being constructed). The allocation is released when the object has
// been deleted and its block is gone; a block that weak pointers hold
// outlives its object. new throws std::bad_alloc as the global form does;
// the nothrow and placement forms are there too. Types aligned beyond 16
// bytes are not supported.
class TELIO_EXPORT ObjStrong_base {
 public:
  // Deletes the object when no PtrStrong holds it; otherwise returns the
  // strong count and does nothing.
  virtual long32 DeleteIfUnowned();
  virtual ~ObjStrong_base();

  static void* operator new(std::size_t size);
  static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
  static void* operator new(std::size_t, void* where) noexcept { return where; }
  static void operator delete(void* object) noexcept;
  static void operator delete(void* object, const std::nothrow_t&) noexcept;
  static void operator delete(void*, void*) noexcept {}

  // The object's block (made now when the object has none yet).
  RefCount_base* GetRefCount() const {
    const std::uintptr_t held = m_refCount.load(std::memory_order_acquire);
    if (IsBlock(held)) return reinterpret_cast<RefCount<ObjStrong_base>*>(held);
    bool withRef = false;
    return MakeRefCount(withRef, false);
  }

  // The block for a new pointer (strong or weak) to the object. A block
  // made now already counts that pointer's reference (counted true); a
  // block the object had does not.
  RefCount_base* GetRefCountFor(bool strong, bool& counted) const {
    const std::uintptr_t held = m_refCount.load(std::memory_order_acquire);
    counted = !IsBlock(held);
    return counted ? MakeRefCount(counted, strong) : reinterpret_cast<RefCount<ObjStrong_base>*>(held);
  }

 protected:
  ObjStrong_base();
  // A copy is a new object: it gets a block of its own.
  ObjStrong_base(const ObjStrong_base&);
  ObjStrong_base& operator=(const ObjStrong_base&) { return *this; }

 private:
  template <class>
  friend struct RefCount;

  // m_refCount holds 0, the address of the block, or one of these marks on
  // the address of the room in front of the object.
  enum : std::uintptr_t {
    kRoom = 1,        // room for the block, unused
    kRoomFilling = 2  // a thread is making the block there
  };
  static bool IsBlock(std::uintptr_t v) { return v != 0 && (v & (kRoom | kRoomFilling)) == 0; }

  // Makes the block. With withRef it is made holding one strong (strong)
  // or weak reference; when another thread made the block first, that one
  // is returned and withRef becomes false.
  RefCount_base* MakeRefCount(bool& withRef, bool strong) const;
  // The block in the room in front of the object is gone (byObject: on the
  // thread destroying the object).
  static void DisposeInRoom(RefCount<ObjStrong_base>* block, bool byObject);

  mutable std::atomic<std::uintptr_t> m_refCount;
};

template <class T>
void RefCount<T>::Dispose(bool byObject) {
  if constexpr (kIsOwnBlock) {
    if (m_inHeader) {
      ObjStrong_base::DisposeInRoom(this, byObject);
      return;
    }
  }
  (void)byObject;
  delete this;
}

// Base of every shared design object.
class TELIO_EXPORT ObjStrong : public virtual ObjStrong_base {
 public:
  ObjStrong();
  ObjStrong(const ObjStrong& other);
  ObjStrong& operator=(const ObjStrong&) { return *this; }
  ~ObjStrong() override;

  // The validity word holds the object's own address while it lives, which
  // tells a live ObjStrong from a stale or foreign address.
  bool IsValidObjStrong() const { return m_validity == reinterpret_cast<std::uintptr_t>(this); }

 private:
  std::uintptr_t m_validity;
};

template <class T>
bool RefCount<T>::DestroyObject(T* object) {
  if constexpr (std::is_same<T, ObjStrong_base>::value) {
    return object->DeleteIfUnowned() == 0;
  } else if constexpr (std::is_base_of<ObjStrong_base, T>::value) {
    delete static_cast<ObjStrong_base*>(object);
    return true;
  } else {
    delete object;
    return true;
  }
}

namespace detail {

// The live ObjStrong that p points into, or null. Polymorphic types that
// are not ObjStrong themselves (a CTree holding a CTreeNode) are tested at
// run time so that they share the object's intrusive block.
template <class T>
ObjStrong* AsLiveObjStrong(T* p) {
  ObjStrong* o = nullptr;
  if constexpr (std::is_base_of<ObjStrong, T>::value) {
    o = p;
  } else if constexpr (std::is_polymorphic<T>::value) {
    o = dynamic_cast<ObjStrong*>(p);
  }
  return (o && o->IsValidObjStrong()) ? o : nullptr;
}

}  // namespace detail

// Conversion policy: an upcast is implicit, anything else is a dynamic cast
// tested at run time; a cast that cannot succeed gives null.
template <class TP>
struct FDynamicCast;

template <class T>
struct FDynamicCast<T*> {
  template <class U>
  T* operator()(U* p) const {
    if constexpr (std::is_convertible<U*, T*>::value) {
      return p;
    } else if constexpr (std::is_polymorphic<U>::value && std::is_polymorphic<T>::value) {
      return dynamic_cast<T*>(p);
    } else {
      return nullptr;
    }
  }
};

// Data part of every smart pointer.
class TELIO_EXPORT _PtrSmart_base {
 public:
  RefCount_base* GetRefCount() const { return m_pRefCount; }
  // Null when there is no block or the object is gone.
  bool IsNull() const { return !m_pRefCount || m_pRefCount->Expired(); }
  explicit operator bool() const { return !IsNull(); }
  bool operator!() const { return IsNull(); }

 protected:
  _PtrSmart_base() = default;
  ~_PtrSmart_base() = default;

  // Points this pointer at (raw, block), taking the new reference before
  // dropping the old one: the old reference may be all that keeps the new
  // object alive. block must be live or null.
  void Attach(void* raw, RefCount_base* block, bool strong) {
    if (block) strong ? block->AddStrongRef() : block->AddWeakRef();
    Detach(strong);
    m_pRaw = raw;
    m_pRefCount = block;
  }

  // As Attach, for a block that already counts this pointer's reference.
  void AttachCounted(void* raw, RefCount_base* block, bool strong) {
    Detach(strong);
    m_pRaw = raw;
    m_pRefCount = block;
  }

  // Drops the reference held. The fields are cleared first: the release may
  // destroy an object that owns this pointer.
  void Detach(bool strong) {
    RefCount_base* block = m_pRefCount;
    m_pRaw = nullptr;
    m_pRefCount = nullptr;
    Release(block, strong);
  }

  // Takes over q's reference, q becoming null, without touching the counts
  // (a move); a dangling q gives null and its reference is dropped. The
  // reference held before is dropped last, as in Detach.
  void Take(_PtrSmart_base& q, bool strong) {
    if (&q == this) return;
    RefCount_base* old = m_pRefCount;
    RefCount_base* taken = q.m_pRefCount;
    void* raw = q.m_pRaw;
    q.m_pRaw = nullptr;
    q.m_pRefCount = nullptr;
    const bool live = taken && !taken->Expired();
    m_pRaw = live ? raw : nullptr;
    m_pRefCount = live ? taken : nullptr;
    if (!live) Release(taken, strong);
    Release(old, strong);
  }

  static void Release(RefCount_base* block, bool strong) {
    if (block) strong ? block->ReleaseStrongRef() : block->ReleaseWeakRef();
  }

  void* m_pRaw = nullptr;
  RefCount_base* m_pRefCount = nullptr;
};

template <class T, class Cast>
class PtrStrong;
template <class T, class Cast>
class PtrWeak;

// Common base of the strong and weak pointer to T.
template <class T>
class _PtrSmart : public _PtrSmart_base {
 public:
  virtual ~_PtrSmart() = default;
  virtual _PtrSmart& operator=(T* p) = 0;

  T* operator->() const { return Checked(); }
  T& operator*() const { return *Checked(); }

  // The object, or null for a null or dangling pointer.
  T* GetPtr() const { return IsNull() ? nullptr : GetRawPtr(); }
  // The address held even when dangling: identity only, never dereference.
  T* GetRawPtr() const { return static_cast<T*>(m_pRaw); }

 protected:
  _PtrSmart() = default;
  _PtrSmart(const _PtrSmart&) : _PtrSmart_base() {}
  _PtrSmart& operator=(const _PtrSmart&) { return *this; }

  T* Checked() const {
    if (IsNull()) ThrowRefcntPtrExcp();
    return GetRawPtr();
  }

  // Takes a reference on p (the object's own block for a live ObjStrong,
  // else a new block); nothing happens when p is already held.
  void AssignRaw(T* p, bool strong) {
    if (p == GetRawPtr() && !IsNull()) return;
    if (!p) {
      Detach(strong);
      return;
    }
    if (ObjStrong* o = detail::AsLiveObjStrong(p)) {
      bool counted;
      RefCount_base* block = o->GetRefCountFor(strong, counted);
      if (counted) {
        AttachCounted(p, block, strong);
      } else {
        Attach(p, block, strong);
      }
    } else if (strong) {
      AttachCounted(p, new RefCount<T>(p, true, 1), true);
    } else {
      Attach(p, new RefCount<T>(p, false), false);
    }
  }

  // Shares the object of another pointer (given as its converted address
  // and block); a null or dangling source gives null.
  void AssignShared(T* p, RefCount_base* block, bool strong) {
    bool live = p && block && !block->Expired();
    if (live && p == GetRawPtr() && block == m_pRefCount) return;
    if (live) {
      Attach(p, block, strong);
    } else {
      Detach(strong);
    }
  }
};

// Owning pointer.
template <class T, class Cast = FDynamicCast<T*>>
class PtrStrong : public _PtrSmart<T> {
 public:
  typedef T element_type;

  PtrStrong() = default;
  PtrStrong(T* p) { this->AssignRaw(p, true); }  // NOLINT: as the framework's
  PtrStrong(const PtrStrong& q) : _PtrSmart<T>() { Share(q); }
  // A move: the reference goes over, the counts stay.
  PtrStrong(PtrStrong&& q) noexcept : _PtrSmart<T>() { this->Take(q, true); }
  template <class U, class C>
  PtrStrong(const PtrStrong<U, C>& q) { Share(q); }  // NOLINT
  template <class U, class C>
  explicit PtrStrong(const PtrWeak<U, C>& q) { Share(q); }
  ~PtrStrong() override { this->Detach(true); }

  PtrStrong& operator=(T* p) override {
    this->AssignRaw(p, true);
    return *this;
  }
  PtrStrong& operator=(const PtrStrong& q) {
    Share(q);
    return *this;
  }
  PtrStrong& operator=(PtrStrong&& q) noexcept {
    this->Take(q, true);
    return *this;
  }
  template <class U, class C>
  PtrStrong& operator=(const PtrStrong<U, C>& q) {
    Share(q);
    return *this;
  }
  template <class U, class C>
  PtrStrong& operator=(const PtrWeak<U, C>& q) {
    Share(q);
    return *this;
  }

  void Reset() { this->Detach(true); }

 private:
  template <class P>
  void Share(const P& q) {
    this->AssignShared(Cast()(q.GetPtr()), q.GetRefCount(), true);
  }
};

// Non-owning pointer that notices when its object is gone.
template <class T, class Cast = FDynamicCast<T*>>
class PtrWeak : public _PtrSmart<T> {
 public:
  typedef T element_type;

  PtrWeak() = default;
  PtrWeak(T* p) { this->AssignRaw(p, false); }  // NOLINT
  PtrWeak(const PtrWeak& q) : _PtrSmart<T>() { Share(q); }
  PtrWeak(PtrWeak&& q) noexcept : _PtrSmart<T>() { this->Take(q, false); }
  template <class U, class C>
  PtrWeak(const PtrWeak<U, C>& q) { Share(q); }  // NOLINT
  template <class U, class C>
  PtrWeak(const PtrStrong<U, C>& q) { Share(q); }  // NOLINT
  ~PtrWeak() override { this->Detach(false); }

  PtrWeak& operator=(T* p) override {
    this->AssignRaw(p, false);
    return *this;
  }
  PtrWeak& operator=(const PtrWeak& q) {
    Share(q);
    return *this;
  }
  PtrWeak& operator=(PtrWeak&& q) noexcept {
    this->Take(q, false);
    return *this;
  }
  template <class U, class C>
  PtrWeak& operator=(const PtrWeak<U, C>& q) {
    Share(q);
    return *this;
  }
  template <class U, class C>
  PtrWeak& operator=(const PtrStrong<U, C>& q) {
    Share(q);
    return *this;
  }

  void Reset() { this->Detach(false); }

 private:
  template <class P>
  void Share(const P& q) {
    this->AssignShared(Cast()(q.GetPtr()), q.GetRefCount(), false);
  }
};

// Identity: two pointers refer to the same object when their addresses are
// equal (collections find their elements this way).
template <class T, class U>
bool operator==(const _PtrSmart<T>& a, const _PtrSmart<U>& b) {
  return a.GetRawPtr() == b.GetRawPtr();
}
template <class T, class U>
bool operator!=(const _PtrSmart<T>& a, const _PtrSmart<U>& b) {
  return !(a == b);
}

}  // namespace Safe
}  // namespace GE_
