#include <gtest/gtest.h>

#include "ButtonTestSupport.h"
#include "WindowRegion.h"

using namespace buttontest;
using namespace tessaro::button;

namespace {

constexpr uint32_t kRed = 0x0000FF;

QImage solidIcon(QColor c, int size = 16) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(c);
    return icon;
}

// A 100 x 30 button with no caption, in the style under test.
class ButtonStyles : public ::testing::Test {
  protected:
    ButtonStyles() {
        b->clearFocus();
        QApplication::processEvents();
    }
    void use(int style) {
        b->SetCaption("");
        b->SetStyle(style);
    }
    void hot() { moveTo(b, {50, 15}); }
    void pressed() {
        moveTo(b, {50, 15});
        press(b, {50, 15});
    }
    void focused() {
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(b, &in);
    }
    uint32_t px(int x, int y) { return at(b->Surface(), x, y); }

    Host host;
    ThemedButton* b = host.button;
    const uint32_t face = sys(syscolour::kButtonFace);
};

}  // namespace

TEST_F(ButtonStyles, ThinEdgeRaisedInnerSunkenOuterAndFlatWhenDisabled) {
    use(1);
    EXPECT_EQ(px(0, 0), sys(20));
    EXPECT_EQ(px(99, 29), sys(16));
    EXPECT_EQ(px(1, 1), face);
    hot();
    EXPECT_EQ(px(0, 0), sys(20));  // hot looks like normal
    press(b, {50, 15});
    EXPECT_EQ(px(0, 0), sys(16));
    EXPECT_EQ(px(99, 29), sys(20));
    b->SetUseCustomColors(true);
    b->SetBackColor(0x123456);
    b->SetEnabled(false);  // state 4 keeps BackColor, outline in it
    EXPECT_EQ(px(0, 0), 0x123456u);
    EXPECT_EQ(px(99, 29), 0x123456u);
    EXPECT_EQ(px(50, 15), 0x123456u);
}

TEST_F(ButtonStyles, FlatShowsAnEdgeOnlyWhenHotOrPressed) {
    use(2);
    EXPECT_EQ(px(0, 0), face);
    EXPECT_EQ(px(99, 29), face);
    hot();
    EXPECT_EQ(px(0, 0), sys(20));
    EXPECT_EQ(px(99, 29), sys(16));
    press(b, {50, 15});
    EXPECT_EQ(px(0, 0), sys(16));
    EXPECT_EQ(px(99, 29), sys(20));
}

TEST_F(ButtonStyles, EtchedFrameCornersAndFaceByState) {
    use(3);
    const uint32_t dark = sys(syscolour::kButtonShadow);
    const uint32_t light = sys(syscolour::kWindow);
    const uint32_t mid = blend(light, dark);
    EXPECT_EQ(px(0, 0), dark);
    EXPECT_EQ(px(97, 0), dark);
    EXPECT_EQ(px(98, 0), dark);  // the right stroke of the dark outline starts here
    EXPECT_EQ(px(99, 0), face);  // set back to the face
    EXPECT_EQ(px(0, 28), dark);
    EXPECT_EQ(px(0, 29), face);
    EXPECT_EQ(px(99, 1), light);
    EXPECT_EQ(px(1, 29), light);
    EXPECT_EQ(px(99, 29), light);
    EXPECT_EQ(px(1, 28), mid);
    EXPECT_EQ(px(98, 1), mid);
    EXPECT_EQ(px(50, 15), face);
    hot();
    EXPECT_EQ(px(50, 15), blend(dark, face));
    EXPECT_EQ(px(99, 0), blend(dark, face));
    press(b, {50, 15});
    EXPECT_EQ(px(50, 15), dark);
    b->SetUseCustomColors(true);
    b->SetBackColor(0x102030);
    b->SetHighlightColor(0x305070);
    EXPECT_EQ(px(50, 15), 0x305070u);
    leave(b);
    EXPECT_EQ(px(50, 15), 0x102030u);
}

TEST_F(ButtonStyles, HighlightBoxFillsAndOutlinesWhenHotOrPressed) {
    use(4);
    const uint32_t h = sys(syscolour::kHighlight);
    EXPECT_EQ(px(0, 0), lighten(face, 32));
    EXPECT_EQ(px(99, 29), lighten(face, 32));
    hot();
    EXPECT_EQ(px(0, 0), h);
    EXPECT_EQ(px(99, 0), h);
    EXPECT_EQ(px(0, 29), h);
    EXPECT_EQ(px(99, 29), h);                // the bottom stroke starts at the right edge
    EXPECT_EQ(px(99, 15), lighten(h, 176));  // the right stroke falls outside
    EXPECT_EQ(px(50, 15), lighten(h, 176));
    press(b, {50, 15});
    EXPECT_EQ(px(50, 15), lighten(h, 128));
}

