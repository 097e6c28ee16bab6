// Atomic reference-count steps with the Win32 contract: the count changes
// by one atomically and the call returns the count after the change, so
// exactly one of several releasing threads sees 0.
//
// The std::atomic form is the one the framework's counted objects use; the
// volatile form serves counts that live inside plain records.
#pragma once

#include <atomic>

#include "platform/Types.h"

inline long32 InterlockedIncrement(std::atomic<long32>* count) {
  return count->fetch_add(1, std::memory_order_acq_rel) + 1;
}

inline long32 InterlockedDecrement(std::atomic<long32>* count) {
  return count->fetch_sub(1, std::memory_order_acq_rel) - 1;
}

#if defined(__GNUC__) || defined(__clang__)
inline long32 InterlockedIncrement(volatile long32* count) {
  return __atomic_add_fetch(count, 1, __ATOMIC_ACQ_REL);
}

inline long32 InterlockedDecrement(volatile long32* count) {
  return __atomic_sub_fetch(count, 1, __ATOMIC_ACQ_REL);
}
#elif defined(_MSC_VER)
#include <intrin.h>
// long is 32 bits on Windows, so the intrinsics work on long32 in place.
inline long32 InterlockedIncrement(volatile long32* count) {
  return _InterlockedIncrement(reinterpret_cast<volatile long*>(count));
}

inline long32 InterlockedDecrement(volatile long32* count) {
  return _InterlockedDecrement(reinterpret_cast<volatile long*>(count));
}
#endif
