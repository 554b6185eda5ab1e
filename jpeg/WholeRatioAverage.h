#pragma once

#include <cstdint>
#include <vector>

#include "ComponentSampler.h"

namespace tessaro::jpeg {

// One row of the plane shrunk by whole factors to w x h (its width and height are multiples
// of w and h): each output pixel is the mean of its fx x fy source pixels, rounded to the
// nearest integer with halves to even, which is exactly what the drawing context's
// area-averaging stretch gives for such sizes. Writes w 24-bit pixels of output row y;
// `sums` is scratch space.
void averageRow(const PixelPlane& source, int32_t w, int32_t h, int32_t y, uint8_t* out,
                std::vector<uint32_t>& sums);

}  // namespace tessaro::jpeg
