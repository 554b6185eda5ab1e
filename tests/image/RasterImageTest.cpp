#include <gtest/gtest.h>

#include <cstring>

#include "Canvas.h"
#include "RasterImage.h"
#include "RuntimeError.h"

namespace tessaro::test {
namespace {

Bgr pixelOf(const RasterImage& image, int32_t x, int32_t y) {
    const uint8_t* p = image.hDC()->selected()->row(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

// A 24-bit image of the given size filled with pattern().
std::unique_ptr<RasterImage> patterned(int32_t w, int32_t h) {
    Canvas src(w, h, 24);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            src.set(x, y, pattern(x, y));
        }
    }
    auto image = std::make_unique<RasterImage>();
    EXPECT_TRUE(image->CopyHDC(src.dc, w, h, 24));
    return image;
}

bool samePixels(const RasterImage& a, const RasterImage& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && a.BitCount() == b.BitCount() &&
           std::memcmp(a.DIBitsPtr(), b.DIBitsPtr(),
                       static_cast<size_t>(a.BytesPerScanLine()) * a.Height()) == 0 &&
           a.hDC()->selected()->colourTable() == b.hDC()->selected()->colourTable();
}

TEST(RasterImage, StridesArePaddedToFourBytes) {
    const int16_t depths[] = {1, 4, 8, 24};
    const int32_t narrow[] = {4, 4, 4, 4};
    const int32_t wide[] = {8, 20, 36, 100};
    for (int i = 0; i < 4; ++i) {
        RasterImage one;
        ASSERT_TRUE(one.Create(1, 2, depths[i]));
        EXPECT_EQ(one.BytesPerScanLine(), narrow[i]);
        EXPECT_EQ(one.hDC()->selected()->stride(), narrow[i]);
        RasterImage many;
        ASSERT_TRUE(many.Create(33, 2, depths[i]));
        EXPECT_EQ(many.BytesPerScanLine(), wide[i]);
        EXPECT_EQ(many.hDC()->selected()->stride(), wide[i]);
    }
}

TEST(RasterImage, HugeSizesRaiseOverflow) {
    const auto overflows = [](auto call) {
        try {
            call();
        } catch (const RuntimeError& e) {
            return e.number() == err::kOverflow;
        }
        return false;
    };
    EXPECT_TRUE(overflows([] { RasterImage::bytesPerScanLine(0x7FFFFFFF, 24); }));
    EXPECT_TRUE(overflows([] { RasterImage::bytesPerScanLine(-0x7FFFFFFF - 1, 1); }));
    RasterImage image;
    ASSERT_TRUE(image.Create(2, 2, 24));
    EXPECT_TRUE(overflows([&] { image.Create(100000, 100000, 24); }));  // 3e10 bytes
    EXPECT_EQ(image.hDC(), nullptr);
    EXPECT_EQ(image.Width(), 100000);
}

TEST(RasterImage, CreateRefusesSixteenAndThirtyTwoBits) {
    RasterImage image;
    ASSERT_TRUE(image.Create(3, 2, 8));
    for (int16_t bits : {int16_t{16}, int16_t{32}}) {
        EXPECT_FALSE(image.Create(5, 5, bits));
        EXPECT_EQ(image.hDC(), nullptr);
        EXPECT_EQ(image.DIBitsPtr(), nullptr);
        // The refused depth never became the image's size or depth.
        EXPECT_EQ(image.BitCount(), 8);
        EXPECT_EQ(image.Width(), 3);
    }
}

TEST(RasterImage, IndexedImagesStartWithAGreyRamp) {
    RasterImage image;
    ASSERT_TRUE(image.Create(1, 1, 4));
    const auto& table = image.hDC()->selected()->colourTable();
    ASSERT_EQ(table.size(), 16u);
    EXPECT_EQ(table[15], (RgbQuad{255, 255, 255, 0}));
    EXPECT_EQ(table[7], (RgbQuad{119, 119, 119, 0}));
    RasterImage mono;
    ASSERT_TRUE(mono.Create(1, 1, 1));
    EXPECT_EQ(mono.hDC()->selected()->colourTable()[1], (RgbQuad{255, 255, 255, 0}));
}

TEST(RasterImage, CopyHdcTakesItsDepthFromTheColourTable) {
    Canvas trueColour(4, 3, 24);
    trueColour.set(1, 2, {5, 6, 7});
    RasterImage image;
    ASSERT_TRUE(image.CopyHDC(trueColour.dc, 4, 3));
    EXPECT_EQ(image.BitCount(), 24);
    EXPECT_EQ(pixelOf(image, 1, 2), (Bgr{5, 6, 7}));

    std::vector<RgbQuad> sixteen(16);
    for (int i = 0; i < 16; ++i) {
        sixteen[i] = {static_cast<uint8_t>(i * 3), 0, static_cast<uint8_t>(255 - i), 0};
    }
    Canvas indexed(3, 2, 8, sixteen);
    indexed.setIndex(2, 1, 13);
    ASSERT_TRUE(image.CopyHDC(indexed.dc, 3, 2));
    EXPECT_EQ(image.BitCount(), 4);
    EXPECT_EQ(image.hDC()->selected()->colourTable(), sixteen);
    Canvas back(3, 2, 24);
    image.PaintHDC(back.dc, 0, 0, kSrcCopy);
    EXPECT_EQ(back.get(2, 1), (Bgr{39, 0, 242}));

    Canvas twoColours(2, 1, 8, {{0, 0, 0, 0}, {1, 1, 1, 0}});
    ASSERT_TRUE(image.CopyHDC(twoColours.dc, 2, 1));
    EXPECT_EQ(image.BitCount(), 1);
}

TEST(RasterImage, CopyHdcWithADepthKeepsTheGreyRamp) {
    Canvas indexed(2, 1, 8, {{0, 0, 255, 0}, {0, 255, 0, 0}});
    RasterImage image;
    ASSERT_TRUE(image.CopyHDC(indexed.dc, 2, 1, 8, 0, 0));
    EXPECT_EQ(image.hDC()->selected()->colourTable(), DibSection::greyRamp(8));
    EXPECT_FALSE(image.CopyHDC(indexed.dc, 2, 1, 16));
}

TEST(RasterImage, RotationsMoveEveryPixel) {
    const auto image = patterned(3, 2);
    const auto ccw = image->Rotate(90);
    const auto half = image->Rotate(180);
    const auto cw = image->Rotate(270);
    ASSERT_TRUE(ccw && half && cw);
    EXPECT_EQ(ccw->Width(), 2);
    EXPECT_EQ(ccw->Height(), 3);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(pixelOf(*ccw, y, 2 - x), pattern(x, y));
            EXPECT_EQ(pixelOf(*half, 2 - x, 1 - y), pattern(x, y));
            EXPECT_EQ(pixelOf(*cw, 1 - y, x), pattern(x, y));
        }
    }
    EXPECT_TRUE(samePixels(*image->Rotate(-90), *cw));
    EXPECT_TRUE(samePixels(*image->Rotate(450), *ccw));
    EXPECT_TRUE(samePixels(*image->Rotate(-270), *ccw));
    EXPECT_FALSE(image->Rotate(45));
    EXPECT_FALSE(image->Rotate(0));
}

