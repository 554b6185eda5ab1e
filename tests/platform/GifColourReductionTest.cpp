#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "ColourDither.h"
#include "ColourNearestSearch.h"
#include "ColourQuantiser.h"
#include "GifExactPalette.h"
#include "GifTestSupport.h"

namespace {

using gif::Palette;
using gif::Rgb;

int bruteNearest(const Palette& palette, int r, int g, int b) {
    int best = -1;
    int bestDist = 0;
    for (size_t i = 0; i < palette.size(); ++i) {
        const int dr = palette[i].r - r, dg = palette[i].g - g, db = palette[i].b - b;
        const int dist = dr * dr + dg * dg + db * db;
        if (best < 0 || dist < bestDist) {
            best = static_cast<int>(i);
            bestDist = dist;
        }
    }
    return best;
}

TEST(GifColourReduction, NearestSearchMatchesExhaustiveSearch) {
    std::mt19937 rng(42);
    for (const int size : {1, 2, 7, 64, 256}) {
        Palette palette;
        for (int i = 0; i < size; ++i) {
            // Coarse values make ties and equal greens common.
            palette.push_back(Rgb{static_cast<std::uint8_t>(rng() % 8 * 32),
                                  static_cast<std::uint8_t>(rng() % 8 * 32),
                                  static_cast<std::uint8_t>(rng() % 8 * 32)});
        }
        const gif::ColourNearestSearch search(palette);
        for (int q = 0; q < 3000; ++q) {
            const int r = static_cast<int>(rng() % 256), g = static_cast<int>(rng() % 256),
                      b = static_cast<int>(rng() % 256);
            ASSERT_EQ(search.find(r, g, b), bruteNearest(palette, r, g, b))
                << size << " colours, query " << r << "," << g << "," << b;
        }
    }
}

TEST(GifColourReduction, ExactPaletteGivesUpAtTheTwoHundredAndFiftySeventhColour) {
    EXPECT_TRUE(gif::indexExactly(scatteredColours(40, 40, 256, 9)).has_value());
    EXPECT_FALSE(gif::indexExactly(scatteredColours(40, 40, 257, 9)).has_value());
}

TEST(GifColourReduction, QuantiserFindsTightClusters) {
    // Twelve clusters of nine near-identical colours each: more than 100 colours, yet twelve
    // palette entries describe them within a level or two.
    const QRgb centres[12] = {qRgb(10, 10, 10),   qRgb(240, 20, 20),   qRgb(20, 240, 20),
                              qRgb(20, 20, 240),  qRgb(240, 240, 20),  qRgb(20, 240, 240),
                              qRgb(240, 20, 240), qRgb(128, 128, 128), qRgb(250, 250, 250),
                              qRgb(90, 40, 160),  qRgb(160, 90, 40),   qRgb(40, 160, 90)};
    QImage picture(108, 10, QImage::Format_RGB32);
    for (int x = 0; x < 108; ++x) {
        const QRgb c = centres[x / 9];
        const int d = x % 9 / 3 - 1, e = x % 3 - 1;
        for (int y = 0; y < 10; ++y) {
            picture.setPixel(x, y, qRgb(qRed(c) + d, qGreen(c) + e, qBlue(c) - d));
        }
    }
    const Palette palette = gif::quantiseColours(picture, 12);
    ASSERT_EQ(palette.size(), 12u);
    for (const QRgb c : centres) {
        const Rgb& p =
            palette[static_cast<size_t>(bruteNearest(palette, qRed(c), qGreen(c), qBlue(c)))];
        EXPECT_LE(std::abs(p.r - qRed(c)) + std::abs(p.g - qGreen(c)) + std::abs(p.b - qBlue(c)),
                  3);
    }
}

TEST(GifColourReduction, QuantiserRespectsTheColourLimit) {
    const QImage picture = photoLike(96, 64, 3);
    for (const int limit : {1, 2, 16, 256}) {
        const Palette palette = gif::quantiseColours(picture, limit);
        EXPECT_GE(palette.size(), 1u);
        EXPECT_LE(palette.size(), static_cast<size_t>(limit));
    }
    // More colours never describe the picture worse.
    auto error = [&](int limit) {
        const Palette palette = gif::quantiseColours(picture, limit);
        double sum = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb c = picture.pixel(x, y);
                const Rgb& p = palette[static_cast<size_t>(
                    bruteNearest(palette, qRed(c), qGreen(c), qBlue(c)))];
                sum += std::pow(p.r - qRed(c), 2) + std::pow(p.g - qGreen(c), 2) +
                       std::pow(p.b - qBlue(c), 2);
            }
        }
        return sum;
    };
    EXPECT_LT(error(64), error(16));
    EXPECT_LT(error(256), error(64));
}

TEST(GifColourReduction, DitheringMixesTwoColoursInTheRightProportion) {
    const Palette blackWhite{{0, 0, 0}, {255, 255, 255}};
    for (const int grey : {0, 1, 64, 128, 200, 255}) {
        QImage picture(64, 64, QImage::Format_RGB32);
        picture.fill(qRgb(grey, grey, grey));
        const std::vector<std::uint8_t> indices = gif::ditherToPalette(picture, blackWhite);
        ASSERT_EQ(indices.size(), 64u * 64u);
        double white = 0;
        for (const std::uint8_t i : indices)
            white += i;
        EXPECT_NEAR(white / indices.size() * 255.0, grey, 1.0) << "grey " << grey;
    }
}

}  // namespace
