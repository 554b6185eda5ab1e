// Layout (caption rectangle, window region) and the redraw pipeline.
#include <QBitmap>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>

#include "CheckedMath.h"
#include "ColourOps.h"
#include "IconDrawing.h"
#include "PixelPainter.h"
#include "StyleContext.h"
#include "SystemColour.h"
#include "ThemedButton.h"
#include "WindowRegion.h"

using namespace tessaro::button;
using tessaro::checked::round32;

namespace {

uint32_t systemRef(int index) {
    return syscolour::reference(index);
}

// Carriage returns end lines like line feeds do.
QString displayText(const QString& caption) {
    QString t = caption;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

// Vertical placement flags only act on single-line text, which the caption never is: the
// text always starts at the top of its rectangle, which the layout has centred already.
int qtTextFlags(int32_t dt) {
    int f = Qt::AlignTop | Qt::AlignAbsolute | Qt::TextShowMnemonic;
    switch (dt & 0x3) {
        case DT_CENTER:
            f |= Qt::AlignHCenter;
            break;
        case DT_RIGHT:
            f |= Qt::AlignRight;
            break;
        default:
            f |= Qt::AlignLeft;
            break;
    }
    if (dt & DT_WORDBREAK)
        f |= Qt::TextWordWrap;
    return f;
}

int styleInset(int32_t style) {
    switch (style) {
        case 7:
        case 8:
            return 4;
        case 9:
            return 6;
        case 10:
            return 7;
        default:
            return 3;
    }
}

}  // namespace

// --- layout ---

int32_t ThemedButton::captionWrapWidth(int32_t W) const {
    const int32_t full = W - 8;
    if (icon_.isNull() || iconSize_ <= 0 || (iconAlign_ != 1 && iconAlign_ != 2))
        return full;
    // A caption long enough to reach an icon at the side would be drawn over it: it wraps
    // within what the icon's column (its inset, the icon and a gap) leaves on its side.
    constexpr int32_t kGap = 2;
    const int32_t column = inset_ + iconSize_ + kGap;
    int32_t room = full;
    if (captionAlign_ == 2 && iconAlign_ == 1) {
        room = W - 8 - inset_ - column;  // its left edge, W - width - 8 - inset, clears the icon
    } else if (captionAlign_ == 1 && iconAlign_ == 2) {
        room = W - 4 - inset_ - column;  // its right edge, 4 + width + inset, clears the icon
    } else if (captionAlign_ == 0 || captionAlign_ == 3 || captionAlign_ == 4) {
        room = W - 8 - 2 * column;  // centred: as much room on both sides
    }
    return std::max(0, std::min(room, full));
}

Rect32 ThemedButton::measureCaption(int32_t W, int32_t H) const {
    const QFontMetrics fm(font());
    const QRect bound(4, 4, std::max(0, captionWrapWidth(W)), std::max(0, H - 8));
    const QRect r = fm.boundingRect(
        bound, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic,
        displayText(caption_));
    return {4, 4, 4 + r.width(), 4 + r.height()};
}

void ThemedButton::relayout() {
    if (width() < kMinimumSizePx)
        resize(kMinimumSizePx, height());
    if (height() < kMinimumSizePx)
        resize(width(), kMinimumSizePx);
    const int32_t W = width();
    const int32_t H = height();
    clientRect_ = {0, 0, W, H};
    const CaptionPlacement p = placeCaption(W, H, measureCaption(W, H), captionAlign_, inset_,
                                            captionFlags_, rightToLeft_);
    captionRect_ = p.rect;
    captionFlags_ = p.flags;
    applyWindowRegion();
    Refresh();
}

void ThemedButton::applyWindowRegion() {
    const int W = clientRect_.right;
    const int H = clientRect_.bottom;
    switch (style_) {
        case 5:
        case 7:
            setMask(octagonRegionA(W, H));
            break;
        case 8:
        case 9:
            setMask(octagonRegionB(W, H));
            break;
        case 10:
            setMask(roundedRegion(W, H));
            break;
        default:
            setMask(rectangleRegion(W, H));
            break;
    }
}

// --- redraw ---

void ThemedButton::Refresh() {
    guarded([&] { redrawSurface(); });
    update();
}

void ThemedButton::setSurfaceBackground(uint32_t colour) {
    surfaceBackground_ = colour;
    surface_.fill(toQColor(translate(colour)));
}

void ThemedButton::redrawSurface() {
    const QSize size(std::max(1, width()), std::max(1, height()));
    if (surface_.size() != size)
        surface_ = QImage(size, QImage::Format_RGB32);
    surface_.fill(toQColor(translate(surfaceBackground_)));
    inset_ = 3;
    if (!shown_)
        return;
    applyStateAdjustments();
    drawStyleBackground();
    drawIcon();
    drawCaption();
}

void ThemedButton::applyStateAdjustments() {
    if (!userMode_ && style_ != 5)
        state_ = 2;
    if (buttonType_ == 1 && value_)
        state_ = 3;
    if (!drawnEnabled()) {
        state_ = 4;
        setSurfaceBackground(systemRef(syscolour::kButtonFace));
    }
}

void ThemedButton::drawStyleBackground() {
    if (style_ == 6) {
        if (!drawStyle6()) {
            // No themed drawing: the fallback style holds from the next redraw on.
            style_ = nonThemeStyle_;
        }
        return;
    }
    using Drawing = void (*)(StyleContext&);
    static constexpr Drawing kDrawings[] = {
        drawClassicEdgeStyle,  drawThinEdgeStyle, drawFlatStyle,   drawEtchedStyle,
        drawHighlightBoxStyle, drawShadedStyle,   nullptr,         drawFaceShadedStyle,
        drawGradientStyle,     drawBevelStyle,    drawArtworkStyle};
    if (style_ < 0 || style_ > 10)
        return;
    inset_ = styleInset(style_);
    StyleContext context{.surface = surface_,
                         .W = clientRect_.right,
                         .H = clientRect_.bottom,
                         .state = state_,
                         .hasFocus = hasFocus_,
                         .isDefault = displayAsDefault_,
                         .showFocus = showFocus_,
                         .useCustomColors = useCustomColors_,
                         .backColor = translate(backColor_),
                         .highlightColor = translate(highlightColor_),
                         .setBackground = [this](uint32_t c) { setSurfaceBackground(c); }};
    kDrawings[style_](context);
}

bool ThemedButton::themeAvailable() const {
    // The classic "Windows" style is the look without a visual-styles engine.
    const QStyle* s = style();
    return s && s->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) != 0;
}

