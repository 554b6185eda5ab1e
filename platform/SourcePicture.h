#pragma once

#include <QColorSpace>
#include <QImage>
#include <QSize>

// A source picture as loaded for one canvas. A JPEG file may be decoded at a reduced scale
// and is kept in the orientation its rows are stored in; everything else is what Qt's reader
// gave, upright, at full size. Sampling works on the full upright picture all the same.
struct SourcePicture {
    QImage pixels;            // Format_RGB32: the stored rows at eighths/8 of their size
    QSize storedSize;         // full size of the stored rows
    int eighths = 8;          // the decoding scale, 1..8 eighths
    int orientation = 1;      // Exif orientation 1..8 that turns the stored rows upright
    QColorSpace colourSpace;  // the file's embedded colour profile; invalid when it has none

    // The full upright size: what the proportion rules work with.
    QSize size() const;
    // The decoded pixels, upright and in sRGB.
    QImage upright() const;
};

// Point-samples the full upright picture onto a new w x h canvas in sRGB. Each canvas pixel
// takes the source pixel whose centre is nearest its own, and reads it from the decoded
// pixels at the place of that pixel's centre: at full scale the pixel itself, at a reduced
// scale the decoded pixel that covers it. Raises RuntimeError 7 when the canvas cannot be
// allocated.
QImage StretchSource(const SourcePicture& source, int w, int h);
