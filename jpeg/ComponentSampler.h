#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ColourWeights.h"
#include "Component.h"
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

// The pixels of one component size: the plane itself when the sizes agree, else the plane
// shrunk by whole factors (its sizes are multiples of width and height), each pixel the mean
// of its block of plane pixels rounded with halves to even.
struct Rendering {
    PixelPlane plane;
    int32_t width = 0;
    int32_t height = 0;
};

// One channel of a rendering and where its coefficients go (64 per block, raster order);
// `statistics`, when given, receives the counts of the blocks.
struct ChannelTarget {
    ColourWeights weights{};
    const BlockTransformer* transformer = nullptr;
    int16_t* out = nullptr;
    SampledStatistics* statistics = nullptr;
};

// Converts the rendering to every target's channel, padded to paddedWidth x paddedHeight by
// repeating the last column and the last row, and transforms and quantizes it block by block
// in raster order. The pixels are read once for all targets.
void sampleChannels(const Rendering& rendering, const std::vector<ChannelTarget>& targets,
                    int32_t paddedWidth, int32_t paddedHeight);

}  // namespace tessaro::jpeg