bool ThemedButton::drawStyle6() {
    setSurfaceBackground(systemRef(syscolour::kButtonFace));
    const int themeState = (hasFocus_ && state_ == 1) ? 5 : state_;
    if (!themeAvailable())
        return false;

    const int W = clientRect_.right;
    const int H = clientRect_.bottom;
    QStyleOptionButton opt;
    opt.initFrom(this);
    opt.state &= ~(QStyle::State_MouseOver | QStyle::State_Sunken | QStyle::State_On |
                   QStyle::State_HasFocus | QStyle::State_Raised | QStyle::State_Enabled);
    opt.features = QStyleOptionButton::None;
    switch (themeState) {
        case 2:
            opt.state |= QStyle::State_Enabled | QStyle::State_Raised | QStyle::State_MouseOver;
            break;
        case 3:
            opt.state |= QStyle::State_Enabled | QStyle::State_Sunken;
            break;
        case 4:
            opt.state |= QStyle::State_Raised;
            break;
        case 5:
            opt.state |= QStyle::State_Enabled | QStyle::State_Raised | QStyle::State_HasFocus;
            opt.features |= QStyleOptionButton::DefaultButton;
            break;
        default:
            opt.state |= QStyle::State_Enabled | QStyle::State_Raised;
            break;
    }

    if (roundedBordersByTheme_) {
        // The theme's shape: where the bevel, drawn one pixel larger all round, covers.
        QImage shape(W + 2, H + 2, QImage::Format_ARGB32_Premultiplied);
        shape.fill(Qt::transparent);
        QStyleOptionButton grown = opt;
        grown.rect = QRect(0, 0, W + 2, H + 2);
        {
            QPainter p(&shape);
            style()->drawControl(QStyle::CE_PushButtonBevel, &grown, &p, this);
        }
        const QBitmap covered = QBitmap::fromImage(shape.createAlphaMask(Qt::ThresholdAlphaDither));
        setMask(QRegion(covered).translated(-1, -1) & QRegion(0, 0, W, H));
    }

    opt.rect = QRect(0, 0, W, H);
    QPainter p(&surface_);
    if (!p.isActive())
        return false;
    p.setClipRect(opt.rect);
    style()->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, this);
    return p.isActive();
}

