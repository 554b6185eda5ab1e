#include "ComponentSampler.h"

#include "ColourConversion.h"

#include <cstring>
#include <vector>

namespace tessaro::jpeg {

void sampleComponent(const PixelPlane& plane, const ColourWeights& weights, int32_t paddedWidth,
                     int32_t paddedHeight, const BlockTransformer& transformer, int16_t* out) {
    const auto stripWidth = static_cast<size_t>(paddedWidth);
    std::vector<float> strip(stripWidth * 8);
    const RowConverter converter(weights);
    for (int32_t blockRow = 0; blockRow < paddedHeight / 8; ++blockRow) {
        for (int32_t j = 0; j < 8; ++j) {
            int32_t y = blockRow * 8 + j;
            if (y >= plane.height) {
                y = plane.height - 1;
            }
            const uint8_t* row = plane.top + plane.rowStep * y;
            float* out = strip.data() + stripWidth * static_cast<size_t>(j);
            converter.convert(row, plane.pixelStep, plane.width, out);
            // The last pixel repeats up to the padded width.
            for (int32_t x = plane.width; x < paddedWidth; ++x) {
                out[x] = out[plane.width - 1];
            }
        }
        for (int32_t blockCol = 0; blockCol < paddedWidth / 8; ++blockCol) {
            transformer.transform(strip.data() + static_cast<size_t>(blockCol) * 8,
                                  static_cast<ptrdiff_t>(stripWidth), out);
            out += 64;
        }
    }
}

}  // namespace tessaro::jpeg
