#include <gtest/gtest.h>

#include "StreamCheck.h"

using namespace tessaro;
using namespace tessaro::jpegtest;

TEST(RoundTrip, HighQualityFullChromaIsClose) {
    JpegEncoder encoder;
    encoder.setQuality(90);
    encoder.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    const Picture pic = naturalPicture(256, 192);
    Decoded decoded;
    encodeAndCheck(encoder, pic, &decoded);
    EXPECT_GT(psnr(pic, decoded), 35.0);
}

TEST(RoundTrip, DefaultSettingsAndGreyscale) {
    const Picture pic = naturalPicture(203, 141);
    JpegEncoder colour;
    Decoded decoded;
    const auto colourStream = encodeAndCheck(colour, pic, &decoded);
    EXPECT_GT(psnr(pic, decoded), 30.0);

    JpegEncoder grey;
    grey.setQuality(90);
    grey.SetSamplingFrequencies(1, 1, 0, 0, 0, 0);
    const auto greyStream = encodeAndCheck(grey, pic, &decoded);
    EXPECT_EQ(decoded.components, 1);
    EXPECT_GT(psnr(pic, decoded), 35.0);
    EXPECT_LT(greyStream.size(), colourStream.size() * 2);
}

TEST(RoundTrip, EverySamplingAndAwkwardSizesDecodeCleanly) {
    const int sizes[][2] = {{1, 1}, {8, 8}, {17, 9}, {9, 17}, {33, 65}, {100, 7}, {64, 64}};
    for (int h = 1; h <= 4; ++h) {
        for (int v = 1; v <= 4; ++v) {
            for (const auto& s : sizes) {
                SCOPED_TRACE(testing::Message() << h << "x" << v << " " << s[0] << "x" << s[1]);
                JpegEncoder encoder;
                encoder.SetSamplingFrequencies(h, v, 1, 1, 1, 1);
                const Picture pic = naturalPicture(s[0], s[1], static_cast<uint32_t>(h * 4 + v));
                Decoded decoded;
                encodeAndCheck(encoder, pic, &decoded);
                if (s[0] >= 33 && s[1] >= 33) {
                    EXPECT_GT(psnr(pic, decoded), 25.0);
                }
            }
        }
    }
    // Chroma with larger factors than luminance, and unequal chroma factors.
    JpegEncoder odd;
    odd.SetSamplingFrequencies(1, 2, 2, 1, 1, 1);
    encodeAndCheck(odd, naturalPicture(45, 31));
}

TEST(RoundTrip, NoiseAtFullQualityStuffsManyBytes) {
    JpegEncoder encoder;
    encoder.setQuality(100);
    encoder.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
    const Picture pic = noisePicture(96, 64);
    Decoded decoded;
    const auto stream = encodeAndCheck(encoder, pic, &decoded);
    EXPECT_GT(psnr(pic, decoded), 40.0);
    size_t stuffed = 0;
    for (size_t i = 0; i + 1 < stream.size(); ++i) {
        stuffed += stream[i] == 0xFF && stream[i + 1] == 0x00;
    }
    EXPECT_GT(stuffed, 10u);
}

TEST(RoundTrip, FillerBlocksNeedingAnEobCode) {
    // Every luminance block of a 4x4-sampled 8-pixel-wide picture of high-frequency noise
    // tends to end in a nonzero coefficient at quality 100, while its MCU holds filler blocks.
    JpegEncoder encoder;
    encoder.setQuality(100);
    encoder.SetSamplingFrequencies(4, 2, 1, 1, 1, 1);
    const Picture pic = noisePicture(8, 8, 99);
    encodeAndCheck(encoder, pic);
    ASSERT_EQ(encoder.Components()[0].Coefficients.size(), 64u);
    EXPECT_NE(encoder.Components()[0].Coefficients[63], 0) << "the only Y block ends in zeros";
    encodeAndCheck(encoder, noisePicture(41, 9, 5));
}
