#include "BatchMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

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

void BatchMemory::SetUpProcess() {
#if defined(__GLIBC__)
    // One heap for every thread: another thread's heap is given back to the system whenever
    // it empties, as it does between files, and refaulted for the next one. Only threads
    // started after this keep to it, and a thread that has ended leaves its heap to the next.
    mallopt(M_ARENA_MAX, 1);
#endif
}

BatchMemory::BatchMemory() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kKeptBlockBytes);
    mallopt(M_TRIM_THRESHOLD, 8 * kKeptBlockBytes);
    // The heap is grown now by room for two workers' buffers, left untouched, and that room
    // is backed by huge pages: its first use then costs one page fault per 2 MiB instead of
    // 512, which is much of the time a progressive photo takes under a hypervisor. Growth
    // beyond it is in small pages as before.
    const auto before = reinterpret_cast<uintptr_t>(sbrk(0));
    mallopt(M_TOP_PAD, 4 * kKeptBlockBytes);
    void* volatile block = std::malloc(kKeptBlockBytes / 2);
    std::free(block);
    mallopt(M_TOP_PAD, 128 << 10);
    const auto after = reinterpret_cast<uintptr_t>(sbrk(0));
    constexpr uintptr_t kHuge = 2 << 20;
    const uintptr_t from = (before + kHuge - 1) & ~(kHuge - 1);
    if (after > from)
        madvise(reinterpret_cast<void*>(from), after - from, MADV_HUGEPAGE);
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
