#pragma once

#include <cstddef>

struct PreparedFile;

// While a batch runs, the large buffers a decoder needs for each file (a progressive JPEG
// keeps every coefficient of the picture) are kept by the allocator and used again for the
// next file, instead of being mapped afresh and faulted in page by page; when the batch ends,
// the memory it no longer uses goes back to the system.
class BatchMemory {
  public:
    // Run first thing in main(), before any thread starts: the workers share one heap.
    static void SetUpProcess();

    BatchMemory();
    ~BatchMemory();
    BatchMemory(const BatchMemory&) = delete;
    BatchMemory& operator=(const BatchMemory&) = delete;

    // What the files prepared but not yet written may hold at once: a quarter of the
    // machine's memory, so that a batch of huge canvases prepares fewer files at a time.
    static size_t DefaultBudget();
    // The bytes a prepared file holds until it is written.
    static size_t HeldBytes(const PreparedFile& file);
};
