#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// A small stand-in for a window system's memory drawing context: a context that holds one
// selected device-independent bitmap, and the blits the program uses between contexts.
// Plain C++, no GUI toolkit. (Contract shared by image/ and jpeg/; image/ implements it.)
namespace tessaro {

struct RgbQuad {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
    friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};

// Raster operation codes and stretch modes with the window system's values.
inline constexpr uint32_t kSrcCopy = 0x00CC0020;
inline constexpr int kBlackOnWhite = 1;  // a new context's mode; stretches like kColorOnColor
inline constexpr int kWhiteOnBlack = 2;  // accepted; stretches like kColorOnColor
inline constexpr int kColorOnColor = 3;  // point sampling
inline constexpr int kHalftone = 4;      // area averaging

// A device-independent bitmap of 1, 4, 8 or 24 bits per pixel. Rows are padded to 4 bytes;
// 24-bit pixels are stored blue, green, red. An owning bitmap is bottom-up (memory row 0 is
// the bottom picture row). A view wraps memory it does not own (for example a toolkit
// picture), with its own row order and stride.
class DibSection {
  public:
    // Null when the size or depth is not supported or memory cannot be had.
    static std::unique_ptr<DibSection> create(int32_t width, int32_t height, int16_t bitCount,
                                              const std::vector<RgbQuad>& colourTable = {});
    // A non-owning view; `topDown` tells whether memory row 0 is the top picture row. A view
    // may also have 32 bits per pixel (blue, green, red, unused), as toolkit pictures do.
    static std::unique_ptr<DibSection> view(uint8_t* bits, int32_t width, int32_t height,
                                            int16_t bitCount, int32_t stride, bool topDown,
                                            const std::vector<RgbQuad>& colourTable = {});

    int32_t width() const;
    int32_t height() const;
    int16_t bitCount() const;
    int32_t stride() const;  // bytes per memory row
    bool topDown() const;
    uint8_t* bits();  // memory row 0
    const uint8_t* bits() const;
    uint8_t* row(int32_t y);  // picture row y, 0 = top
    const uint8_t* row(int32_t y) const;
    std::vector<RgbQuad>& colourTable();  // empty for 24 bits
    const std::vector<RgbQuad>& colourTable() const;

    // Bytes in one padded row of `width` pixels at `bitCount` bits (32, 24, 8, 4 or 1);
    // -1 when it does not fit 32 bits.
    static int64_t minimumStride(int64_t width, int bitCount);
    // The grey ramp an indexed bitmap starts with: 2^bitCount entries from black to white,
    // entry i = i * 255 / (2^bitCount - 1) rounded half to even.
    static std::vector<RgbQuad> greyRamp(int bitCount);

  private:
    DibSection(uint8_t* bits, int32_t width, int32_t height, int16_t bitCount, int32_t stride,
               bool topDown, std::vector<RgbQuad> colourTable);

    std::unique_ptr<uint8_t[]> owned_;
    uint8_t* bits_;
    int32_t width_;
    int32_t height_;
    int16_t bitCount_;
    int32_t stride_;
    bool topDown_;
    std::vector<RgbQuad> colourTable_;
};

class DrawingContext {
  public:
    DrawingContext();  // a memory context with no bitmap selected
    ~DrawingContext();
    DrawingContext(const DrawingContext&) = delete;
    DrawingContext& operator=(const DrawingContext&) = delete;

    // Selects a bitmap (not owned) and returns the one selected before (may be null).
    DibSection* select(DibSection* bitmap);
    DibSection* selected() const;

    // Returns the previous mode, 0 when the mode is not supported.
    int setStretchBltMode(int mode);
    int stretchBltMode() const;

    // Colour table of the selected bitmap: number of entries copied (0 without a table).
    int getColourTable(int start, int count, RgbQuad* out) const;
    int setColourTable(int start, int count, const RgbQuad* in);

  private:
    DibSection* selected_ = nullptr;
    int stretchMode_ = kBlackOnWhite;
};

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// Plain copy (rop kSrcCopy; other rops may be supported). Clips to both bitmaps; converts
// between depths (to an indexed destination: nearest colour of its table).
bool BitBlt(DrawingContext& dst, int32_t x, int32_t y, int32_t w, int32_t h,
            const DrawingContext& src, int32_t sx, int32_t sy, uint32_t rop = kSrcCopy);
// Stretch by the destination's stretch mode: kColorOnColor point-samples (nearest pixel
// centre), kHalftone averages the covered source area exactly.
bool StretchBlt(DrawingContext& dst, int32_t x, int32_t y, int32_t w, int32_t h,
                const DrawingContext& src, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                uint32_t rop = kSrcCopy);
// Parallelogram copy: the source rectangle's upper-left, upper-right and lower-left corners
// go to pts[0], pts[1], pts[2] of the destination.
bool PlgBlt(DrawingContext& dst, const std::array<Point, 3>& pts, const DrawingContext& src,
            int32_t sx, int32_t sy, int32_t w, int32_t h);

}  // namespace tessaro
