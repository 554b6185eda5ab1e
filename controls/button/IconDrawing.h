#pragma once

#include <QImage>
#include <cstdint>
#include <optional>

class QPainter;

// The icon drawings of the button: the grey icon of a disabled button and the masked drawing
// that leaves out the pixels of the mask colour.
namespace tessaro::button {

// The greys an icon keeps when greyed: 0x000000..0x808080 and 0xA0A0A0..0xFFFFFF in steps of
// 0x101010 (0x909090 is not among them).
bool isKeptGrey(uint32_t colour);
// 0.59 green + 0.33 red + 0.11 blue, halves to even, at most 255.
int iconGrey(int red, int green, int blue);
// The icon with every colour that is not a kept grey replaced by its grey; alpha is kept.
QImage greyedIcon(const QImage& icon);

// Draws the grey icon at (x, y) in width by height; false for a missing painter or icon.
bool paintIconGrayscale(QPainter* dest, const QImage& icon, int x, int y, int height, int width);

// Draws `picture` at (x, y) in w by h pixels on `surface`, leaving the destination wherever
// the picture shows `maskColour`. A picture with an alpha channel (an icon) is first laid at
// its own size on a field of the mask colour; an opaque picture is read as it is. Every other
// pixel becomes `silhouette` when given, else its grey (0.30 red rounded, plus 0.59 green and
// 0.11 blue, the sum rounded) with `grey`, else itself. Nothing for a zero size; a negative
// size means the picture's own.
void drawMasked(QImage& surface, const QImage& picture, int x, int y, int w, int h,
                uint32_t maskColour, std::optional<uint32_t> silhouette, bool grey);

}  // namespace tessaro::button
