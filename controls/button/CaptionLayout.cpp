#include "CaptionLayout.h"

#include "CheckedMath.h"

namespace tessaro::button {

namespace {

using tessaro::checked::add32;
using tessaro::checked::round32;
using tessaro::checked::sub32;

// An exact half, kept as a double so that each coordinate is rounded once, as a whole.
double half(int32_t v) {
    return static_cast<double>(v) / 2.0;
}

}  // namespace

CaptionPlacement placeCaption(int32_t W, int32_t H, const Rect32& m, int32_t captionAlign,
                              int32_t i, int32_t previousFlags, bool rightToLeft) {
    const int32_t L = m.left;
    const int32_t T = m.top;
    const int32_t R = m.right;
    const int32_t B = m.bottom;
    const int32_t textHeight = sub32(B, T);
    // Vertically centred: (H - B - T)/2 + 3 down to (H + B - T)/2.
    const auto middleTop = [&] { return round32(half(sub32(sub32(H, B), T)) + 3.0); };
    const auto middleBottom = [&] { return round32(half(sub32(add32(H, B), T))); };
    const auto centreLeft = [&] { return round32(half(sub32(sub32(W, R), L))); };
    const auto centreRight = [&] { return round32(half(sub32(add32(W, R), L))); };

    CaptionPlacement p{};
    switch (captionAlign) {
        case 0:
            p = {{centreLeft(), middleTop(), centreRight(), middleBottom()}, 21};
            break;
        case 1:
            p = {{i, middleTop(), add32(R, i), middleBottom()}, 20};
            break;
        case 2:
            p = {{sub32(sub32(sub32(W, R), L), i), middleTop(), sub32(sub32(W, L), i),
                  middleBottom()},
                 22};
            break;
        case 3:
            p = {{centreLeft(), round32(half(i)), centreRight(),
                  round32(half(i) + static_cast<double>(textHeight))},
                 17};
            break;
        case 4:
            p = {{centreLeft(), round32(static_cast<double>(sub32(H, textHeight)) - half(i)),
                  centreRight(), round32(static_cast<double>(H) - half(i))},
                 25};
            break;
        default:
            p = {{4, 4, sub32(W, 4), sub32(H, 4)}, previousFlags};
            break;
    }
    if (rightToLeft)
        p.flags |= DT_RTLREADING;
    return p;
}

}  // namespace tessaro::button
