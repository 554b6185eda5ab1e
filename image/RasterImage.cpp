#include "RasterImage.h"

#include <array>

#include "CheckedMath.h"

namespace tessaro {

namespace {

constexpr int kMaxColours = 256;

int16_t depthForColours(int count) {
    if (count >= 1 && count <= 2) {
        return 1;
    }
    if (count >= 3 && count <= 16) {
        return 4;
    }
    if (count >= 17 && count <= kMaxColours) {
        return 8;
    }
    return 24;
}

}  // namespace

RasterImage::RasterImage() = default;

RasterImage::~RasterImage() {
    DestroyImage();
}

int32_t RasterImage::bytesPerScanLine(int32_t width, int16_t bitCount) {
    int32_t bytes = 0;
    switch (bitCount) {
        case 1:
            bytes = checked::add32(checked::sub32(width, 1) / 8, 4);
            break;
        case 4:
            bytes = checked::add32(checked::sub32(width, 1) / 2, 4);
            break;
        case 8:
            bytes = checked::add32(width, 3);
            break;
        default:
            bytes = checked::add32(checked::mul32(width, 3), 3);
            break;
    }
    return bytes & ~3;
}

void RasterImage::DestroyImage() {
    if (context_) {
        context_->select(previous_);
        bitmap_.reset();
        context_.reset();
    }
    bitmap_.reset();
    previous_ = nullptr;
}

bool RasterImage::Create(int32_t lWidth, int32_t lHeight, int16_t iBitCount) {
    DestroyImage();
    if (iBitCount != 1 && iBitCount != 4 && iBitCount != 8 && iBitCount != 24) {
        return false;
    }
    width_ = lWidth;
    height_ = lHeight;
    bitCount_ = iBitCount;
    // The image size must fit 32 bits as well as the stride.
    checked::mul32(BytesPerScanLine(), lHeight);

    auto bitmap = DibSection::create(lWidth, lHeight, iBitCount, DibSection::greyRamp(iBitCount));
    if (!bitmap) {
        return false;
    }
    context_ = std::make_unique<DrawingContext>();
    bitmap_ = std::move(bitmap);
    previous_ = context_->select(bitmap_.get());
    return true;
}

bool RasterImage::CopyHDC(const DrawingContext& lhdc, int32_t lWidth, int32_t lHeight,
                          int16_t iBitCount, int32_t lSrcLeft, int32_t lSrcTop) {
    std::array<RgbQuad, kMaxColours> scratch{};
    int colours = 0;
    if (iBitCount == 0) {
        colours = lhdc.getColourTable(0, kMaxColours, scratch.data());
        iBitCount = depthForColours(colours);
    }
    if (!Create(lWidth, lHeight, iBitCount)) {
        return false;
    }
    if (colours > 0) {
        context_->setColourTable(0, colours, scratch.data());
    }
    BitBlt(*context_, 0, 0, lWidth, lHeight, lhdc, lSrcLeft, lSrcTop);
    return true;
}

bool RasterImage::CopyPalletHDC(const DrawingContext& lhdc) {
    if (!context_ || bitCount_ > 8) {
        return false;
    }
    std::array<RgbQuad, kMaxColours> scratch{};
    const int read = lhdc.getColourTable(0, 1 << bitCount_, scratch.data());
    if (read < 1) {
        return false;
    }
    return context_->setColourTable(0, read, scratch.data()) == read;
}

bool RasterImage::CopyStdPicture(const DibSection& TheStdPicture, int16_t& iBitCount) {
    const bool depthFromPicture = iBitCount == 0;
    if (depthFromPicture) {
        iBitCount = TheStdPicture.bitCount();
        if (iBitCount == 16 || iBitCount == 32) {
            iBitCount = 24;
        }
    }
    if (!Create(TheStdPicture.width(), TheStdPicture.height(), iBitCount)) {
        return false;
    }
    // The picture is only read; a context simply needs it selected.
    DrawingContext memory;
    DibSection* previous = memory.select(const_cast<DibSection*>(&TheStdPicture));
    if (iBitCount != 24 && depthFromPicture) {
        CopyPalletHDC(memory);
    }
    BitBlt(*context_, 0, 0, width_, height_, memory, 0, 0);
    memory.select(previous);
    return true;
}

uint8_t* RasterImage::DIBitsPtr() const {
    return bitmap_ ? bitmap_->bits() : nullptr;
}

std::unique_ptr<RasterImage> RasterImage::blankLike(int32_t width, int32_t height) const {
    if (!context_) {
        return nullptr;
    }
    auto image = std::make_unique<RasterImage>();
    if (!image->Create(width, height, bitCount_)) {
        return nullptr;
    }
    if (bitCount_ < 24) {
        image->CopyPalletHDC(*context_);
    }
    return image;
}

std::unique_ptr<RasterImage> RasterImage::Greyscale() const {
    if (!context_) {
        return nullptr;
    }
    auto grey = std::make_unique<RasterImage>();
    if (!grey->Create(width_, height_, 8)) {
        return nullptr;
    }
    BitBlt(*grey->context_, 0, 0, width_, height_, *context_, 0, 0);
    return grey;
}

std::unique_ptr<RasterImage> RasterImage::Mirror(bool Vertical) const {
    const int32_t w = width_;
    const int32_t h = height_;
    auto image = blankLike(w, h);
    if (!image) {
        return nullptr;
    }
    const std::array<Point, 3> upsideDown{Point{0, h}, Point{w, h}, Point{0, 0}};
    const std::array<Point, 3> leftRight{Point{w, 0}, Point{0, 0}, Point{w, h}};
    PlgBlt(*image->context_, Vertical ? upsideDown : leftRight, *context_, 0, 0, w, h);
    return image;
}

std::unique_ptr<RasterImage> RasterImage::Rotate(int32_t Degrees) const {
    int32_t angle = Degrees % 360;
    if (angle < 0) {
        angle += 360;
    }
    const int32_t w = width_;
    const int32_t h = height_;
    std::array<Point, 3> corners;
    int32_t newWidth = w;
    int32_t newHeight = h;
    switch (angle) {
        case 90:
            corners = {Point{0, w}, Point{0, 0}, Point{h, w}};
            newWidth = h;
            newHeight = w;
            break;
        case 180:
            corners = {Point{w, h}, Point{0, h}, Point{w, 0}};
            break;
        case 270:
            corners = {Point{h, 0}, Point{h, w}, Point{0, 0}};
            newWidth = h;
            newHeight = w;
            break;
        default:
            return nullptr;
    }
    auto image = blankLike(newWidth, newHeight);
    if (!image) {
        return nullptr;
    }
    PlgBlt(*image->context_, corners, *context_, 0, 0, w, h);
    return image;
}

std::unique_ptr<RasterImage> RasterImage::Resample(int32_t lWidth, int32_t lHeight) const {
    auto image = blankLike(lWidth, lHeight);
    if (!image) {
        return nullptr;
    }
    if (lWidth == width_ && lHeight == height_) {
        BitBlt(*image->context_, 0, 0, width_, height_, *context_, 0, 0);
        return image;
    }
    if (image->context_->setStretchBltMode(kHalftone) == 0) {
        image->context_->setStretchBltMode(kColorOnColor);
    }
    StretchBlt(*image->context_, 0, 0, lWidth, lHeight, *context_, 0, 0, width_, height_);
    return image;
}

void RasterImage::PaintHDC(DrawingContext& lhdc, int32_t lDestLeft, int32_t lDestTop,
                           uint32_t eRop) const {
    if (context_) {
        BitBlt(lhdc, lDestLeft, lDestTop, width_, height_, *context_, 0, 0, eRop);
    }
}

}  // namespace tessaro
