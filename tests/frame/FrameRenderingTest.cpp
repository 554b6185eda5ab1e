#include <gtest/gtest.h>

#include <QLabel>
#include <QPainter>
#include <cstdlib>

#include "AnsiText.h"
#include "FrameTestSupport.h"

using frametest::at;
using frametest::colourOf;
using frametest::crispFont;
using frametest::grabbed;
using frametest::pixelsOf;
using syscolour::rgb;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 200, 0);     // header text
const QColor kOrange(255, 128, 0);  // buttons and grip
const QColor kBorder(10, 20, 30);
const QColor kContainer(240, 240, 240);
const QColor kBack(1, 2, 3);

bool near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// 200 x 150, header 25 and footer 20 pixels high, colours from useTestColours.
struct TestFrame {
    PanelFrame frame;
    TestFrame() {
        frame.resize(200, 150);
        frametest::useTestColours(frame);
        frame.setHeaderText("");
        frame.setHeaderTextFont(crispFont());
        frame.setFooterText("");
    }
};

QRect headerArea() {
    return QRect(0, 0, 200, 25);
}

QImage solidPicture(const QColor& colour, QImage::Format format = QImage::Format_RGB32) {
    QImage picture(16, 16, format);
    picture.fill(colour);
    return picture;
}

}  // namespace

TEST(FrameRendering, HeaderGradientRunsFromBackToFadeColour) {
    TestFrame t;
    t.frame.setContainerBorderStyle(5);  // no border line over the edges
    QImage image = grabbed(t.frame);
    EXPECT_EQ(at(image, 100, 0), kRed);
    EXPECT_TRUE(near(at(image, 100, 24), kBlue, 12)) << at(image, 100, 24).name().toStdString();
    for (int y = 1; y < 25; ++y)
        EXPECT_LT(at(image, 100, y).red(), at(image, 100, y - 1).red());
    // The fill stops one column short of the right edge: the surface's back colour shows.
    EXPECT_EQ(at(image, 199, 10), kBack);
    EXPECT_EQ(at(image, 100, 25), kContainer);

    t.frame.setHeaderFillStyle(0);  // left to right
    image = grabbed(t.frame);
    EXPECT_EQ(at(image, 0, 10), kRed);
    EXPECT_TRUE(near(at(image, 198, 10), kBlue, 2));
    EXPECT_EQ(at(image, 100, 3), at(image, 100, 20));
}

TEST(FrameRendering, FooterFillsItsBarAndBorderOutlinesTheFrame) {
    TestFrame t;
    const QImage image = grabbed(t.frame);
    EXPECT_EQ(at(image, 100, 130), QColor(250, 250, 0));
    EXPECT_EQ(at(image, 100, 129), kContainer);
    EXPECT_EQ(at(image, 199, 140), kBack);  // footer stops at W - 1 too
    EXPECT_EQ(at(image, 0, 75), kBorder);
    EXPECT_EQ(at(image, 198, 75), kBorder);
    EXPECT_EQ(at(image, 100, 0), kBorder);
    EXPECT_EQ(at(image, 100, 148), kBorder);
    EXPECT_EQ(at(image, 199, 75), kContainer);  // outside the outline
    EXPECT_TRUE(near(at(image, 100, 147), QColor(0, 250, 250), 40));
    EXPECT_LT(at(image, 100, 147).red(), at(image, 100, 131).red());
}

TEST(FrameRendering, WorkingColoursFollowCustomOrTheme) {
    TestFrame t;
    t.frame.setContainerBorderStyle(5);
    t.frame.setHeaderBackColor(rgb(0, 128, 0));
    EXPECT_EQ(at(grabbed(t.frame), 100, 0), QColor(0, 128, 0));  // shows at once

    t.frame.setUseCustomColors(false);
    t.frame.setAppearence(0);
    t.frame.setHeaderBackColor(rgb(0, 128, 0));  // not applied: the theme set paints
    EXPECT_EQ(at(grabbed(t.frame), 100, 0), QColor(137, 170, 224));
}

TEST(FrameRendering, FooterTextTakesTheThemeFooterTextColour) {
    PanelFrame frame;
    frame.resize(300, 120);
    frame.setHeaderText("");
    frame.setFooterText("MMMM");
    frame.setFooterTextFont(crispFont());
    const QRect footer(0, 100, 300, 20);
    const QColor navy(0, 41, 99);
    const QColor pale(215, 230, 251);

    frame.setAppearence(3);
    QImage image = grabbed(frame);
    EXPECT_FALSE(pixelsOf(image, navy, footer).isEmpty());
    EXPECT_TRUE(pixelsOf(image, pale, footer).isEmpty());

    frame.setAppearence(0);
    image = grabbed(frame);
    EXPECT_TRUE(pixelsOf(image, navy, footer).isEmpty());
    const QRect text = pixelsOf(image, pale, footer);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.left(), 3);
    EXPECT_GE(text.top(), 102);
}

