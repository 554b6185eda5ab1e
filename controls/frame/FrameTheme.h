#pragma once

#include <cstdint>
#include <optional>

// The ten colours the frame paints with, in 0x00BBGGRR form.
struct ThemeColours {
    uint32_t headerBack = 0;
    uint32_t headerFade = 0;
    uint32_t headerText = 0;
    uint32_t button = 0;  // collapse button, close button and resize grip
    uint32_t footerBack = 0;
    uint32_t footerFade = 0;
    uint32_t footerText = 0;
    uint32_t containerBack = 0;
    uint32_t containerFade = 0;
    uint32_t border = 0;

    bool operator==(const ThemeColours&) const = default;
};

namespace frametheme {

inline constexpr int32_t kThemeCount = 12;

// The built-in colour set of theme `appearence`, nothing outside 0..11.
std::optional<ThemeColours> theme(int32_t appearence);

// A concrete colour for `colour`; a system colour that cannot be translated gives black.
uint32_t translateOrBlack(uint32_t colour);

// Per channel: (255 - alpha) * to / 255 + alpha * from / 255, rounded half to even.
// alpha 255 gives `from`, 0 gives `to`. A channel above 255 is taken as 255; a negative one
// raises the invalid-call error.
uint32_t blendColour(uint32_t from, uint32_t to, int32_t alpha);

}  // namespace frametheme
