#include <gtest/gtest.h>

#include <QPainter>
#include <QStyle>
#include <QStyleFactory>

#include "ButtonTestSupport.h"
#include "IconDrawing.h"
#include "PixelPainter.h"

using namespace buttontest;
using namespace tessaro::button;

namespace {

QImage solidIcon(QColor c, int size = 16) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(c);
    return icon;
}

}  // namespace

TEST(ColourOperations, BlendLightenShift) {
    EXPECT_EQ(blend(0x000000, 0x010305), 0x000202u);  // 2.5 -> 2, 1.5 -> 2, 0.5 -> 0
    EXPECT_EQ(lighten(0x00FF80, 128), 0x80FFBFu);     // 128 + 127 * 128 / 255 = 191
    EXPECT_EQ(shift(0x10F0FF, 20), 0x24FFFFu);
    EXPECT_EQ(shift(0x10F0FF, -20), 0x00DCEBu);
    EXPECT_EQ(translate(0x800000FF), kInvalidColour);
    EXPECT_EQ(translate(0x00123456), 0x123456u);
}

TEST(PixelDrawing, OutlineLeavesOutTheEndPoints) {
    QImage img(6, 5, QImage::Format_RGB32);
    img.fill(Qt::white);
    PixelPainter pp(img);
    pp.outline(0, 0, 6, 5, 0x000000);
    EXPECT_EQ(at(img, 5, 0), 0u);  // top line runs to the right edge
    EXPECT_EQ(at(img, 0, 4), 0u);  // left line runs to the bottom
    EXPECT_NE(at(img, 5, 4), 0u);  // right and bottom strokes fall outside
    EXPECT_NE(at(img, 3, 4), 0u);
}

TEST(PixelDrawing, GradientStripRoundsEachLineAndSkipsEmptyStrips) {
    QImage img(4, 5, QImage::Format_RGB32);
    img.fill(Qt::white);
    PixelPainter pp(img);
    pp.gradientStrip(0x000000, 0x030303, 0, 0, 3, 2);  // 0, 1.5 -> 2, 3
    EXPECT_EQ(at(img, 0, 0), 0x000000u);
    EXPECT_EQ(at(img, 2, 1), 0x020202u);
    EXPECT_EQ(at(img, 0, 2), 0x030303u);
    EXPECT_EQ(at(img, 3, 0), 0xFFFFFFu);  // x2 itself is not painted
    pp.gradientStrip(0x000000, 0x000000, 0, 3, 3, 0);
    EXPECT_EQ(at(img, 0, 3), 0xFFFFFFu);
}

TEST(IconGrey, KeptGreysAndRecomputedColours) {
    EXPECT_TRUE(isKeptGrey(0x808080));
    EXPECT_TRUE(isKeptGrey(0xA0A0A0));
    EXPECT_TRUE(isKeptGrey(0xFFFFFF));
    EXPECT_FALSE(isKeptGrey(0x909090));
    EXPECT_FALSE(isKeptGrey(0x808081));
    QImage icon(3, 1, QImage::Format_ARGB32);
    icon.setPixel(0, 0, qRgb(0x90, 0x90, 0x90));
    icon.setPixel(1, 0, qRgb(0x80, 0x80, 0x80));
    icon.setPixel(2, 0, qRgba(255, 0, 0, 128));
    const QImage g = greyedIcon(icon);
    EXPECT_EQ(g.pixel(0, 0), qRgb(0x94, 0x94, 0x94));
    EXPECT_EQ(g.pixel(1, 0), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(g.pixel(2, 0), qRgba(84, 84, 84, 128));  // 0.33 * 255 = 84.15, alpha kept
    EXPECT_FALSE(paintIconGrayscale(nullptr, icon, 0, 0, 3, 3));
    QImage dest(4, 4, QImage::Format_RGB32);
    QPainter p(&dest);
    EXPECT_FALSE(paintIconGrayscale(&p, QImage(), 0, 0, 3, 3));
    EXPECT_TRUE(paintIconGrayscale(&p, icon, 0, 0, 1, 3));
}

TEST(IconGrey, MaskedDrawingSkipsTheMaskColourAndZeroSizes) {
    QImage surface(6, 6, QImage::Format_RGB32);
    surface.fill(Qt::white);
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(0xC0, 0xC0, 0xC0));  // the mask colour
    picture.setPixel(1, 0, qRgb(200, 100, 50));
    drawMasked(surface, picture, 1, 1, 0, 2, 0xC0C0C0, std::nullopt, false);
    EXPECT_EQ(at(surface, 2, 1), 0xFFFFFFu);
    drawMasked(surface, picture, 1, 1, 2, 1, 0xC0C0C0, std::nullopt, false);
    EXPECT_EQ(at(surface, 1, 1), 0xFFFFFFu);
    EXPECT_EQ(at(surface, 2, 1), syscolour::rgb(200, 100, 50));
    drawMasked(surface, picture, 1, 2, -1, -1, 0xC0C0C0, std::nullopt, true);
    // 0.30 * 200 = 60, + 59 + 5.5 = 124.5 -> 124
    EXPECT_EQ(at(surface, 2, 2), 0x7C7C7Cu);
    drawMasked(surface, picture, 1, 3, 2, 1, 0xC0C0C0, 0x808080u, false);
    EXPECT_EQ(at(surface, 2, 3), 0x808080u);
    EXPECT_EQ(at(surface, 1, 3), 0xFFFFFFu);
}

