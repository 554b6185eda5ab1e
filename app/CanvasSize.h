#pragma once

#include <QString>
#include <cstdint>

// The size a picture is stretched to: the target's size, or one side of it with the other
// derived from the source's proportions. Sides are single-precision values; the canvas
// measures them rounded to whole pixels, halves to even.
struct CanvasSize {
    float W = 0;
    float H = 0;
    int32_t width = 0;
    int32_t height = 0;
};

namespace canvassize {

// Largest side and largest pixel count a canvas may have; beyond them a batch stops with an
// error instead of trying to allocate the picture.
// The widest side a JPEG reader still opens; GIF and bitmap outputs keep the same bound.
inline constexpr int64_t kMaxSide = 65500;
inline constexpr int64_t kMaxPixels = int64_t{1} << 28;

// The number formed by the leading digits of `text`; 0 for none. Saturates instead of
// wrapping for absurdly long digit runs.
double NumericValue(const QString& text);

// Target width and height of drop target 0..4; 4 takes them from the custom boxes.
void TargetSize(int targetIndex, const QString& text1, const QString& text2, double& tw,
                double& th);

// Raises RuntimeError 5 when a side rounds below 1 pixel, exceeds kMaxSide, or the canvas
// would exceed kMaxPixels.
CanvasSize Compute(int targetIndex, const QString& text1, const QString& text2,
                   bool keepProportions, bool lockHeight, int32_t sourceWidth,
                   int32_t sourceHeight);

// `size` unless its canvas is larger than the source both ways; then the source's own size, so
// that a small picture is never enlarged.
CanvasSize NoLargerThanSource(const CanvasSize& size, int32_t sourceWidth, int32_t sourceHeight);

// "_" + integer part of W + "x" + integer part of H.
QString SizeSuffix(const CanvasSize& size);

}  // namespace canvassize
