#include "FramePainter.h"

#include <QPainter>
#include <array>

#include "CheckedMath.h"
#include "FrameMetrics.h"
#include "SurfaceDrawing.h"
#include "SystemColour.h"

namespace framepainter {

namespace {

using framemetrics::Box;
using tessaro::checked::add16;
using tessaro::checked::add32;
using tessaro::checked::sub32;

QColor concrete(uint32_t colour) {
    return syscolour::toQColor(frametheme::translateOrBlack(colour));
}

// Classic style draws a light group-box outline instead of the themed frame.
constexpr uint32_t kClassicOutline = syscolour::rgb(208, 208, 191);

// Bar text inset from its bar: left + 3, top + 2, right - 3, bottom - 1.
QRect textRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const int32_t l = add32(left, 3);
    const int32_t t = add32(top, 2);
    const int32_t r = sub32(right, 3);
    const int32_t b = sub32(bottom, 1);
    if (r <= l || b <= t)
        return {};
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

void drawFooter(QPainter& painter, const FrameProperties& p, const ThemeColours& c,
                const FramePaintState& s, int32_t fH) {
    const int32_t top = sub32(s.height, fH);
    const int32_t right = sub32(s.width, 1);
    surface::gradientFill(painter, c.footerBack, c.footerFade, 0, top, right, s.height,
                          p.FooterFillStyle == 0);
    surface::text(painter, textRect(0, top, right, s.height), s.footerTextFlags, p.FooterText,
                  p.FooterTextFont, concrete(c.footerText));
}

void drawHeader(QPainter& painter, const FrameProperties& p, const ThemeColours& c,
                const FramePaintState& s, int32_t hH) {
    const int32_t right = sub32(s.width, 1);
    surface::gradientFill(painter, c.headerBack, c.headerFade, 0, 0, right, hH,
                          p.HeaderFillStyle == 0);
    int32_t left = add32(3, p.HeaderPictureSize);
    int32_t textRight = right;
    if (p.Expandable)
        textRight = sub32(textRight, 20);
    if (p.Closeable)
        textRight = sub32(textRight, 20);
    if (p.HeaderPicture.isNull() || !p.HeaderPictureVisible)
        left = sub32(left, 18);
    surface::text(painter, textRect(left, 1, textRight, hH), s.headerTextFlags, p.HeaderText,
                  p.HeaderTextFont, concrete(c.headerText));
}

// Box outline and hit rectangle shared by the collapse and close buttons.
QRect drawButtonBox(QPainter& painter, const Box& b, const QColor& colour) {
    const QPoint bottomLeft(add32(b.left, 1), sub32(b.bottom, 2));
    surface::polyline(painter,
                      {bottomLeft, QPoint(add32(b.left, 1), add32(b.top, 1)),
                       QPoint(sub32(b.right, 2), add32(b.top, 1)),
                       QPoint(sub32(b.right, 2), sub32(b.bottom, 2)), bottomLeft},
                      colour);
    return framemetrics::hitRect(b);
}

using Stroke = std::array<QPoint, 3>;

void drawGlyph(QPainter& painter, const Box& b, const std::array<Stroke, 4>& strokes,
               const QColor& colour) {
    const auto at = [&](QPoint offset) {
        return QPoint(add32(b.left, offset.x()), add32(b.top, offset.y()));
    };
    for (const Stroke& s : strokes) {
        surface::polyline(painter, {at(s[0]), at(s[1]), at(s[2])}, colour);
    }
}

const std::array<Stroke, 4> kCross = {{
    {QPoint(5, 5), QPoint(8, 8), QPoint(12, 4)},
    {QPoint(6, 5), QPoint(8, 7), QPoint(11, 4)},
    {QPoint(5, 10), QPoint(8, 7), QPoint(12, 11)},
    {QPoint(6, 10), QPoint(8, 8), QPoint(11, 11)},
}};
const std::array<Stroke, 4> kArrowsDown = {{
    {QPoint(5, 4), QPoint(8, 7), QPoint(12, 3)},
    {QPoint(6, 4), QPoint(8, 6), QPoint(11, 3)},
    {QPoint(5, 8), QPoint(8, 11), QPoint(12, 7)},
    {QPoint(6, 8), QPoint(8, 10), QPoint(11, 7)},
}};
const std::array<Stroke, 4> kArrowsUp = {{
    {QPoint(5, 7), QPoint(8, 4), QPoint(12, 8)},
    {QPoint(6, 7), QPoint(8, 5), QPoint(11, 8)},
    {QPoint(5, 11), QPoint(8, 8), QPoint(12, 12)},
    {QPoint(6, 11), QPoint(8, 9), QPoint(11, 12)},
}};

void drawResizeGrip(QPainter& painter, const FramePaintState& s, const QColor& colour,
                    HitRegions& regions) {
    const Box g = framemetrics::resizeGripBox(s.width, s.height);
    const int32_t lowest = sub32(g.bottom, 2);
    for (int32_t drop : {1, 6}) {
        const int32_t y = add32(g.top, drop);
        const int32_t inset = drop == 1 ? 0 : 5;
        surface::polyline(
            painter,
            {QPoint(sub32(g.right, 4), y), QPoint(sub32(add32(g.left, inset), 1), lowest),
             QPoint(add32(g.left, inset), lowest), QPoint(sub32(g.right, 3), y)},
            colour);
    }
    regions.resizeGrip = framemetrics::hitRect(g);
}

void paintThemed(QPainter& painter, const FrameProperties& p, const ThemeColours& c,
                 const FramePaintState& s, HitRegions& regions) {
    const int32_t hH = framemetrics::headerHeight(p.HeaderSize);
    const int32_t fH = framemetrics::footerHeight(p.FooterSize);
    const int32_t r = cornerDiameter(p);

    const int32_t top = p.HeaderVisible ? sub32(hH, 2) : 0;
    const int32_t bottom = p.FooterVisible ? sub32(s.height, fH) : s.height;
    surface::gradientFill(painter, c.containerBack, c.containerFade, 0, top, s.width, bottom,
                          p.ContainerFillStyle == 0);
    if (p.FooterVisible)
        drawFooter(painter, p, c, s, fH);
    if (p.HeaderVisible)
        drawHeader(painter, p, c, s, hH);
    surface::roundRectOutline(painter, 0, 0, sub32(s.width, 1), sub32(s.height, 1), r,
                              concrete(c.border), surface::penStyle(p.ContainerBorderStyle));

    const QColor button = concrete(c.button);
    if (p.HeaderVisible) {
        if (!p.HeaderPicture.isNull() && p.HeaderPictureVisible) {
            const int32_t y = tessaro::checked::round32((hH - p.HeaderPictureSize) / 2.0);
            surface::picture(painter, p.HeaderPicture, 4, y, p.HeaderPictureSize);
        }
        if (p.Expandable) {
            const Box b = framemetrics::collapseButtonBox(s.width, p.Closeable);
            regions.collapseButton = drawButtonBox(painter, b, button);
            drawGlyph(painter, b, s.collapsed ? kArrowsUp : kArrowsDown, button);
        }
    }
    if (p.ContainerResizable && p.FooterVisible && !s.collapsed) {
        drawResizeGrip(painter, s, button, regions);
    }
    if (p.Closeable && p.HeaderVisible) {
        const Box b = framemetrics::closeButtonBox(s.width);
        regions.closeButton = drawButtonBox(painter, b, button);
        drawGlyph(painter, b, kCross, button);
    }
    if (!p.ContainerPicture.isNull() && p.ContainerPictureVisible) {
        const int32_t x = add16(p.ContainerPictureBufferLeft, 4);
        const int32_t h = p.HeaderVisible ? sub32(s.height, hH) : s.height;
        const int32_t y = sub32(s.height, sub32(sub32(h, p.ContainerPictureBufferTop), 2));
        surface::picture(painter, p.ContainerPicture, x, y, p.ContainerPictureSize);
    }
}

}  // namespace

ThemeColours workingColours(const FrameProperties& p, const ThemeColours& themeSet) {
    if (!p.UseCustomColors)
        return themeSet;
    return {p.HeaderBackColor,    p.HeaderFadeColor,     p.HeaderTextColor, p.CollapseButtonColor,
            p.FooterBackColor,    p.FooterFadeColor,     p.FooterTextColor, p.ContainerBackColor,
            p.ContainerFadeColor, p.ContainerBorderColor};
}

int32_t cornerDiameter(const FrameProperties& p) {
    return p.ContainerShapeStyle == 1 ? p.ContainerCornerRadius : 0;
}

void paint(QPainter& painter, const FrameProperties& p, const ThemeColours& themeSet,
           const FramePaintState& s, HitRegions& regions) {
    // The cleared surface shows the back colour wherever nothing else is painted.
    painter.fillRect(QRect(0, 0, s.width, s.height), concrete(p.BackColor));
    if (p.ClassicXPStyle) {
        surface::roundRectOutline(painter, 0, 4, sub32(s.width, 1), sub32(s.height, 1), 8,
                                  concrete(kClassicOutline),
                                  surface::penStyle(p.ContainerBorderStyle));
        return;
    }
    paintThemed(painter, p, workingColours(p, themeSet), s, regions);
}

}  // namespace framepainter
