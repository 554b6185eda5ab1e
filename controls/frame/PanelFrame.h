#pragma once

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "ChildLayout.h"
#include "FramePainter.h"
#include "FrameProperties.h"
#include "FrameTheme.h"
#include "MessageHook.h"
#include "SubclassOwner.h"

class PropertyBag;
class QLabel;
class QMouseEvent;

// A container with a header bar (text, picture, collapse and close buttons), a container
// area and a footer bar, painted in one of twelve colour themes or in custom colours. It can
// collapse to its header and expand again and lays out its children from their "Tag" texts.
//
// Every property write stores the value, notifies PropertyChanged(name) and redraws unless
// noted. The frame's own size in its properties and internal state is in twips (15 per
// pixel); drawing coordinates and its children's geometry are pixels.
//
// Once it is first shown (or loaded while showing) the frame is live: it hooks its own window
// for the mouse entering, resting and leaving, and its top-level window for moves and sizes,
// and it takes the size it has then as its minimum and layout reference size.
class PanelFrame : public QWidget, public tessaro::hook::SubclassOwner {
    Q_OBJECT
  public:
    static constexpr double kTwipsPerPixel = childlayout::kTwipsPerPixel;
    // Resize steps of a grip drag are at least this far apart; steps in between are merged
    // into the next one.
    static constexpr int kResizeStepMs = 2;

    explicit PanelFrame(QWidget* parent = nullptr);
    ~PanelFrame() override;

    // --- persistence ---
    // A new frame: host fonts, creation values, HeaderText from the object name (or
    // "PanelFrameN"), theme colours applied.
    void InitProperties();
    // Reads every key (missing keys give their reading defaults; property writes are not
    // run); a value of the wrong type raises the type-mismatch error, one out of range the
    // overflow error.
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // --- properties ---
    QString HeaderText() const { return p_.HeaderText; }
    void setHeaderText(const QString& text);
    QFont HeaderTextFont() const { return p_.HeaderTextFont; }
    void setHeaderTextFont(const QFont& font);
    int16_t HeaderTextAlign() const { return p_.HeaderTextAlign; }
    void setHeaderTextAlign(int32_t align);
    uint32_t HeaderTextColor() const { return p_.HeaderTextColor; }
    void setHeaderTextColor(uint32_t colour);
    int16_t HeaderSize() const { return p_.HeaderSize; }
    void setHeaderSize(int32_t size);
    bool Closeable() const { return p_.Closeable; }
    void setCloseable(bool on);
    bool HeaderVisible() const { return p_.HeaderVisible; }
    void setHeaderVisible(bool on);
    uint32_t HeaderBackColor() const { return p_.HeaderBackColor; }
    void setHeaderBackColor(uint32_t colour);
    uint32_t HeaderFadeColor() const { return p_.HeaderFadeColor; }
    void setHeaderFadeColor(uint32_t colour);
    int16_t HeaderFillStyle() const { return p_.HeaderFillStyle; }
    void setHeaderFillStyle(int32_t style);
    QImage HeaderPicture() const { return p_.HeaderPicture; }
    void setHeaderPicture(const QImage& picture);
    int32_t HoverTime() const { return p_.HoverTime; }
    void setHoverTime(int32_t milliseconds);
    int16_t HeaderPictureSize() const { return p_.HeaderPictureSize; }
    void setHeaderPictureSize(int16_t size);
    QString FooterText() const { return p_.FooterText; }
    void setFooterText(const QString& text);
    QFont FooterTextFont() const { return p_.FooterTextFont; }
    void setFooterTextFont(const QFont& font);
    int16_t FooterTextAlign() const { return p_.FooterTextAlign; }
    void setFooterTextAlign(int32_t align);
    uint32_t FooterTextColor() const { return p_.FooterTextColor; }
    void setFooterTextColor(uint32_t colour);
    int16_t FooterSize() const { return p_.FooterSize; }
    void setFooterSize(int32_t size);
    bool FooterVisible() const { return p_.FooterVisible; }
    void setFooterVisible(bool on);
    bool HeaderPictureVisible() const { return p_.HeaderPictureVisible; }
    void setHeaderPictureVisible(bool on);
    bool ClassicXPStyle() const { return p_.ClassicXPStyle; }
    void setClassicXPStyle(bool on);
    bool ZOrderOnFocus() const { return p_.ZOrderOnFocus; }
    void setZOrderOnFocus(bool on);
    bool ContainerPictureVisible() const { return p_.ContainerPictureVisible; }
    void setContainerPictureVisible(bool on);
    bool ContainerMoveable() const { return p_.ContainerMoveable; }
    void setContainerMoveable(bool on);
    bool ContainerResizable() const { return p_.ContainerResizable; }
    void setContainerResizable(bool on);
    uint32_t FooterBackColor() const { return p_.FooterBackColor; }
    void setFooterBackColor(uint32_t colour);
    uint32_t FooterFadeColor() const { return p_.FooterFadeColor; }
    void setFooterFadeColor(uint32_t colour);
    int16_t FooterFillStyle() const { return p_.FooterFillStyle; }
    void setFooterFillStyle(int32_t style);
    QFont ContainerTextFont() const { return p_.ContainerTextFont; }
    void setContainerTextFont(const QFont& font);
    uint32_t ContainerBackColor() const { return p_.ContainerBackColor; }
    void setContainerBackColor(uint32_t colour);
    uint32_t ContainerFadeColor() const { return p_.ContainerFadeColor; }
    void setContainerFadeColor(uint32_t colour);
    int16_t ContainerFillStyle() const { return p_.ContainerFillStyle; }
    void setContainerFillStyle(int32_t style);
    uint32_t ContainerForeColor() const { return p_.ContainerForeColor; }
    void setContainerForeColor(uint32_t colour);
    uint32_t ContainerBorderColor() const { return p_.ContainerBorderColor; }
    void setContainerBorderColor(uint32_t colour);
    int32_t ContainerBorderStyle() const { return p_.ContainerBorderStyle; }
    void setContainerBorderStyle(int32_t style);
    int32_t ContainerShapeStyle() const { return p_.ContainerShapeStyle; }
    void setContainerShapeStyle(int32_t style);
    int16_t ContainerCornerRadius() const { return p_.ContainerCornerRadius; }
    void setContainerCornerRadius(int16_t radius);
    QImage ContainerPicture() const { return p_.ContainerPicture; }
    void setContainerPicture(const QImage& picture);
    int16_t ContainerPictureSize() const { return p_.ContainerPictureSize; }
    void setContainerPictureSize(int16_t size);
    int16_t ContainerPictureBufferTop() const { return p_.ContainerPictureBufferTop; }
    void setContainerPictureBufferTop(int16_t pixels);
    int16_t ContainerPictureBufferLeft() const { return p_.ContainerPictureBufferLeft; }
    void setContainerPictureBufferLeft(int16_t pixels);
    bool UseCustomColors() const { return p_.UseCustomColors; }
    void setUseCustomColors(bool on);
    int32_t Appearence() const { return p_.Appearence; }
    void setAppearence(int32_t theme);
    // Every child follows; the frame itself keeps answering the mouse (drags, its buttons)
    // but reports no enter, hover or leave while disabled. QWidget::setEnabled on the frame
    // applies the same rules.
    bool Enabled() const { return p_.Enabled; }
    void setEnabled(bool on);
    bool Expandable() const { return p_.Expandable; }
    void setExpandable(bool on);
    bool AutoResizeControls() const { return p_.AutoResizeControls; }
    void setAutoResizeControls(bool on);
    uint32_t CollapseButtonColor() const { return p_.CollapseButtonColor; }
    void setCollapseButtonColor(uint32_t colour);
    uint32_t BackColor() const { return p_.BackColor; }
    void setBackColor(uint32_t colour);