TEST(FrameRendering, ButtonBoxesSitAtTheRightEdge) {
    TestFrame t;
    t.frame.setExpandable(true);
    QImage image = grabbed(t.frame);
    // Alone, the collapse button takes the close button's place at W - 23.
    EXPECT_EQ(at(image, 178, 10), kOrange);
    EXPECT_EQ(at(image, 193, 10), kOrange);
    EXPECT_EQ(t.frame.hitRegions().collapseButton, QRect(178, 3, 15, 14));

    t.frame.setCloseable(true);
    image = grabbed(t.frame);
    for (int x : {159, 174, 178, 193}) {
        EXPECT_EQ(at(image, x, 3), kOrange) << x;
        EXPECT_EQ(at(image, x, 16), kOrange) << x;
    }
    EXPECT_NE(at(image, 177, 10), kOrange);
    EXPECT_NE(at(image, 194, 10), kOrange);
    EXPECT_NE(at(image, 178, 17), kOrange);
    EXPECT_EQ(t.frame.hitRegions().collapseButton, QRect(159, 3, 15, 14));
    EXPECT_EQ(t.frame.hitRegions().closeButton, QRect(178, 3, 15, 14));
    // Cross through (185, 10); a stroke's end point (189, 6) stays undrawn.
    EXPECT_EQ(at(image, 185, 10), kOrange);
    EXPECT_NE(at(image, 189, 6), kOrange);
    // Double down-arrow while expanded, double up-arrow once collapsed.
    EXPECT_EQ(at(image, 166, 9), kOrange);
    EXPECT_NE(at(image, 166, 10), kOrange);
    t.frame.Collapse();
    image = grabbed(t.frame);
    EXPECT_NE(at(image, 166, 9), kOrange);
    EXPECT_EQ(at(image, 166, 10), kOrange);
}

TEST(FrameRendering, HeaderTextLeavesRoomForPictureAndButtons) {
    TestFrame t;
    t.frame.setHeaderText("MMM");
    QRect text = pixelsOf(grabbed(t.frame), kGreen, headerArea());
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.left(), 4);
    EXPECT_LE(text.left(), 6);

    t.frame.setHeaderPicture(solidPicture(QColor(0, 0, 200)));
    text = pixelsOf(grabbed(t.frame), kGreen, headerArea());
    EXPECT_GE(text.left(), 22);
    EXPECT_LE(text.left(), 24);
    t.frame.setHeaderPictureVisible(false);
    EXPECT_LE(pixelsOf(grabbed(t.frame), kGreen, headerArea()).left(), 6);

    t.frame.setHeaderText(QString(40, QLatin1Char('M')));
    t.frame.setExpandable(true);
    t.frame.setCloseable(true);
    text = pixelsOf(grabbed(t.frame), kGreen, headerArea());
    EXPECT_LE(text.right(), 155);  // text rectangle ends at W - 44
    EXPECT_GE(text.right(), 145);
}

TEST(FrameRendering, HeaderTextAlignmentPlacesTheText) {
    TestFrame t;
    t.frame.setHeaderText("MM");
    t.frame.setHeaderTextAlign(4);  // right, middle
    QRect text = pixelsOf(grabbed(t.frame), kGreen, headerArea());
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.right(), 190);
    EXPECT_LE(text.right(), 195);
    t.frame.setHeaderTextAlign(9);  // keeps the right, middle placement
    EXPECT_EQ(pixelsOf(grabbed(t.frame), kGreen, headerArea()), text);
}

TEST(FrameRendering, HeaderPictureCentresWithKeyColourTransparent) {
    TestFrame t;
    QImage picture = solidPicture(QColor(0, 0, 200));
    picture.setPixelColor(0, 0, QColor(255, 0, 255));
    picture.setPixelColor(15, 15, QColor(255, 0, 255));
    t.frame.setHeaderPicture(picture);
    const QImage image = grabbed(t.frame);
    const QColor blue(0, 0, 200);
    EXPECT_EQ(at(image, 5, 4), blue);  // (25 - 16) / 2 = 4.5 rounds to 4
    EXPECT_EQ(at(image, 4, 5), blue);
    EXPECT_EQ(at(image, 18, 19), blue);
    EXPECT_NE(at(image, 10, 3), blue);
    EXPECT_NE(at(image, 10, 20), blue);
    EXPECT_NE(at(image, 20, 10), blue);
    EXPECT_NE(at(image, 4, 4), QColor(255, 0, 255));  // key pixels let the bar show
    EXPECT_NE(at(image, 4, 4), blue);
    EXPECT_NE(at(image, 19, 19), QColor(255, 0, 255));

    // A picture with its own transparency is drawn as it is, top-left pixel included.
    t.frame.setHeaderPicture(solidPicture(QColor(0, 0, 200), QImage::Format_ARGB32));
    EXPECT_EQ(at(grabbed(t.frame), 4, 4), blue);
}

