#include "ColourOps.h"

#include <algorithm>
#include <cmath>

#include "SystemColour.h"

namespace tessaro::button {

namespace {

int channel(uint32_t c, int i) {
    return static_cast<int>((c >> (8 * i)) & 0xFF);
}

template <typename F>
uint32_t perChannel(uint32_t c, F f) {
    uint32_t out = 0;
    for (int i = 0; i < 3; ++i) {
        const int v = std::clamp(f(channel(c, i), i), 0, 255);
        out |= static_cast<uint32_t>(v) << (8 * i);
    }
    return out;
}

}  // namespace

uint32_t translate(uint32_t colour) {
    return syscolour::translate(colour).value_or(kInvalidColour);
}

uint32_t blend(uint32_t a, uint32_t b) {
    return perChannel(a, [b](int ca, int i) {
        return static_cast<int>(std::nearbyint((ca + channel(b, i)) / 2.0));
    });
}

uint32_t lighten(uint32_t colour, int k) {
    return perChannel(colour, [k](int c, int) { return std::min(255, k + (255 - k) * c / 255); });
}

uint32_t shift(uint32_t colour, int k) {
    return perChannel(colour, [k](int c, int) { return c + k; });
}

QColor toQColor(uint32_t colour) {
    return syscolour::toQColor(colour & 0x00FFFFFFu);
}

}  // namespace tessaro::button
