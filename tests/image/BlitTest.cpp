#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "Canvas.h"
#include "DrawingContext.h"

namespace tessaro::test {
namespace {

TEST(DibSection, OwnedBitmapsAreBottomUpWithPaddedRows) {
    Canvas c(5, 3, 24);
    ASSERT_TRUE(c.dib);
    EXPECT_EQ(c.dib->stride(), 16);
    EXPECT_FALSE(c.dib->topDown());
    EXPECT_EQ(c.dib->row(2), c.dib->bits());
    EXPECT_EQ(c.dib->row(0), c.dib->bits() + 32);
    EXPECT_TRUE(c.dib->colourTable().empty());

    Canvas grey(3, 1, 4);
    ASSERT_EQ(grey.dib->colourTable().size(), 16u);
    EXPECT_EQ(grey.dib->colourTable()[1], (RgbQuad{17, 17, 17, 0}));
}

TEST(DibSection, RefusesUnsupportedSizesAndDepths) {
    EXPECT_FALSE(DibSection::create(0, 1, 24));
    EXPECT_FALSE(DibSection::create(1, -1, 24));
    EXPECT_FALSE(DibSection::create(1, 1, 16));
    EXPECT_FALSE(DibSection::create(1, 1, 32));
    EXPECT_FALSE(DibSection::create(40000, 40000, 24));  // more than 2^31 bytes
    uint8_t memory[16] = {};
    EXPECT_TRUE(DibSection::view(memory, 2, 2, 32, 8, true));
    EXPECT_FALSE(DibSection::view(memory, 3, 2, 32, 8, true));  // rows too short
    EXPECT_FALSE(DibSection::view(nullptr, 1, 1, 24, 4, true));
}

TEST(DrawingContext, SelectsAndReportsColourTables) {
    DrawingContext dc;
    EXPECT_EQ(dc.selected(), nullptr);
    EXPECT_EQ(dc.setStretchBltMode(kHalftone), kBlackOnWhite);
    EXPECT_EQ(dc.setStretchBltMode(7), 0);
    EXPECT_EQ(dc.stretchBltMode(), kHalftone);

    auto dib = DibSection::create(1, 1, 1, {{1, 2, 3, 0}, {4, 5, 6, 0}});
    EXPECT_EQ(dc.select(dib.get()), nullptr);
    RgbQuad out[4] = {};
    EXPECT_EQ(dc.getColourTable(0, 4, out), 2);
    EXPECT_EQ(out[1], (RgbQuad{4, 5, 6, 0}));
    EXPECT_EQ(dc.getColourTable(1, 4, out), 1);
    EXPECT_EQ(dc.setColourTable(1, 3, out), 1);  // only entry 1 exists past start
    EXPECT_EQ(dc.select(nullptr), dib.get());
    EXPECT_EQ(dc.getColourTable(0, 4, out), 0);
}

TEST(BitBlt, TopDownThirtyTwoBitViewLandsRightWayUp) {
    // Picture row 0 (top) is memory row 0 in the view: blue 1, 2 / 3, 4 going down.
    uint32_t pixels[2][3] = {{0xFF000001, 0xFF000002, 0}, {0xFF000003, 0xFF000004, 0}};
    auto view = DibSection::view(reinterpret_cast<uint8_t*>(pixels), 2, 2, 32, 12, true);
    ASSERT_TRUE(view);
    DrawingContext source;
    source.select(view.get());
    Canvas target(2, 2, 24);
    ASSERT_TRUE(BitBlt(target.dc, 0, 0, 2, 2, source, 0, 0));
    EXPECT_EQ(target.get(0, 0), (Bgr{1, 0, 0}));
    EXPECT_EQ(target.get(1, 1), (Bgr{4, 0, 0}));
    EXPECT_EQ(target.dib->bits()[0], 3);  // memory row 0 is the bottom row
}

TEST(BitBlt, ClipsToBothBitmaps) {
    Canvas src(3, 3, 24);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            src.set(x, y, pattern(x, y));
        }
    }
    Canvas dst(3, 3, 24);
    // Starting left of and above the destination, reaching past the source's right edge.
    ASSERT_TRUE(BitBlt(dst.dc, -1, -1, 10, 10, src.dc, 1, 0));
    EXPECT_EQ(dst.get(0, 0), pattern(2, 1));
    EXPECT_EQ(dst.get(1, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(dst.get(0, 1), pattern(2, 2));
    EXPECT_EQ(dst.get(2, 2), (Bgr{0, 0, 0}));
    EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 1, 1, DrawingContext(), 0, 0));
}

