#include "PanelFrame.h"
#include "PanelFrameAccessible.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QResizeEvent>
#include <QShowEvent>

#include "AnsiText.h"
#include "CheckedMath.h"
#include "FrameMetrics.h"
#include "MouseTracking.h"
#include "SurfaceDrawing.h"
#include "SystemColour.h"

namespace {

using tessaro::checked::narrow;
using tessaro::checked::round32;

// The classic caption is drawn in this blue.
constexpr uint32_t kCaptionColour = syscolour::rgb(0, 70, 213);
constexpr uint32_t kButtonFace = 0x8000000F;

QRegion roundedRegion(int width, int height, int corner) {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width, height), corner / 2.0, corner / 2.0);
    return QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill);
}

}  // namespace

PanelFrame::PanelFrame(QWidget* parent) : QWidget(parent) {
    InstallPanelFrameAccessible();
    caption_ = new QLabel(this);
    caption_->setTextFormat(Qt::PlainText);
    caption_->setAutoFillBackground(true);
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
    caption_->hide();
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    resizePacing_.setSingleShot(true);
    connect(&resizePacing_, &QTimer::timeout, this, [this] {
        try {
            flushResizeStep();
        } catch (const tessaro::RuntimeError&) {
            // an overflow ends this step only
        }
    });
    InitProperties();
}

PanelFrame::~PanelFrame() {
    // Errors while the frame goes away are of no interest to anyone.
    try {
        if (parentWindow_)
            parentWindow_->removeEventFilter(this);
        hook_.sc_UnSubclassAll();
    } catch (...) {
    }
}

