#include "PixelRows.h"

#include <cstring>

namespace tessaro::pixels {

uint32_t rawPixel(const uint8_t* row, int bitCount, int32_t x) {
    switch (bitCount) {
        case 1:
            return (row[x >> 3] >> (7 - (x & 7))) & 1u;
        case 4:
            return (x & 1) ? row[x >> 1] & 0x0Fu : row[x >> 1] >> 4;
        case 8:
            return row[x];
        case 24: {
            const uint8_t* p = row + 3 * static_cast<ptrdiff_t>(x);
            return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
        }
        default: {
            const uint8_t* p = row + 4 * static_cast<ptrdiff_t>(x);
            return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
        }
    }
}

void putRawPixel(uint8_t* row, int bitCount, int32_t x, uint32_t value) {
    switch (bitCount) {
        case 1: {
            const auto mask = static_cast<uint8_t>(0x80u >> (x & 7));
            row[x >> 3] =
                static_cast<uint8_t>((value & 1u) ? row[x >> 3] | mask : row[x >> 3] & ~mask);
            break;
        }
        case 4: {
            uint8_t& b = row[x >> 1];
            b = (x & 1) ? static_cast<uint8_t>((b & 0xF0u) | (value & 0x0Fu))
                        : static_cast<uint8_t>((b & 0x0Fu) | ((value & 0x0Fu) << 4));
            break;
        }
        case 8:
            row[x] = static_cast<uint8_t>(value);
            break;
        case 24: {
            uint8_t* p = row + 3 * static_cast<ptrdiff_t>(x);
            p[0] = static_cast<uint8_t>(value);
            p[1] = static_cast<uint8_t>(value >> 8);
            p[2] = static_cast<uint8_t>(value >> 16);
            break;
        }
        default: {
            // The unused byte is written opaque: toolkits read it as alpha.
            uint8_t* p = row + 4 * static_cast<ptrdiff_t>(x);
            p[0] = static_cast<uint8_t>(value);
            p[1] = static_cast<uint8_t>(value >> 8);
            p[2] = static_cast<uint8_t>(value >> 16);
            p[3] = 0xFF;
            break;
        }
    }
}

bool sameFormat(const DibSection& a, const DibSection& b) {
    if (a.bitCount() != b.bitCount()) {
        return false;
    }
    return a.bitCount() > 8 || a.colourTable() == b.colourTable();
}

RowReader::RowReader(const DibSection& source) : source_(source) {
    const auto& table = source.colourTable();
    for (size_t i = 0; i < table.size() && i < 256; ++i) {
        palette_[3 * i] = table[i].blue;
        palette_[3 * i + 1] = table[i].green;
        palette_[3 * i + 2] = table[i].red;
    }
}

const uint8_t* RowReader::span(int32_t y, int32_t x0, int32_t n) {
    const uint8_t* row = source_.row(y);
    const int bits = source_.bitCount();
    if (bits == 24) {
        return row + 3 * static_cast<ptrdiff_t>(x0);
    }
    buffer_.resize(3 * static_cast<size_t>(n));
    uint8_t* out = buffer_.data();
    if (bits == 32) {
        const uint8_t* p = row + 4 * static_cast<ptrdiff_t>(x0);
        for (int32_t i = 0; i < n; ++i, p += 4, out += 3) {
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
        }
    } else {
        for (int32_t i = 0; i < n; ++i, out += 3) {
            const uint8_t* c = &palette_[3 * rawPixel(row, bits, x0 + i)];
            out[0] = c[0];
            out[1] = c[1];
            out[2] = c[2];
        }
    }
    return buffer_.data();
}

NearestColour::NearestColour(const std::vector<RgbQuad>& table)
    : table_(table), cacheKey_(size_t{1} << kCacheBits), cacheIndex_(size_t{1} << kCacheBits) {}

uint8_t NearestColour::index(uint8_t blue, uint8_t green, uint8_t red) {
    const uint32_t colour = blue | (uint32_t{green} << 8) | (uint32_t{red} << 16);
    const uint32_t key = colour | (1u << 24);
    const uint32_t slot = (colour * 2654435761u) >> (32 - kCacheBits);
    if (cacheKey_[slot] == key) {
        return cacheIndex_[slot];
    }
    int best = 0;
    int bestDistance = 1 << 30;
    for (size_t i = 0; i < table_.size() && i < 256; ++i) {
        const int db = blue - table_[i].blue;
        const int dg = green - table_[i].green;
        const int dr = red - table_[i].red;
        const int distance = db * db + dg * dg + dr * dr;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
            if (distance == 0) {
                break;
            }
        }
    }
    cacheKey_[slot] = key;
    cacheIndex_[slot] = static_cast<uint8_t>(best);
    return static_cast<uint8_t>(best);
}

uint8_t applyRop(uint8_t code, uint8_t source, uint8_t destination) {
    constexpr uint8_t brush = 0xFF;
    uint8_t result = 0;
    for (int combination = 0; combination < 8; ++combination) {
        if ((code >> combination) & 1) {
            const uint8_t p = (combination & 4) ? brush : static_cast<uint8_t>(~brush);
            const uint8_t s = (combination & 2) ? source : static_cast<uint8_t>(~source);
            const uint8_t d = (combination & 1) ? destination : static_cast<uint8_t>(~destination);
            result = static_cast<uint8_t>(result | (p & s & d));
        }
    }
    return result;
}

RowWriter::RowWriter(DibSection& target, uint32_t rop)
    : target_(target), code_(ropCode(rop)), nearest_(target.colourTable()), reader_(target) {}

void RowWriter::write(int32_t y, int32_t x0, int32_t n, const uint8_t* bgr) {
    if (code_ != kSrcCopyCode) {
        const uint8_t* existing = reader_.span(y, x0, n);
        combined_.resize(3 * static_cast<size_t>(n));
        for (size_t i = 0; i < combined_.size(); ++i) {
            combined_[i] = applyRop(code_, bgr[i], existing[i]);
        }
        bgr = combined_.data();
    }
    uint8_t* row = target_.row(y);
    const int bits = target_.bitCount();
    if (bits == 24) {
        std::memmove(row + 3 * static_cast<ptrdiff_t>(x0), bgr, 3 * static_cast<size_t>(n));
        return;
    }
    for (int32_t i = 0; i < n; ++i, bgr += 3) {
        const uint32_t value = bits == 32
                                   ? bgr[0] | (uint32_t{bgr[1]} << 8) | (uint32_t{bgr[2]} << 16)
                                   : nearest_.index(bgr[0], bgr[1], bgr[2]);
        putRawPixel(row, bits, x0 + i, value);
    }
}

}  // namespace tessaro::pixels
