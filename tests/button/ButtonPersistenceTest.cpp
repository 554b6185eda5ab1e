#include <gtest/gtest.h>

#include <QSignalSpy>

#include "ButtonTestSupport.h"
#include "PropertyBag.h"

using buttontest::sys;

namespace {

std::unique_ptr<ThemedButton> newButton() {
    auto b = std::make_unique<ThemedButton>();
    b->setObjectName("ThemedButton7");
    b->InitProperties();
    return b;
}

std::unique_ptr<ThemedButton> readButton(const PropertyBag& bag) {
    auto b = std::make_unique<ThemedButton>();
    b->ReadProperties(bag);
    return b;
}

}  // namespace

TEST(ButtonPersistence, NewControlStartsFromTheCreationValues) {
    auto b = newButton();
    EXPECT_EQ(b->Style(), 0);
    EXPECT_EQ(b->Caption(), "ThemedButton7");
    EXPECT_EQ(b->IconAlign(), 1);
    EXPECT_EQ(b->IconSize(), 16);
    EXPECT_EQ(b->NonThemeStyle(), 0);
    EXPECT_EQ(b->ToolTipType(), 1);
    EXPECT_EQ(b->MaskColor(), 0u);
    EXPECT_FALSE(b->RoundedBordersByTheme());
    EXPECT_EQ(b->BackColor(), sys(syscolour::kButtonFace));
    EXPECT_EQ(b->HighlightColor(), sys(syscolour::kHighlight));
    EXPECT_EQ(b->FontHighlightColor(), sys(syscolour::kButtonText));
    EXPECT_EQ(b->ToolTipBackColor(), 0u);
    EXPECT_EQ(b->ToolTipForeColor(), 0u);
    EXPECT_EQ(ThemedButton::Version(), "3.7.0");
}

TEST(ButtonPersistence, MissingKeysReadAsTheStoredDefaults) {
    PropertyBag empty;
    auto b = readButton(empty);
    EXPECT_EQ(b->Style(), 3);
    EXPECT_EQ(b->Caption(), "ThemedButton");
    EXPECT_EQ(b->NonThemeStyle(), 5);
    EXPECT_EQ(b->MaskColor(), 0xC0C0C0u);
    EXPECT_TRUE(b->RoundedBordersByTheme());
    EXPECT_TRUE(b->Icon().isNull());
    EXPECT_EQ(b->ToolTipType(), 1);
    // Crossed on purpose: the background defaults to the tooltip text colour.
    EXPECT_EQ(b->ToolTipBackColor(), sys(syscolour::kInfoText));
    EXPECT_EQ(b->ToolTipForeColor(), sys(syscolour::kInfoBackground));
}

TEST(ButtonPersistence, NewControlSurvivesASaveAndReload) {
    auto b = newButton();
    b->SetCaption("");
    PropertyBag bag;
    b->WriteProperties(bag);
    EXPECT_FALSE(bag.contains("Caption"));  // empty is not written
    EXPECT_TRUE(bag.contains("Style"));     // 0 differs from the stored default 3
    EXPECT_TRUE(bag.contains("MaskColor"));
    EXPECT_TRUE(bag.contains("RoundedBordersByTheme"));
    EXPECT_TRUE(bag.contains("iNonThemeStyle"));
    PropertyBag reloaded;
    ASSERT_TRUE(reloaded.fromJson(bag.toJson()));
    auto c = readButton(reloaded);
    EXPECT_EQ(c->Style(), 0);
    EXPECT_EQ(c->Caption(), "ThemedButton");
    EXPECT_EQ(c->MaskColor(), 0u);
    EXPECT_FALSE(c->RoundedBordersByTheme());
    EXPECT_EQ(c->NonThemeStyle(), 0);
    // A tooltip colour never set stays 0 (the system's tooltip colours).
    EXPECT_EQ(c->ToolTipBackColor(), 0u);
    EXPECT_EQ(c->ToolTipForeColor(), 0u);
}