class ButtonDrawing : public ::testing::Test {
  protected:
    Host host;
    ThemedButton* b = host.button;
    const QImage& s() { return b->Surface(); }
};

TEST_F(ButtonDrawing, Style0RaisedEdgeAndSunkenWhenPressed) {
    ASSERT_EQ(b->Style(), 0);
    EXPECT_EQ(at(s(), 0, 0), sys(22));
    EXPECT_EQ(at(s(), 99, 29), sys(21));
    EXPECT_EQ(at(s(), 99, 0), sys(21));  // the dark right line covers the corner
    EXPECT_EQ(at(s(), 1, 1), sys(20));
    EXPECT_EQ(at(s(), 98, 28), sys(16));
    EXPECT_EQ(at(s(), 50, 2), sys(syscolour::kButtonFace));
    moveTo(b, {50, 15});
    press(b, {50, 15});
    EXPECT_EQ(at(s(), 0, 0), sys(16));
    EXPECT_EQ(at(s(), 1, 1), sys(21));
    EXPECT_EQ(at(s(), 99, 29), sys(20));
    EXPECT_EQ(at(s(), 98, 28), sys(22));
}

TEST_F(ButtonDrawing, DefaultFrameShowsOnlyForADefaultButtonOrAShownFocus) {
    b->clearFocus();
    QApplication::processEvents();
    ASSERT_FALSE(b->HasFocusFlag());
    b->SetDisplayAsDefault(true);
    EXPECT_EQ(at(s(), 0, 0), 0u);
    EXPECT_EQ(at(s(), 0, 29), 0u);
    EXPECT_EQ(at(s(), 99, 0), 0u);
    EXPECT_NE(at(s(), 99, 15), 0u);  // right stroke falls outside
    QApplication::setActiveWindow(&host.window);
    b->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(b->HasFocusFlag());
    EXPECT_EQ(at(s(), 0, 0), sys(22));  // focused, ShowFocus false: no frame
    b->SetShowFocus(true);
    EXPECT_EQ(at(s(), 0, 0), 0u);
}

TEST_F(ButtonDrawing, CustomColoursFillTheFaceByState) {
    b->SetUseCustomColors(true);
    b->SetBackColor(0x0000FF);
    b->SetHighlightColor(0x00FF00);
    EXPECT_EQ(at(s(), 50, 3), 0x0000FFu);
    moveTo(b, {50, 15});
    EXPECT_EQ(at(s(), 50, 3), 0x00FF00u);
}

TEST_F(ButtonDrawing, Style6WithoutAThemeFallsBackForGood) {
    std::unique_ptr<QStyle> classic(QStyleFactory::create("Windows"));
    ASSERT_NE(classic, nullptr);
    b->setStyle(classic.get());
    b->SetCaption("");
    // Reading ends with a re-layout whose redraw is the first one in style 6.
    PropertyBag bag;
    bag.WriteProperty("Style", 6);
    bag.WriteProperty("iNonThemeStyle", 0);
    bag.WriteProperty("Caption", QString());
    b->ReadProperties(bag);
    EXPECT_EQ(b->Style(), 0);  // the property itself now holds the fallback
    EXPECT_EQ(at(s(), 0, 0), sys(syscolour::kButtonFace));  // a plain face, no edge yet
    b->Refresh();
    EXPECT_EQ(at(s(), 0, 0), sys(22));  // from now on the classic edge
    b->setStyle(nullptr);
}

