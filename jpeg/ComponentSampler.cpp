#include "ComponentSampler.h"

#include <cstring>
#include <vector>

namespace tessaro::jpeg {

namespace {

// One picture row into channel values, the last pixel repeated up to the padded width.
template <int kPixelStep>
void convertRow(const uint8_t* row, int32_t width, int32_t paddedWidth,
                const ColourWeights& weights, float* out) {
    for (int32_t x = 0; x < width; ++x) {
        const uint8_t* px = row + kPixelStep * x;
        out[x] = convertPixel(weights, px[2], px[1], px[0]);
    }
    for (int32_t x = width; x < paddedWidth; ++x) {
        out[x] = out[width - 1];
    }
}

}  // namespace

void sampleComponent(const PixelPlane& plane, const ColourWeights& weights, int32_t paddedWidth,
                     int32_t paddedHeight, const BlockTransformer& transformer, int16_t* out) {
    const auto stripWidth = static_cast<size_t>(paddedWidth);
    std::vector<float> strip(stripWidth * 8);
    alignas(32) float block[64];
    for (int32_t blockRow = 0; blockRow < paddedHeight / 8; ++blockRow) {
        for (int32_t j = 0; j < 8; ++j) {
            int32_t y = blockRow * 8 + j;
            if (y >= plane.height) {
                y = plane.height - 1;
            }
            const uint8_t* row = plane.top + plane.rowStep * y;
            float* out = strip.data() + stripWidth * static_cast<size_t>(j);
            if (plane.pixelStep == 4) {
                convertRow<4>(row, plane.width, paddedWidth, weights, out);
            } else {
                convertRow<3>(row, plane.width, paddedWidth, weights, out);
            }
        }
        for (int32_t blockCol = 0; blockCol < paddedWidth / 8; ++blockCol) {
            for (int32_t j = 0; j < 8; ++j) {
                std::memcpy(block + j * 8,
                            strip.data() + stripWidth * static_cast<size_t>(j) +
                                static_cast<size_t>(blockCol) * 8,
                            8 * sizeof(float));
            }
            transformer.transform(block, out);
            out += 64;
        }
    }
}

}  // namespace tessaro::jpeg
