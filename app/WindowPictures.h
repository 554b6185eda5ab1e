#pragma once

#include <QImage>

// The window's own pictures, built into the program: the decoration behind the panels, the
// help page and the mark the two-state buttons show when on. A picture that cannot be read
// comes back null (the window then shows its plain background).
namespace windowpictures {

inline constexpr QSize kDecorationSize(540, 416);
inline constexpr QSize kHelpSize(540, 405);
inline constexpr QSize kToggleMarkSize(16, 16);

QImage Decoration();
QImage Help();
QImage ToggleMark();

}  // namespace windowpictures
