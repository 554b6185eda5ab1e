#pragma once

#include <cstdint>
#include <cstring>

#include "OutputBuffer.h"

namespace tessaro::jpeg {

// Packs codes most significant bit first into the stream; every stored 0xFF is followed by
// 0x00, and the last byte is padded with 1-bits.
class BitWriter {
  public:
    // The bits in hand and where the next byte goes. Coders copy it into a local variable
    // for a run of puts, so that it stays in registers: stores through the byte pointer
    // could otherwise alias it.
    struct Sink {
        uint64_t acc = 0;  // the last 64 - room bits, right-aligned
        int room = 64;     // 1..64
        uint8_t* cursor = nullptr;

        // `length` (0..32) bits; `bits` has no bit set at or above `length`.
        inline void putExact(uint64_t bits, int length) {
            if (length < room) {
                acc = (acc << length) | bits;
                room -= length;
                return;
            }
            const int rest = length - room;
            acc = (acc << room) | (bits >> rest);
            storeWord();
            acc = bits & ((uint64_t{1} << rest) - 1);
            room = 64 - rest;
        }

        // The full accumulator as eight bytes; one with an 0xFF byte goes byte by byte.
        inline void storeWord() {
            // Sets the top bit of every byte that is 0xFF (and possibly of bytes above one).
            if ((acc & 0x8080808080808080u & ~(acc + 0x0101010101010101u)) == 0) {
                const uint64_t bigEndian = __builtin_bswap64(acc);
                std::memcpy(cursor, &bigEndian, 8);
                cursor += 8;
                return;
            }
            for (int shift = 56; shift >= 0; shift -= 8) {
                storeByte(static_cast<uint8_t>(acc >> shift));
            }
        }

        inline void storeByte(uint8_t b) {
            *cursor++ = b;
            if (b == 0xFF) {
                *cursor++ = 0;
            }
        }
    };

    explicit BitWriter(OutputBuffer& out) : out_(out) {}

    // Room for the next `bytes` coded bytes, stuffing included; call before a run of puts.
    void ensure(size_t bytes) {
        if (static_cast<size_t>(end_ - sink_.cursor) < bytes) {
            commit();
            sink_.cursor = out_.reserve(bytes + kSlack);
            start_ = sink_.cursor;
            end_ = sink_.cursor + bytes;
        }
    }

    // The low `length` bits of `bits` (length 0..32).
    void put(uint32_t bits, int length) {
        sink_.putExact(bits & ((uint64_t{1} << length) - 1), length);
    }

    Sink& sink() { return sink_; }

    // Hands the bytes stored since the last ensure() to the buffer.
    void commit() {
        out_.advance(static_cast<size_t>(sink_.cursor - start_));
        start_ = sink_.cursor;
    }

    // Pads the last byte with 1-bits, stores what is in hand and commits.
    void flush() {
        ensure(16);
        int count = 64 - sink_.room;
        uint64_t acc = sink_.acc;
        const int pad = (8 - count % 8) % 8;
        acc = (acc << pad) | ((uint64_t{1} << pad) - 1);
        count += pad;
        for (int shift = count - 8; shift >= 0; shift -= 8) {
            sink_.storeByte(static_cast<uint8_t>(acc >> shift));
        }
        sink_.acc = 0;
        sink_.room = 64;
        commit();
    }

  private:
    // A whole word may be stored past the bytes asked for.
    static constexpr size_t kSlack = 16;

    OutputBuffer& out_;
    Sink sink_;
    uint8_t* start_ = nullptr;
    uint8_t* end_ = nullptr;
};

}  // namespace tessaro::jpeg
