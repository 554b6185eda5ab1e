#pragma once

#include <QColorSpace>
#include <QImage>

// Converts a 32-bit picture's pixels from the colour space its file declared to sRGB, in
// place, one row at a time (no thread pool). Nothing happens when `space` is invalid (the
// file had no profile) or is sRGB already.
void ConvertToSrgb(QImage& picture, const QColorSpace& space);

// Whether pixels in `space` must be converted to be sRGB.
bool NeedsSrgbConversion(const QColorSpace& space);
