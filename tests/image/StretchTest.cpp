#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "Canvas.h"
#include "DrawingContext.h"

namespace tessaro::test {
namespace {

// Area average straight from its definition: destination pixel (x, y) covers
// [x*sw/w, (x+1)*sw/w) x [y*sh/h, (y+1)*sh/h); weights are overlaps scaled by w and h.
Bgr referenceAverage(const Canvas& src, int sw, int sh, int w, int h, int x, int y) {
    uint64_t sum[3] = {};
    for (int j = 0; j < sh; ++j) {
        const int64_t wy = std::max<int64_t>(
            0, std::min<int64_t>((y + 1) * sh, (j + 1) * h) - std::max<int64_t>(y * sh, j * h));
        for (int i = 0; i < sw; ++i) {
            const int64_t wx = std::max<int64_t>(
                0, std::min<int64_t>((x + 1) * sw, (i + 1) * w) - std::max<int64_t>(x * sw, i * w));
            const Bgr p = src.get(i, j);
            for (int c = 0; c < 3; ++c) {
                sum[c] += static_cast<uint64_t>(wx * wy) * p[c];
            }
        }
    }
    const uint64_t total = static_cast<uint64_t>(sw) * sh;  // each axis's weights sum to s
    Bgr out{};
    for (int c = 0; c < 3; ++c) {
        uint64_t q = sum[c] / total;
        const uint64_t rest2 = 2 * (sum[c] % total);
        if (rest2 > total || (rest2 == total && q % 2 == 1)) {
            ++q;
        }
        out[c] = static_cast<uint8_t>(q);
    }
    return out;
}

void halftone(Canvas& dst, int x, int y, int w, int h, const Canvas& src, int sx, int sy, int sw,
              int sh) {
    dst.dc.setStretchBltMode(kHalftone);
    ASSERT_TRUE(StretchBlt(dst.dc, x, y, w, h, src.dc, sx, sy, sw, sh));
}

TEST(HalftoneStretch, TwoToOneRoundsHalvesToEven) {
    Canvas src(6, 1, 24);
    const uint8_t blue[] = {1, 2, 2, 3, 3, 4};  // means 1.5, 2.5, 3.5
    for (int x = 0; x < 6; ++x) {
        src.set(x, 0, {blue[x], 10, 200});
    }
    Canvas dst(3, 1, 24);
    halftone(dst, 0, 0, 3, 1, src, 0, 0, 6, 1);
    EXPECT_EQ(dst.get(0, 0), (Bgr{2, 10, 200}));
    EXPECT_EQ(dst.get(1, 0), (Bgr{2, 10, 200}));
    EXPECT_EQ(dst.get(2, 0), (Bgr{4, 10, 200}));
}

TEST(HalftoneStretch, TwoByTwoBlocksAverageBothAxes) {
    Canvas src(2, 2, 24);
    src.set(0, 0, {0, 100, 255});
    src.set(1, 0, {10, 101, 255});
    src.set(0, 1, {1, 100, 254});
    src.set(1, 1, {11, 101, 254});
    Canvas dst(1, 1, 24);
    halftone(dst, 0, 0, 1, 1, src, 0, 0, 2, 2);
    // 22/4 = 5.5 -> 6, 402/4 = 100.5 -> 100, 1018/4 = 254.5 -> 254
    EXPECT_EQ(dst.get(0, 0), (Bgr{6, 100, 254}));
}

TEST(HalftoneStretch, ThreeToTwoUsesFractionalWeights) {
    Canvas src(3, 1, 24);
    src.set(0, 0, {30, 0, 7});
    src.set(1, 0, {60, 3, 8});
    src.set(2, 0, {90, 0, 255});
    Canvas dst(2, 1, 24);
    halftone(dst, 0, 0, 2, 1, src, 0, 0, 3, 1);
    // Left: (2a + b) / 3, right: (b + 2c) / 3.
    EXPECT_EQ(dst.get(0, 0), (Bgr{40, 1, 7}));    // 120/3, 3/3, 22/3 = 7.33
    EXPECT_EQ(dst.get(1, 0), (Bgr{80, 1, 173}));  // 240/3, 3/3, 518/3 = 172.67
}

TEST(HalftoneStretch, MatchesTheDefinitionForAssortedSizes) {
    std::mt19937 random(7);
    Canvas src(13, 11, 24);
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 13; ++x) {
            src.set(x, y,
                    {static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                     static_cast<uint8_t>(random())});
        }
    }
    const int sizes[][2] = {{6, 5}, {5, 7}, {13, 4}, {1, 1}, {26, 22}, {17, 3}, {9, 11}};
    for (const auto& size : sizes) {
        const int w = size[0];
        const int h = size[1];
        Canvas dst(w, h, 24);
        halftone(dst, 0, 0, w, h, src, 0, 0, 13, 11);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(dst.get(x, y), referenceAverage(src, 13, 11, w, h, x, y))
                    << w << "x" << h << " at " << x << "," << y;
            }
        }
    }
}

