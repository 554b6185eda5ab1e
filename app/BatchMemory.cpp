#include "BatchMemory.h"

#include <cstdlib>  // says whether this is glibc
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// The largest block the allocator keeps in its heaps (its own ceiling): the coefficients of a
// 16 MP picture's brightness; larger blocks are still mapped on their own.
constexpr int kKeptBlockBytes = 32 << 20;

}  // namespace

BatchMemory::BatchMemory() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kKeptBlockBytes);
    mallopt(M_TRIM_THRESHOLD, 8 * kKeptBlockBytes);
#endif
}

BatchMemory::~BatchMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
