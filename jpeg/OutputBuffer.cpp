#include "OutputBuffer.h"

#include <cstring>
#include <limits>

#include "CheckedMath.h"

namespace tessaro::jpeg {

namespace {

uint8_t byteOf(int32_t value) {
    return checked::narrow<uint8_t>(value);
}

}  // namespace

OutputBuffer::OutputBuffer(size_t initialSize) : bytes_(initialSize) {}

uint8_t* OutputBuffer::reserve(size_t count) {
    const size_t needed = position_ + count;
    // The write position is a 32-bit index: a stream that cannot be indexed is out of range.
    if (needed > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        err::raiseSubscript();
    }
    if (needed > bytes_.size()) {
        size_t grown = bytes_.size() + bytes_.size() / 2 + 4096;
        if (grown < needed) {
            grown = needed;
        }
        bytes_.resize(grown);
    }
    return bytes_.data() + position_;
}

void OutputBuffer::putByte(int32_t value) {
    const uint8_t b = byteOf(value);
    *reserve(1) = b;
    ++position_;
}

void OutputBuffer::put16(int32_t value) {
    const uint8_t hi = byteOf(value >> 8);
    const uint8_t lo = static_cast<uint8_t>(value & 0xFF);
    uint8_t* p = reserve(2);
    p[0] = hi;
    p[1] = lo;
    position_ += 2;
}

void OutputBuffer::putBytes(const uint8_t* data, size_t count) {
    if (count == 0) {
        return;
    }
    std::memcpy(reserve(count), data, count);
    position_ += count;
}

void OutputBuffer::patch16(int32_t at, int32_t value) {
    const uint8_t hi = byteOf(value >> 8);
    bytes_[static_cast<size_t>(at)] = hi;
    bytes_[static_cast<size_t>(at) + 1] = static_cast<uint8_t>(value & 0xFF);
}

std::vector<uint8_t> OutputBuffer::take() {
    bytes_.resize(position_);
    position_ = 0;
    return std::move(bytes_);
}

}  // namespace tessaro::jpeg
