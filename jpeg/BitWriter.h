#pragma once

#include <cstdint>

#include "OutputBuffer.h"

namespace tessaro::jpeg {

// Packs codes most significant bit first into the stream; every stored 0xFF is followed by
// 0x00, and the last byte is padded with 1-bits.
class BitWriter {
  public:
    explicit BitWriter(OutputBuffer& out) : out_(out) {}

    // Room for the next `bytes` coded bytes, stuffing included; call before a run of puts.
    void ensure(size_t bytes) {
        commit();
        cursor_ = out_.reserve(bytes);
        start_ = cursor_;
    }

    // The low `length` bits of `bits` (length 0..32).
    void put(uint32_t bits, int length) {
        acc_ = (acc_ << length) | (bits & ((uint64_t{1} << length) - 1));
        count_ += length;
        while (count_ >= 8) {
            count_ -= 8;
            const uint8_t b = static_cast<uint8_t>(acc_ >> count_);
            *cursor_++ = b;
            if (b == 0xFF) {
                *cursor_++ = 0;
            }
        }
    }

    // Hands the bytes stored since the last ensure() to the buffer.
    void commit() {
        out_.advance(static_cast<size_t>(cursor_ - start_));
        start_ = cursor_;
    }

    // Pads the last byte with 1-bits and commits.
    void flush() {
        if (count_ > 0) {
            ensure(2);
            put((1u << (8 - count_)) - 1, 8 - count_);
        }
        commit();
        acc_ = 0;
        count_ = 0;
    }

  private:
    OutputBuffer& out_;
    uint8_t* cursor_ = nullptr;
    uint8_t* start_ = nullptr;
    uint64_t acc_ = 0;
    int count_ = 0;
};

}  // namespace tessaro::jpeg
