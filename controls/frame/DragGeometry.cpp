#include "DragGeometry.h"

#include <algorithm>

#include "CheckedMath.h"

namespace framedrag {

using tessaro::checked::round32;
using tessaro::checked::sub32;

QPoint screenPixels(const QPointF& global) {
    return QPoint(round32(global.x()), round32(global.y()));
}

QPoint relative(const QPoint& p, const QPoint& origin) {
    return QPoint(sub32(p.x(), origin.x()), sub32(p.y(), origin.y()));
}

QPoint movedTopLeft(const QPoint& cursor, const QPoint& parentOrigin, float pressX, float pressY) {
    const QPoint r = relative(cursor, parentOrigin);
    // A whole number less a single-precision one is worked out in double precision.
    return QPoint(round32(r.x() - double{pressX}), round32(r.y() - double{pressY}));
}

Size resizedSize(const QPoint& cursor, const QPoint& frameOrigin, int32_t minimumWidthTwips,
                 int32_t minimumHeightTwips, double twipsPerPixel) {
    const QPoint r = relative(cursor, frameOrigin);
    Size s{r.x(), r.y()};
    if (minimumHeightTwips / twipsPerPixel > s.height)
        s.height = round32(minimumHeightTwips / twipsPerPixel);
    if (minimumWidthTwips / twipsPerPixel > s.width)
        s.width = round32(minimumWidthTwips / twipsPerPixel);
    return s;
}

QPoint confined(const QPoint& p, const QRect& area) {
    if (area.isEmpty())
        return p;
    return QPoint(std::clamp(p.x(), area.left(), area.right()),
                  std::clamp(p.y(), area.top(), area.bottom()));
}

}  // namespace framedrag