TEST(ButtonPersistence, ValuesEqualToTheirDefaultsAreNotWritten) {
    auto b = newButton();
    b->SetMaskColor(0xC0C0C0);
    b->SetToolTipBackColor(sys(syscolour::kInfoText));
    b->SetStyle(3);
    b->SetRoundedBordersByTheme(true);
    PropertyBag bag;
    b->WriteProperties(bag);
    EXPECT_FALSE(bag.contains("MaskColor"));
    EXPECT_FALSE(bag.contains("ttBackColor"));
    EXPECT_FALSE(bag.contains("Style"));
    EXPECT_FALSE(bag.contains("RoundedBordersByTheme"));
    EXPECT_FALSE(bag.contains("BackColor"));
    // Keys without a default are always there.
    for (const char* key :
         {"Icon", "ToolTipText", "ToolTipTitle", "ToolTipIcon", "ToolTipType", "Font"}) {
        EXPECT_TRUE(bag.contains(key)) << key;
    }
}

TEST(ButtonPersistence, KeysAreWrittenInTheirOrderUnderTheirOwnNames) {
    auto b = newButton();
    b->SetStyle(6);
    b->SetIconSize(24);
    b->SetIconAlign(2);
    b->SetCaptionAlign(3);
    b->SetNonThemeStyle(1);
    b->SetEnabled(false);
    b->SetShowFocus(true);
    b->SetUseCustomColors(true);
    b->SetBackColor(0x010203);
    b->SetHighlightColor(0x040506);
    b->SetFontColor(0x070809);
    b->SetFontHighlightColor(0x0A0B0C);
    b->SetToolTipBackColor(0x654321);
    b->SetToolTipForeColor(0x123456);
    b->SetButtonType(1);
    b->SetValue(true);
    b->SetUseMaskColor(true);
    b->SetMousePointer(8);
    b->SetRightToLeft(true);
    PropertyBag bag;
    b->WriteProperties(bag);
    const QStringList expected = {"Icon",
                                  "Style",
                                  "Caption",
                                  "IconSize",
                                  "IconAlign",
                                  "CaptionAlign",
                                  "iNonThemeStyle",
                                  "Enabled",
                                  "ShowFocus",
                                  "USeCustomColors",
                                  "BackColor",
                                  "HighlightColor",
                                  "FontColor",
                                  "FontHighlightColor",
                                  "ToolTipText",
                                  "ToolTipTitle",
                                  "ToolTipIcon",
                                  "ToolTipType",
                                  "ttBackColor",
                                  "ttForeColor",
                                  "Font",
                                  "ButtonType",
                                  "Value",
                                  "MaskColor",
                                  "UseMaskColor",
                                  "MousePointer",
                                  "RoundedBordersByTheme",
                                  "bRTLText"};
    EXPECT_EQ(bag.keys().join(','), expected.join(','));

    auto c = readButton(bag);
    EXPECT_EQ(c->Style(), 6);
    EXPECT_EQ(c->IconSize(), 24);
    EXPECT_EQ(c->IconAlign(), 2);
    EXPECT_EQ(c->CaptionAlign(), 3);
    EXPECT_EQ(c->NonThemeStyle(), 1);
    EXPECT_FALSE(c->Enabled());
    EXPECT_FALSE(c->isEnabled());
    EXPECT_TRUE(c->ShowFocus());
    EXPECT_TRUE(c->UseCustomColors());
    EXPECT_EQ(c->BackColor(), 0x010203u);
    EXPECT_EQ(c->HighlightColor(), 0x040506u);
    EXPECT_EQ(c->FontColor(), 0x070809u);
    EXPECT_EQ(c->FontHighlightColor(), 0x0A0B0Cu);
    EXPECT_EQ(c->ToolTipBackColor(), 0x654321u);
    EXPECT_EQ(c->ToolTipForeColor(), 0x123456u);
    EXPECT_EQ(c->ButtonType(), 1);
    EXPECT_TRUE(c->Value());
    EXPECT_TRUE(c->UseMaskColor());
    EXPECT_EQ(c->MousePointer(), 8);
    EXPECT_TRUE(c->RightToLeft());
}

TEST(ButtonPersistence, TooltipTitleKeyMatchesWhateverItsCase) {
    PropertyBag bag;
    bag.WriteProperty("ToolTipTitle", QString("Funzione:"));
    bag.WriteProperty("ToolTipText", QString("Aiutooooo"));
    bag.WriteProperty("ToolTipIcon", 1);
    auto b = readButton(bag);
    EXPECT_EQ(b->ToolTipTitle(), "Funzione:");
    EXPECT_EQ(b->ToolTipText(), "Aiutooooo");
    EXPECT_EQ(b->toolTip(), "Aiutooooo");  // handed to the host as its tooltip text
    EXPECT_EQ(b->ToolTipIcon(), 1);
}

