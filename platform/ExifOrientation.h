#pragma once

#include <cstddef>
#include <cstdint>

namespace picture {

// The orientation (1..8) an Exif block gives its picture: how the stored rows must be turned
// or mirrored to stand upright. `data` is the body of an APP1 segment, starting with
// "Exif\0\0". 1 (as stored) when the block has no orientation or cannot be read.
int ExifOrientation(const uint8_t* data, size_t size);

// How orientation `o` maps the upright picture onto the stored one: whether the stored rows
// run along the upright columns, and whether each stored axis runs backwards.
struct OrientationAxes {
    bool swapped = false;   // stored x follows upright y (and stored y upright x)
    bool reverseX = false;  // stored x counts down from the right
    bool reverseY = false;  // stored y counts up from the bottom
};
OrientationAxes AxesOf(int orientation);

}  // namespace picture
