#include "FrameTheme.h"

#include <array>

#include "CheckedMath.h"
#include "SystemColour.h"

namespace frametheme {

namespace {

using syscolour::rgb;

constexpr uint32_t kFooterTextDefault = rgb(215, 230, 251);

// Fade colours that the table takes from a blend rather than a fixed value.
enum class Fade { Fixed, BlendA, BlendB };

struct Row {
    ThemeColours colours;
    Fade headerFade;
    Fade footerFade;
};

const std::array<Row, kThemeCount>& table() {
    static const std::array<Row, kThemeCount> rows = {{
        {{rgb(137, 170, 224), rgb(7, 33, 100), rgb(215, 230, 251), rgb(172, 191, 227),
          rgb(9, 42, 127), rgb(102, 145, 215), kFooterTextDefault, rgb(142, 179, 231),
          rgb(142, 179, 231), rgb(1, 45, 150)},
         Fade::Fixed,
         Fade::Fixed},
        {{rgb(160, 160, 160), 0, rgb(255, 255, 255), rgb(220, 220, 220), rgb(169, 169, 169),
          rgb(105, 105, 105), kFooterTextDefault, rgb(112, 112, 112), rgb(112, 112, 112),
          rgb(68, 68, 68)},
         Fade::BlendA,
         Fade::Fixed},
        {{rgb(216, 228, 248), rgb(49, 106, 197), rgb(215, 230, 251), rgb(65, 105, 225),
          rgb(49, 106, 197), rgb(211, 229, 250), kFooterTextDefault, rgb(243, 255, 255),
          rgb(142, 179, 231), rgb(192, 211, 240)},
         Fade::Fixed,
         Fade::Fixed},
        {{rgb(255, 255, 255), rgb(201, 211, 243), rgb(0, 41, 99), rgb(172, 191, 227),
          rgb(255, 255, 255), rgb(184, 205, 236), rgb(0, 41, 99), rgb(255, 255, 255),
          rgb(201, 211, 243), rgb(184, 205, 236)},
         Fade::Fixed,
         Fade::Fixed},
        {{rgb(228, 235, 200), rgb(175, 194, 142), rgb(100, 144, 88), rgb(143, 188, 139),
          rgb(165, 182, 121), rgb(233, 244, 207), kFooterTextDefault, rgb(233, 244, 207),
          rgb(233, 244, 207), rgb(100, 144, 88)},
         Fade::Fixed,
         Fade::Fixed},
        {{rgb(219, 220, 232), rgb(149, 147, 177), rgb(119, 118, 151), rgb(106, 90, 205),
          rgb(149, 147, 177), rgb(207, 223, 239), kFooterTextDefault, rgb(232, 232, 232),
          rgb(232, 232, 232), rgb(119, 118, 151)},
         Fade::Fixed,
         Fade::Fixed},
        {{rgb(209, 227, 251), rgb(106, 140, 203), rgb(110, 109, 143), rgb(45, 80, 153),
          rgb(176, 196, 222), rgb(100, 149, 237), kFooterTextDefault, rgb(255, 255, 255),
          rgb(255, 255, 255), rgb(0, 0, 128)},
         Fade::Fixed,
         Fade::Fixed},
        {{rgb(255, 122, 0), rgb(130, 0, 0), rgb(255, 222, 173), rgb(246, 172, 84), rgb(180, 99, 1),
          rgb(130, 0, 0), kFooterTextDefault, rgb(255, 222, 173), rgb(224, 180, 97),
          rgb(139, 0, 0)},
         Fade::Fixed,
         Fade::Fixed},
        {{rgb(72, 209, 204), rgb(43, 103, 109), rgb(233, 250, 248), rgb(193, 240, 234),
          rgb(0, 139, 139), rgb(0, 128, 128), kFooterTextDefault, rgb(224, 255, 255),
          rgb(224, 255, 255), rgb(65, 131, 111)},
         Fade::Fixed,
         Fade::Fixed},
        {{rgb(192, 192, 192), rgb(51, 51, 51), rgb(235, 235, 235), rgb(220, 220, 220),
          rgb(128, 128, 128), rgb(211, 211, 211), kFooterTextDefault, rgb(235, 235, 235),
          rgb(235, 235, 235), rgb(51, 51, 51)},
         Fade::Fixed,
         Fade::Fixed},
        {{rgb(81, 128, 208), 0, rgb(255, 0, 0), rgb(191, 0, 0), rgb(81, 128, 208), 0,
          kFooterTextDefault, rgb(142, 179, 231), rgb(142, 179, 231), rgb(0, 45, 150)},
         Fade::BlendB,
         Fade::BlendB},
        {{rgb(0, 45, 150), rgb(89, 135, 214), rgb(172, 191, 227), rgb(172, 191, 227),
          rgb(255, 255, 255), rgb(201, 211, 243), kFooterTextDefault, rgb(246, 247, 248),
          rgb(246, 247, 248), rgb(124, 124, 148)},
         Fade::Fixed,
         Fade::Fixed},
    }};
    return rows;
}

uint32_t fadeColour(Fade fade, uint32_t fixed) {
    switch (fade) {
        case Fade::BlendA:
            return blendColour(rgb(90, 90, 90), 0, 230);
        case Fade::BlendB:
            return blendColour(rgb(11, 63, 153), 0, 230);
        case Fade::Fixed:
            break;
    }
    return fixed;
}

int32_t blendChannel(uint32_t from, uint32_t to, int shift, int32_t alpha) {
    const double f = static_cast<double>((from >> shift) & 0xFF);
    const double t = static_cast<double>((to >> shift) & 0xFF);
    const double mixed = (255.0 - alpha) * t / 255.0 + alpha * f / 255.0;
    const int32_t c = tessaro::checked::round32(mixed);
    if (c < 0)
        tessaro::err::raiseInvalidCall();
    return c > 255 ? 255 : c;
}

}  // namespace

std::optional<ThemeColours> theme(int32_t appearence) {
    if (appearence < 0 || appearence >= kThemeCount)
        return std::nullopt;
    const Row& row = table()[static_cast<size_t>(appearence)];
    ThemeColours c = row.colours;
    c.headerFade = fadeColour(row.headerFade, c.headerFade);
    c.footerFade = fadeColour(row.footerFade, c.footerFade);
    return c;
}

uint32_t translateOrBlack(uint32_t colour) {
    return syscolour::translate(colour).value_or(0u);
}

uint32_t blendColour(uint32_t from, uint32_t to, int32_t alpha) {
    const uint32_t f = translateOrBlack(from);
    const uint32_t t = translateOrBlack(to);
    return rgb(blendChannel(f, t, 0, alpha), blendChannel(f, t, 8, alpha),
               blendChannel(f, t, 16, alpha));
}

}  // namespace frametheme