void ThemedButton::drawIcon() {
    if (icon_.isNull())
        return;
    const int s = iconSize_;
    const double SW = clientRect_.right;
    const double SH = clientRect_.bottom;
    const int i = inset_;
    int x = 0;
    int y = 0;
    switch (iconAlign_) {
        case 0:
            x = round32((SW - s) / 2);
            y = round32((SH - s) / 2);
            break;
        case 1:
            x = i;
            y = round32((SH - s) / 2);
            break;
        case 2:
            x = round32(SW - s - i);
            y = round32((SH - s) / 2);
            break;
        case 3:
            x = round32((SW - s) / 2);
            y = i;
            break;
        case 4:
            x = round32((SW - s) / 2);
            y = round32(SH - s - i);
            break;
        default:
            break;
    }
    if (state_ == 3) {
        x += 1;
        y += 1;
    }
    const uint32_t mask = translate(maskColor_);
    const auto paintPicture = [&](int px, int py) {
        if (s <= 0)
            return;
        QPainter p(&surface_);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(px, py, s, s), icon_);
    };
    if (state_ == 2 && style_ == 4) {
        if (useMaskColor_) {
            drawMasked(surface_, icon_, x + 1, y + 1, s, s, mask, 0x808080u, false);
            drawMasked(surface_, icon_, x - 1, y - 1, s, s, mask, std::nullopt, false);
        } else {
            paintPicture(x, y);
            PixelPainter pp(surface_);
            const uint32_t background = pp.pixel(1, 1);
            for (int py = y; py <= y + s; ++py) {
                for (int px = x; px <= x + s; ++px) {
                    if (pp.pixel(px, py) != background)
                        pp.setPixel(px, py, 0x808080);
                }
            }
        }
        x -= 2;
        y -= 2;
    }
    if (useMaskColor_) {
        drawMasked(surface_, icon_, x, y, s, s, mask, std::nullopt, !drawnEnabled());
    } else if (drawnEnabled()) {
        paintPicture(x, y);
    } else {
        QPainter p(&surface_);
        paintIconGrayscale(&p, icon_, x, y, s, s);
    }
}

void ThemedButton::drawCaption() {
    uint32_t colour;
    if (!useCustomColors_) {
        colour = systemRef(state_ == 4 ? syscolour::kGrayText : syscolour::kButtonText);
    } else if (state_ == 1) {
        colour = fontColor_;
    } else if (state_ == 4) {
        colour = systemRef(syscolour::kGrayText);
    } else {
        colour = fontHighlightColor_;
    }
    QPainter p(&surface_);
    p.setFont(font());
    p.setPen(toQColor(translate(colour)));
    if (captionFlags_ & DT_RTLREADING)
        p.setLayoutDirection(Qt::RightToLeft);
    p.drawText(captionRect_.toQRect(), qtTextFlags(captionFlags_), displayText(caption_));
}