QFont PanelFrame::hostFont() const {
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void PanelFrame::changed(const QString& name) {
    emit PropertyChanged(name);
}

// --- properties ---

void PanelFrame::setHeaderText(const QString& text) {
    p_.HeaderText = text;
    if (p_.ClassicXPStyle)
        refreshCaption();
    caption_->setText(ansiText(text));
    changed(QStringLiteral("HeaderText"));
    Redraw();
}

void PanelFrame::setHeaderTextFont(const QFont& font) {
    assign(p_.HeaderTextFont, font, "HeaderTextFont");
}

void PanelFrame::setHeaderTextAlign(int32_t align) {
    p_.HeaderTextAlign = narrow<int16_t>(align);
    headerTextFlags_ = framemetrics::textFlags(p_.HeaderTextAlign, headerTextFlags_);
    changed(QStringLiteral("HeaderTextAlign"));
    Redraw();
}

void PanelFrame::setHeaderTextColor(uint32_t colour) {
    assign(p_.HeaderTextColor, colour, "HeaderTextColor");
}

void PanelFrame::setHeaderSize(int32_t size) {
    assign(p_.HeaderSize, narrow<int16_t>(size), "HeaderSize");
}

void PanelFrame::setCloseable(bool on) {
    assign(p_.Closeable, on, "closeable");
}
void PanelFrame::setHeaderVisible(bool on) {
    assign(p_.HeaderVisible, on, "HeaderVisible");
}

void PanelFrame::setHeaderBackColor(uint32_t colour) {
    assign(p_.HeaderBackColor, colour, "HeaderBackColor");
}

void PanelFrame::setHeaderFadeColor(uint32_t colour) {
    assign(p_.HeaderFadeColor, colour, "HeaderFadeColor");
}

void PanelFrame::setHeaderFillStyle(int32_t style) {
    assign(p_.HeaderFillStyle, narrow<int16_t>(style), "HeaderFillStyle");
}

void PanelFrame::setHeaderPicture(const QImage& picture) {
    assign(p_.HeaderPicture, picture, "HeaderPicture");
}

void PanelFrame::setHoverTime(int32_t milliseconds) {
    // Only the hover requests read it; nothing on the surface changes.
    p_.HoverTime = milliseconds;
    changed(QStringLiteral("HoverTime"));
    if (p_.Enabled)
        requestTracking(tessaro::hook::TME_HOVER);
}

void PanelFrame::setHeaderPictureSize(int16_t size) {
    assign(p_.HeaderPictureSize, size, "HeaderPictureSize");
}

void PanelFrame::setFooterText(const QString& text) {
    assign(p_.FooterText, text, "FooterText");
}

void PanelFrame::setFooterTextFont(const QFont& font) {
    assign(p_.FooterTextFont, font, "FooterTextFont");
}

void PanelFrame::setFooterTextAlign(int32_t align) {
    p_.FooterTextAlign = narrow<int16_t>(align);
    footerTextFlags_ = framemetrics::textFlags(p_.FooterTextAlign, footerTextFlags_);
    changed(QStringLiteral("FooterTextAlign"));
    Redraw();
}

void PanelFrame::setFooterTextColor(uint32_t colour) {
    assign(p_.FooterTextColor, colour, "FooterTextColor");
}

void PanelFrame::setFooterSize(int32_t size) {
    assign(p_.FooterSize, narrow<int16_t>(size), "FooterSize");
}

void PanelFrame::setFooterVisible(bool on) {
    assign(p_.FooterVisible, on, "FooterVisible");
}

void PanelFrame::setHeaderPictureVisible(bool on) {
    assign(p_.HeaderPictureVisible, on, "HeaderPictureVisible");
}

void PanelFrame::setClassicXPStyle(bool on) {
    p_.ClassicXPStyle = on;
    if (on)
        p_.BackColor = kButtonFace;
    changed(QStringLiteral("ClassicXPStyle"));
    // Every paint starts from a cleared surface, so one redraw replaces clear-and-redraw.
    Redraw();
}

void PanelFrame::setZOrderOnFocus(bool on) {
    p_.ZOrderOnFocus = on;
    raise();
    changed(QStringLiteral("ZOrderOnFocus"));
    Redraw();
}

void PanelFrame::setContainerPictureVisible(bool on) {
    assign(p_.ContainerPictureVisible, on, "ContainerPictureVisible");
}

void PanelFrame::setContainerMoveable(bool on) {
    assign(p_.ContainerMoveable, on, "ContainerMoveable");
}

void PanelFrame::setContainerResizable(bool on) {
    assign(p_.ContainerResizable, on && !p_.ClassicXPStyle, "ContainerResizable");
}

void PanelFrame::setFooterBackColor(uint32_t colour) {
    assign(p_.FooterBackColor, colour, "FooterBackColor");
}

void PanelFrame::setFooterFadeColor(uint32_t colour) {
    assign(p_.FooterFadeColor, colour, "FooterFadeColor");
}

void PanelFrame::setFooterFillStyle(int32_t style) {
    assign(p_.FooterFillStyle, narrow<int16_t>(style), "FooterFillStyle");
}

void PanelFrame::setContainerTextFont(const QFont& font) {
    assign(p_.ContainerTextFont, font, "ContainerTextFont");
}

void PanelFrame::setContainerBackColor(uint32_t colour) {
    assign(p_.ContainerBackColor, colour, "ContainerBackColor");
}

void PanelFrame::setContainerFadeColor(uint32_t colour) {
    assign(p_.ContainerFadeColor, colour, "ContainerFadeColor");
}

void PanelFrame::setContainerFillStyle(int32_t style) {
    assign(p_.ContainerFillStyle, narrow<int16_t>(style), "ContainerFillStyle");
}

void PanelFrame::setContainerForeColor(uint32_t colour) {
    assign(p_.ContainerForeColor, colour, "ContainerForeColor");
}

void PanelFrame::setContainerBorderColor(uint32_t colour) {
    assign(p_.ContainerBorderColor, colour, "ContainerBorderColor");
}

void PanelFrame::setContainerBorderStyle(int32_t style) {
    assign(p_.ContainerBorderStyle, style, "ContainerBorderStyle");
}

void PanelFrame::setContainerShapeStyle(int32_t style) {
    assign(p_.ContainerShapeStyle, style, "ContainerShapeStyle");
}

void PanelFrame::setContainerCornerRadius(int16_t radius) {
    assign(p_.ContainerCornerRadius, radius, "ContainerCornerRadius");
}

void PanelFrame::setContainerPicture(const QImage& picture) {
    assign(p_.ContainerPicture, picture, "ContainerPicture");
}

void PanelFrame::setContainerPictureSize(int16_t size) {
    assign(p_.ContainerPictureSize, size, "ContainerPictureSize");
}

void PanelFrame::setContainerPictureBufferTop(int16_t pixels) {
    assign(p_.ContainerPictureBufferTop, pixels, "ContainerPictureBufferTop");
}

void PanelFrame::setContainerPictureBufferLeft(int16_t pixels) {
    assign(p_.ContainerPictureBufferLeft, pixels, "ContainerPictureBufferLeft");
}

void PanelFrame::setUseCustomColors(bool on) {
    p_.UseCustomColors = on;
    changed(QStringLiteral("UseCustomColors"));
    applyColours();
    Redraw();
}

void PanelFrame::setAppearence(int32_t theme) {
    p_.Appearence = theme;
    changed(QStringLiteral("Appearence"));
    applyColours();
    Redraw();
}

void PanelFrame::setExpandable(bool on) {
    p_.Expandable = on && !p_.ClassicXPStyle;
    collapsed_ = false;  // the state only: the height stays as it is
    changed(QStringLiteral("Expandable"));
    Redraw();
}

void PanelFrame::setAutoResizeControls(bool on) {
    p_.AutoResizeControls = on;
    changed(QStringLiteral("AutoResizeControls"));
}

void PanelFrame::setCollapseButtonColor(uint32_t colour) {
    assign(p_.CollapseButtonColor, colour, "CollapseButtonColor");
}

void PanelFrame::setBackColor(uint32_t colour) {
    assign(p_.BackColor, colour, "BackColor");
}

// --- colours ---

void PanelFrame::applyColours() {
    if (p_.UseCustomColors) {
        theme_ = framepainter::workingColours(p_, theme_);
        return;
    }
    // An unknown theme keeps the set as it was; either way the set goes back into the
    // colour properties, so a later save stores the theme's colours.
    if (const auto t = frametheme::theme(p_.Appearence))
        theme_ = *t;
    p_.HeaderBackColor = theme_.headerBack;
    p_.HeaderFadeColor = theme_.headerFade;
    p_.HeaderTextColor = theme_.headerText;
    p_.CollapseButtonColor = theme_.button;
    p_.FooterBackColor = theme_.footerBack;
    p_.FooterFadeColor = theme_.footerFade;
    p_.FooterTextColor = theme_.footerText;
    p_.ContainerBackColor = theme_.containerBack;
    p_.ContainerFadeColor = theme_.containerFade;
    p_.ContainerBorderColor = theme_.border;
    for (const char* name :
         {"HeaderBackColor", "HeaderFadeColor", "HeaderTextColor", "CollapseButtonColor",
          "FooterBackColor", "FooterFadeColor", "FooterTextColor", "ContainerBackColor",
          "ContainerFadeColor", "ContainerBorderColor"}) {
        changed(QString::fromLatin1(name));
    }
}

void PanelFrame::recomputeTextFlags() {
    footerTextFlags_ = framemetrics::textFlags(p_.FooterTextAlign, footerTextFlags_);
    headerTextFlags_ = framemetrics::textFlags(p_.HeaderTextAlign, headerTextFlags_);
}

// --- operations ---

void PanelFrame::setCollapseState(bool collapse) {
    // Expanding a frame that never had an expanded height keeps the height it has.
    int32_t newHeight = expandedHeightTaken_ ? expandedHeight_ : round32(heightTwips());
    if (collapse) {
        expandedHeight_ = round32(heightTwips());
        expandedHeightTaken_ = true;
        newHeight = round32(kTwipsPerPixel * framemetrics::headerHeight(p_.HeaderSize));
    }
    resize(width(), std::max(0, round32(newHeight / kTwipsPerPixel)));
    collapsed_ = collapse;
    repaint();
}

void PanelFrame::Expand() {
    setCollapseState(false);
    Redraw();
}

void PanelFrame::Collapse() {
    setCollapseState(true);
    Redraw();
}

void PanelFrame::OnTop() {
    raise();
    Redraw();
}

void PanelFrame::closeMe() {
    hide();
}

void PanelFrame::showMe() {
    show();
    Redraw();
}

void PanelFrame::Redraw() {
    updateShape();
    repaint();
    if (p_.AutoResizeControls)
        layoutChildren();
}

void PanelFrame::UtilDrawBackground(QPainter& lngHdc, uint32_t colorStart, uint32_t colorEnd,
                                    int32_t lngLeft, int32_t lngTop, int32_t lngWidth,
                                    int32_t lngHeight, int32_t horizontal) {
    surface::gradientFill(lngHdc, colorStart, colorEnd, lngLeft, lngTop, lngWidth, lngHeight,
                          horizontal == 0);
}

void PanelFrame::UtilDrawShapeStyle(QPainter& lngHdc, int32_t X1, int32_t Y1, int32_t X2,
                                    int32_t Y2, int32_t radius) {
    // Like the outline of the frame: the figure covers X1..X2 - 1 and Y1..Y2 - 1.
    const QRect box(X1, Y1, tessaro::checked::sub32(tessaro::checked::sub32(X2, 1), X1),
                    tessaro::checked::sub32(tessaro::checked::sub32(Y2, 1), Y1));
    if (radius > 0) {
        lngHdc.drawRoundedRect(box, radius / 2.0, radius / 2.0);
    } else {
        lngHdc.drawRect(box);
    }
}

uint32_t PanelFrame::dBlendColor(uint32_t oColorFrom, uint32_t oColorTo, int32_t Alpha) const {
    return frametheme::blendColour(oColorFrom, oColorTo, Alpha);
}

// --- shape, caption, layout ---

void PanelFrame::updateShape() {
    if (p_.ClassicXPStyle) {
        clearMask();
        refreshCaption();
        return;
    }
    caption_->hide();
    const int32_t corner = framepainter::cornerDiameter(p_);
    if (corner > 0 && width() > 0 && height() > 0) {
        setMask(roundedRegion(width(), height(), corner));
    } else {
        clearMask();
    }
}

void PanelFrame::refreshCaption() {
    caption_->setText(ansiText(p_.HeaderText));
    caption_->setFont(p_.HeaderTextFont);
    QPalette palette = caption_->palette();
    palette.setColor(QPalette::WindowText, syscolour::toQColor(kCaptionColour));
    palette.setColor(QPalette::Window,
                     syscolour::toQColor(frametheme::translateOrBlack(p_.BackColor)));
    caption_->setPalette(palette);
    if (p_.HeaderText.isEmpty() || !p_.ClassicXPStyle) {
        caption_->hide();
        return;
    }
    caption_->adjustSize();
    caption_->move(10, 0);
    caption_->show();
    caption_->update();
}

QList<QWidget*> PanelFrame::hostedChildren() const {
    QList<QWidget*> children;
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w != caption_ && !w->isWindow())
            children.append(w);
    }
    return children;
}

