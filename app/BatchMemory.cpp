#include "BatchMemory.h"

#include <unistd.h>

#include <algorithm>

#include "PreparedFile.h"

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
    // One heap for every worker: another thread's heap is given back to the system whenever
    // it empties, as it does between files, and refaulted for the next one.
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_MMAP_THRESHOLD, kKeptBlockBytes);
    mallopt(M_TRIM_THRESHOLD, 8 * kKeptBlockBytes);
#endif
}

BatchMemory::~BatchMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

size_t BatchMemory::DefaultBudget() {
    constexpr size_t kLeast = size_t{256} << 20;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageBytes = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageBytes <= 0)
        return kLeast;
    return std::max(kLeast, static_cast<size_t>(pages) / 4 * static_cast<size_t>(pageBytes));
}

size_t BatchMemory::HeldBytes(const PreparedFile& file) {
    return static_cast<size_t>(file.canvas.sizeInBytes()) +
           static_cast<size_t>(file.preview.sizeInBytes()) + file.gif.indices.size() +
           file.gif.palette.size() * sizeof(file.gif.palette[0]) +
           (file.jpeg ? file.jpeg->size() : 0);
}