TEST(HalftoneStretch, IndexedSourcesAverageTheirTableColours) {
    Canvas src(2, 1, 1, {{0, 0, 0, 0}, {255, 255, 255, 0}});
    src.setIndex(1, 0, 1);
    Canvas dst(1, 1, 24);
    halftone(dst, 0, 0, 1, 1, src, 0, 0, 2, 1);
    EXPECT_EQ(dst.get(0, 0), (Bgr{128, 128, 128}));  // 127.5 -> 128
}

TEST(HalftoneStretch, ClippingKeepsTheUnclippedValues) {
    Canvas src(8, 6, 24);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            src.set(x, y, pattern(x, y));
        }
    }
    Canvas whole(5, 4, 24);
    halftone(whole, 0, 0, 5, 4, src, 0, 0, 8, 6);
    Canvas part(3, 3, 24);
    halftone(part, -2, -1, 5, 4, src, 0, 0, 8, 6);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(part.get(x, y), whole.get(x + 2, y + 1));
        }
    }
}

TEST(HalftoneStretch, CoPrimeGiantScalesStayExact) {
    // Weights total about 9e16 per pixel, so sums of bright values pass 2^64.
    Canvas src(3, 3, 24);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            src.set(x, y, {200, 201, 202});
        }
    }
    src.set(0, 0, {255, 254, 253});
    src.set(1, 1, {252, 251, 250});
    Canvas dst(2, 2, 24);
    halftone(dst, 0, 0, 300000000, 300000000, src, 0, 0, 300000001, 300000001);
    // Each pixel covers one source pixel and a few billionths of its neighbours.
    EXPECT_EQ(dst.get(0, 0), (Bgr{255, 254, 253}));
    EXPECT_EQ(dst.get(1, 1), (Bgr{252, 251, 250}));
}

TEST(HalftoneStretch, UpscalingIsABoxFilter) {
    Canvas src(2, 1, 24);
    src.set(0, 0, {0, 0, 0});
    src.set(1, 0, {90, 90, 90});
    Canvas dst(3, 1, 24);
    halftone(dst, 0, 0, 3, 1, src, 0, 0, 2, 1);
    EXPECT_EQ(dst.get(0, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(dst.get(1, 0), (Bgr{45, 45, 45}));  // straddles both halves equally
    EXPECT_EQ(dst.get(2, 0), (Bgr{90, 90, 90}));
}

TEST(PointStretch, PicksTheNearestSourceCentre) {
    Canvas src(5, 2, 24);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 5; ++x) {
            src.set(x, y, pattern(x, y));
        }
    }
    src.dc.setStretchBltMode(kColorOnColor);
    Canvas down(2, 1, 24);
    down.dc.setStretchBltMode(kColorOnColor);
    ASSERT_TRUE(StretchBlt(down.dc, 0, 0, 2, 1, src.dc, 0, 0, 5, 2));
    // Centres 1.25 and 3.75 across, 1.0 down.
    EXPECT_EQ(down.get(0, 0), pattern(1, 1));
    EXPECT_EQ(down.get(1, 0), pattern(3, 1));

    Canvas up(5, 1, 24);
    up.dc.setStretchBltMode(kColorOnColor);
    ASSERT_TRUE(StretchBlt(up.dc, 0, 0, 5, 1, src.dc, 0, 0, 2, 1));
    // Centres 0.2, 0.6, 1.0, 1.4, 1.8: the exact 1.0 belongs to pixel 1.
    const int expected[] = {0, 0, 1, 1, 1};
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(up.get(x, 0), pattern(expected[x], 0)) << x;
    }
}

TEST(PointStretch, NegativeSizesAreRefused) {
    Canvas src(2, 2, 24);
    Canvas dst(2, 2, 24);
    EXPECT_FALSE(StretchBlt(dst.dc, 0, 0, -2, 2, src.dc, 0, 0, 2, 2));
    EXPECT_FALSE(StretchBlt(dst.dc, 0, 0, 2, 2, src.dc, 0, 0, 2, -2));
}

}  // namespace
}  // namespace tessaro::test
