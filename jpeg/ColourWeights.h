#pragma once

#include <array>

namespace tessaro::jpeg {

// Channel value = ((R * red + G * green) + B * blue) + offset, evaluated in double precision
// from these single-precision weights and rounded to single precision. The offsets hold the
// level shift: Y has 128 subtracted, Cb and Cr are centred on 0.
struct ColourWeights {
    float red;
    float green;
    float blue;
    float offset;
};

// Y, Cb, Cr by component index; a greyscale image uses the Y row only.
inline constexpr std::array<ColourWeights, 3> kColourWeights = {{
    {0.299f, 0.587f, 0.114f, -128.0f},
    {-0.16874f, -0.33126f, 0.5f, 0.0f},
    {0.5f, -0.41869f, -0.08131f, 0.0f},
}};

inline float convertPixel(const ColourWeights& w, int red, int green, int blue) {
    return static_cast<float>(((static_cast<double>(red) * static_cast<double>(w.red) +
                                static_cast<double>(green) * static_cast<double>(w.green)) +
                               static_cast<double>(blue) * static_cast<double>(w.blue)) +
                              static_cast<double>(w.offset));
}

}  // namespace tessaro::jpeg
