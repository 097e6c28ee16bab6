// What the containers need to know about an element: whether it is a live
// object, which object it is, and its checksum. Elements are smart pointers,
// raw pointers to records, nested containers or plain records.
#pragma once

#include <type_traits>
#include <utility>

#include "framework/PtrStrong.h"
#include "platform/Types.h"

namespace GE_ {
namespace Safe {
namespace detail {

template <class X, class = void>
struct HasCheckSum : std::false_type {};
template <class X>
struct HasCheckSum<X, std::void_t<decltype(std::declval<const X&>().CheckSum())>> : std::true_type {};

template <class T>
constexpr bool IsSmartPtr() {
  return std::is_base_of<_PtrSmart_base, T>::value;
}

// True for an element that refers to a live object (not null, not
// dangling); values that are not pointers are always live.
template <class T>
bool IsLiveElement(const T& e) {
  if constexpr (IsSmartPtr<T>()) {
    return !e.IsNull();
  } else if constexpr (std::is_pointer<T>::value) {
    return e != nullptr;
  } else {
    return true;
  }
}

// The address that identifies the element's object (null for values).
template <class T>
const void* ElementIdentity(const T& e) {
  if constexpr (IsSmartPtr<T>()) {
    return e.GetRawPtr();
  } else if constexpr (std::is_pointer<T>::value) {
    return e;
  } else {
    return nullptr;
  }
}

// The object's own checksum, for elements whose objects have one. Returns
// false (and leaves sum alone) for elements that contribute nothing.
template <class T>
bool ElementCheckSum(const T& e, ulong32& sum) {
  if constexpr (IsSmartPtr<T>()) {
    typedef typename std::remove_reference<decltype(*e)>::type X;
    if constexpr (HasCheckSum<X>::value) {
      if (e.IsNull()) return false;
      sum = static_cast<ulong32>(e->CheckSum());
      return true;
    } else {
      return false;
    }
  } else if constexpr (std::is_pointer<T>::value) {
    typedef typename std::remove_pointer<T>::type X;
    if constexpr (HasCheckSum<X>::value) {
      if (!e) return false;
      sum = static_cast<ulong32>(e->CheckSum());
      return true;
    } else {
      return false;
    }
  } else if constexpr (HasCheckSum<T>::value) {
    sum = static_cast<ulong32>(e.CheckSum());
    return true;
  } else {
    return false;
  }
}

}  // namespace detail
}  // namespace Safe
}  // namespace GE_
