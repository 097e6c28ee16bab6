#include "framework/PtrStrong.h"

namespace GE_ {
namespace Safe {

void ThrowRefcntPtrExcp() {
  static Refcnt_ptr_excp instance;
  throw &instance;
}

RefCount_base::~RefCount_base() = default;

ObjStrong_base::ObjStrong_base() : m_pRefCount(new RefCount<ObjStrong_base>(this, true)) {}

ObjStrong_base::ObjStrong_base(const ObjStrong_base&)
    : m_pRefCount(new RefCount<ObjStrong_base>(this, true)) {}

ObjStrong_base::~ObjStrong_base() {
  // Pointers still referring to the block (weak ones, or strong ones when a
  // caller deleted the object directly) must see it gone.
  RefCount<ObjStrong_base>* block = m_pRefCount;
  m_pRefCount = nullptr;
  block->Expire();
  block->ReleaseWeakRef();
}

long32 ObjStrong_base::DeleteIfUnowned() {
  long32 strong = m_pRefCount->StrongCount();
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
