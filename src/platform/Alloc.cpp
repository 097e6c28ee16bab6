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

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kRecycle = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kRecycle = false;
#else
constexpr bool kRecycle = true;
#endif
#else
constexpr bool kRecycle = true;
#endif

constexpr std::size_t kGrain = 16;
constexpr std::size_t kClasses = 32;  // blocks of up to 512 bytes
// Bytes a thread keeps in all.
constexpr std::size_t kKeptBytes = std::size_t{4} << 20;

// A class's kept blocks. They are held in an array, not linked through
// themselves: taking one then reads nothing from a block that may have
// left the cache long ago.
struct Stack {
  void** blocks;
  std::size_t count;
  std::size_t capacity;
};

// A thread's kept blocks. Plain data, zero when the thread starts and
// valid until it ends, so that blocks freed while the thread's objects are
// being destroyed (after Drain) find it in a known state.
struct Kept {
  Stack stacks[kClasses];
  std::size_t bytes;
  bool registered;  // Drain will run when the thread ends
  bool closed;      // Drain has run: keep nothing more
};
thread_local Kept t_kept;

void Drain() {
  for (Stack& s : t_kept.stacks) {
    for (std::size_t i = 0; i < s.count; ++i) std::free(s.blocks[i]);
    std::free(s.blocks);
    s = Stack{nullptr, 0, 0};
  }
  t_kept.bytes = 0;
  t_kept.closed = true;
}

struct Drainer {
  ~Drainer() { Drain(); }
};

// The class of a size (1 to kClasses), 0 when blocks of that size are not
// kept.
inline std::size_t ClassOf(std::size_t size) {
  return (size == 0 || size > kGrain * kClasses) ? 0 : (size + kGrain - 1) / kGrain;
}

// Keeps block in s; false when it cannot be kept.
bool Keep(Stack& s, void* block) {
  if (s.count == s.capacity) {
    const std::size_t capacity = s.capacity ? 2 * s.capacity : 256;
    void** grown = static_cast<void**>(std::realloc(s.blocks, capacity * sizeof(void*)));
    if (!grown) return false;
    s.blocks = grown;
    s.capacity = capacity;
  }
  s.blocks[s.count++] = block;
  return true;
}

}  // namespace

void* ObjectAlloc(std::size_t size) {
  const std::size_t c = kRecycle ? ClassOf(size) : 0;
  if (c == 0) return std::malloc(size == 0 ? 1 : size);
  Stack& s = t_kept.stacks[c - 1];
  if (s.count > 0) {
    t_kept.bytes -= c * kGrain;
    return s.blocks[--s.count];
  }
  return std::malloc(c * kGrain);
}

void ObjectFree(void* block, std::size_t size) {
  if (!block) return;
  const std::size_t c = kRecycle ? ClassOf(size) : 0;
  if (c == 0 || t_kept.closed || t_kept.bytes + c * kGrain > kKeptBytes) {
    std::free(block);
    return;
  }
  if (!t_kept.registered) {
    // A thread-local object with a destructor is made on its first use.
    static thread_local Drainer drainer;
    (void)drainer;
    t_kept.registered = true;
  }
  if (!Keep(t_kept.stacks[c - 1], block)) {
    std::free(block);
    return;
  }
  t_kept.bytes += c * kGrain;
}

void FailAllocationsAfter(long n) {
  g_failAfter.store(n, std::memory_order_relaxed);
  g_seen.store(0, std::memory_order_relaxed);
}

long AllocationsSeen() { return g_seen.load(std::memory_order_relaxed); }

}  // namespace telio
