#include <gtest/gtest.h>

#include <vector>

#include "ForwardDct.h"
#include "JpegEncoder.h"

using namespace tessaro;
using namespace tessaro::jpeg;

namespace {

std::vector<DctPath> transformPaths() {
    std::vector<DctPath> paths = {DctPath::Generic};
    if (wideDctAvailable()) {
        paths.push_back(DctPath::Wide);
    }
    return paths;
}

// A flat block of value v has only a DC coefficient: 64 v times the divisor 0.125 at
// quality 100, i.e. 8 v; the strip holds the block between two others.
std::vector<float> flatStrip(float v) {
    std::vector<float> strip(8 * 24, 3.0f);
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            strip[static_cast<size_t>(r * 24 + 8 + c)] = v;
        }
    }
    return strip;
}

}  // namespace

TEST(BlockTransform, SixteenBitLimitsOnEveryPath) {
    JpegEncoder encoder;
    encoder.setQuality(100);
    const BlockTransformer transformer(encoder.QuantTable(0).Divisors, zigZag());
    for (DctPath path : transformPaths()) {
        int16_t out[64];
        // 8 v exactly at the limits (the tie -32768.5 rounds to the even -32768), then the tie
        // 32767.5 that rounds up to 32768, -32769 and a value far outside.
        transformer.transform(flatStrip(-4096.0625f).data() + 8, 24, out, path);
        EXPECT_EQ(out[0], -32768);
        for (int k = 1; k < 64; ++k) {
            ASSERT_EQ(out[k], 0) << k;
        }
        transformer.transform(flatStrip(4095.875f).data() + 8, 24, out, path);
        EXPECT_EQ(out[0], 32767);
        for (float v : {4095.9375f, -4096.125f, 1e9f}) {
            try {
                transformer.transform(flatStrip(v).data() + 8, 24, out, path);
                ADD_FAILURE() << v << " did not raise";
            } catch (const RuntimeError& e) {
                EXPECT_EQ(e.number(), 6) << v;
            }
        }
    }
}

TEST(BlockTransform, CoefficientsLandInZigZagOrder) {
    // A single nonzero sample spreads over every frequency; each path must place the values
    // the way the reference quantizer does.
    JpegEncoder encoder;
    encoder.setQuality(100);
    const BlockTransformer transformer(encoder.QuantTable(0).Divisors, zigZag());
    for (int at = 0; at < 64; at += 9) {
        std::vector<float> strip(8 * 24, 0.0f);
        strip[static_cast<size_t>((at / 8) * 24 + 8 + at % 8)] = 100.0f;
        float block[64] = {};
        block[at] = 100.0f;
        ForwardDct(block, DctPath::Generic);
        int16_t expected[64];
        QuantizeBlock(block, encoder.QuantTable(0).Divisors, zigZag(), expected);
        for (DctPath path : transformPaths()) {
            int16_t out[64];
            transformer.transform(strip.data() + 8, 24, out, path);
            EXPECT_EQ(std::vector<int16_t>(out, out + 64),
                      std::vector<int16_t>(expected, expected + 64))
                << "sample " << at;
        }
    }
}
