#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaro::jpeg {

// The stream being assembled. It starts at the estimated size and grows when the coded data
// needs more (byte stuffing and filler blocks are not in the estimate). Two-byte fields are
// stored high byte first; a value that does not fit its field raises the overflow error.
class OutputBuffer {
  public:
    explicit OutputBuffer(size_t initialSize = 0);

    int32_t position() const { return static_cast<int32_t>(position_); }

    void putByte(int32_t value);
    void put16(int32_t value);
    void putBytes(const uint8_t* data, size_t count);
    // Stores a 16-bit field at an earlier position (a segment length).
    void patch16(int32_t at, int32_t value);

    // Room for at least `count` more bytes at the position; returns where they go.
    uint8_t* reserve(size_t count);
    void advance(size_t count) { position_ += count; }

    // The bytes written so far; the buffer is left empty.
    std::vector<uint8_t> take();

  private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};

}  // namespace tessaro::jpeg
