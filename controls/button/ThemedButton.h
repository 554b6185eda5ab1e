#pragma once

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "CaptionLayout.h"
#include "MessageHook.h"
#include "PropertyBag.h"
#include "SubclassOwner.h"

class QShortcut;
class QPainter;

namespace tessaro::button {
class AboutBox;
class ToolTipWindow;
}  // namespace tessaro::button

// A push or toggle button drawn in its own styles (style 6 through the application's QStyle),
// with an icon, a caption, focus and mouse-over looks, and properties kept in the host's
// property bag.
//
// Properties: `Name()` reads, `SetName(value)` stores and then notifies the host
// (PropertyChanged), re-lays out and/or redraws as each setter says. Colours are 0x00BBGGRR
// or a system-colour reference 0x80000000 + index. Setters and handlers never throw: a step
// that fails is skipped and the rest carries on.
//
// The host calls InitProperties() for a new control, or ReadProperties() for a stored one,
// and WriteProperties() to store it. A running control (SetUserMode(true), the default)
// hooks its own widget for the mouse-move, mouse-leave, theme and system-colour messages.
class ThemedButton : public QWidget, private tessaro::hook::SubclassOwner {
    Q_OBJECT
    friend class ThemedButtonAccessible;  // presses it the way its access key does
  public:
    static constexpr int kMinimumSizePx = 20;  // 300 twips

    explicit ThemedButton(QWidget* parent = nullptr);
    ~ThemedButton() override;

