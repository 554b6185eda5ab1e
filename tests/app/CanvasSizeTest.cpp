#include <gtest/gtest.h>

#include "CanvasSize.h"
#include "FileTitle.h"
#include "RuntimeError.h"

namespace {
CanvasSize size(int target, bool keep, bool lockHeight, int sw, int sh, QString t1 = "1280",
                QString t2 = "960") {
    return canvassize::Compute(target, t1, t2, keep, lockHeight, sw, sh);
}
}  // namespace

TEST(CanvasSize, ProportionRules) {
    auto s = size(1, true, false, 1600, 1200);
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 480);
    s = size(1, true, true, 1600, 1200);
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 480);

    s = size(1, true, false, 1000, 1500);
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 960);
    s = size(1, false, false, 1000, 1500);
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 480);

    s = size(1, true, false, 3000, 2000);
    EXPECT_EQ(s.height, 427);
    EXPECT_EQ(canvassize::SizeSuffix(s), "_640x426");

    // Custom target with the height locked: the width box is not used.
    s = size(4, true, true, 300, 200, "7", "960");
    EXPECT_EQ(s.width, 1440);
    EXPECT_EQ(s.height, 960);
    EXPECT_EQ(canvassize::SizeSuffix(size(2, false, false, 5, 5)), "_800x600");
}

TEST(CanvasSize, HalvesRoundToEvenInSinglePrecision) {
    // 5 / 2 * 1 = 2.5 -> 2; 7 / 2 * 1 = 3.5 -> 4.
    EXPECT_EQ(size(4, true, true, 5, 2, "0", "1").width, 2);
    EXPECT_EQ(size(4, true, true, 7, 2, "0", "1").width, 4);
    // 1 / 3 * 640 = 213.33.. held as a single: the suffix shows the integer part.
    const auto s = size(1, true, false, 3, 1);
    EXPECT_EQ(s.height, 213);
    EXPECT_FLOAT_EQ(s.H, 640.0f / 3.0f);
}

TEST(CanvasSize, CustomBoxesReadTheirLeadingDigits) {
    EXPECT_EQ(canvassize::NumericValue("1280"), 1280);
    EXPECT_EQ(canvassize::NumericValue("12ab"), 12);
    EXPECT_EQ(canvassize::NumericValue(""), 0);
    EXPECT_EQ(size(4, false, false, 1, 1, "33", "44x").height, 44);
}

TEST(CanvasSize, AbsurdSizesEndCleanlyWithAnError) {
    EXPECT_THROW(size(4, false, false, 10, 10, "0", "960"), tessaro::RuntimeError);
    EXPECT_THROW(size(4, false, false, 10, 10, "", "960"), tessaro::RuntimeError);
    EXPECT_THROW(size(4, false, false, 10, 10, "65501", "1"), tessaro::RuntimeError);
    EXPECT_THROW(size(4, false, false, 10, 10, "99999999999999999999", "1"), tessaro::RuntimeError);
    EXPECT_THROW(size(4, false, false, 10, 10, "60000", "60000"), tessaro::RuntimeError);
    // A very wide source with the width locked derives a height below half a pixel.
    EXPECT_THROW(size(0, true, false, 100000, 10), tessaro::RuntimeError);
    EXPECT_NO_THROW(size(4, false, false, 10, 10, "65500", "1"));
    // Extreme proportions name the refused size in plain integers.
    try {
        size(0, true, true, 100000, 1);
        ADD_FAILURE() << "a 24,000,000-pixel-wide canvas was accepted";
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_NE(e.text().find("24000000x240"), std::string::npos) << e.text();
    }
    try {
        size(4, false, false, 10, 10, "0", "5");
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_EQ(e.number(), 5);
        EXPECT_NE(e.text().find("0x5"), std::string::npos);
    }
}

TEST(FileTitle, InsertsTheSizeBeforeTheFirstDot) {
    EXPECT_EQ(GetFileTitle("/img/foto.jpg", "_800x600", true), "foto_800x600.jpg");
    EXPECT_EQ(GetFileTitle("/img/foto.mare.jpg", "_640x480", true), "foto_640x480.mare.jpg");
    EXPECT_EQ(GetFileTitle("/a/vacanze.2005.gif", "_1x2", true), "vacanze_1x2.2005.gif");
    EXPECT_EQ(GetFileTitle("/img/foto.jpg", "_800x600", false), "foto.jpg");
    EXPECT_EQ(GetFileTitle("foto", "_800x600", true), "foto");
    EXPECT_EQ(GetFileTitle("/img.d/foto", "_8x6", true), "foto");  // dots of folders do not count
    EXPECT_EQ(GetFileTitle("/img/", "_8x6", true), "");
    EXPECT_EQ(GetFileTitle("/img/.hidden.bmp", "_8x6", true), "_8x6.hidden.bmp");
}
