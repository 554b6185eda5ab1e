#include <gtest/gtest.h>

#include <QPainter>
#include <QStyle>
#include <QStyleFactory>

#include "ButtonTestSupport.h"
#include "TestPaths.h"

using namespace buttontest;

namespace {

// A 16 x 16 icon: a green disc with a dark centre on a transparent field.
QImage discIcon() {
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 160, 0));
    p.drawEllipse(0, 0, 16, 16);
    p.setBrush(QColor(0, 60, 0));
    p.drawRect(6, 6, 4, 4);
    return icon;
}

}  // namespace

TEST(ButtonScreenshot, Style6AndStyle0WithIconAndCaption) {
    std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
    ASSERT_NE(fusion, nullptr);
    QWidget window;
    window.resize(250, 50);
    window.setAutoFillBackground(true);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, Qt::white);
    window.setPalette(pal);

    auto* themed = new ThemedButton(&window);
    themed->setStyle(fusion.get());
    themed->setGeometry(5, 5, 115, 40);
    themed->InitProperties();
    themed->SetStyle(6);
    themed->SetCaption("Salva");
    themed->SetIcon(discIcon());

    auto* classic = new ThemedButton(&window);
    classic->setGeometry(130, 5, 115, 40);
    classic->InitProperties();
    classic->SetCaption("Annulla");
    classic->SetIcon(discIcon());

    window.show();
    QApplication::processEvents();
    ASSERT_EQ(themed->Style(), 6);
    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(shot.save(testOutputDir() + "/button_styles.png"));
    // Four times larger, pixel for pixel, for looking at the edges.
    shot.scaled(shot.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(testOutputDir() + "/button_styles_x4.png");
    ASSERT_EQ(shot.size(), QSize(250, 50));

    // Icons sit left at (inset 3, (40 - 16) / 2 = 12): the dark centre at +6..+9.
    EXPECT_EQ(at(shot, 5 + 3 + 7, 5 + 12 + 7), syscolour::rgb(0, 60, 0));
    EXPECT_EQ(at(shot, 130 + 3 + 7, 5 + 12 + 7), syscolour::rgb(0, 60, 0));
    EXPECT_EQ(at(shot, 130 + 3 + 8, 5 + 12 + 2), syscolour::rgb(0, 160, 0));
    // The classic edge: light at the top-left, darkest at the bottom-right.
    EXPECT_EQ(at(shot, 130, 5), sys(22));
    EXPECT_EQ(at(shot, 130 + 114, 5 + 39), sys(21));
    // Outside the buttons the window stays white.
    EXPECT_EQ(at(shot, 2, 2), 0xFFFFFFu);
    EXPECT_EQ(at(shot, 125, 25), 0xFFFFFFu);
    // Each caption leaves dark text pixels inside its rectangle, none left of it.
    const auto darkPixels = [&](const ThemedButton* b, QRect r) {
        int n = 0;
        const QRect area = r.translated(b->pos());
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                n += qGray(shot.pixel(x, y)) < 100 ? 1 : 0;
            }
        }
        return n;
    };
    EXPECT_GT(darkPixels(themed, themed->CaptionRect().toQRect()), 10);
    EXPECT_GT(darkPixels(classic, classic->CaptionRect().toQRect()), 10);
    // Between the icon and the caption nothing is drawn.
    const int gapRight = classic->CaptionRect().left - 1;
    ASSERT_GT(gapRight, 22);
    EXPECT_EQ(darkPixels(classic, QRect(QPoint(21, 3), QPoint(gapRight, 36))), 0);
}
