#pragma once

#include <cstdint>
#include <memory>

#include "DrawingContext.h"

namespace tessaro {

// A bottom-up device-independent bitmap of 1, 4, 8 or 24 bits per pixel selected into its
// own drawing context, so that blits can draw into it and copy out of it while its pixel
// memory stays directly addressable. Indexed images start with a grey ramp as colour table.
// Operations that make a new image leave this one unchanged and return null on failure.
class RasterImage {
  public:
    RasterImage();
    ~RasterImage();
    RasterImage(const RasterImage&) = delete;
    RasterImage& operator=(const RasterImage&) = delete;

    // Replaces the image by a blank one. False for depths other than 1, 4, 8 and 24 or when
    // the bitmap cannot be made; the image is then empty. Raises the overflow error when
    // the row stride or the image size leaves 32 bits.
    bool Create(int32_t lWidth, int32_t lHeight, int16_t iBitCount);
    // Copies a rectangle of a context into a new image of lWidth x lHeight. A bit count of
    // 0 takes the depth from the size of the source's colour table (none: 24 bits) and
    // carries that table over.
    bool CopyHDC(const DrawingContext& lhdc, int32_t lWidth, int32_t lHeight, int16_t iBitCount = 0,
                 int32_t lSrcLeft = 0, int32_t lSrcTop = 0);
    // Takes over the colour table of the bitmap in `lhdc` (as many entries as this depth
    // holds). True when at least one entry was read and all were written.
    bool CopyPalletHDC(const DrawingContext& lhdc);
    // Copies a whole picture. A bit count of 0 takes the picture's depth (16 and 32 bits
    // become 24) and writes it back to `iBitCount`; an indexed picture then brings its table.
    bool CopyStdPicture(const DibSection& TheStdPicture, int16_t& iBitCount);

    // An 8-bit copy whose pixels are the nearest greys of the 0..255 ramp.
    std::unique_ptr<RasterImage> Greyscale() const;
    // Upside down when `Vertical`, otherwise left to right.
    std::unique_ptr<RasterImage> Mirror(bool Vertical) const;
    // Quarter turns: 90 is counter-clockwise. Angles are taken modulo 360; others give null.
    std::unique_ptr<RasterImage> Rotate(int32_t Degrees) const;
    // The whole image averaged (point-sampled where averaging is refused) onto a new size.
    std::unique_ptr<RasterImage> Resample(int32_t lWidth, int32_t lHeight) const;
    // Copies the whole image to (lDestLeft, lDestTop) of `lhdc`.
    void PaintHDC(DrawingContext& lhdc, int32_t lDestLeft, int32_t lDestTop,
                  uint32_t eRop = kSrcCopy) const;

    // Size and depth of the last Create that accepted its bit count, even if it then failed.
    int16_t BitCount() const { return bitCount_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t BytesPerScanLine() const { return bytesPerScanLine(width_, bitCount_); }
    uint8_t* DIBitsPtr() const;                             // null when empty
    DrawingContext* hDC() const { return context_.get(); }  // null when empty

    // Row stride of a bitmap, rounded up to 4 bytes; raises the overflow error past 32 bits.
    static int32_t bytesPerScanLine(int32_t width, int16_t bitCount);

  private:
    void DestroyImage();
    // A new image of this depth and the given size, with this image's colour table.
    std::unique_ptr<RasterImage> blankLike(int32_t width, int32_t height) const;

    std::unique_ptr<DrawingContext> context_;
    std::unique_ptr<DibSection> bitmap_;
    DibSection* previous_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int16_t bitCount_ = 0;
};

}  // namespace tessaro
