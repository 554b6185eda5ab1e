#include "WholeRatioAverage.h"

namespace tessaro::jpeg {

namespace {

// sum / total to the nearest integer, halves to even: up when twice the rest passes the
// total, or equals it with an odd quotient.
inline uint8_t roundedMean(uint32_t sum, uint32_t total) {
    const uint32_t q = sum / total;
    const uint32_t twiceRest = 2 * (sum - q * total);
    return static_cast<uint8_t>(q + (twiceRest + (q & 1) > total));
}

// The common 2 x 2 case: two rows at a time, a shift for the division.
template <int kPixelStep>
void averageTwoByTwo(const PixelPlane& source, int32_t w, int32_t h, uint8_t* out) {
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* r0 = source.top + source.rowStep * (static_cast<ptrdiff_t>(y) * 2);
        const uint8_t* r1 = r0 + source.rowStep;
        uint8_t* dst = out + static_cast<size_t>(y) * w * 3;
        for (int32_t x = 0; x < w; ++x, r0 += 2 * kPixelStep, r1 += 2 * kPixelStep, dst += 3) {
            for (int c = 0; c < 3; ++c) {
                const uint32_t sum =
                    uint32_t{r0[c]} + r0[kPixelStep + c] + r1[c] + r1[kPixelStep + c];
                const uint32_t q = sum >> 2;
                dst[c] = static_cast<uint8_t>(q + (((sum & 3) + (q & 1) + 1) >> 2));
            }
        }
    }
}

template <int kPixelStep>
void averageRows(const PixelPlane& source, int32_t w, int32_t h, uint8_t* out) {
    const int32_t fx = source.width / w;
    const int32_t fy = source.height / h;
    const auto total = static_cast<uint32_t>(fx * fy);
    std::vector<uint32_t> sums(static_cast<size_t>(w) * 3);
    for (int32_t y = 0; y < h; ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        for (int32_t k = 0; k < fy; ++k) {
            const uint8_t* row = source.top + source.rowStep * (static_cast<ptrdiff_t>(y) * fy + k);
            if (fx == 2) {
                for (int32_t x = 0; x < w; ++x) {
                    const uint8_t* p = row + 2 * kPixelStep * x;
                    sums[3 * x] += p[0] + p[kPixelStep];
                    sums[3 * x + 1] += p[1] + p[kPixelStep + 1];
                    sums[3 * x + 2] += p[2] + p[kPixelStep + 2];
                }
            } else {
                for (int32_t x = 0; x < w; ++x) {
                    const uint8_t* p = row + static_cast<ptrdiff_t>(fx) * kPixelStep * x;
                    for (int32_t i = 0; i < fx; ++i, p += kPixelStep) {
                        sums[3 * x] += p[0];
                        sums[3 * x + 1] += p[1];
                        sums[3 * x + 2] += p[2];
                    }
                }
            }
        }
        uint8_t* dst = out + static_cast<size_t>(y) * w * 3;
        for (size_t i = 0; i < sums.size(); ++i) {
            dst[i] = roundedMean(sums[i], total);
        }
    }
}

}  // namespace

PixelPlane averageWholeRatio(const PixelPlane& source, int32_t w, int32_t h,
                             std::vector<uint8_t>& pixels) {
    pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
    const bool twoByTwo = source.width == 2 * w && source.height == 2 * h;
    if (source.pixelStep == 4) {
        twoByTwo ? averageTwoByTwo<4>(source, w, h, pixels.data())
                 : averageRows<4>(source, w, h, pixels.data());
    } else {
        twoByTwo ? averageTwoByTwo<3>(source, w, h, pixels.data())
                 : averageRows<3>(source, w, h, pixels.data());
    }
    PixelPlane plane;
    plane.top = pixels.data();
    plane.rowStep = static_cast<ptrdiff_t>(w) * 3;
    plane.pixelStep = 3;
    plane.width = w;
    plane.height = h;
    return plane;
}

}  // namespace tessaro::jpeg