TEST(BitBlt, OverlappingCopyWithinOneBitmap) {
    Canvas c(2, 4, 24);
    for (int y = 0; y < 4; ++y) {
        c.set(0, y, pattern(0, y));
    }
    ASSERT_TRUE(BitBlt(c.dc, 0, 1, 2, 3, c.dc, 0, 0));
    for (int y = 1; y < 4; ++y) {
        EXPECT_EQ(c.get(0, y), pattern(0, y - 1)) << y;
    }
}

TEST(BitBlt, IndexedTargetsTakeTheNearestTableColour) {
    const std::vector<RgbQuad> table{{0, 0, 0, 0}, {0, 0, 200, 0}, {200, 200, 200, 0}};
    Canvas dst(3, 1, 8, table);
    Canvas src(3, 1, 24);
    src.set(0, 0, {10, 10, 150});    // reddish: entry 1
    src.set(1, 0, {150, 140, 160});  // light: entry 2
    src.set(2, 0, {30, 20, 40});     // dark: entry 0
    ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 3, 1, src.dc, 0, 0));
    EXPECT_EQ(dst.index(0, 0), 1);
    EXPECT_EQ(dst.index(1, 0), 2);
    EXPECT_EQ(dst.index(2, 0), 0);

    // Indexed to true colour reads the table.
    Canvas back(3, 1, 24);
    ASSERT_TRUE(BitBlt(back.dc, 0, 0, 3, 1, dst.dc, 0, 0));
    EXPECT_EQ(back.get(0, 0), (Bgr{0, 0, 200}));
}

TEST(BitBlt, NearestColourAgreesWithAFullSearch) {
    std::mt19937 random(3);
    const auto byte = [&] { return static_cast<uint8_t>(random()); };
    std::vector<RgbQuad> table(256);
    for (auto& e : table) {
        e = {byte(), byte(), byte(), 0};
    }
    table[200] = table[17];  // a tie: the lower index must win
    const int n = 4096;
    Canvas src(n, 1, 24);
    for (int x = 0; x < n; ++x) {
        src.set(x, 0, {byte(), byte(), byte()});
    }
    src.set(0, 0, {table[17].blue, table[17].green, table[17].red});
    Canvas dst(n, 1, 8, table);
    ASSERT_TRUE(BitBlt(dst.dc, 0, 0, n, 1, src.dc, 0, 0));
    for (int x = 0; x < n; ++x) {
        const Bgr c = src.get(x, 0);
        int best = 0;
        int bestDistance = 1 << 30;
        for (int i = 0; i < 256; ++i) {
            const int db = c[0] - table[i].blue;
            const int dg = c[1] - table[i].green;
            const int dr = c[2] - table[i].red;
            if (db * db + dg * dg + dr * dr < bestDistance) {
                bestDistance = db * db + dg * dg + dr * dr;
                best = i;
            }
        }
        ASSERT_EQ(dst.index(x, 0), best) << x;
    }
}