TEST_F(ButtonStyles, HighlightBoxHotIconCastsAShadow) {
    use(4);
    b->SetIcon(solidIcon(Qt::red));
    b->SetIconAlign(1);  // (3, 7)
    hot();
    // Shadow: the square 3..19 x 7..23 where it differs from pixel (1, 1); the icon is then
    // drawn two pixels up and left, at (1, 5).
    EXPECT_EQ(px(1, 5), kRed);
    EXPECT_EQ(px(16, 20), kRed);
    EXPECT_EQ(px(18, 22), 0x808080u);
    EXPECT_EQ(px(19, 23), lighten(sys(syscolour::kHighlight), 176));
    // Masked: a silhouette at (4, 8), the icon at (2, 6) and again at (1, 5).
    b->SetUseMaskColor(true);
    b->SetMaskColor(0xC0C0C0);
    EXPECT_EQ(px(19, 23), 0x808080u);
    EXPECT_EQ(px(17, 21), kRed);
    EXPECT_EQ(px(1, 5), kRed);
    EXPECT_EQ(px(20, 24), lighten(sys(syscolour::kHighlight), 176));
}

TEST_F(ButtonStyles, ShadedBuiltInBorderAndFace) {
    use(5);
    EXPECT_EQ(px(50, 0), 0x743C00u);
    EXPECT_EQ(px(0, 15), 0x743C00u);
    EXPECT_EQ(px(99, 15), 0x743C00u);
    EXPECT_EQ(px(50, 29), 0x743C00u);
    EXPECT_EQ(px(1, 1), 0x906E48u);
    EXPECT_EQ(px(98, 28), 0x906E48u);
    EXPECT_EQ(px(1, 0), 0xA28B6Au);
    EXPECT_EQ(px(99, 28), 0xA28B6Au);
    EXPECT_EQ(px(2, 1), 0xCAC7BFu);
    EXPECT_EQ(px(97, 28), 0xCAC7BFu);
    EXPECT_EQ(px(50, 1), 0xFBFCFCu);  // first row of the top strip
    EXPECT_EQ(px(50, 3), 0xF6F6F6u);  // 251 - 11 / 2 = 245.5 -> 246
    EXPECT_EQ(px(50, 4), 0xF9FAFAu);  // the middle strip starts over it
    EXPECT_EQ(px(50, 26), 0xE6EBEBu);
    EXPECT_EQ(px(97, 3), 0xFAFBFBu);  // the inner right strip
    EXPECT_EQ(px(98, 3), 0xF2F4F5u);  // the outer right strip
    EXPECT_EQ(px(96, 4), 0xF9FAFAu);  // the middle strip stops before W - 2
    EXPECT_EQ(px(99, 0), face);       // outside the border: the background
}

TEST_F(ButtonStyles, ShadedBuiltInHotFocusedPressedAndDisabled) {
    use(5);
    focused();
    EXPECT_EQ(px(50, 1), 0xFFE7CEu);
    EXPECT_EQ(px(50, 2), 0xF6D4BCu);
    EXPECT_EQ(px(50, 27), 0xE4AD89u);
    EXPECT_EQ(px(50, 28), 0xEE8269u);
    EXPECT_EQ(px(97, 1), 0xFFE7CEu);
    EXPECT_EQ(px(98, 1), 0x906E48u);  // the line leaves out W - 2
    EXPECT_EQ(px(1, 2), 0xF6D4BCu);
    EXPECT_EQ(px(2, 27), 0xE4AD89u);  // last row of the side strip
    hot();
    EXPECT_EQ(px(50, 1), 0xCFF0FFu);
    EXPECT_EQ(px(50, 2), 0x89D8FDu);
    EXPECT_EQ(px(50, 27), 0x30B3F8u);
    EXPECT_EQ(px(50, 28), 0x1097E5u);
    EXPECT_EQ(px(97, 2), 0x89D8FDu);
    EXPECT_EQ(px(98, 27), 0x30B3F8u);
    press(b, {50, 15});
    EXPECT_EQ(px(50, 1), 0xC1CCD1u);
    // 193 + 27 / 2 = 206.5 -> 206, 204 + 23 / 2 = 215.5 -> 216, 209 + 19 / 2 = 218.5 -> 218
    EXPECT_EQ(px(50, 3), 0xCED8DAu);
    EXPECT_EQ(px(1, 3), 0xCED8DAu);
    EXPECT_EQ(px(1, 2), 0xCAC7BFu);
    EXPECT_EQ(px(50, 28), 0xE8ECEDu);  // the strip's last row is under the border
    leave(b);
    b->SetEnabled(false);
    EXPECT_EQ(px(50, 15), 0xEAF4F5u);
    EXPECT_EQ(px(50, 0), 0xBAC7C9u);
    EXPECT_EQ(px(99, 29), 0xBAC7C9u);
    EXPECT_EQ(px(1, 1), 0xC7D5D8u);
    EXPECT_EQ(px(98, 28), 0xC7D5D8u);
}