TEST_F(ButtonDrawing, Style6DrawsTheApplicationStyleBevel) {
    std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
    ASSERT_NE(fusion, nullptr);
    b->setStyle(fusion.get());
    b->SetCaption("");
    b->SetStyle(6);
    EXPECT_EQ(b->Style(), 6);
    // Fusion draws a frame darker than the face around the bevel.
    int notFace = 0;
    for (int x = 0; x < 100; ++x)
        notFace += at(s(), x, 15) != sys(syscolour::kButtonFace) ? 1 : 0;
    EXPECT_GT(notFace, 1);
    const QImage normal = s().copy();
    moveTo(b, {50, 15});
    press(b, {50, 15});
    EXPECT_NE(s(), normal);  // pressed looks different
    b->SetRoundedBordersByTheme(true);
    EXPECT_TRUE(b->mask().contains(QPoint(50, 15)));
    b->setStyle(nullptr);
}

TEST_F(ButtonDrawing, IconPlacementAndPressedShift) {
    b->SetCaption("");
    b->SetIcon(solidIcon(Qt::red));
    b->SetIconAlign(1);  // left: (inset, (30 - 16) / 2) = (3, 7)
    EXPECT_EQ(at(s(), 3, 7), 0x0000FFu);
    EXPECT_EQ(at(s(), 18, 22), 0x0000FFu);
    EXPECT_NE(at(s(), 3, 6), 0x0000FFu);
    EXPECT_NE(at(s(), 19, 7), 0x0000FFu);
    moveTo(b, {50, 15});
    press(b, {50, 15});
    EXPECT_NE(at(s(), 3, 7), 0x0000FFu);
    EXPECT_EQ(at(s(), 4, 8), 0x0000FFu);
    b->SetIconAlign(2);  // right: (100 - 16 - 3, 7), pressed +1
    EXPECT_EQ(at(s(), 82, 8), 0x0000FFu);
    EXPECT_NE(at(s(), 81, 8), 0x0000FFu);
}

TEST_F(ButtonDrawing, DisabledIconIsGreyAndZeroSizedMaskedIconIsNotDrawn) {
    b->SetCaption("");
    b->SetIcon(solidIcon(Qt::red));
    b->SetIconAlign(0);  // (42, 7)
    b->SetEnabled(false);
    EXPECT_EQ(at(s(), 50, 15), 0x545454u);  // 0.33 * 255
    b->SetUseMaskColor(true);
    EXPECT_EQ(at(s(), 50, 15), 0x4C4C4Cu);  // masked grey: 0.30 * 255 = 76.5 -> 76
    b->SetIconSize(0);
    EXPECT_EQ(at(s(), 50, 15), sys(syscolour::kButtonFace));
}

TEST_F(ButtonDrawing, DisabledContainerGreysTheButtonWithoutChangingEnabled) {
    b->SetCaption("WWWW");
    b->SetIcon(solidIcon(Qt::red));
    b->SetIconAlign(0);
    b->Refresh();
    const QImage enabled = s().copy();
    b->SetEnabled(false);
    const QImage ownDisabled = s().copy();
    b->SetEnabled(true);
    ASSERT_NE(enabled, ownDisabled);

    host.window.setEnabled(false);
    b->repaint();
    EXPECT_EQ(s(), ownDisabled);
    EXPECT_TRUE(b->Enabled());  // the stored property stays the button's own

    host.window.setEnabled(true);
    b->repaint();
    EXPECT_EQ(s(), enabled);
}

TEST_F(ButtonDrawing, CaptionColourFollowsTheState) {
    b->SetCaption("WWWW");
    b->SetUseCustomColors(true);
    b->SetFontColor(0x0000FF);
    b->SetFontHighlightColor(0xFF0000);
    const auto count = [&](uint32_t colour) {
        int n = 0;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 100; ++x)
                n += at(s(), x, y) == colour ? 1 : 0;
        }
        return n;
    };
    EXPECT_GT(count(0x0000FF), 5);
    moveTo(b, {50, 15});
    EXPECT_EQ(count(0x0000FF), 0);
    EXPECT_GT(count(0xFF0000), 5);
}

TEST_F(ButtonDrawing, ReadingEnabledRedraws) {
    b->SetCaption("WWWW");
    const QImage before = s().copy();
    QFont f = b->font();
    f.setPointSize(f.pointSize() * 2);
    b->setFont(f);  // the widget's own font: no redraw of ours
    EXPECT_EQ(s(), before);
    EXPECT_TRUE(b->Enabled());
    EXPECT_NE(s(), before);
}

TEST_F(ButtonDrawing, ThemeAndSystemColourChangesRedraw) {
    b->SetCaption("WWWW");
    for (QEvent::Type type : {QEvent::StyleChange, QEvent::PaletteChange}) {
        const QImage before = s().copy();
        QFont f = b->font();
        f.setPointSize(f.pointSize() + 3);
        b->setFont(f);
        ASSERT_EQ(s(), before);
        QEvent change(type);
        QApplication::sendEvent(b, &change);
        EXPECT_NE(s(), before) << type;
    }
}
