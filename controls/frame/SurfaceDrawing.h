#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <Qt>
#include <cstdint>
#include <initializer_list>

class QPainter;

// Drawing primitives with the pixel rules the frame's look was designed with: filled areas
// exclude their right and bottom edges, a line leaves out its end point.
namespace surface {

// Fills x in [left, right), y in [top, bottom) with a ramp from `start` to `end`: across
// the columns when `horizontal`, down the rows otherwise. Channels are interpolated as
// 16-bit values (value x 256). An empty or inverted rectangle draws nothing.
void gradientFill(QPainter& painter, uint32_t start, uint32_t end, int32_t left, int32_t top,
                  int32_t right, int32_t bottom, bool horizontal);

// One-pixel line from `from` up to, but not including, `to`.
void line(QPainter& painter, QPoint from, QPoint to, const QColor& colour);
// Lines through the points in turn, each leaving out its end point.
void polyline(QPainter& painter, std::initializer_list<QPoint> points, const QColor& colour);

// The pen style for a border style number: 0 solid, 1 dash, 2 dot, 3 dash-dot,
// 4 dash-dot-dot, 5 none, 6 inside frame (solid at width 1); others solid.
Qt::PenStyle penStyle(int32_t borderStyle);

// Outline of the rectangle (left, top)-(right, bottom) with corner ellipse `corner` x
// `corner`; the outline covers left..right-1 and top..bottom-1.
void roundRectOutline(QPainter& painter, int32_t left, int32_t top, int32_t right, int32_t bottom,
                      int32_t corner, const QColor& colour, Qt::PenStyle style);

// Text drawn into `rect` (clipped to it) with the text-drawing flags of framemetrics;
// "&" marks a mnemonic as the platform's text drawing does; characters outside
// Windows-1252 show as "?".
void text(QPainter& painter, const QRect& rect, int32_t flags, const QString& text,
          const QFont& font, const QColor& colour);

// A picture at (x, y) scaled to size x size. A picture with an alpha channel (an icon) is
// drawn as it is; any other takes the colour of its scaled top-left pixel as transparent.
// Size 0 keeps the picture's own size; a negative size draws nothing.
void picture(QPainter& painter, const QImage& image, int32_t x, int32_t y, int32_t size);

}  // namespace surface