void PanelFrame::layoutChildren() {
    // Collapsing changes the height only for show: the children wait for the expanded size.
    // Before the frame has gone live there is no size to compare with.
    if (collapsed_ || !loadedSizesTaken_)
        return;
    try {
        childlayout::layoutPass(hostedChildren(), widthTwips(), heightTwips(), layoutReference_);
    } catch (...) {
        // a layout pass never reports an error
    }
}

void PanelFrame::takeLoadedSizes() {
    try {
        if (!collapsed_) {
            expandedHeight_ = round32(heightTwips());
            expandedHeightTaken_ = true;
        }
        minimumWidth_ = round32(widthTwips());
        minimumHeight_ = round32(heightTwips());
        layoutReference_ = {minimumWidth_, minimumHeight_};
        loadedSizesTaken_ = true;
    } catch (const tessaro::RuntimeError&) {
        // a size beyond 32 bits of twips: keep the previous values
    }
}

// --- events ---

void PanelFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const FramePaintState state{width(), height(), collapsed_, headerTextFlags_, footerTextFlags_};
    try {
        framepainter::paint(painter, p_, theme_, state, regions_);
    } catch (const tessaro::RuntimeError&) {
        // An overflow ends this paint; what was drawn stays, and the event loop goes on.
    }
}

void PanelFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateShape();
}

void PanelFrame::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!live_)
        goLive();
    updateShape();
}

void PanelFrame::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (p_.ZOrderOnFocus)
        OnTop();
    if (p_.ClassicXPStyle)
        refreshCaption();
    repaint();
}

void PanelFrame::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    repaint();
}