TEST(BitBlt, GreyRampTargetsTakeTheNearestGrey) {
    // Every sum of channels against the 1-, 4- and 8-bit ramps, by full search.
    for (int16_t bits : {int16_t{1}, int16_t{4}, int16_t{8}}) {
        const auto ramp = DibSection::greyRamp(bits);
        Canvas src(766, 1, 24);
        for (int sum = 0; sum <= 765; ++sum) {
            const int r = std::min(sum, 255);
            const int g = std::min(sum - r, 255);
            src.set(sum, 0,
                    {static_cast<uint8_t>(sum - r - g), static_cast<uint8_t>(g),
                     static_cast<uint8_t>(r)});
        }
        Canvas dst(766, 1, bits);
        ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 766, 1, src.dc, 0, 0));
        for (int x = 0; x < 766; ++x) {
            const Bgr c = src.get(x, 0);
            int best = 0;
            int bestDistance = 1 << 30;
            for (size_t i = 0; i < ramp.size(); ++i) {
                const int v = ramp[i].blue;
                const int d =
                    (c[0] - v) * (c[0] - v) + (c[1] - v) * (c[1] - v) + (c[2] - v) * (c[2] - v);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = static_cast<int>(i);
                }
            }
            ASSERT_EQ(dst.index(x, 0), best) << bits << " bits, sum " << x;
        }
    }
}

TEST(BitBlt, SameTableCopiesIndicesAtAnyBitOffset) {
    // Entries 1 and 2 have the same colour; only an index copy keeps them apart.
    std::vector<RgbQuad> table(16);
    table[1] = table[2] = {9, 9, 9, 0};
    Canvas src(5, 1, 4, table);
    Canvas dst(5, 1, 4, table);
    for (int x = 0; x < 5; ++x) {
        src.setIndex(x, 0, x + 1);
    }
    ASSERT_TRUE(BitBlt(dst.dc, 1, 0, 4, 1, src.dc, 0, 0));
    EXPECT_EQ(dst.index(0, 0), 0);
    EXPECT_EQ(dst.index(1, 0), 1);
    EXPECT_EQ(dst.index(2, 0), 2);
    EXPECT_EQ(dst.index(4, 0), 4);
}

TEST(BitBlt, RasterOperationsCombineWithTheDestination) {
    Canvas src(1, 1, 24);
    src.set(0, 0, {0x0F, 0xF0, 0xAA});
    Canvas dst(1, 1, 24);
    dst.set(0, 0, {0xFF, 0xFF, 0x0F});
    ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 0x00660046));  // source xor destination
    EXPECT_EQ(dst.get(0, 0), (Bgr{0xF0, 0x0F, 0xA5}));
    ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 0x00330008));  // inverted source
    EXPECT_EQ(dst.get(0, 0), (Bgr{0xF0, 0x0F, 0x55}));
    ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 0x00FF0062));  // white
    EXPECT_EQ(dst.get(0, 0), (Bgr{0xFF, 0xFF, 0xFF}));
}

TEST(PlgBlt, ShearedParallelogramSamplesThePreimageOfEachCentre) {
    Canvas src(2, 2, 24);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            src.set(x, y, pattern(x, y));
        }
    }
    Canvas dst(4, 2, 24);
    dst.set(0, 1, {1, 2, 3});
    // Lower-left corner pushed right by the height: row y shifts right by y.
    ASSERT_TRUE(PlgBlt(dst.dc, {Point{0, 0}, Point{2, 0}, Point{2, 2}}, src.dc, 0, 0, 2, 2));
    EXPECT_EQ(dst.get(0, 0), pattern(0, 0));
    EXPECT_EQ(dst.get(1, 0), pattern(1, 0));
    EXPECT_EQ(dst.get(1, 1), pattern(0, 1));
    EXPECT_EQ(dst.get(2, 1), pattern(1, 1));
    EXPECT_EQ(dst.get(0, 1), (Bgr{1, 2, 3}));  // outside the parallelogram: untouched
    EXPECT_FALSE(PlgBlt(dst.dc, {Point{0, 0}, Point{2, 0}, Point{4, 0}}, src.dc, 0, 0, 2, 2));
}

TEST(PlgBlt, QuarterTurnOfASubRectangle) {
    Canvas src(4, 3, 24);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            src.set(x, y, pattern(x, y));
        }
    }
    // The 3 x 2 block at (1, 1), turned clockwise into a 2 x 3 destination.
    Canvas dst(2, 3, 24);
    ASSERT_TRUE(PlgBlt(dst.dc, {Point{2, 0}, Point{2, 3}, Point{0, 0}}, src.dc, 1, 1, 3, 2));
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(dst.get(1 - y, x), pattern(1 + x, 1 + y)) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace tessaro::test
