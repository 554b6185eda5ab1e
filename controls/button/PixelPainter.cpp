#include "PixelPainter.h"

#include <cmath>
#include <cstdlib>

#include "ColourOps.h"
#include "SystemColour.h"

namespace tessaro::button {

namespace {

QRgb toRgb(uint32_t c) {
    return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

// System colour indices of the four edge lines, by the edge kind's inner and outer bits:
// light (top-left) and dark (bottom-right), outer and inner; -1 draws nothing.
constexpr int kLtInner[16] = {-1, -1, -1, -1, -1, 20, 20, -1, -1, 21, 21, -1, -1, -1, -1, -1};
constexpr int kLtOuter[16] = {-1, 22, 16, -1, 20, 22, 16, -1, 21, 22, 16, -1, -1, 22, 16, -1};
constexpr int kRbInner[16] = {-1, -1, -1, -1, -1, 16, 16, -1, -1, 22, 22, -1, -1, -1, -1, -1};
constexpr int kRbOuter[16] = {-1, 21, 20, -1, 16, 21, 20, -1, 22, 21, 20, -1, -1, 21, 20, -1};

uint32_t systemColour(int index) {
    return translate(syscolour::reference(index));
}

}  // namespace

void PixelPainter::setPixel(int x, int y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return;
    image_.setPixel(x, y, toRgb(colour));
}

uint32_t PixelPainter::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return kInvalidColour;
    const QRgb p = image_.pixel(x, y);
    return syscolour::rgb(qRed(p), qGreen(p), qBlue(p));
}

void PixelPainter::fillRect(int left, int top, int right, int bottom, uint32_t colour) {
    const QRect r = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)) & image_.rect();
    if (r.isEmpty())
        return;
    const QRgb rgb = toRgb(colour);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x)
            image_.setPixel(x, y, rgb);
    }
}

void PixelPainter::line(int x1, int y1, int x2, int y2, uint32_t colour) {
    // Bresenham from the start point, stopping before the end point.
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1;
    int y = y1;
    while (x != x2 || y != y2) {
        setPixel(x, y, colour);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void PixelPainter::outline(int x, int y, int w, int h, uint32_t colour) {
    line(x, y, x + w, y, colour);
    line(x + w, y, x + w, y + h, colour);
    line(x + w, y + h, x, y + h, colour);
    line(x, y + h, x, y, colour);
}

void PixelPainter::edge(int left, int top, int right, int bottom, int kind) {
    const int k = kind & 0xF;
    const auto drawRing = [&](int l, int t, int r, int b, int lt, int rb) {
        if (lt >= 0) {
            const uint32_t c = systemColour(lt);
            line(l, t, r, t, c);
            line(l, t, l, b, c);
        }
        if (rb >= 0) {
            const uint32_t c = systemColour(rb);
            line(l, b - 1, r, b - 1, c);
            line(r - 1, t, r - 1, b, c);
        }
    };
    drawRing(left, top, right, bottom, kLtOuter[k], kRbOuter[k]);
    drawRing(left + 1, top + 1, right - 1, bottom - 1, kLtInner[k], kRbInner[k]);
}

void PixelPainter::gradientStrip(uint32_t start, uint32_t end, int x1, int y0, int x2, int n) {
    if (n <= 0)
        return;
    for (int i = 0; i <= n; ++i) {
        uint32_t c = 0;
        for (int ch = 0; ch < 3; ++ch) {
            const float s = static_cast<float>((start >> (8 * ch)) & 0xFF);
            const float e = static_cast<float>((end >> (8 * ch)) & 0xFF);
            const float v = s + (e - s) * static_cast<float>(i) / static_cast<float>(n);
            c |= static_cast<uint32_t>(std::nearbyint(v)) << (8 * ch);
        }
        line(x1, y0 + i, x2, y0 + i, c);
    }
}

}  // namespace tessaro::button
