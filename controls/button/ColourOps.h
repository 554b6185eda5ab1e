#pragma once

#include <QColor>
#include <cstdint>

// Colour arithmetic of the button on 0x00BBGGRR values.
namespace tessaro::button {

// A colour that could not be translated.
inline constexpr uint32_t kInvalidColour = 0xFFFFFFFFu;

// System-colour references (0x80000000 + index) become the current palette colour; a
// failed translation gives kInvalidColour (-1).
uint32_t translate(uint32_t colour);
// Each channel (a + b) / 2, halves to even.
uint32_t blend(uint32_t a, uint32_t b);
// Each channel k + (255 - k) * channel / 255, truncating, capped at 255.
uint32_t lighten(uint32_t colour, int k);
// Each channel + k, clamped to 0..255.
uint32_t shift(uint32_t colour, int k);
// -1 (the failed translation) draws as white, like any colour with its top byte ignored.
QColor toQColor(uint32_t colour);

}  // namespace tessaro::button