TEST(ButtonPersistence, PicturesFontsAndSystemColourReferencesRoundTrip) {
    auto b = newButton();
    QImage icon(8, 8, QImage::Format_ARGB32);
    icon.fill(QColor(200, 10, 20));
    b->SetIcon(icon);
    QFont f = b->Font();
    f.setPointSize(13);
    f.setBold(true);
    b->SetFont(f);
    b->SetBackColor(0x8000000F);
    PropertyBag bag;
    b->WriteProperties(bag);
    PropertyBag reloaded;
    ASSERT_TRUE(reloaded.fromJson(bag.toJson()));
    auto c = readButton(reloaded);
    EXPECT_EQ(c->Icon().convertToFormat(QImage::Format_ARGB32), icon);
    EXPECT_EQ(c->Font().pointSize(), 13);
    EXPECT_TRUE(c->Font().bold());
    EXPECT_EQ(c->BackColor(), 0x8000000Fu);
}

TEST(ButtonPersistence, AValueThatDoesNotFitLeavesThatPropertyAlone) {
    PropertyBag bag;
    bag.WriteProperty("IconSize", 40000);      // beyond 16 bits
    bag.WriteProperty("MousePointer", 70000);  // beyond 16 bits
    bag.WriteProperty("BackColor", qlonglong(1) << 40);
    bag.WriteProperty("Style", -2147483633LL);           // any 32-bit value is taken
    bag.WriteProperty("HighlightColor", -2147483633LL);  // a reference stored signed
    auto b = readButton(bag);
    EXPECT_EQ(b->IconSize(), 16);
    EXPECT_EQ(b->MousePointer(), 0);
    EXPECT_EQ(b->BackColor(), sys(syscolour::kButtonFace));
    EXPECT_EQ(b->Style(), -2147483633);
    EXPECT_EQ(b->HighlightColor(), 0x8000000Fu);
    EXPECT_TRUE(b->RoundedBordersByTheme());  // later keys still read
}

TEST(ButtonPersistence, SettersNotifyTheHostUnderTheirNames) {
    auto b = newButton();
    QSignalSpy spy(b.get(), &ThemedButton::PropertyChanged);
    b->SetToolTipTitle("t");
    b->SetToolTipIcon(2);
    b->SetRightToLeft(true);
    b->SetNonThemeStyle(0);
    b->SetUseCustomColors(true);
    b->SetToolTipText("x");
    b->SetMousePointer(1);
    QStringList names;
    for (const auto& args : spy)
        names << args.at(0).toString();
    EXPECT_EQ(names, QStringList({"TooltipTitle", "TooltipIcon", "bRTLText", "NonThemeStyle",
                                  "UseCustomColors", "ToolTipText", "MousePointer"}));
}

TEST(ButtonPersistence, MousePointerIsHeldIn16Bits) {
    auto b = newButton();
    b->SetMousePointer(8);
    EXPECT_EQ(b->cursor().shape(), Qt::SizeFDiagCursor);
    b->SetMousePointer(70000);
    EXPECT_EQ(b->MousePointer(), 8);
    PropertyBag bag;
    b->WriteProperties(bag);
    EXPECT_EQ(bag.ReadProperty("MousePointer").toInt(), 8);
}

TEST(ButtonPersistence, FractionsReadAsIntegersWithHalvesToEven) {
    PropertyBag bag;
    bag.WriteProperty("Style", 4.5);
    bag.WriteProperty("IconSize", 16.5);
    bag.WriteProperty("IconAlign", 2.5);
    bag.WriteProperty("CaptionAlign", QString("3.5"));
    bag.WriteProperty("ToolTipIcon", 1.5);
    bag.WriteProperty("MousePointer", -2.5);
    bag.WriteProperty("MaskColor", 255.5);
    auto b = readButton(bag);
    EXPECT_EQ(b->Style(), 4);
    EXPECT_EQ(b->IconSize(), 16);
    EXPECT_EQ(b->IconAlign(), 2);
    EXPECT_EQ(b->CaptionAlign(), 4);
    EXPECT_EQ(b->ToolTipIcon(), 2);
    EXPECT_EQ(b->MousePointer(), -2);
    EXPECT_EQ(b->MaskColor(), 256u);
}
