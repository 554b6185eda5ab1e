#pragma once

#include <cstdint>
#include <vector>

#include "ComponentSampler.h"

namespace tessaro::jpeg {

// Shrinks the plane by whole factors (its width and height are multiples of w and h): each
// output pixel is the mean of its fx x fy source pixels, rounded to the nearest integer with
// halves to even, which is exactly what the drawing context's area-averaging stretch gives
// for such sizes. The result (24-bit, top row first) is stored in `pixels`.
PixelPlane averageWholeRatio(const PixelPlane& source, int32_t w, int32_t h,
                             std::vector<uint8_t>& pixels);

}  // namespace tessaro::jpeg