    // --- operations ---
    QWidget* hWnd() { return this; }
    QPaintDevice* hDC() { return this; }
    void Expand();
    void Collapse();
    void OnTop();
    void closeMe();
    void showMe();
    // Paints at once (so the hit regions are current when it returns), then lays out the
    // children when AutoResizeControls is on.
    void Redraw();
    // Gradient between the corners (lngLeft, lngTop) and (lngWidth, lngHeight), the last two
    // being the right and bottom edges; horizontal == 0 runs left to right.
    void UtilDrawBackground(QPainter& lngHdc, uint32_t colorStart, uint32_t colorEnd,
                            int32_t lngLeft, int32_t lngTop, int32_t lngWidth, int32_t lngHeight,
                            int32_t horizontal);
    void UtilDrawShapeStyle(QPainter& lngHdc, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2,
                            int32_t radius);
    uint32_t dBlendColor(uint32_t oColorFrom, uint32_t oColorTo, int32_t Alpha) const;
    // Messages of the hooked windows: the frame's mouse moving, resting and leaving, and its
    // top-level window starting, doing and ending a move or resize. Never handles a message.
    void zSubclass_Proc(bool bBefore, bool& bHandled, int32_t& lReturn, QWidget* hWnd, int32_t uMsg,
                        int32_t wParam, int32_t lParam, int32_t& lParamUser) override;

    // --- internal state, read-only for the host and the interaction code ---
    int32_t headerTextFlags() const { return headerTextFlags_; }
    int32_t footerTextFlags() const { return footerTextFlags_; }
    bool isCollapsed() const { return collapsed_; }
    int32_t expandedHeight() const { return expandedHeight_; }
    const ThemeColours& themeColours() const { return theme_; }
    const HitRegions& hitRegions() const { return regions_; }
    const LayoutReference& layoutReference() const { return layoutReference_; }
    int32_t minimumWidthTwips() const { return minimumWidth_; }
    int32_t minimumHeightTwips() const { return minimumHeight_; }
    bool isMoving() const { return moveFlag_; }
    bool isResizing() const { return resizeFlag_; }
    // Mouse tracking: whether a tracking service was found when the frame went live, and
    // whether the pointer counts as inside (set by a move, cleared by hover and leave).
    bool trackingAvailable() const { return trackingAvailable_; }
    bool mouseInside() const { return mouseInside_; }
    // The top-level window was last seen maximised.
    bool maximiseFlag() const { return maximiseFlag_; }
    QLabel* captionLabel() const { return caption_; }
    // The frame's size as its host measures it.
    double widthTwips() const { return width() * kTwipsPerPixel; }
    double heightTwips() const { return height() * kTwipsPerPixel; }

