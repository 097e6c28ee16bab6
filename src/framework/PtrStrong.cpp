#include "framework/PtrStrong.h"

namespace GE_ {
namespace Safe {

void ThrowRefcntPtrExcp() {
  static Refcnt_ptr_excp instance;
  throw &instance;
}

RefCount_base::~RefCount_base() = default;

RefCount_base* ObjStrong_base::MakeRefCount(bool& withRef, bool strong) const {
  RefCount<ObjStrong_base>* fresh =
      new RefCount<ObjStrong_base>(const_cast<ObjStrong_base*>(this), true, withRef && strong ? 1 : 0);
  if (withRef && !strong) fresh->AddWeakRef();
  RefCount<ObjStrong_base>* held = nullptr;
  if (m_pRefCount.compare_exchange_strong(held, fresh, std::memory_order_acq_rel)) return fresh;
  delete fresh;  // another thread made the block first
  withRef = false;
  return held;
}

ObjStrong_base::~ObjStrong_base() {
  // Pointers still referring to the block (weak ones, or strong ones when a
  // caller deleted the object directly) must see it gone.
  // Nothing else may touch an object being destroyed, so a plain load is
  // enough (and costs the many objects without a block no atomic write).
  RefCount<ObjStrong_base>* block = m_pRefCount.load(std::memory_order_acquire);
  if (!block) return;
  m_pRefCount.store(nullptr, std::memory_order_relaxed);
  block->Expire();
  block->ReleaseWeakRef();
}

long32 ObjStrong_base::DeleteIfUnowned() {
  RefCount<ObjStrong_base>* block = m_pRefCount.load(std::memory_order_acquire);
  long32 strong = block ? block->StrongCount() : 0;
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
