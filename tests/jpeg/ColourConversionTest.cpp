#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "ColourConversion.h"
#include "InstructionSet.h"

using namespace tessaro::jpeg;

namespace {

float formula(const ColourWeights& w, int r, int g, int b) {
    return static_cast<float>(((r * static_cast<double>(w.red) + g * static_cast<double>(w.green)) +
                               b * static_cast<double>(w.blue)) +
                              static_cast<double>(w.offset));
}

std::vector<ConversionPath> conversionPaths() {
    std::vector<ConversionPath> paths = {ConversionPath::Generic};
    if (wideConversionAvailable()) {
        paths.push_back(ConversionPath::Wide);
    }
    return paths;
}

// Every colour, as rows of 256 blues for each red and green, through every path and both
// pixel sizes, against the double formula.
void expectEveryColourMatches(const ColourWeights& w) {
    std::vector<uint8_t> row3(256 * 3);
    std::vector<uint8_t> row4(256 * 4);
    std::vector<float> out(256);
    for (ConversionPath path : conversionPaths()) {
        const RowConverter converter(w, path);
        for (int r = 0; r < 256; ++r) {
            for (int g = 0; g < 256; ++g) {
                for (int b = 0; b < 256; ++b) {
                    row3[3 * b] = static_cast<uint8_t>(b);
                    row3[3 * b + 1] = static_cast<uint8_t>(g);
                    row3[3 * b + 2] = static_cast<uint8_t>(r);
                }
                converter.convert(row3.data(), 3, 256, out.data());
                for (int b = 0; b < 256; ++b) {
                    ASSERT_EQ(out[static_cast<size_t>(b)], formula(w, r, g, b))
                        << r << " " << g << " " << b;
                }
                if ((r + g) % 37 != 0) {
                    continue;  // the 32-bit layout on a sample of rows
                }
                for (int b = 0; b < 256; ++b) {
                    row4[4 * b] = static_cast<uint8_t>(b);
                    row4[4 * b + 1] = static_cast<uint8_t>(g);
                    row4[4 * b + 2] = static_cast<uint8_t>(r);
                    row4[4 * b + 3] = static_cast<uint8_t>(255 - b);
                }
                converter.convert(row4.data(), 4, 256, out.data());
                for (int b = 0; b < 256; ++b) {
                    ASSERT_EQ(out[static_cast<size_t>(b)], formula(w, r, g, b))
                        << r << " " << g << " " << b << " (32-bit)";
                }
            }
        }
    }
}

}  // namespace

TEST(ColourConversion, EveryColourOfEveryChannelMatchesTheDoubleFormula) {
    for (const ColourWeights& w : kColourWeights) {
        ASSERT_TRUE(splitWeights(w).exact);
        expectEveryColourMatches(w);
    }
}

TEST(ColourConversion, WeightsThatCannotBeSplitExactlyUseTheFormula) {
    // A tiny weight next to a large one: the sums need more than 24 bits.
    const ColourWeights wide = {1000.7f, 3e-9f, 0.1f, -0.3f};
    EXPECT_FALSE(splitWeights(wide).exact);
    // Values whose high parts alone do not fit.
    const ColourWeights fine = {0.333333f, 1.0f / 4097.0f, 0.7f, 1e-7f};
    EXPECT_FALSE(splitWeights(fine).exact);
    const ColourWeights simple = {0.25f, 0.5f, -1.0f, 3.0f};
    EXPECT_TRUE(splitWeights(simple).exact);
    std::vector<uint8_t> row(3 * 37);
    for (size_t i = 0; i < row.size(); ++i) {
        row[i] = static_cast<uint8_t>(i * 97 + 13);
    }
    for (const ColourWeights& w : {wide, fine, simple}) {
        for (ConversionPath path : conversionPaths()) {
            std::vector<float> out(37);
            convertRow(row.data(), 3, 37, w, out.data(), path);
            for (int x = 0; x < 37; ++x) {
                const uint8_t* p = row.data() + 3 * x;
                ASSERT_EQ(out[static_cast<size_t>(x)], formula(w, p[2], p[1], p[0])) << x;
            }
        }
    }
}

TEST(ColourConversion, SwitchingOffTheWidePathsIsSeen) {
    const bool had = wideInstructionsAvailable();
    allowWideInstructions(false);
    EXPECT_FALSE(wideConversionAvailable());
    allowWideInstructions(true);
    EXPECT_EQ(wideConversionAvailable(), had);
}

TEST(ColourConversion, HalvedRowsAreMeansOfFourPixelsRoundedToEven) {
    std::mt19937 random(21);
    const std::vector<ColourWeights> channels(kColourWeights.begin(), kColourWeights.end());
    for (ConversionPath path : conversionPaths()) {
        const RowConverter converter(channels, path);
        for (int pixelStep : {3, 4}) {
            for (int32_t width : {1, 3, 4, 5, 8, 9, 17, 40, 123}) {
                std::vector<uint8_t> upper(static_cast<size_t>(2 * width * pixelStep));
                std::vector<uint8_t> lower(upper.size());
                for (size_t i = 0; i < upper.size(); ++i) {
                    // Runs of equal values make ties (sums 2 mod 4) frequent.
                    upper[i] = static_cast<uint8_t>(random() % 4 == 0 ? 255 : random() % 6 + 100);
                    lower[i] = static_cast<uint8_t>(random() % 4 == 0 ? 0 : random() % 6 + 100);
                }
                std::vector<std::vector<float>> out(3, std::vector<float>(width, -999.0f));
                float* rows[3] = {out[0].data(), out[1].data(), out[2].data()};
                converter.convertHalved(upper.data(), lower.data(), pixelStep, width, rows);
                for (int32_t x = 0; x < width; ++x) {
                    int mean[3];
                    for (int c = 0; c < 3; ++c) {
                        const size_t a = static_cast<size_t>(2 * x * pixelStep + c);
                        const size_t b = a + static_cast<size_t>(pixelStep);
                        const int sum = upper[a] + upper[b] + lower[a] + lower[b];
                        mean[c] = static_cast<int>(std::nearbyint(sum / 4.0));
                    }
                    for (size_t k = 0; k < 3; ++k) {
                        ASSERT_EQ(out[k][static_cast<size_t>(x)],
                                  formula(channels[k], mean[2], mean[1], mean[0]))
                            << "step " << pixelStep << " width " << width << " x " << x;
                    }
                }
            }
        }
    }
}