TEST(RasterImage, MirrorsBothWays) {
    const auto image = patterned(3, 2);
    const auto upsideDown = image->Mirror(true);
    const auto leftRight = image->Mirror(false);
    ASSERT_TRUE(upsideDown && leftRight);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(pixelOf(*upsideDown, x, 1 - y), pattern(x, y));
            EXPECT_EQ(pixelOf(*leftRight, 2 - x, y), pattern(x, y));
        }
    }
}

TEST(RasterImage, IndexedRotationKeepsTableAndIndices) {
    std::vector<RgbQuad> table(16);
    table[3] = table[4] = {50, 60, 70, 0};  // equal colours, distinct indices
    Canvas src(3, 1, 4, table);
    src.setIndex(0, 0, 3);
    src.setIndex(2, 0, 4);
    RasterImage image;
    ASSERT_TRUE(image.CopyHDC(src.dc, 3, 1));
    const auto turned = image.Rotate(270);
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->BitCount(), 4);
    EXPECT_EQ(turned->hDC()->selected()->colourTable(), table);
    Canvas check(1, 3, 4, table);
    BitBlt(check.dc, 0, 0, 1, 3, *turned->hDC(), 0, 0);
    EXPECT_EQ(check.index(0, 0), 3);
    EXPECT_EQ(check.index(0, 2), 4);
}

TEST(RasterImage, ResampleToTheSameSizeIsAnIdenticalCopy) {
    const auto image = patterned(7, 5);
    const auto copy = image->Resample(7, 5);
    ASSERT_TRUE(copy);
    EXPECT_TRUE(samePixels(*image, *copy));
    EXPECT_NE(copy->DIBitsPtr(), image->DIBitsPtr());
}