  signals:
    void PropertyChanged(const QString& name);

    void Click();
    void DblClick();
    void KeyDown(qint16 KeyCode, qint16 Shift);
    void KeyPress(qint16 KeyAscii);
    void KeyUp(qint16 KeyCode, qint16 Shift);
    void MouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void MouseUp(qint16 Button, qint16 Shift, float X, float Y);
    // Arguments passed as references may be changed by a directly connected handler.
    void MouseMove(qint16 Button, qint16 Shift, float X, float Y, bool& cResize, bool& cMove);
    void ChevronClick(qint16& Button, qint16& Shift, float& X, float& Y, bool& Collapse,
                      qint32& FooterSize, qint32& HeaderSize, qint32& Height);
    // Raised after each step of a drag-resize (pixels) and of a drag-move (pixels from the
    // parent's client origin).
    void Resize(qint32& cWidth, qint32& cHeight);
    void Move(qint32& cTop, qint32& cLeft);
    void MouseLeaves();
    void MouseEnters();
    void MouseHover();
    void Closed();

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    QFont hostFont() const;
    // Copies the theme or the custom colours (see the .cpp) and notifies the ten colours.
    void applyColours();
    void recomputeTextFlags();
    void setCollapseState(bool collapse);
    // Window shape and caption label, which follow the properties and the size.
    void updateShape();
    void refreshCaption();
    void layoutChildren();
    QList<QWidget*> hostedChildren() const;
    // Sizes taken when the frame goes live: expanded height, minimum and layout reference.
    void takeLoadedSizes();
    // Hooks, tracking and the top-level window's notifications, then the loaded sizes.
    void goLive();
    void setUpTracking();
    // Hooks and watches the top-level window the frame now lives in (none for a frame that
    // is a window itself), letting go of the previous one.
    void watchParentWindow();
    void requestTracking(uint32_t flags);
    void parentResized();
    void repaintAfterStateChange();
    void applyEnabled(bool on);

    // Mouse steps (PanelFrameDrag.cpp). Press and move may raise the overflow error; the
    // release ends the drag whatever happens.
    void pressStep(const QMouseEvent& event);
    void moveStep(const QMouseEvent& event);
    void releaseStep(const QMouseEvent& event);
    void chevronReleased(const QMouseEvent& event);
    // The cursor on the screen, held inside the confinement while one is set.
    QPoint cursorOnScreen(const QMouseEvent& event);
    void confineCursorToParent();
    void dragMoveTo(const QPoint& cursor);
    // Resizes now, or keeps the cursor for the paced step when the last one is too recent.
    void requestResizeStep(const QPoint& cursor);
    void resizeStepTo(const QPoint& cursor);
    void flushResizeStep();
    void changed(const QString& name);

    template <typename T>
    void assign(T& field, const T& value, const char* name) {
        field = value;
        changed(QString::fromLatin1(name));
        Redraw();
    }

    FrameProperties p_;
    ThemeColours theme_;
    HitRegions regions_;
    QLabel* caption_ = nullptr;
    int32_t headerTextFlags_ = 0;
    int32_t footerTextFlags_ = 0;
    bool collapsed_ = false;
    int32_t expandedHeight_ = 0;
    // False until a collapse, a load or the first show has taken the expanded height.
    bool expandedHeightTaken_ = false;
    int32_t minimumWidth_ = 0;
    int32_t minimumHeight_ = 0;
    LayoutReference layoutReference_;
    bool loadedSizesTaken_ = false;
    // Flags of a drag in progress; handed to MouseMove handlers.
    bool moveFlag_ = false;
    bool resizeFlag_ = false;
    // The release that ends a double click raises no Click.
    bool suppressClick_ = false;
    // X and Y of the last left press, in the frame's pixels.
    float pressX_ = 0;
    float pressY_ = 0;
    // The screen rectangle the cursor is held in during a grip drag.
    std::optional<QRect> confinement_;
    QTimer resizePacing_;
    std::optional<QPoint> pendingResize_;

    tessaro::hook::MessageHook hook_{QStringLiteral("PanelFrame"), this};
    bool live_ = false;
    bool trackingAvailable_ = false;
    // Which flavour of the tracking service answered (kept for the requests).
    bool trackingUser32_ = false;
    bool mouseInside_ = false;
    bool frameHooked_ = false;
    QPointer<QWidget> parentWindow_;
    bool parentHooked_ = false;
    bool maximiseFlag_ = false;
    // Set while the frame itself changes its widget's enabled state.
    bool applyingEnabled_ = false;
};
