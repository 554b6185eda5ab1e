#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "DrawingContext.h"

// Row-level pixel access shared by the blits: every depth is read as blue, green, red bytes
// and written back from them, so each blit only needs to think in one pixel format.
namespace tessaro::pixels {

// Raw pixel value at column x of a memory row: a colour-table index, or the blue, green, red
// bytes packed low to high for 24 and 32 bits.
uint32_t rawPixel(const uint8_t* row, int bitCount, int32_t x);
void putRawPixel(uint8_t* row, int bitCount, int32_t x, uint32_t value);

// True when raw pixel values mean the same colours in both bitmaps, so they can be copied
// without going through colours (which keeps indices of duplicate table entries intact).
bool sameFormat(const DibSection& a, const DibSection& b);

// Reads spans of a bitmap's picture rows as blue, green, red bytes.
class RowReader {
  public:
    explicit RowReader(const DibSection& source);
    // 3*n bytes for pixels x0..x0+n-1 of picture row y (all inside the bitmap). Points into
    // the bitmap itself for 24 bits, otherwise into a buffer valid until the next call.
    const uint8_t* span(int32_t y, int32_t x0, int32_t n);

  private:
    const DibSection& source_;
    std::array<uint8_t, 3 * 256> palette_{};  // index -> B, G, R; black past the table
    std::vector<uint8_t> buffer_;
};

// The entry of a colour table nearest to a colour (squared distance in R, G, B; the lowest
// index wins ties). Grey-ramp tables are answered by formula; other tables search only the
// entries that can be nearest anywhere in the colour's cell of a 16 x 16 x 16 grid, and
// recently asked colours are remembered.
class NearestColour {
  public:
    explicit NearestColour(const std::vector<RgbQuad>& table);
    uint8_t index(uint8_t blue, uint8_t green, uint8_t red);

  private:
    static constexpr int kCacheBits = 12;
    static constexpr int kCellBits = 4;  // cells of 16 levels per channel
    uint8_t search(uint8_t blue, uint8_t green, uint8_t red);
    const std::vector<uint8_t>& candidates(uint8_t blue, uint8_t green, uint8_t red);

    std::vector<RgbQuad> table_;
    int rampStep_ = 0;                // grey-ramp tables: the step between entries
    std::vector<uint32_t> cacheKey_;  // 0 = empty slot; otherwise colour | 1 << 24
    std::vector<uint8_t> cacheIndex_;
    std::vector<std::vector<uint8_t>> cells_;
    std::vector<bool> cellReady_;
};

// Writes spans of blue, green, red bytes into a bitmap's picture rows, combining them with
// the pixels already there by a ternary raster operation (the brush is white).
class RowWriter {
  public:
    RowWriter(DibSection& target, uint32_t rop);
    // Pixels x0..x0+n-1 of picture row y (all inside the bitmap) from 3*n bytes.
    void write(int32_t y, int32_t x0, int32_t n, const uint8_t* bgr);
    void writePixel(int32_t y, int32_t x, const uint8_t* bgr) { write(y, x, 1, bgr); }

  private:
    DibSection& target_;
    uint8_t code_;
    NearestColour nearest_;
    RowReader reader_;
    std::vector<uint8_t> combined_;
};

// The result of ternary raster operation `code` (the operation's index byte) on one byte of
// source and destination with a white brush.
uint8_t applyRop(uint8_t code, uint8_t source, uint8_t destination);

inline uint8_t ropCode(uint32_t rop) {
    return static_cast<uint8_t>(rop >> 16);
}
inline constexpr uint8_t kSrcCopyCode = 0xCC;

}  // namespace tessaro::pixels
