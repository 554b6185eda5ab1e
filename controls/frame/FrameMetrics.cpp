#include "FrameMetrics.h"

#include "CheckedMath.h"

namespace framemetrics {

using tessaro::checked::add32;
using tessaro::checked::sub32;

int32_t textFlags(int32_t align, int32_t previous) {
    static constexpr int32_t kFlags[9] = {
        kDtSingleLine,
        kDtSingleLine | kDtVCenter,
        kDtSingleLine | kDtBottom,
        kDtSingleLine | kDtRight,
        kDtSingleLine | kDtRight | kDtVCenter,
        kDtSingleLine | kDtRight | kDtBottom,
        kDtSingleLine | kDtCenter,
        kDtSingleLine | kDtCenter | kDtVCenter,
        kDtSingleLine | kDtCenter | kDtBottom,
    };
    if (align < 0 || align > 8)
        return previous;
    return kFlags[align];
}

int32_t headerHeight(int32_t headerSize) {
    switch (headerSize) {
        case 0:
            return 18;
        case 1:
            return 25;
        case 2:
            return 40;
        default:
            return 0;
    }
}

int32_t footerHeight(int32_t footerSize) {
    switch (footerSize) {
        case 0:
            return 20;
        case 1:
            return 34;
        default:
            return 0;
    }
}

Box closeButtonBox(int32_t width) {
    const int32_t left = sub32(width, 23);
    return {left, 2, add32(left, 18), 18};
}

Box collapseButtonBox(int32_t width, bool closeable) {
    Box box = closeButtonBox(width);
    if (closeable) {
        box.left = sub32(box.left, 19);
        box.right = sub32(box.right, 19);
    }
    return box;
}

Box resizeGripBox(int32_t width, int32_t height) {
    return {sub32(width, 19), sub32(height, 19), sub32(width, 2), sub32(height, 2)};
}

QRect hitRect(const Box& box) {
    const int32_t left = add32(box.left, 1);
    const int32_t top = add32(box.top, 1);
    const int32_t right = sub32(box.right, 2);
    const int32_t bottom = sub32(add32(box.top, box.bottom), 3);
    if (right <= left || bottom <= top)
        return {};
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

}  // namespace framemetrics
