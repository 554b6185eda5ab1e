#pragma once

#include <QColor>
#include <cstdint>
#include <optional>

// Colours are 0x00BBGGRR values; 0x80000000 + n names system colour n, which is taken from
// the application palette when the colour is drawn.
namespace syscolour {

inline constexpr uint32_t kSystemFlag = 0x80000000u;
inline constexpr int kWindow = 5;
inline constexpr int kHighlight = 13;
inline constexpr int kButtonFace = 15;
inline constexpr int kButtonShadow = 16;
inline constexpr int kGrayText = 17;
inline constexpr int kButtonText = 18;
inline constexpr int kButtonHighlight = 20;
inline constexpr int kInfoText = 23;
inline constexpr int kInfoBackground = 24;

inline constexpr uint32_t reference(int index) { return kSystemFlag + static_cast<uint32_t>(index); }

// The concrete 0x00BBGGRR value of `colour`; nothing when the translation fails (an unknown
// system index, or bits set that a colour reference cannot carry).
std::optional<uint32_t> translate(uint32_t colour);
// The current value of system colour `index`, nothing for an index we do not know.
std::optional<uint32_t> systemColour(int index);

inline constexpr uint32_t rgb(int r, int g, int b) {
    return static_cast<uint32_t>(r & 0xFF) | (static_cast<uint32_t>(g & 0xFF) << 8) |
           (static_cast<uint32_t>(b & 0xFF) << 16);
}
QColor toQColor(uint32_t bgr);
uint32_t fromQColor(const QColor& c);

}  // namespace syscolour