TEST(RasterImage, ResampleAveragesWhenShrinking) {
    const auto image = patterned(4, 2);
    const auto half = image->Resample(2, 1);
    ASSERT_TRUE(half);
    Bgr expected{};
    for (int c = 0; c < 3; ++c) {
        const int sum = pattern(2, 0)[c] + pattern(3, 0)[c] + pattern(2, 1)[c] + pattern(3, 1)[c];
        const int q = sum / 4;
        const int rest = sum % 4;
        expected[c] = static_cast<uint8_t>(q + (rest > 2 || (rest == 2 && q % 2 == 1) ? 1 : 0));
    }
    EXPECT_EQ(pixelOf(*half, 1, 0), expected);
    EXPECT_FALSE(image->Resample(0, 3));
}

TEST(RasterImage, GreyscaleTakesTheNearestGrey) {
    Canvas src(4, 1, 24);
    src.set(0, 0, {10, 20, 31});  // mean 20.33
    src.set(1, 0, {0, 1, 1});     // mean 0.67
    src.set(2, 0, {0, 0, 255});   // mean 85
    src.set(3, 0, {255, 255, 254});
    RasterImage image;
    ASSERT_TRUE(image.CopyHDC(src.dc, 4, 1));
    const auto grey = image.Greyscale();
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->BitCount(), 8);
    const uint8_t* row = grey->hDC()->selected()->row(0);
    EXPECT_EQ(row[0], 20);
    EXPECT_EQ(row[1], 1);
    EXPECT_EQ(row[2], 85);
    EXPECT_EQ(row[3], 255);
}

TEST(RasterImage, CopyStdPictureReadsThirtyTwoBitPicturesAsTrueColour) {
    uint32_t pixels[2][2] = {{0xFF0A0B0C, 0xFF000000}, {0xFF000000, 0xFF010203}};
    auto picture = DibSection::view(reinterpret_cast<uint8_t*>(pixels), 2, 2, 32, 8, true);
    RasterImage image;
    int16_t bits = 0;
    ASSERT_TRUE(image.CopyStdPicture(*picture, bits));
    EXPECT_EQ(bits, 24);
    EXPECT_EQ(pixelOf(image, 0, 0), (Bgr{0x0C, 0x0B, 0x0A}));
    EXPECT_EQ(pixelOf(image, 1, 1), (Bgr{3, 2, 1}));

    bits = 8;  // an explicit depth maps the colours onto the grey ramp
    ASSERT_TRUE(image.CopyStdPicture(*picture, bits));
    EXPECT_EQ(image.hDC()->selected()->row(0)[0], 11);
}

TEST(RasterImage, CopyStdPictureBringsAnIndexedPicturesTable) {
    const std::vector<RgbQuad> table{{1, 2, 3, 0}, {4, 5, 6, 0}};
    Canvas picture(9, 2, 1, table);
    picture.setIndex(8, 1, 1);
    RasterImage image;
    int16_t bits = 0;
    ASSERT_TRUE(image.CopyStdPicture(*picture.dib, bits));
    EXPECT_EQ(bits, 1);
    EXPECT_EQ(image.hDC()->selected()->colourTable(), table);
    EXPECT_EQ((image.hDC()->selected()->row(1)[1] >> 7) & 1, 1);
}

TEST(RasterImage, CopyPalletHdcNeedsATableOnBothSides) {
    Canvas coloured(1, 1, 8, {{9, 8, 7, 0}, {6, 5, 4, 0}, {3, 2, 1, 0}});
    Canvas trueColour(1, 1, 24);
    RasterImage image;
    EXPECT_FALSE(image.CopyPalletHDC(coloured.dc));  // empty image
    ASSERT_TRUE(image.Create(1, 1, 1));
    EXPECT_FALSE(image.CopyPalletHDC(trueColour.dc));
    EXPECT_TRUE(image.CopyPalletHDC(coloured.dc));  // two of three fit a 1-bit table
    EXPECT_EQ(image.hDC()->selected()->colourTable()[1], (RgbQuad{6, 5, 4, 0}));
    ASSERT_TRUE(image.Create(1, 1, 24));
    EXPECT_FALSE(image.CopyPalletHDC(coloured.dc));
}

TEST(RasterImage, PaintHdcHonoursTheRasterOperation) {
    const auto image = patterned(2, 2);
    Canvas target(3, 3, 24);
    target.set(2, 2, {0xFF, 0xFF, 0xFF});
    image->PaintHDC(target.dc, 1, 1, 0x008800C6);  // source and destination
    EXPECT_EQ(target.get(2, 2), pattern(1, 1));
    EXPECT_EQ(target.get(1, 1), (Bgr{0, 0, 0}));
}

}  // namespace
}  // namespace tessaro::test
