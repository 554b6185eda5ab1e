#pragma once

// While a batch runs, the large buffers a decoder needs for each file (a progressive JPEG
// keeps every coefficient of the picture) are kept by the allocator and used again for the
// next file, instead of being mapped afresh and faulted in page by page; each worker keeps
// to a heap of its own, where its files' buffers follow one another in the same pattern;
// when the batch ends, the memory it no longer uses goes back to the system.
class BatchMemory {
  public:
    BatchMemory();
    ~BatchMemory();
    BatchMemory(const BatchMemory&) = delete;
    BatchMemory& operator=(const BatchMemory&) = delete;
};