TEST(FrameRendering, ContainerPictureSitsBelowTheHeader) {
    TestFrame t;
    QImage picture(32, 32, QImage::Format_RGB32);
    picture.fill(QColor(0, 100, 0));
    picture.setPixelColor(0, 0, QColor(255, 255, 255));
    t.frame.setContainerPicture(picture);
    t.frame.setContainerPictureBufferTop(3);
    QImage image = grabbed(t.frame);
    EXPECT_EQ(at(image, 5, 30), QColor(0, 100, 0));  // y = 3 + 2 + 25
    EXPECT_NE(at(image, 5, 29), QColor(0, 100, 0));
    EXPECT_NE(at(image, 3, 40), QColor(0, 100, 0));  // x = 0 + 4

    t.frame.setHeaderVisible(false);
    image = grabbed(t.frame);
    EXPECT_EQ(at(image, 5, 5), QColor(0, 100, 0));
    EXPECT_NE(at(image, 5, 4), QColor(0, 100, 0));
}

TEST(FrameRendering, OverflowingPicturePositionEndsThePaintQuietly) {
    TestFrame t;
    t.frame.setContainerResizable(true);
    t.frame.setContainerPicture(solidPicture(QColor(0, 100, 0)));
    t.frame.setContainerPictureBufferLeft(32767);  // + 4 leaves 16 bits
    const QImage image = grabbed(t.frame);
    EXPECT_EQ(at(image, 100, 130), QColor(250, 250, 0));  // bars painted before it stay
    EXPECT_EQ(at(image, 194, 132), kOrange);
    EXPECT_TRUE(pixelsOf(image, QColor(0, 100, 0), image.rect()).isEmpty());
}

TEST(FrameRendering, ResizeGripNeedsFooterAndExpandedFrame) {
    TestFrame t;
    t.frame.setContainerResizable(true);
    QImage image = grabbed(t.frame);
    EXPECT_EQ(at(image, 194, 132), kOrange);  // stroke start (W - 6, H - 18)
    EXPECT_EQ(at(image, 180, 146), kOrange);  // its lowest point (W - 20, H - 4)
    EXPECT_EQ(at(image, 189, 137), kOrange);
    EXPECT_EQ(at(image, 194, 137), kOrange);  // second stroke starts at (W - 6, H - 13)
    EXPECT_NE(at(image, 195, 132), kOrange);  // a stroke's end point stays undrawn
    EXPECT_EQ(t.frame.hitRegions().resizeGrip, QRect(182, 132, 14, 144));

    t.frame.setFooterVisible(false);
    image = grabbed(t.frame);
    EXPECT_TRUE(pixelsOf(image, kOrange, QRect(170, 120, 30, 30)).isEmpty());

    t.frame.setFooterVisible(true);
    t.frame.Collapse();
    image = grabbed(t.frame);
    EXPECT_TRUE(pixelsOf(image, kOrange, image.rect()).isEmpty());
}

TEST(FrameRendering, ClassicStyleDrawsOnlyTheOutlineAndCaption) {
    TestFrame t;
    t.frame.setExpandable(true);
    t.frame.setCloseable(true);
    t.frame.setClassicXPStyle(true);
    t.frame.setBackColor(rgb(1, 2, 3));
    QImage image = grabbed(t.frame);
    const QColor outline(208, 208, 191);
    EXPECT_EQ(at(image, 0, 75), outline);
    EXPECT_EQ(at(image, 198, 75), outline);
    EXPECT_EQ(at(image, 100, 4), outline);
    EXPECT_EQ(at(image, 100, 148), outline);
    EXPECT_EQ(at(image, 100, 2), kBack);
    EXPECT_EQ(at(image, 100, 75), kBack);
    EXPECT_EQ(at(image, 199, 75), kBack);
    EXPECT_TRUE(pixelsOf(image, kRed, image.rect()).isEmpty());
    EXPECT_TRUE(pixelsOf(image, kOrange, image.rect()).isEmpty());
    EXPECT_FALSE(t.frame.captionLabel()->isVisibleTo(&t.frame));

    t.frame.setHeaderText("Gruppo");
    EXPECT_TRUE(t.frame.captionLabel()->isVisibleTo(&t.frame));
    EXPECT_EQ(t.frame.captionLabel()->x(), 10);
    image = grabbed(t.frame);
    const QRect caption = pixelsOf(image, QColor(0, 70, 213), image.rect());
    ASSERT_FALSE(caption.isEmpty());
    EXPECT_GE(caption.left(), 10);
    EXPECT_TRUE(t.frame.mask().isEmpty());
}

