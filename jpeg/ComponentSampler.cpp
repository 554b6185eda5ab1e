#include "ComponentSampler.h"

#include <algorithm>
#include <cstring>

#include "ColourConversion.h"
#include "HuffmanStatistics.h"
#include "WholeRatioAverage.h"

namespace tessaro::jpeg {

namespace {

std::vector<ColourWeights> weightsOf(const std::vector<ChannelTarget>& targets) {
    std::vector<ColourWeights> weights;
    for (const ChannelTarget& t : targets) {
        weights.push_back(t.weights);
    }
    return weights;
}

}  // namespace

void sampleChannels(const Rendering& rendering, const std::vector<ChannelTarget>& targets,
                    int32_t paddedWidth, int32_t paddedHeight) {
    const PixelPlane& plane = rendering.plane;
    const int32_t w = rendering.width;
    const int32_t h = rendering.height;
    const bool averaged = w != plane.width || h != plane.height;
    const bool halved = plane.width == 2 * w && plane.height == 2 * h;
    const RowConverter converter(weightsOf(targets));

    const auto stripWidth = static_cast<size_t>(paddedWidth);
    const size_t stripSize = stripWidth * 8;
    std::vector<float> strips(stripSize * targets.size());
    std::vector<float*> rows(targets.size());
    std::vector<int16_t*> outs;
    const size_t blocks =
        static_cast<size_t>(paddedWidth / 8) * static_cast<size_t>(paddedHeight / 8);
    for (const ChannelTarget& t : targets) {
        outs.push_back(t.out);
        if (t.statistics != nullptr) {
            t.statistics->valid = false;
            t.statistics->acCounts.fill(0);
            t.statistics->dc.clear();
            t.statistics->dc.reserve(blocks);
        }
    }
    std::vector<uint8_t> averagedRow;
    std::vector<uint32_t> sums;
    if (averaged && !halved) {
        averagedRow.resize(static_cast<size_t>(w) * 3);
    }

    for (int32_t blockRow = 0; blockRow < paddedHeight / 8; ++blockRow) {
        for (int32_t j = 0; j < 8; ++j) {
            const int32_t y = std::min(blockRow * 8 + j, h - 1);
            for (size_t k = 0; k < targets.size(); ++k) {
                rows[k] = strips.data() + k * stripSize + stripWidth * static_cast<size_t>(j);
            }
            if (j > 0 && y == h - 1 && blockRow * 8 + j > y) {
                // Below the picture the last row repeats.
                for (float* row : rows) {
                    std::memcpy(row, row - stripWidth, stripWidth * sizeof(float));
                }
                continue;
            }
            if (!averaged) {
                converter.convert(plane.top + plane.rowStep * y, plane.pixelStep, w, rows.data());
            } else if (halved) {
                const uint8_t* upper = plane.top + plane.rowStep * (2 * static_cast<ptrdiff_t>(y));
                converter.convertHalved(upper, upper + plane.rowStep, plane.pixelStep, w,
                                        rows.data());
            } else {
                averageRow(plane, w, h, y, averagedRow.data(), sums);
                converter.convert(averagedRow.data(), 3, w, rows.data());
            }
            // The last pixel repeats up to the padded width.
            for (float* row : rows) {
                std::fill(row + w, row + paddedWidth, row[w - 1]);
            }
        }
        for (size_t k = 0; k < targets.size(); ++k) {
            const float* strip = strips.data() + k * stripSize;
            SampledStatistics* statistics = targets[k].statistics;
            for (int32_t blockCol = 0; blockCol < paddedWidth / 8; ++blockCol) {
                targets[k].transformer->transform(strip + static_cast<size_t>(blockCol) * 8,
                                                  static_cast<ptrdiff_t>(stripWidth), outs[k]);
                if (statistics != nullptr) {
                    statistics->dc.push_back(outs[k][0]);
                    CountAcSymbols(outs[k], statistics->acCounts);
                }
                outs[k] += 64;
            }
        }
    }
    for (const ChannelTarget& t : targets) {
        if (t.statistics != nullptr) {
            t.statistics->valid = true;
        }
    }
}

}  // namespace tessaro::jpeg
