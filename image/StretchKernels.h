#pragma once

#include <cstdint>

#include "DrawingContext.h"

// The two resampling kernels behind StretchBlt. Both take positive sizes, write only
// destination pixels that lie inside the destination bitmap and whose source footprint lies
// inside the source bitmap, and combine with the destination by raster operation `rop`.
namespace tessaro::stretch {

struct Rect {
    int32_t x;
    int32_t y;
    int32_t w;
    int32_t h;
};

// Destination pixel (x, y) takes the source pixel whose centre is nearest to the mapped
// centre: sx + floor((x + 0.5) * sw / w), likewise vertically.
void pointSample(DibSection& dst, Rect to, const DibSection& src, Rect from, uint32_t rop);

// Destination pixel (x, y) is the exact area-weighted mean of the source area it covers.
void areaAverage(DibSection& dst, Rect to, const DibSection& src, Rect from, uint32_t rop);

}  // namespace tessaro::stretch
