#include "SurfaceDrawing.h"

#include <QPainter>
#include <QPainterPath>
#include <cstdlib>

#include "AnsiText.h"
#include "FrameMetrics.h"
#include "FrameTheme.h"
#include "SystemColour.h"

namespace surface {

namespace {

int channel16(uint32_t colour, int shift) {
    return static_cast<int>((colour >> shift) & 0xFF) * 256;
}

QColor rampColour(uint32_t start, uint32_t end, int64_t step, int64_t steps) {
    int c[3];
    for (int i = 0; i < 3; ++i) {
        const int64_t a = channel16(start, 8 * i);
        const int64_t b = channel16(end, 8 * i);
        c[i] = static_cast<int>((a + (b - a) * step / steps) >> 8);
    }
    return QColor(c[0], c[1], c[2]);
}

}  // namespace

void gradientFill(QPainter& painter, uint32_t start, uint32_t end, int32_t left, int32_t top,
                  int32_t right, int32_t bottom, bool horizontal) {
    if (right <= left || bottom <= top)
        return;
    const uint32_t from = frametheme::translateOrBlack(start);
    const uint32_t to = frametheme::translateOrBlack(end);
    const int64_t width = int64_t{right} - left;
    const int64_t height = int64_t{bottom} - top;
    if (horizontal) {
        for (int64_t i = 0; i < width; ++i) {
            painter.fillRect(QRect(static_cast<int>(left + i), top, 1, static_cast<int>(height)),
                             rampColour(from, to, i, width));
        }
    } else {
        for (int64_t i = 0; i < height; ++i) {
            painter.fillRect(QRect(left, static_cast<int>(top + i), static_cast<int>(width), 1),
                             rampColour(from, to, i, height));
        }
    }
}

void line(QPainter& painter, QPoint from, QPoint to, const QColor& colour) {
    // Bresenham, stepping along the major axis and stopping before the end point.
    int x = from.x();
    int y = from.y();
    const int dx = std::abs(to.x() - x);
    const int dy = std::abs(to.y() - y);
    const int sx = to.x() > x ? 1 : -1;
    const int sy = to.y() > y ? 1 : -1;
    const int steps = dx > dy ? dx : dy;
    int error = (dx > dy ? dx : dy) / 2;
    for (int i = 0; i < steps; ++i) {
        painter.fillRect(QRect(x, y, 1, 1), colour);
        if (dx >= dy) {
            x += sx;
            error -= dy;
            if (error < 0) {
                y += sy;
                error += dx;
            }
        } else {
            y += sy;
            error -= dx;
            if (error < 0) {
                x += sx;
                error += dy;
            }
        }
    }
}

void polyline(QPainter& painter, std::initializer_list<QPoint> points, const QColor& colour) {
    const QPoint* previous = nullptr;
    for (const QPoint& p : points) {
        if (previous)
            line(painter, *previous, p, colour);
        previous = &p;
    }
}

Qt::PenStyle penStyle(int32_t borderStyle) {
    switch (borderStyle) {
        case 1:
            return Qt::DashLine;
        case 2:
            return Qt::DotLine;
        case 3:
            return Qt::DashDotLine;
        case 4:
            return Qt::DashDotDotLine;
        case 5:
            return Qt::NoPen;
        default:
            return Qt::SolidLine;
    }
}

void roundRectOutline(QPainter& painter, int32_t left, int32_t top, int32_t right, int32_t bottom,
                      int32_t corner, const QColor& colour, Qt::PenStyle style) {
    if (style == Qt::NoPen || right - 1 < left || bottom - 1 < top)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(colour, 0, style);  // cosmetic, one pixel
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // An aliased stroke of a w x h rectangle covers w + 1 columns.
    const QRect outline(left, top, right - 1 - left, bottom - 1 - top);
    if (corner > 0) {
        const qreal radius = corner / 2.0;
        painter.drawRoundedRect(outline, radius, radius, Qt::AbsoluteSize);
    } else {
        painter.drawRect(outline);
    }
    painter.restore();
}

void text(QPainter& painter, const QRect& rect, int32_t flags, const QString& text,
          const QFont& font, const QColor& colour) {
    if (text.isEmpty() || rect.isEmpty())
        return;
    int qtFlags = Qt::TextShowMnemonic;
    if (flags & framemetrics::kDtCenter) {
        qtFlags |= Qt::AlignHCenter;
    } else if (flags & framemetrics::kDtRight) {
        qtFlags |= Qt::AlignRight;
    } else {
        qtFlags |= Qt::AlignLeft;
    }
    // Vertical placement only holds for single-line text.
    if ((flags & framemetrics::kDtSingleLine) != 0) {
        qtFlags |= Qt::TextSingleLine;
        if (flags & framemetrics::kDtVCenter) {
            qtFlags |= Qt::AlignVCenter;
        } else if (flags & framemetrics::kDtBottom) {
            qtFlags |= Qt::AlignBottom;
        } else {
            qtFlags |= Qt::AlignTop;
        }
    } else {
        qtFlags |= Qt::AlignTop;
    }
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(rect, qtFlags, ansiText(text));
    painter.restore();
}

void picture(QPainter& painter, const QImage& image, int32_t x, int32_t y, int32_t size) {
    if (image.isNull() || size < 0)
        return;
    QImage source = image;
    if (!image.hasAlphaChannel()) {
        // The top-left pixel is the scaled copy's top-left pixel too: its colour is the key.
        source = image.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = source.pixel(0, 0);
        for (int row = 0; row < source.height(); ++row) {
            auto* line = reinterpret_cast<QRgb*>(source.scanLine(row));
            for (int col = 0; col < source.width(); ++col) {
                if (line[col] == key)
                    line[col] = 0;
            }
        }
    }
    // Scaled while drawing, without smoothing, so a large size never builds a large copy.
    const QRect target = size == 0 ? QRect(QPoint(x, y), image.size()) : QRect(x, y, size, size);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, source);
    painter.restore();
}

}  // namespace surface
