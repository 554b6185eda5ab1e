#pragma once

#include <cstddef>
#include <cstdint>

#include "ColourWeights.h"
#include "ForwardDct.h"

namespace tessaro::jpeg {

// A rectangle of 24- or 32-bit pixels (blue, green, red[, unused]) in memory: `top` is its
// top-left pixel, `rowStep` the signed distance in bytes from one picture row to the next one
// down, `pixelStep` the bytes per pixel.
struct PixelPlane {
    const uint8_t* top = nullptr;
    ptrdiff_t rowStep = 0;
    int32_t pixelStep = 3;
    int32_t width = 0;
    int32_t height = 0;
};

// Converts the plane to one channel, padded to paddedWidth x paddedHeight by repeating the
// last column and the last row, and transforms and quantizes it block by block in raster
// order into `out` (64 coefficients per block).
void sampleComponent(const PixelPlane& plane, const ColourWeights& weights, int32_t paddedWidth,
                     int32_t paddedHeight, const BlockTransformer& transformer, int16_t* out);

}  // namespace tessaro::jpeg
