#pragma once

#include <QColorSpace>
#include <QImage>
#include <QSize>
#include <QStringList>

// A whole source picture as loaded: the stored rows of a JPEG file with the Exif orientation
// that turns them upright, or what Qt's reader gave, upright already.
struct SourcePicture {
    QImage pixels;            // Format_RGB32: the stored rows
    int orientation = 1;      // Exif orientation 1..8 that turns the stored rows upright
    QColorSpace colourSpace;  // the file's embedded colour profile; invalid when it has none
    QStringList notes;        // what was odd about the file without harming the picture

    // The upright size: what the proportion rules work with.
    QSize size() const;
    // The pixels, upright and in sRGB.
    QImage upright() const;
};

// Point-samples the upright picture onto a new w x h canvas in sRGB: each canvas pixel takes
// the source pixel whose centre is nearest its own. Raises RuntimeError 7 when the canvas
// cannot be allocated.
QImage StretchSource(const SourcePicture& source, int w, int h);
