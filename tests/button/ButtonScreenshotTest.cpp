#include <gtest/gtest.h>

#include <QLabel>
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

namespace {

enum class Look { Normal, Hot, Pressed, Disabled, Focused };

void putInLook(ThemedButton* b, Look look) {
    switch (look) {
        case Look::Normal:
            break;
        case Look::Hot:
            moveTo(b, {30, 15});
            break;
        case Look::Pressed:
            moveTo(b, {30, 15});
            press(b, {30, 15});
            break;
        case Look::Disabled:
            b->SetEnabled(false);
            break;
        case Look::Focused: {
            b->SetShowFocus(true);
            QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
            QApplication::sendEvent(b, &in);
            break;
        }
    }
}

}  // namespace

// Every style in every look, one row a style: normal, hot, pressed, disabled, focused.
TEST(ButtonScreenshot, EveryStyleInEveryLook) {
    std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
    ASSERT_NE(fusion, nullptr);
    constexpr int kW = 104, kH = 32, kGap = 6, kLabel = 24;
    constexpr Look kLooks[] = {Look::Normal, Look::Hot, Look::Pressed, Look::Disabled,
                               Look::Focused};
    const QColor field(0xB0, 0xB8, 0xC0);
    QWidget window;
    window.resize(kLabel + 5 * (kW + kGap) + kGap, 11 * (kH + kGap) + kGap);
    window.setAutoFillBackground(true);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, field);
    window.setPalette(pal);
    std::vector<std::vector<ThemedButton*>> grid(11);
    for (int style = 0; style <= 10; ++style) {
        auto* label = new QLabel(QString::number(style), &window);
        label->setGeometry(4, kGap + style * (kH + kGap), kLabel - 4, kH);
        for (int col = 0; col < 5; ++col) {
            auto* b = new ThemedButton(&window);
            b->setStyle(fusion.get());
            b->setGeometry(kLabel + kGap + col * (kW + kGap), kGap + style * (kH + kGap), kW, kH);
            b->InitProperties();
            b->SetStyle(style);
            b->SetCaption("Salva");
            b->SetIcon(discIcon());
            grid[style].push_back(b);
        }
    }
    window.show();
    QApplication::processEvents();
    for (auto& row : grid) {
        for (int col = 0; col < 5; ++col)
            putInLook(row[col], kLooks[col]);
    }
    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(shot.save(testOutputDir() + "/button_styles_all.png"));
    shot.scaled(shot.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(testOutputDir() + "/button_styles_all_x3.png");

    const QRgb fieldRgb = field.rgb();
    for (int style = 0; style <= 10; ++style) {
        const auto& row = grid[style];
        ASSERT_EQ(row[0]->Style(), style);
        const auto cell = [&](int col) { return shot.copy(QRect(row[col]->pos(), QSize(kW, kH))); };
        // Pressed and disabled differ from normal; so does hot, but for the two edge styles
        // whose hot look is their normal one.
        for (int col : {1, 2, 3}) {
            if (col == 1 && style <= 1)
                EXPECT_EQ(cell(col), cell(0)) << "style " << style;
            else
                EXPECT_NE(cell(col), cell(0)) << "style " << style << " look " << col;
        }
        // The shaped styles leave the window showing at the top-left corner.
        const bool shaped = style == 5 || style >= 7;
        EXPECT_EQ(cell(0).pixel(0, 0) == fieldRgb, shaped) << "style " << style;
    }
    // Styles that draw a focused or default look of their own.
    for (int style : {0, 5, 7, 9, 10})
        EXPECT_NE(shot.copy(QRect(grid[style][4]->pos(), QSize(kW, kH))),
                  shot.copy(QRect(grid[style][0]->pos(), QSize(kW, kH))))
            << "style " << style;
}
