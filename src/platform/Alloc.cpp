#include "platform/Alloc.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace telio {

namespace {
std::atomic<long> g_failAfter{-1};
std::atomic<long> g_seen{0};

// The count is kept with a plain load and store rather than an atomic
// increment, which costs every allocation of the library a locked
// instruction: it serves tests, which allocate on one thread, and a count
// lost to two threads allocating at once is harmless.
bool ShouldFail() {
  long seen = g_seen.load(std::memory_order_relaxed);
  g_seen.store(seen + 1, std::memory_order_relaxed);
  long limit = g_failAfter.load(std::memory_order_relaxed);
  return limit >= 0 && seen >= limit;
}
}  // namespace

void* Malloc(std::size_t size) {
  if (ShouldFail()) return nullptr;
  return std::malloc(size == 0 ? 1 : size);
}

void* Calloc(std::size_t count, std::size_t size) {
  if (ShouldFail()) return nullptr;
  if (count == 0 || size == 0) return std::calloc(1, 1);
  return std::calloc(count, size);
}

void* Realloc(void* block, std::size_t size) {
  if (ShouldFail()) return nullptr;
  return std::realloc(block, size == 0 ? 1 : size);
}

void Free(void* block) { std::free(block); }

#if defined(__linux__)
// Below this a plain calloc block does as well.
constexpr std::size_t kWholeFrom = std::size_t{1} << 24;
#endif

void* CallocWhole(std::size_t size) {
#if defined(__linux__)
  if (size >= kWholeFrom) {
    if (ShouldFail()) return nullptr;
    void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return nullptr;
#if defined(MADV_HUGEPAGE)
    // Large pages: a fault makes 2 MB at once, just before they are
    // written, and the block is given back as quickly. Where the system
    // has none to give, the block is made a page at a time as it is written.
    madvise(p, size, MADV_HUGEPAGE);
#endif
    return p;
  }
#endif
  return Calloc(1, size);
}

void FreeWhole(void* block, std::size_t size) {
#if defined(__linux__)
  if (block && size >= kWholeFrom) {
    munmap(block, size);
    return;
  }
#endif
  (void)size;
  Free(block);
}

void FailAllocationsAfter(long n) {
  g_failAfter.store(n, std::memory_order_relaxed);
  g_seen.store(0, std::memory_order_relaxed);
}

long AllocationsSeen() { return g_seen.load(std::memory_order_relaxed); }

}  // namespace telio
