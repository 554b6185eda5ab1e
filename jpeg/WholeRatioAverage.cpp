#include "WholeRatioAverage.h"

#include <algorithm>

namespace tessaro::jpeg {

namespace {

// sum / total to the nearest integer, halves to even: up when twice the rest passes the
// total, or equals it with an odd quotient.
inline uint8_t roundedMean(uint32_t sum, uint32_t total) {
    const uint32_t q = sum / total;
    const uint32_t twiceRest = 2 * (sum - q * total);
    return static_cast<uint8_t>(q + (twiceRest + (q & 1) > total));
}

template <int kPixelStep>
void sumRow(const uint8_t* row, int32_t fx, int32_t w, uint32_t* sums) {
    if (fx == 2) {
        for (int32_t x = 0; x < w; ++x) {
            const uint8_t* p = row + 2 * kPixelStep * x;
            sums[3 * x] += p[0] + p[kPixelStep];
            sums[3 * x + 1] += p[1] + p[kPixelStep + 1];
            sums[3 * x + 2] += p[2] + p[kPixelStep + 2];
        }
        return;
    }
    for (int32_t x = 0; x < w; ++x) {
        const uint8_t* p = row + static_cast<ptrdiff_t>(fx) * kPixelStep * x;
        for (int32_t i = 0; i < fx; ++i, p += kPixelStep) {
            sums[3 * x] += p[0];
            sums[3 * x + 1] += p[1];
            sums[3 * x + 2] += p[2];
        }
    }
}

}  // namespace

void averageRow(const PixelPlane& source, int32_t w, int32_t h, int32_t y, uint8_t* out,
                std::vector<uint32_t>& sums) {
    const int32_t fx = source.width / w;
    const int32_t fy = source.height / h;
    const auto total = static_cast<uint32_t>(fx * fy);
    sums.assign(static_cast<size_t>(w) * 3, 0u);
    for (int32_t k = 0; k < fy; ++k) {
        const uint8_t* row = source.top + source.rowStep * (static_cast<ptrdiff_t>(y) * fy + k);
        if (source.pixelStep == 4) {
            sumRow<4>(row, fx, w, sums.data());
        } else {
            sumRow<3>(row, fx, w, sums.data());
        }
    }
    for (size_t i = 0; i < sums.size(); ++i) {
        out[i] = roundedMean(sums[i], total);
    }
}

}  // namespace tessaro::jpeg