TEST_F(ButtonStyles, ShadedCustomColoursShadeTheSameLayout) {
    use(5);
    b->SetUseCustomColors(true);
    b->SetBackColor(0x80C0F0);
    b->SetHighlightColor(0x2060A0);
    EXPECT_EQ(px(50, 0), shift(0x80C0F0, -128));
    EXPECT_EQ(px(1, 1), shift(0x80C0F0, -96));
    EXPECT_EQ(px(50, 1), shift(0x80C0F0, 12));
    EXPECT_EQ(px(99, 0), 0x80C0F0u);
    hot();
    EXPECT_EQ(px(50, 1), shift(0x2060A0, 69));
    EXPECT_EQ(px(50, 28), shift(0x2060A0, -48));
}

TEST_F(ButtonStyles, FaceShadedBorderTakesTheHighlightWhenHot) {
    use(7);
    EXPECT_EQ(px(50, 0), shift(face, -96));
    EXPECT_EQ(px(0, 15), shift(face, -96));
    EXPECT_EQ(px(50, 1), shift(face, 21));
    EXPECT_EQ(px(50, 28), shift(face, -21));
    EXPECT_EQ(px(50, 20), shift(face, -5));
    focused();
    EXPECT_EQ(px(50, 1), sys(syscolour::kHighlight));
    EXPECT_EQ(px(98, 28), sys(syscolour::kHighlight));
    hot();
    EXPECT_EQ(px(50, 0), sys(syscolour::kHighlight));
    EXPECT_EQ(px(99, 28), sys(syscolour::kHighlight));
    press(b, {50, 15});
    EXPECT_EQ(px(50, 5), shift(face, -21));
}

TEST_F(ButtonStyles, GradientFaceRunsTopToBottomAndTurnsWhenPressed) {
    use(8);
    // The strip's first row shows right of the top inner line, its last left of the bottom
    // corner.
    EXPECT_EQ(px(96, 1), shift(face, 15));
    EXPECT_EQ(px(97, 28), shift(face, -15));
    EXPECT_EQ(px(50, 1), shift(face, 96));
    EXPECT_EQ(px(50, 0), shift(face, -48));
    EXPECT_EQ(px(2, 0), shift(face, -48));
    EXPECT_EQ(px(1, 1), shift(face, -48));
    EXPECT_EQ(px(99, 3), shift(face, -48));
    EXPECT_EQ(px(3, 29), shift(face, -48));
    EXPECT_EQ(px(50, 28), shift(shift(face, -48), 21));
    pressed();
    const uint32_t f = shift(face, 15);
    EXPECT_EQ(px(96, 1), shift(f, -15));
    EXPECT_EQ(px(97, 28), shift(f, 15));
    leave(b);
    focused();
    EXPECT_EQ(px(50, 0), shift(face, -96));
}

TEST_F(ButtonStyles, BevelBorderAndFocusRing) {
    use(9);
    EXPECT_EQ(px(50, 0), shift(face, -128));
    EXPECT_EQ(px(50, 1), shift(face, 128));
    EXPECT_EQ(px(96, 1), shift(face, 32));  // first row of the face strip
    focused();
    EXPECT_EQ(px(3, 3), shift(face, -53));
    EXPECT_EQ(px(96, 26), shift(face, -53));
    b->SetEnabled(false);
    EXPECT_EQ(px(50, 0), shift(face, -53));
}

