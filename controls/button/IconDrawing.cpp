#include "IconDrawing.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tessaro::button {

namespace {

uint32_t bgr(QRgb p) {
    return static_cast<uint32_t>(qRed(p)) | (static_cast<uint32_t>(qGreen(p)) << 8) |
           (static_cast<uint32_t>(qBlue(p)) << 16);
}

}  // namespace

bool isKeptGrey(uint32_t colour) {
    const uint32_t c = colour & 0xFFFFFFu;
    const uint32_t level = c & 0xFF;
    if (c != level * 0x010101u)
        return false;
    if (level == 0xFF)
        return true;
    return level % 0x10 == 0 && level != 0x90;
}

int iconGrey(int red, int green, int blue) {
    const double g = 0.59 * green + 0.33 * red + 0.11 * blue;
    return std::min(255, static_cast<int>(std::nearbyint(g)));
}

QImage greyedIcon(const QImage& icon) {
    QImage out = icon.convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < out.width(); ++x) {
        for (int y = 0; y < out.height(); ++y) {
            const QRgb p = out.pixel(x, y);
            if (isKeptGrey(bgr(p)))
                continue;
            const int g = iconGrey(qRed(p), qGreen(p), qBlue(p));
            out.setPixel(x, y, qRgba(g, g, g, qAlpha(p)));
        }
    }
    return out;
}

bool paintIconGrayscale(QPainter* dest, const QImage& icon, int x, int y, int height, int width) {
    if (!dest || !dest->isActive() || icon.isNull())
        return false;
    dest->drawImage(QRect(x, y, width, height), greyedIcon(icon));
    return true;
}

void drawMasked(QImage& surface, const QImage& picture, int x, int y, int w, int h,
                uint32_t maskColour, std::optional<uint32_t> silhouette, bool grey) {
    if (w == 0 || h == 0 || picture.isNull())
        return;
    if (w < 0)
        w = picture.width();
    if (h < 0)
        h = picture.height();
    QImage off(w, h, QImage::Format_RGB32);
    const QRgb mask =
        qRgb(static_cast<int>(maskColour & 0xFF), static_cast<int>((maskColour >> 8) & 0xFF),
             static_cast<int>((maskColour >> 16) & 0xFF));
    off.fill(mask);
    {
        QPainter p(&off);
        p.drawImage(QPoint(0, 0), picture);
    }
    const QRect area = QRect(x, y, w, h) & surface.rect();
    for (int dy = area.top(); dy <= area.bottom(); ++dy) {
        for (int dx = area.left(); dx <= area.right(); ++dx) {
            const QRgb src = off.pixel(dx - x, dy - y);
            if ((src & 0xFFFFFFu) == (mask & 0xFFFFFFu))
                continue;
            QRgb out = src;
            if (silhouette) {
                const uint32_t s = *silhouette;
                out = qRgb(static_cast<int>(s & 0xFF), static_cast<int>((s >> 8) & 0xFF),
                           static_cast<int>((s >> 16) & 0xFF));
            } else if (grey) {
                const double sum =
                    std::nearbyint(0.30 * qRed(src)) + 0.59 * qGreen(src) + 0.11 * qBlue(src);
                const int g = std::min(255, static_cast<int>(std::nearbyint(sum)));
                out = qRgb(g, g, g);
            }
            surface.setPixel(dx, dy, out);
        }
    }
}

}  // namespace tessaro::button
