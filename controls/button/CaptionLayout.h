#pragma once

#include <QRect>
#include <cstdint>

// Where the caption goes inside the button, and with which text flags.
namespace tessaro::button {

// Text-drawing flags of the caption.
inline constexpr int32_t DT_LEFT = 0x0;
inline constexpr int32_t DT_CENTER = 0x1;
inline constexpr int32_t DT_RIGHT = 0x2;
inline constexpr int32_t DT_VCENTER = 0x4;
inline constexpr int32_t DT_BOTTOM = 0x8;
inline constexpr int32_t DT_WORDBREAK = 0x10;
inline constexpr int32_t DT_CALCRECT = 0x400;
inline constexpr int32_t DT_RTLREADING = 0x20000;

// (left, top, right, bottom), right and bottom excluded.
struct Rect32 {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const Rect32&) const = default;
    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
};

struct CaptionPlacement {
    Rect32 rect;
    int32_t flags;
};

// `measured` is the caption measured from (4, 4) with word breaks inside (4, 4, W-4, H-4):
// its right and bottom bound the wrapped text. Positions are halved exactly and rounded half
// to even; arithmetic leaving 32 bits raises the overflow error. An unknown alignment keeps
// the unmeasured rectangle and `previousFlags`.
CaptionPlacement placeCaption(int32_t width, int32_t height, const Rect32& measured,
                              int32_t captionAlign, int32_t inset, int32_t previousFlags,
                              bool rightToLeft);

}  // namespace tessaro::button
