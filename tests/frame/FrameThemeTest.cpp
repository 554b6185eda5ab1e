#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

#include "FrameTestSupport.h"
#include "FrameTheme.h"
#include "RuntimeError.h"

using syscolour::rgb;

TEST(FrameTheme, BlendMixesChannelsByAlpha) {
    PanelFrame frame;
    EXPECT_EQ(frame.dBlendColor(rgb(90, 90, 90), 0, 230), rgb(81, 81, 81));
    EXPECT_EQ(frame.dBlendColor(rgb(11, 63, 153), 0, 230), rgb(10, 57, 138));
    EXPECT_EQ(frame.dBlendColor(rgb(1, 2, 3), rgb(200, 100, 50), 255), rgb(1, 2, 3));
    EXPECT_EQ(frame.dBlendColor(rgb(1, 2, 3), rgb(200, 100, 50), 0), rgb(200, 100, 50));
    // 128 * 100 / 255 + 127 * 200 / 255 = 149.8 -> 150
    EXPECT_EQ(frame.dBlendColor(rgb(100, 0, 0), rgb(200, 0, 0), 128) & 0xFF, 150u);
    // A system colour is translated first; an untranslatable one counts as black.
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(frame.dBlendColor(0x8000000F, 0, 255), syscolour::fromQColor(face));
    EXPECT_EQ(frame.dBlendColor(0x800000FF, rgb(255, 255, 255), 255), 0u);
}

TEST(FrameTheme, BlendOutsideTheChannelRange) {
    // Above 255 is taken as 255; below 0 is an invalid call.
    EXPECT_EQ(frametheme::blendColour(rgb(255, 0, 0), 0, 300) & 0xFF, 255u);
    try {
        frametheme::blendColour(rgb(0, 0, 0), rgb(255, 0, 0), 300);
        FAIL() << "a negative channel must be refused";
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_EQ(e.number(), 5);
    }
}

TEST(FrameTheme, TableHasTwelveThemesWithTheirFooterTexts) {
    for (int32_t t = 0; t < 12; ++t) {
        const auto theme = frametheme::theme(t);
        ASSERT_TRUE(theme.has_value()) << t;
        const uint32_t footerText = t == 3 ? rgb(0, 41, 99) : rgb(215, 230, 251);
        EXPECT_EQ(theme->footerText, footerText) << t;
    }
    EXPECT_FALSE(frametheme::theme(12).has_value());
    EXPECT_FALSE(frametheme::theme(-1).has_value());
    EXPECT_EQ(frametheme::theme(1)->headerFade, rgb(81, 81, 81));
    EXPECT_EQ(frametheme::theme(10)->headerFade, rgb(10, 57, 138));
    EXPECT_EQ(frametheme::theme(10)->footerFade, rgb(10, 57, 138));
    const ThemeColours seven = *frametheme::theme(7);
    EXPECT_EQ(seven.headerBack, rgb(255, 122, 0));
    EXPECT_EQ(seven.button, rgb(246, 172, 84));
    EXPECT_EQ(seven.containerFade, rgb(224, 180, 97));
    EXPECT_EQ(seven.border, rgb(139, 0, 0));
}

TEST(FrameTheme, ThemeOverridesCustomColourProperties) {
    PanelFrame frame;
    frame.setHeaderBackColor(rgb(1, 2, 3));
    frametest::ChangeLog log(frame);
    frame.setAppearence(2);
    EXPECT_EQ(frame.HeaderBackColor(), rgb(216, 228, 248));
    EXPECT_EQ(frame.ContainerBorderColor(), rgb(192, 211, 240));
    EXPECT_EQ(log.names, (QStringList{"Appearence", "HeaderBackColor", "HeaderFadeColor",
                                      "HeaderTextColor", "CollapseButtonColor", "FooterBackColor",
                                      "FooterFadeColor", "FooterTextColor", "ContainerBackColor",
                                      "ContainerFadeColor", "ContainerBorderColor"}));
    EXPECT_EQ(frame.themeColours(), *frametheme::theme(2));
}

TEST(FrameTheme, UnknownThemeKeepsTheSetAndWritesItBack) {
    PanelFrame frame;
    frame.setAppearence(5);
    frame.setHeaderBackColor(rgb(1, 2, 3));
    frame.setAppearence(42);
    EXPECT_EQ(frame.themeColours(), *frametheme::theme(5));
    EXPECT_EQ(frame.HeaderBackColor(), rgb(219, 220, 232));
}

TEST(FrameTheme, CustomColoursBecomeTheSetWithoutNotifications) {
    PanelFrame frame;
    frame.setHeaderBackColor(rgb(1, 2, 3));
    frametest::ChangeLog log(frame);
    frame.setUseCustomColors(true);
    EXPECT_EQ(log.names, QStringList{"UseCustomColors"});
    EXPECT_EQ(frame.themeColours().headerBack, rgb(1, 2, 3));
    // Later custom changes need no theme application to count.
    frame.setAppearence(7);
    EXPECT_EQ(frame.HeaderBackColor(), rgb(1, 2, 3));
}
