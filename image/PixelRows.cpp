#include "PixelRows.h"

#include <algorithm>
#include <cstdlib>
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
    : table_(table.size() > 256 ? std::vector<RgbQuad>(table.begin(), table.begin() + 256)
                                : table) {
    const size_t n = table_.size();
    if ((n == 2 || n == 16 || n == 256) && table_ == DibSection::greyRamp(n == 2    ? 1
                                                                          : n == 16 ? 4
                                                                                    : 8)) {
        rampStep_ = 255 / static_cast<int>(n - 1);
        return;
    }
    if (n == 0) {
        return;  // true-colour targets never ask
    }
    cacheKey_.resize(size_t{1} << kCacheBits);
    cacheIndex_.resize(size_t{1} << kCacheBits);
    cells_.resize(size_t{1} << (3 * kCellBits));
    cellReady_.resize(cells_.size());
}

uint8_t NearestColour::index(uint8_t blue, uint8_t green, uint8_t red) {
    if (rampStep_ != 0) {
        // The distance to grey v is 3 (v - mean)^2 plus a constant, so the nearest entry
        // is the mean over the step rounded; with odd steps (1, 17, 255) no halves occur.
        const int sum = blue + green + red;
        return static_cast<uint8_t>((2 * sum + 3 * rampStep_) / (6 * rampStep_));
    }
    if (table_.empty()) {
        return 0;
    }
    const uint32_t colour = blue | (uint32_t{green} << 8) | (uint32_t{red} << 16);
    const uint32_t key = colour | (1u << 24);
    const uint32_t slot = (colour * 2654435761u) >> (32 - kCacheBits);
    if (cacheKey_[slot] != key) {
        cacheKey_[slot] = key;
        cacheIndex_[slot] = search(blue, green, red);
    }
    return cacheIndex_[slot];
}

uint8_t NearestColour::search(uint8_t blue, uint8_t green, uint8_t red) {
    int best = 0;
    int bestDistance = 1 << 30;
    for (const uint8_t i : candidates(blue, green, red)) {
        const int db = blue - table_[i].blue;
        const int dg = green - table_[i].green;
        const int dr = red - table_[i].red;
        const int distance = db * db + dg * dg + dr * dr;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return static_cast<uint8_t>(best);
}

// An entry can be nearest somewhere in a cell only if its least distance to the cell is
// at most the smallest greatest distance of any entry; those entries, in index order, are
// the cell's candidates (ties then still go to the lowest index).
const std::vector<uint8_t>& NearestColour::candidates(uint8_t blue, uint8_t green, uint8_t red) {
    constexpr int shift = 8 - kCellBits;
    const size_t cell = (size_t{blue} >> shift) | ((size_t{green} >> shift) << kCellBits) |
                        ((size_t{red} >> shift) << (2 * kCellBits));
    if (cellReady_[cell]) {
        return cells_[cell];
    }
    const int lo[3] = {blue >> shift << shift, green >> shift << shift, red >> shift << shift};
    const int span = (1 << shift) - 1;
    std::vector<int> least(table_.size());
    int bound = 1 << 30;
    for (size_t i = 0; i < table_.size(); ++i) {
        const int v[3] = {table_[i].blue, table_[i].green, table_[i].red};
        int near = 0;
        int far = 0;
        for (int c = 0; c < 3; ++c) {
            const int below = lo[c] - v[c];
            const int above = v[c] - (lo[c] + span);
            const int gap = std::max({below, above, 0});
            const int reach = std::max(std::abs(below), std::abs(above));
            near += gap * gap;
            far += reach * reach;
        }
        least[i] = near;
        bound = std::min(bound, far);
    }
    auto& list = cells_[cell];
    for (size_t i = 0; i < table_.size(); ++i) {
        if (least[i] <= bound) {
            list.push_back(static_cast<uint8_t>(i));
        }
    }
    cellReady_[cell] = true;
    return list;
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