TEST_F(ButtonStyles, ArtworkFollowsTheRoundedShapeAndTheLook) {
    use(10);
    EXPECT_EQ(px(6, 0), 0x9C9C9Cu);
    EXPECT_EQ(px(93, 0), 0x9C9C9Cu);
    EXPECT_EQ(px(0, 6), 0x9C9C9Cu);
    EXPECT_EQ(px(50, 1), 0xFEFEFEu);
    EXPECT_EQ(px(50, 5), 0xF5F5F5u);
    EXPECT_EQ(px(50, 20), 0xECECECu);
    hot();
    EXPECT_EQ(px(6, 0), 0xE2A66Au);
    EXPECT_EQ(px(50, 1), 0xE6AC76u);
    press(b, {50, 15});
    EXPECT_EQ(px(6, 0), 0xCC9B6Au);
    EXPECT_EQ(px(50, 1), 0xD0A175u);
    leave(b);
    focused();
    EXPECT_EQ(px(6, 0), 0xE2A66Au);
}

TEST_F(ButtonStyles, EachStyleSetsItsInset) {
    b->SetCaption("");
    b->SetIcon(solidIcon(Qt::red));
    b->SetIconAlign(1);
    const int insets[] = {3, 3, 3, 3, 3, 3, -1, 4, 4, 6, 7};
    for (int style = 0; style <= 10; ++style) {
        if (insets[style] < 0)
            continue;
        b->SetStyle(style);
        EXPECT_EQ(b->Inset(), insets[style]) << style;
        EXPECT_EQ(px(insets[style], 15), kRed) << style;
        EXPECT_NE(px(insets[style] - 1, 15), kRed) << style;
    }
}

TEST(ButtonRegions, OctagonsAndRoundedCornersFilledEvenOdd) {
    const QRegion a = octagonRegionA(100, 30);
    EXPECT_FALSE(a.contains(QPoint(0, 0)));
    EXPECT_TRUE(a.contains(QPoint(1, 0)));
    EXPECT_TRUE(a.contains(QPoint(98, 0)));
    EXPECT_FALSE(a.contains(QPoint(99, 0)));
    EXPECT_TRUE(a.contains(QPoint(0, 1)));
    EXPECT_TRUE(a.contains(QPoint(99, 28)));
    EXPECT_FALSE(a.contains(QPoint(0, 29)));
    EXPECT_FALSE(a.contains(QPoint(99, 29)));
    EXPECT_FALSE(a.contains(QPoint(100, 15)));

    const QRegion b = octagonRegionB(100, 30);
    EXPECT_FALSE(b.contains(QPoint(1, 0)));
    EXPECT_TRUE(b.contains(QPoint(2, 0)));
    EXPECT_TRUE(b.contains(QPoint(96, 0)));
    EXPECT_FALSE(b.contains(QPoint(97, 0)));
    EXPECT_FALSE(b.contains(QPoint(99, 2)));
    EXPECT_TRUE(b.contains(QPoint(99, 3)));
    EXPECT_TRUE(b.contains(QPoint(99, 27)));
    EXPECT_FALSE(b.contains(QPoint(98, 29)));
    EXPECT_TRUE(b.contains(QPoint(97, 29)));
    EXPECT_FALSE(b.contains(QPoint(2, 29)));
    EXPECT_TRUE(b.contains(QPoint(3, 29)));
    EXPECT_FALSE(b.contains(QPoint(0, 27)));
    EXPECT_TRUE(b.contains(QPoint(0, 26)));

    const QRegion r = roundedRegion(100, 30);
    EXPECT_EQ(r.boundingRect(), QRect(0, 0, 100, 30));
    EXPECT_FALSE(r.contains(QPoint(5, 0)));
    EXPECT_TRUE(r.contains(QPoint(6, 0)));
    EXPECT_TRUE(r.contains(QPoint(93, 0)));
    EXPECT_FALSE(r.contains(QPoint(94, 0)));
    EXPECT_FALSE(r.contains(QPoint(0, 5)));
    EXPECT_TRUE(r.contains(QPoint(0, 6)));
    EXPECT_FALSE(r.contains(QPoint(0, 24)));
    EXPECT_TRUE(r.contains(QPoint(0, 23)));
    EXPECT_FALSE(r.contains(QPoint(99, 24)));
    EXPECT_TRUE(r.contains(QPoint(9, 9)));
}

TEST(ButtonRegions, TheButtonTakesItsStylesShape) {
    Host host;
    ThemedButton* b = host.button;
    const std::pair<int, QRegion> shapes[] = {
        {5, octagonRegionA(100, 30)}, {7, octagonRegionA(100, 30)}, {8, octagonRegionB(100, 30)},
        {9, octagonRegionB(100, 30)}, {10, roundedRegion(100, 30)}, {3, QRegion(0, 0, 100, 30)}};
    for (const auto& [style, shape] : shapes) {
        b->SetStyle(style);
        EXPECT_EQ(b->mask(), shape) << style;
    }
}
