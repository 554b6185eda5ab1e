#pragma once

#include <QPoint>
#include <QRect>
#include <cstdint>

// Sizes and boxes of the frame's bars and buttons, in pixels of the frame's surface.
namespace framemetrics {

// Text-drawing flags, as the bar texts are drawn with them.
inline constexpr int32_t kDtCenter = 0x01;
inline constexpr int32_t kDtRight = 0x02;
inline constexpr int32_t kDtVCenter = 0x04;
inline constexpr int32_t kDtBottom = 0x08;
inline constexpr int32_t kDtSingleLine = 0x20;

// The flags for text alignment 0..8; any other alignment keeps `previous`.
int32_t textFlags(int32_t align, int32_t previous);

// 0 -> 18, 1 -> 25, 2 -> 40, anything else 0.
int32_t headerHeight(int32_t headerSize);
// 0 -> 20, 1 -> 34, anything else 0.
int32_t footerHeight(int32_t footerSize);

// A GDI-style box: right and bottom are exclusive where the box is filled.
struct Box {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// The close button's box on a surface `width` wide.
Box closeButtonBox(int32_t width);
// The collapse button's box; it steps left of the close button when that is shown.
Box collapseButtonBox(int32_t width, bool closeable);
Box resizeGripBox(int32_t width, int32_t height);

// Where a press counts for a box's button or grip: from (left + 1, top + 1) to
// (right - 2, top + bottom - 3), right and bottom exclusive.
QRect hitRect(const Box& box);

}  // namespace framemetrics