    // --- host calls ---
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag);
    // Ambient properties of the host: running (true) or designing; whether the button is the
    // window's default button.
    void SetUserMode(bool running);
    bool UserMode() const { return userMode_; }
    void SetDisplayAsDefault(bool isDefault);
    bool DisplayAsDefault() const { return displayAsDefault_; }

    // --- properties ---
    int32_t Style() const { return style_; }
    void SetStyle(int32_t NewStyle);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& NewCaption);
    QImage Icon() const { return icon_; }
    void SetIcon(const QImage& NewIcon);
    int32_t IconAlign() const { return iconAlign_; }
    void SetIconAlign(int32_t NewIconAlign);
    int16_t IconSize() const { return static_cast<int16_t>(iconSize_); }
    void SetIconSize(int16_t NewIconSize);
    int32_t CaptionAlign() const { return captionAlign_; }
    void SetCaptionAlign(int32_t NewCaptionAlign);
    int32_t NonThemeStyle() const { return nonThemeStyle_; }
    void SetNonThemeStyle(int32_t NewNonThemeStyle);
    // Reading also redraws the control.
    bool Enabled();
    void SetEnabled(bool bEnabled);
    bool ShowFocus() const { return showFocus_; }
    void SetShowFocus(bool bShowFocus);
    bool UseCustomColors() const { return useCustomColors_; }
    void SetUseCustomColors(bool bUseCustomColors);
    uint32_t BackColor() const { return backColor_; }
    void SetBackColor(uint32_t lBackColor);
    uint32_t HighlightColor() const { return highlightColor_; }
    void SetHighlightColor(uint32_t lHighlightColor);
    uint32_t FontColor() const { return fontColor_; }
    void SetFontColor(uint32_t lFontColor);
    uint32_t FontHighlightColor() const { return fontHighlightColor_; }
    void SetFontHighlightColor(uint32_t lFontHighlightColor);
    QString ToolTipText() const { return toolTipText_; }
    void SetToolTipText(const QString& sToolTipText);
    QString ToolTipTitle() const { return toolTipTitle_; }
    void SetToolTipTitle(const QString& sTooltipTitle);
    int32_t ToolTipIcon() const { return toolTipIcon_; }
    void SetToolTipIcon(int32_t lTooltipIcon);
    int32_t ToolTipType() const { return toolTipType_; }
    void SetToolTipType(int32_t lNewTTType);
    uint32_t ToolTipBackColor() const { return toolTipBackColor_; }
    void SetToolTipBackColor(uint32_t lToolTipBackColor);
    uint32_t ToolTipForeColor() const { return toolTipForeColor_; }
    void SetToolTipForeColor(uint32_t lToolTipForeColor);
    // The widget's own font.
    QFont Font() const { return font(); }
    void SetFont(const QFont& NewFont);
    int32_t ButtonType() const { return buttonType_; }
    void SetButtonType(int32_t newType);
    // The widget's own pointer number (16 bits: a larger value leaves it unchanged).
    int32_t MousePointer() const { return mousePointer_; }
    void SetMousePointer(int32_t lCursor);
    bool Value() const { return value_; }
    void SetValue(bool NewValue);
    uint32_t MaskColor() const { return maskColor_; }
    void SetMaskColor(uint32_t NewValue);
    bool UseMaskColor() const { return useMaskColor_; }
    void SetUseMaskColor(bool NewValue);
    bool RoundedBordersByTheme() const { return roundedBordersByTheme_; }
    void SetRoundedBordersByTheme(bool NewValue);
    bool RightToLeft() const { return rightToLeft_; }
    void SetRightToLeft(bool NewValue);
    static QString Version() { return QStringLiteral("3.7.0"); }

    // --- methods ---
    void Refresh();
    void About();
    // Opens the link with the desktop's handler: 33 when it was handed over, 31 (no
    // application for it) otherwise.
    int32_t OpenLink(const QString& sLink);
    bool PaintIconGrayscale(QPainter* Dest_hDC, const QImage& hIcon, int Dest_X, int Dest_Y,
                            int Dest_Height, int Dest_Width);

    // --- internal state, read-only ---
    int32_t InteractionState() const { return state_; }
    bool HasFocusFlag() const { return hasFocus_; }
    bool ShownFlag() const { return shown_; }
    bool MouseOverFlag() const { return mouseOver_; }
    int16_t LastMouseButton() const { return lastButton_; }
    tessaro::button::Rect32 CaptionRect() const { return captionRect_; }
    int32_t CaptionFlags() const { return captionFlags_; }
    int32_t Inset() const { return inset_; }
    bool IsHooked() const { return hooked_; }
    // The tooltip window while the mouse is over the button (nullptr otherwise).
    tessaro::button::ToolTipWindow* toolTipWindow() const;
    // What the last redraw drew.
    const QImage& Surface() const { return surface_; }

  signals:
    void Click();
    void MouseEnter();
    void MouseLeave();
    void PropertyChanged(const QString& name);

  protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

  private:
    void zSubclass_Proc(bool bBefore, bool& bHandled, int32_t& lReturn, QWidget* hWnd, int32_t uMsg,
                        int32_t wParam, int32_t lParam, int32_t& lParamUser) override;

    // Runs `step`, swallowing the errors it raises (the control carries on).
    template <typename F>
    void guarded(F&& step) noexcept;
    void markChanged(const QString& name) { emit PropertyChanged(name); }

    void applyCreationValues();
    void setUpTracking();
    void rearmLeaveTracking();
    void createToolTip();
    void destroyToolTip();
    void giveBackToolTipText();
    void updateAccessKey();
    void applyMousePointer();

    // Input actions.
    void pressAction();
    void releaseAction(bool overButton);
    void clickAction();
    void accessKeyAction();

    // Layout and drawing.
    void relayout();
    tessaro::button::Rect32 measureCaption(int32_t width, int32_t height) const;
    int32_t captionWrapWidth(int32_t width) const;
    void applyWindowRegion();
    void redrawSurface();
    void setSurfaceBackground(uint32_t colour);
    void applyStateAdjustments();
    // Drawn greyed when switched off itself or when a container holding it is disabled.
    bool drawnEnabled() const { return enabled_ && isEnabled(); }
    void drawStyleBackground();
    bool drawStyle6();
    bool themeAvailable() const;
    void drawIcon();
    void drawCaption();

    tessaro::hook::MessageHook hook_;

    // Properties.
    int32_t style_ = 0;
    QString caption_;
    QImage icon_;
    int32_t iconAlign_ = 1;
    int32_t iconSize_ = 16;
    int32_t captionAlign_ = 0;
    int32_t nonThemeStyle_ = 0;
    bool enabled_ = true;
    bool showFocus_ = false;
    bool useCustomColors_ = false;
    uint32_t backColor_ = 0;
    uint32_t highlightColor_ = 0;
    uint32_t fontColor_ = 0;
    uint32_t fontHighlightColor_ = 0;
    QString toolTipText_;
    QString toolTipTitle_;
    int32_t toolTipIcon_ = 0;
    int32_t toolTipType_ = 1;
    uint32_t toolTipBackColor_ = 0;
    uint32_t toolTipForeColor_ = 0;
    int32_t buttonType_ = 0;
    int16_t mousePointer_ = 0;
    bool value_ = false;
    uint32_t maskColor_ = 0;
    bool useMaskColor_ = false;
    bool roundedBordersByTheme_ = false;
    bool rightToLeft_ = false;

    // Ambient properties.
    bool userMode_ = true;
    bool displayAsDefault_ = false;

    // Interaction state.
    int32_t state_ = 1;
    bool hasFocus_ = false;
    bool shown_ = false;
    bool mouseOver_ = false;
    int16_t lastButton_ = 0;
    bool trackingAvailable_ = false;
    bool hooked_ = false;
    // The release that follows a double click raises no framework click.
    bool releaseEndsDoubleClick_ = false;

    // Layout and drawing state.
    tessaro::button::Rect32 clientRect_;
    tessaro::button::Rect32 captionRect_;
    int32_t captionFlags_ = tessaro::button::DT_CENTER | tessaro::button::DT_WORDBREAK;
    int32_t inset_ = 3;
    uint32_t surfaceBackground_ = 0x8000000Fu;
    QImage surface_;

    // The tooltip window and whether the host's tooltip text is lent to it (the host-side
    // text then stays blank so that only our tooltip shows).
    QPointer<tessaro::button::ToolTipWindow> toolTip_;
    bool hostTextLent_ = false;

    QPointer<QShortcut> accessKey_;
    std::unique_ptr<tessaro::button::AboutBox> about_;
};

template <typename F>
void ThemedButton::guarded(F&& step) noexcept {
    try {
        step();
    } catch (...) {
        // The control carries on with whatever the failed step left.
    }
}
