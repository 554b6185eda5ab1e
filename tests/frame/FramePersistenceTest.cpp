#include <gtest/gtest.h>

#include <QImage>

#include "FrameTestSupport.h"
#include "PropertyBag.h"
#include "RuntimeError.h"

using syscolour::rgb;

namespace {

int errorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const tessaro::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(FramePersistence, FrameAtCreationValuesStoresTheKeysWhoseDefaultsDiffer) {
    QWidget host;
    PanelFrame frame(&host);
    PropertyBag bag;
    frame.WriteProperties(bag);
    // Theme 0's colours differ from the colour defaults; the rest sits at its defaults.
    EXPECT_EQ(bag.keys(),
              (QStringList{"HeaderText", "FooterText", "HeaderTextColor", "FooterTextColor",
                           "HeaderBackColor", "FooterBackColor", "ContainerBackColor",
                           "HeaderFadeColor", "FooterFadeColor", "ContainerFadeColor",
                           "ContainerBorderColor", "CollapseButtonColor", "HeaderPicture",
                           "ContainerPicture", "ClassicXPStyle", "ZOrderOnFocus", "HoverTime"}));
    EXPECT_FALSE(bag.ReadProperty("ClassicXPStyle").toBool());
    EXPECT_FALSE(bag.ReadProperty("ZOrderOnFocus").toBool());
    EXPECT_EQ(bag.ReadProperty("HoverTime").toInt(), 0);
    EXPECT_EQ(bag.ReadProperty("FooterText").toString(), "");

    PanelFrame back(&host);
    back.ReadProperties(bag);
    EXPECT_FALSE(back.ClassicXPStyle());
    EXPECT_FALSE(back.ZOrderOnFocus());
    EXPECT_EQ(back.HoverTime(), 0);
    EXPECT_EQ(back.HeaderText(), frame.HeaderText());
}

TEST(FramePersistence, MissingKeysReadAsTheirReadingDefaults) {
    QWidget host;
    PanelFrame frame(&host);
    frame.ReadProperties(PropertyBag());
    EXPECT_TRUE(frame.ClassicXPStyle());
    EXPECT_TRUE(frame.ZOrderOnFocus());
    EXPECT_EQ(frame.HoverTime(), 400);
    EXPECT_EQ(frame.HeaderText(), "Header");
    EXPECT_EQ(frame.FooterText(), "Footer");
    EXPECT_EQ(frame.HeaderTextFont(), host.font());
    EXPECT_TRUE(frame.HeaderPicture().isNull());
    // Loading computes the text flags from the stored alignments.
    EXPECT_EQ(frame.headerTextFlags(), 0x20);
    EXPECT_EQ(frame.footerTextFlags(), 0x20);
}

TEST(FramePersistence, FooterTextIsAlwaysStoredAndKeysUseTheirOwnSpelling) {
    QWidget host;
    PanelFrame frame(&host);
    frame.setFooterText("Footer");
    frame.setHeaderText("Header");
    frame.setContainerMoveable(true);
    QFont footerFont("DejaVu Serif");
    footerFont.setPointSize(17);
    frame.setFooterTextFont(footerFont);
    PropertyBag bag;
    frame.WriteProperties(bag);
    EXPECT_EQ(bag.ReadProperty("FooterText").toString(), "Footer");
    EXPECT_FALSE(bag.contains("HeaderText"));
    EXPECT_TRUE(bag.keys().contains("ContainerMovable"));
    EXPECT_FALSE(bag.keys().contains("ContainerMoveable"));
    EXPECT_TRUE(bag.keys().contains("footerTextFont"));
    EXPECT_FALSE(bag.keys().contains("HeaderTextFont"));
}

TEST(FramePersistence, CustomisedFrameSurvivesAJsonRoundTrip) {
    QWidget host;
    PanelFrame frame(&host);
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    QFont font("DejaVu Sans Mono");
    font.setPointSize(11);
    font.setItalic(true);
    frame.setUseCustomColors(true);
    frame.setHeaderBackColor(rgb(1, 2, 3));
    frame.setContainerBackColor(0x80000005);
    frame.setHeaderText("Qualità & più");
    frame.setFooterText("piè");
    frame.setHeaderTextFont(font);
    frame.setHeaderPicture(picture);
    frame.setHeaderSize(2);
    frame.setFooterTextAlign(7);
    frame.setContainerBorderStyle(3);
    frame.setContainerShapeStyle(1);
    frame.setContainerPictureBufferLeft(-5);
    frame.setExpandable(true);
    frame.setCloseable(true);
    frame.setContainerResizable(true);
    frame.setAutoResizeControls(true);
    frame.setEnabled(false);
    frame.setHoverTime(1500);

    PropertyBag bag;
    frame.WriteProperties(bag);
    PropertyBag stored;
    ASSERT_TRUE(stored.fromJson(bag.toJson()));
    PanelFrame back(&host);
    back.ReadProperties(stored);

    EXPECT_TRUE(back.UseCustomColors());
    EXPECT_EQ(back.HeaderBackColor(), rgb(1, 2, 3));
    EXPECT_EQ(back.ContainerBackColor(), 0x80000005u);
    EXPECT_EQ(back.themeColours().headerBack, rgb(1, 2, 3));
    EXPECT_EQ(back.HeaderText(), "Qualità & più");
    EXPECT_EQ(back.FooterText(), "piè");
    EXPECT_EQ(back.HeaderTextFont(), font);
    EXPECT_EQ(back.HeaderPicture().convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_TRUE(back.ContainerPicture().isNull());
    EXPECT_EQ(back.HeaderSize(), 2);
    EXPECT_EQ(back.FooterTextAlign(), 7);
    EXPECT_EQ(back.footerTextFlags(), 0x25);
    EXPECT_EQ(back.ContainerBorderStyle(), 3);
    EXPECT_EQ(back.ContainerShapeStyle(), 1);
    EXPECT_EQ(back.ContainerPictureBufferLeft(), -5);
    EXPECT_TRUE(back.Expandable());
    EXPECT_TRUE(back.Closeable());
    EXPECT_TRUE(back.ContainerResizable());
    EXPECT_TRUE(back.AutoResizeControls());
    EXPECT_FALSE(back.Enabled());
    EXPECT_EQ(back.HoverTime(), 1500);
    EXPECT_FALSE(back.ClassicXPStyle());
}

TEST(FramePersistence, LoadingWithoutCustomColoursAppliesTheTheme) {
    PropertyBag bag;
    bag.WriteProperty("HeaderBackColor", qlonglong{0x123456});
    bag.WriteProperty("Appearence", 4);
    PanelFrame frame;
    frame.ReadProperties(bag);
    EXPECT_EQ(frame.HeaderBackColor(), rgb(228, 235, 200));
}

TEST(FramePersistence, SignedColourValuesNameTheSameColour) {
    PropertyBag bag;
    bag.WriteProperty("UseCustomColors", true);
    bag.WriteProperty("ContainerBackColor", qlonglong{-2147483633});  // 0x8000000F as a long
    bag.WriteProperty("HeaderBackColor", QString("255"));
    PanelFrame frame;
    frame.ReadProperties(bag);
    EXPECT_EQ(frame.ContainerBackColor(), 0x8000000Fu);
    EXPECT_EQ(frame.HeaderBackColor(), 255u);
}

TEST(FramePersistence, StoredAlignmentOutsideTheTableKeepsTheFlags) {
    PropertyBag bag;
    bag.WriteProperty("HeaderTextAlign", 9);
    bag.WriteProperty("FooterTextAlign", 5);
    PanelFrame frame;
    frame.ReadProperties(bag);
    EXPECT_EQ(frame.HeaderTextAlign(), 9);
    EXPECT_EQ(frame.headerTextFlags(), 0);
    EXPECT_EQ(frame.footerTextFlags(), 0x2A);
}

TEST(FramePersistence, UnconvertibleValueFailsTheLoadAndChangesNothing) {
    PanelFrame frame;
    frame.setHeaderText("prima");
    PropertyBag wrongType;
    wrongType.WriteProperty("HeaderText", QString("dopo"));
    wrongType.WriteProperty("HeaderSize", QString("grande"));
    EXPECT_EQ(errorNumberOf([&] { frame.ReadProperties(wrongType); }), 13);
    EXPECT_EQ(frame.HeaderText(), "prima");
    EXPECT_EQ(frame.HeaderSize(), 1);

    PropertyBag tooLarge;
    tooLarge.WriteProperty("FooterSize", 40000);
    EXPECT_EQ(errorNumberOf([&] { frame.ReadProperties(tooLarge); }), 6);

    PropertyBag notAPicture;
    notAPicture.WriteProperty("HeaderPicture", QString("logo.bmp"));
    EXPECT_EQ(errorNumberOf([&] { frame.ReadProperties(notAPicture); }), 13);

    PropertyBag notAFont;
    notAFont.WriteProperty("footerTextFont", 12);
    EXPECT_EQ(errorNumberOf([&] { frame.ReadProperties(notAFont); }), 13);
}
