// Property setters: store, then notify the host and re-lay out and/or redraw.
#include "CheckedMath.h"
#include "ThemedButton.h"

void ThemedButton::SetStyle(int32_t NewStyle) {
    style_ = NewStyle;
    guarded([&] { markChanged(QStringLiteral("Style")); });
    // Twice: a themed style that falls back during the first redraw is laid out again in
    // the style it fell back to.
    guarded([&] { relayout(); });
    guarded([&] { Refresh(); });
    guarded([&] { relayout(); });
    guarded([&] { Refresh(); });
}

void ThemedButton::SetCaption(const QString& NewCaption) {
    caption_ = NewCaption;
    guarded([&] { updateAccessKey(); });
    guarded([&] { markChanged(QStringLiteral("Caption")); });
    guarded([&] { relayout(); });
    guarded([&] { Refresh(); });
}

void ThemedButton::SetIcon(const QImage& NewIcon) {
    icon_ = NewIcon;
    guarded([&] { markChanged(QStringLiteral("Icon")); });
    guarded([&] { relayout(); });
    guarded([&] { Refresh(); });
}

void ThemedButton::SetIconAlign(int32_t NewIconAlign) {
    iconAlign_ = NewIconAlign;
    guarded([&] { markChanged(QStringLiteral("IconAlign")); });
    guarded([&] { relayout(); });
    guarded([&] { Refresh(); });
}

void ThemedButton::SetIconSize(int16_t NewIconSize) {
    iconSize_ = NewIconSize;
    guarded([&] { markChanged(QStringLiteral("IconSize")); });
    guarded([&] { relayout(); });
    guarded([&] { Refresh(); });
}

void ThemedButton::SetCaptionAlign(int32_t NewCaptionAlign) {
    captionAlign_ = NewCaptionAlign;
    guarded([&] { markChanged(QStringLiteral("CaptionAlign")); });
    guarded([&] { relayout(); });
    guarded([&] { Refresh(); });
}

void ThemedButton::SetNonThemeStyle(int32_t NewNonThemeStyle) {
    nonThemeStyle_ = NewNonThemeStyle;
    guarded([&] { markChanged(QStringLiteral("NonThemeStyle")); });
    guarded([&] { relayout(); });
    guarded([&] { Refresh(); });
}

bool ThemedButton::Enabled() {
    guarded([&] { Refresh(); });
    return enabled_;
}

void ThemedButton::SetEnabled(bool bEnabled) {
    enabled_ = bEnabled;
    state_ = 1;
    guarded([&] { Refresh(); });
    guarded([&] { markChanged(QStringLiteral("Enabled")); });
    guarded([&] { QWidget::setEnabled(bEnabled); });
}

#define TESSARO_REDRAW_SETTER(Name, Type, field, changedName)       \
    void ThemedButton::Set##Name(Type v) {                          \
        field = v;                                                  \
        guarded([&] { markChanged(QStringLiteral(changedName)); }); \
        guarded([&] { Refresh(); });                                \
    }

TESSARO_REDRAW_SETTER(ShowFocus, bool, showFocus_, "ShowFocus")
TESSARO_REDRAW_SETTER(UseCustomColors, bool, useCustomColors_, "UseCustomColors")
TESSARO_REDRAW_SETTER(BackColor, uint32_t, backColor_, "BackColor")
TESSARO_REDRAW_SETTER(HighlightColor, uint32_t, highlightColor_, "HighlightColor")
TESSARO_REDRAW_SETTER(FontColor, uint32_t, fontColor_, "FontColor")
TESSARO_REDRAW_SETTER(FontHighlightColor, uint32_t, fontHighlightColor_, "FontHighlightColor")
TESSARO_REDRAW_SETTER(ToolTipTitle, const QString&, toolTipTitle_, "TooltipTitle")
TESSARO_REDRAW_SETTER(ToolTipIcon, int32_t, toolTipIcon_, "TooltipIcon")
TESSARO_REDRAW_SETTER(ToolTipType, int32_t, toolTipType_, "ToolTipType")
TESSARO_REDRAW_SETTER(ToolTipBackColor, uint32_t, toolTipBackColor_, "ToolTipBackColor")
TESSARO_REDRAW_SETTER(ToolTipForeColor, uint32_t, toolTipForeColor_, "ToolTipForeColor")
TESSARO_REDRAW_SETTER(ButtonType, int32_t, buttonType_, "ButtonType")
TESSARO_REDRAW_SETTER(Value, bool, value_, "Value")
TESSARO_REDRAW_SETTER(MaskColor, uint32_t, maskColor_, "MaskColor")
TESSARO_REDRAW_SETTER(UseMaskColor, bool, useMaskColor_, "UseMaskColor")
TESSARO_REDRAW_SETTER(RoundedBordersByTheme, bool, roundedBordersByTheme_, "RoundedBordersByTheme")
TESSARO_REDRAW_SETTER(RightToLeft, bool, rightToLeft_, "bRTLText")

#undef TESSARO_REDRAW_SETTER

void ThemedButton::SetToolTipText(const QString& sToolTipText) {
    toolTipText_ = sToolTipText;
    // The host keeps no tooltip text apart from ours: the new text becomes the host-side
    // text that creating the tooltip takes over.
    guarded([&] {
        setToolTip(sToolTipText);
        hostTextLent_ = false;
    });
    guarded([&] { createToolTip(); });
    guarded([&] { markChanged(QStringLiteral("ToolTipText")); });
    guarded([&] { Refresh(); });
}

void ThemedButton::SetFont(const QFont& NewFont) {
    guarded([&] { setFont(NewFont); });
    guarded([&] { Refresh(); });
    guarded([&] { markChanged(QStringLiteral("Font")); });
}

void ThemedButton::SetMousePointer(int32_t lCursor) {
    guarded([&] {
        mousePointer_ = tessaro::checked::narrow<int16_t>(lCursor);
        applyMousePointer();
    });
    guarded([&] { markChanged(QStringLiteral("MousePointer")); });
}
