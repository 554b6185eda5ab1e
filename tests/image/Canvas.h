#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "DrawingContext.h"

namespace tessaro::test {

using Bgr = std::array<uint8_t, 3>;

// A bitmap selected into its own context, with plain pixel access for checks.
struct Canvas {
    Canvas(int32_t w, int32_t h, int16_t bits, const std::vector<RgbQuad>& table = {})
        : dib(DibSection::create(w, h, bits, table)) {
        dc.select(dib.get());
    }

    void set(int32_t x, int32_t y, Bgr c) {
        uint8_t* p = dib->row(y) + 3 * x;
        p[0] = c[0];
        p[1] = c[1];
        p[2] = c[2];
    }
    Bgr get(int32_t x, int32_t y) const {
        const uint8_t* p = dib->row(y) + 3 * x;
        return {p[0], p[1], p[2]};
    }
    void setIndex(int32_t x, int32_t y, int v) {
        uint8_t* row = dib->row(y);
        const int bits = dib->bitCount();
        const int shift = 8 - bits - (x * bits) % 8;
        const int mask = ((1 << bits) - 1) << shift;
        uint8_t& b = row[x * bits / 8];
        b = static_cast<uint8_t>((b & ~mask) | ((v << shift) & mask));
    }
    int index(int32_t x, int32_t y) const {
        const uint8_t* row = dib->row(y);
        const int bits = dib->bitCount();
        const int shift = 8 - bits - (x * bits) % 8;
        return (row[x * bits / 8] >> shift) & ((1 << bits) - 1);
    }

    std::unique_ptr<DibSection> dib;
    DrawingContext dc;
};

// A deterministic colour for pixel (x, y) so that mappings can be checked pixel by pixel.
inline Bgr pattern(int32_t x, int32_t y) {
    return {static_cast<uint8_t>(x * 37 + y * 11), static_cast<uint8_t>(x * 5 + y * 71),
            static_cast<uint8_t>(x * 13 ^ y * 29)};
}

}  // namespace tessaro::test
