#include <gtest/gtest.h>

#include <QFontMetrics>

#include "ButtonTestSupport.h"
#include "CaptionLayout.h"
#include "RuntimeError.h"

using namespace tessaro::button;

namespace {

// 101 x 30 pixels, a caption of 36 x 15 pixels measured from (4, 4): every halving below
// lands on .5, so each coordinate shows its half-to-even rounding.
const Rect32 kMeasured{4, 4, 40, 19};

CaptionPlacement place(int32_t align, bool rtl = false) {
    return placeCaption(101, 30, kMeasured, align, 3, 0x7777, rtl);
}

}  // namespace

TEST(CaptionPlacement, EachAlignmentWithHalvesToEven) {
    EXPECT_EQ(place(0).rect, (Rect32{28, 6, 68, 22}));  // 28.5, 6.5, 68.5, 22.5
    EXPECT_EQ(place(0).flags, 21);
    EXPECT_EQ(place(1).rect, (Rect32{3, 6, 43, 22}));
    EXPECT_EQ(place(1).flags, 20);
    EXPECT_EQ(place(2).rect, (Rect32{54, 6, 94, 22}));
    EXPECT_EQ(place(2).flags, 22);
    // Top: i/2 = 1.5 -> 2, i/2 + 15 = 16.5 -> 16, each rounded as a whole.
    EXPECT_EQ(place(3).rect, (Rect32{28, 2, 68, 16}));
    EXPECT_EQ(place(3).flags, 17);
    // Bottom: 30 - 15 - 1.5 = 13.5 -> 14, 30 - 1.5 = 28.5 -> 28.
    EXPECT_EQ(place(4).rect, (Rect32{28, 14, 68, 28}));
    EXPECT_EQ(place(4).flags, 25);
}

TEST(CaptionPlacement, UnknownAlignmentKeepsThePreviousFlags) {
    EXPECT_EQ(place(7).rect, (Rect32{4, 4, 97, 26}));
    EXPECT_EQ(place(7).flags, 0x7777);
    EXPECT_EQ(place(-1).flags, 0x7777);
}

TEST(CaptionPlacement, RightToLeftAddsTheReadingFlag) {
    EXPECT_EQ(place(1, true).flags, 20 | DT_RTLREADING);
    EXPECT_EQ(place(1, true).rect, place(1).rect);
}

TEST(CaptionPlacement, ArithmeticBeyond32BitsRaisesOverflow) {
    try {
        placeCaption(2147483647, 30, Rect32{4, 4, 2147483647, 19}, 0, 3, 17, false);
        FAIL() << "no overflow raised";
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
}

TEST(ButtonLayout, SmallButtonGrowsTo20Pixels) {
    buttontest::Host host;
    host.button->setGeometry(10, 10, 60, 10);
    QApplication::processEvents();
    EXPECT_EQ(host.button->height(), 20);
    EXPECT_EQ(host.button->width(), 60);
    host.button->resize(5, 40);
    EXPECT_EQ(host.button->width(), 20);
    EXPECT_EQ(host.button->height(), 40);
}

TEST(ButtonLayout, CaptionRectangleFollowsCaptionAlign) {
    buttontest::Host host;
    ThemedButton* b = host.button;
    b->SetCaption("OK");
    const QFontMetrics fm(b->Font());
    const QRect text = fm.boundingRect(QRect(4, 4, 92, 22), Qt::TextWordWrap, "OK");
    const int tw = text.width();
    const int th = text.height();
    const int R = 4 + tw;
    const int B = 4 + th;
    const auto even = [](double v) { return static_cast<int>(std::nearbyint(v)); };

    b->SetCaptionAlign(0);
    EXPECT_EQ(b->CaptionRect(), (Rect32{even((100 - R - 4) / 2.0), even((30 - B - 4) / 2.0 + 3),
                                        even((100 + R - 4) / 2.0), even((30 + B - 4) / 2.0)}));
    EXPECT_EQ(b->CaptionFlags(), 21);
    b->SetCaptionAlign(1);
    EXPECT_EQ(b->CaptionRect().left, 3);
    EXPECT_EQ(b->CaptionRect().right, R + 3);
    EXPECT_EQ(b->CaptionFlags(), 20);
    b->SetCaptionAlign(2);
    EXPECT_EQ(b->CaptionRect().left, 100 - R - 4 - 3);
    EXPECT_EQ(b->CaptionRect().right, 100 - 4 - 3);
    b->SetCaptionAlign(3);
    EXPECT_EQ(b->CaptionRect().top, 2);
    EXPECT_EQ(b->CaptionRect().bottom, even(1.5 + th));
    EXPECT_EQ(b->CaptionFlags(), 17);
    b->SetCaptionAlign(4);
    EXPECT_EQ(b->CaptionRect().top, even(30 - th - 1.5));
    EXPECT_EQ(b->CaptionRect().bottom, 28);
    EXPECT_EQ(b->CaptionFlags(), 25);
    b->SetRightToLeft(true);
    b->resize(101, 30);
    EXPECT_EQ(b->CaptionFlags(), 25 | DT_RTLREADING);
}

TEST(ButtonLayout, LineBreaksInTheCaptionMakeItTaller) {
    buttontest::Host host;
    ThemedButton* b = host.button;
    b->resize(120, 50);
    b->SetCaption("Nome File");
    const int oneLine = b->CaptionRect().bottom - b->CaptionRect().top;
    b->SetCaption("Nome File\r\ncon ris. imm.");
    const int twoLines = b->CaptionRect().bottom - b->CaptionRect().top;
    EXPECT_GE(twoLines, 2 * oneLine - 4);
}

TEST(ButtonLayout, ACaptionLongEnoughToReachASideIconWrapsClearOfIt) {
    buttontest::Host host;
    ThemedButton* b = host.button;
    b->resize(150, 42);
    QImage mark(16, 16, QImage::Format_ARGB32);
    mark.fill(Qt::green);
    b->SetIcon(mark);
    b->SetIconSize(16);
    b->SetCaption("Rispetta le proporzioni");
    const int line = QFontMetrics(b->Font()).height();
    const struct {
        int32_t iconAlign;
        int32_t captionAlign;
    } cases[] = {{1, 2}, {1, 0}, {2, 1}, {2, 0}};
    for (const auto& c : cases) {
        b->SetIconAlign(c.iconAlign);
        b->SetCaptionAlign(c.captionAlign);
        const int i = b->Inset();
        const QRect icon = c.iconAlign == 1 ? QRect(i, 0, 16, 42) : QRect(150 - 16 - i, 0, 16, 42);
        EXPECT_FALSE(b->CaptionRect().toQRect().intersects(icon))
            << c.iconAlign << "/" << c.captionAlign;
        EXPECT_GT(b->CaptionRect().bottom - b->CaptionRect().top, line * 3 / 2) << "two lines";
    }
    // Without the icon the caption keeps the whole width.
    b->SetIconSize(0);
    b->SetCaptionAlign(2);
    EXPECT_LT(b->CaptionRect().bottom - b->CaptionRect().top, line * 3 / 2);
}

TEST(ButtonLayout, WindowRegionFollowsTheStyle) {
    buttontest::Host host;
    ThemedButton* b = host.button;
    EXPECT_EQ(b->mask(), QRegion(0, 0, 100, 30));
    b->SetStyle(5);  // octagon: the corners are cut off
    EXPECT_FALSE(b->mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(b->mask().contains(QPoint(99, 29)));
    EXPECT_TRUE(b->mask().contains(QPoint(50, 15)));
    b->SetStyle(0);
    EXPECT_TRUE(b->mask().contains(QPoint(0, 0)));
}
