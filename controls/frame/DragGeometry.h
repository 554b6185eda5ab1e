#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <cstdint>

// Screen arithmetic of a frame dragged by the mouse. Coordinates are 32-bit pixels; a result
// that leaves that range raises the overflow error.
namespace framedrag {

// A screen position in whole pixels (nearest, halves to even).
QPoint screenPixels(const QPointF& global);

// `p` relative to `origin`.
QPoint relative(const QPoint& p, const QPoint& origin);

// The top-left corner of a frame moved with the cursor at `cursor` (screen), relative to the
// parent's client origin (screen), keeping the press point (frame pixels) under the cursor.
QPoint movedTopLeft(const QPoint& cursor, const QPoint& parentOrigin, float pressX, float pressY);

struct Size {
    int32_t width;
    int32_t height;
};

// The size of a frame whose grip is dragged to `cursor` (screen): from the frame's client
// origin to the cursor, but never below the minimum size (twips).
Size resizedSize(const QPoint& cursor, const QPoint& frameOrigin, int32_t minimumWidthTwips,
                 int32_t minimumHeightTwips, double twipsPerPixel);

// `p` held inside `area`, edges included.
QPoint confined(const QPoint& p, const QRect& area);

}  // namespace framedrag