TEST(FrameRendering, RoundedShapeCutsTheCorners) {
    TestFrame t;
    EXPECT_TRUE(t.frame.mask().isEmpty());
    t.frame.setContainerShapeStyle(1);
    const QRegion shape = t.frame.mask();
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(199, 149)));
    EXPECT_TRUE(shape.contains(QPoint(100, 0)));
    EXPECT_TRUE(shape.contains(QPoint(0, 75)));
    EXPECT_TRUE(shape.contains(QPoint(100, 75)));
    t.frame.show();  // a hidden frame gets its resize when it shows
    t.frame.resize(300, 150);
    EXPECT_TRUE(t.frame.mask().contains(QPoint(250, 75)));
    EXPECT_FALSE(t.frame.mask().contains(QPoint(299, 0)));
}

TEST(FrameRendering, UtilitiesTakeRightAndBottomEdgesNotSizes) {
    PanelFrame frame;
    QImage canvas(60, 40, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        frame.UtilDrawBackground(painter, rgb(255, 0, 0), rgb(0, 0, 255), 10, 5, 30, 20, 0);
    }
    EXPECT_EQ(at(canvas, 10, 5), kRed);
    EXPECT_EQ(at(canvas, 10, 19), kRed);  // left to right: a column is one colour
    EXPECT_TRUE(near(at(canvas, 29, 12), kBlue, 13));
    EXPECT_EQ(at(canvas, 30, 12), QColor(Qt::white));
    EXPECT_EQ(at(canvas, 20, 20), QColor(Qt::white));
    EXPECT_EQ(at(canvas, 9, 12), QColor(Qt::white));

    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.setPen(Qt::black);
        frame.UtilDrawShapeStyle(painter, 2, 3, 12, 13, 0);
    }
    EXPECT_EQ(at(canvas, 2, 3), QColor(Qt::black));
    EXPECT_EQ(at(canvas, 11, 12), QColor(Qt::black));
    EXPECT_EQ(at(canvas, 12, 8), QColor(Qt::white));
    EXPECT_EQ(at(canvas, 7, 13), QColor(Qt::white));
}

TEST(FrameRendering, BarTextIsSingleByteText) {
    EXPECT_EQ(ansiText(QString::fromUtf8("Qualità €5 — ok")), QString::fromUtf8("Qualità €5 — ok"));
    EXPECT_EQ(ansiText(QString::fromUtf8("Łódź 漢")), QString::fromUtf8("?ód? ?"));
    PanelFrame frame;
    frame.setClassicXPStyle(true);
    frame.setHeaderText(QString::fromUtf8("Ω"));
    EXPECT_EQ(frame.captionLabel()->text(), "?");
    EXPECT_EQ(frame.HeaderText(), QString::fromUtf8("Ω"));
}

TEST(FrameRendering, HugePictureSizeDrawsOnlyWhatShows) {
    TestFrame t;
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(QColor(0, 100, 0));
    picture.setPixelColor(0, 0, QColor(9, 9, 9));
    t.frame.setContainerPicture(picture);
    t.frame.setContainerPictureSize(32767);
    // Each picture pixel covers 16383.5 surface pixels; shift the key pixel mostly out of
    // view so the frame shows the corner where the four quarters meet.
    t.frame.setContainerPictureBufferLeft(-16383);  // x = -16379: quarters meet at x = 4.5
    t.frame.setContainerPictureBufferTop(-16383);   // y = -16356: they meet at y = 27.5
    const QImage image = grabbed(t.frame);
    EXPECT_EQ(at(image, 100, 100), QColor(0, 100, 0));
    EXPECT_EQ(at(image, 3, 100), QColor(0, 100, 0));
    EXPECT_NE(at(image, 3, 26), QColor(0, 100, 0));  // the key quarter lets the frame show
    EXPECT_NE(at(image, 3, 26), QColor(9, 9, 9));
}
