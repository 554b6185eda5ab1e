#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "EncoderError.h"
#include "JpegEncoder.h"
#include "QuantTables.h"
#include "ZigZag.h"

using namespace tessaro;
using namespace tessaro::jpeg;

TEST(ZigZag, FollowsTheDiagonalPath) {
    // Natural position of each zig-zag index.
    const int natural[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                             12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                             35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                             58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};
    const ZigZagTable& zz = zigZag();
    for (int k = 0; k < 64; ++k) {
        EXPECT_EQ(zz[natural[k]], k);
    }
}

TEST(QuantTables, BaseTablesInZigZagOrder) {
    const auto& lum = baseLuminanceTable();
    const int16_t head[8] = {16, 11, 12, 14, 12, 10, 16, 14};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(lum[k], head[k]) << k;
    }
    EXPECT_EQ(lum[61], 101);
    EXPECT_EQ(lum[62], 103);
    EXPECT_EQ(lum[63], 99);
    const auto& chr = baseChrominanceTable();
    const int16_t chrHead[14] = {17, 18, 18, 24, 21, 24, 47, 26, 26, 47, 99, 66, 56, 66};
    for (int k = 0; k < 64; ++k) {
        EXPECT_EQ(chr[k], k < 14 ? chrHead[k] : 99) << k;
    }
}

TEST(QuantTables, QualityScaleRoundsHalvesToEven) {
    EXPECT_EQ(qualityScale(1), 5000);
    EXPECT_EQ(qualityScale(3), 1667);
    EXPECT_EQ(qualityScale(7), 714);
    EXPECT_EQ(qualityScale(16), 312);
    EXPECT_EQ(qualityScale(49), 102);
    EXPECT_EQ(qualityScale(50), 100);
    EXPECT_EQ(qualityScale(75), 50);
    EXPECT_EQ(qualityScale(100), 0);
}

TEST(QuantTables, TablesPerQuality) {
    JpegEncoder encoder;
    // Default quality 75: 850/100 = 8.5 rounds to 8, 600/100 = 6.
    EXPECT_EQ(encoder.QuantTable(0).Values[0], 8);
    EXPECT_EQ(encoder.QuantTable(0).Values[1], 6);

    encoder.setQuality(100);
    for (int t = 0; t < 2; ++t) {
        for (int16_t v : encoder.QuantTable(t).Values) {
            EXPECT_EQ(v, 1);
        }
    }
    encoder.setQuality(1);
    for (int t = 0; t < 2; ++t) {
        for (int16_t v : encoder.QuantTable(t).Values) {
            EXPECT_EQ(v, 255);
        }
    }
    encoder.setQuality(50);
    EXPECT_EQ(encoder.QuantTable(0).Values[0], 16);    // 16.5 -> 16
    EXPECT_EQ(encoder.QuantTable(0).Values[1], 12);    // 11.5 -> 12
    EXPECT_EQ(encoder.QuantTable(1).Values[0], 18);    // 17.5 -> 18
    EXPECT_EQ(encoder.QuantTable(0).Values[63], 100);  // 99.5 -> 100

    encoder.setQuality(16);  // scale 312
    // 16 * 312 + 50 = 5042 -> 50.42 -> 50; 11 * 312 + 50 = 3482 -> 34.82 -> 35
    EXPECT_EQ(encoder.QuantTable(0).Values[0], 50);
    EXPECT_EQ(encoder.QuantTable(0).Values[1], 35);
    // 99 * 312 + 50 = 30938 -> 309 clamps to 255.
    EXPECT_EQ(encoder.QuantTable(1).Values[63], 255);
}

TEST(QuantTables, DivisorsFoldTheDctScale) {
    JpegEncoder encoder;
    encoder.setQuality(100);
    const QuantTable& t = encoder.QuantTable(0);
    EXPECT_EQ(t.Divisors[0], 0.125f);
    const auto& f = dctScaleFactors();
    const ZigZagTable& zz = zigZag();
    for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 8; ++col) {
            EXPECT_EQ(t.Divisors[zz[row * 8 + col]], static_cast<float>(f[row] * f[col]));
        }
    }
    encoder.setQuality(75);
    EXPECT_EQ(encoder.QuantTable(0).Divisors[1], static_cast<float>((f[1] * f[0]) / 6.0));
}

TEST(QuantTables, OutOfRangeValuesAreRefused) {
    JpegEncoder encoder;
    std::array<int16_t, 64> values{};
    values.fill(10);
    values[5] = 0;
    try {
        encoder.SetQuantTable(0, values);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 1);
        EXPECT_EQ(e.text(), "Bad Quantization Table");
    }
    values[5] = 256;
    EXPECT_THROW(encoder.SetQuantTable(1, values), RuntimeError);
    values[5] = 255;
    encoder.SetQuantTable(1, values);
    EXPECT_EQ(encoder.QuantTable(1).Values[5], 255);
}
