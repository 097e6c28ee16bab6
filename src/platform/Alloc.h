// Heap allocation for record tables and framework containers.
//
// Everything the library allocates for data read from files goes through
// these calls, so a test can make the Nth allocation fail and check that
// each caller reports the failure and leaks nothing. Blocks are ordinary
// malloc blocks: they may be released with free().
#pragma once

#include <cstddef>

#include "platform/Export.h"

namespace telio {

TELIO_EXPORT void* Malloc(std::size_t size);
TELIO_EXPORT void* Calloc(std::size_t count, std::size_t size);
// Like realloc; on failure the old block is untouched and null is returned.
TELIO_EXPORT void* Realloc(void* block, std::size_t size);
TELIO_EXPORT void Free(void* block);

// A zero-filled block for data about to be written whole (hundreds of MB
// when a job's results are loaded): on large pages where the system has
// them, each made as it is first written, so that the block costs a few
// hundred faults rather than one per 4 KB page and is never zeroed long
// before it is written. Released with FreeWhole and the same size, never
// with free(); null on failure (injected failures included).
TELIO_EXPORT void* CallocWhole(std::size_t size);
TELIO_EXPORT void FreeWhole(void* block, std::size_t size);

// Blocks of the small objects the design model makes and drops by the
// million (shared objects and their count blocks). A block freed here is
// kept by the freeing thread, by size (16-byte classes up to 512 bytes, a
// few MB in all), and handed out again for the next object of its class
// before malloc is asked. Every block is an ordinary malloc block of its
// class's size, so a block may be freed on another thread than the one
// that made it, and one freed when its thread is closing goes back to
// free(). Not fault-injected: objects report a failed allocation as new
// does. Under AddressSanitizer nothing is kept, so that a use after free
// is still caught. ObjectFree takes the size given to ObjectAlloc, or 0
// when it is not known (the block then goes straight back to free()).
TELIO_EXPORT void* ObjectAlloc(std::size_t size);
TELIO_EXPORT void ObjectFree(void* block, std::size_t size);

// Fault injection for tests. After FailAllocationsAfter(n), the first n
// allocations succeed and every later one fails until the counter is reset
// with FailAllocationsAfter(-1). AllocationsSeen() counts calls since the
// last reset, which lets a test find how many sites an operation has.
TELIO_EXPORT void FailAllocationsAfter(long n);
TELIO_EXPORT long AllocationsSeen();

}  // namespace telio
