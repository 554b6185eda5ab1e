#pragma once

#include <QByteArray>
#include <QtGlobal>

// How many pixels the LZW data of a GIF image decodes to, reading its sub-blocks from `at`
// with minimum code size `codeSize` (up to 11), stopping once `wanted` are there. giflib
// refuses code sizes above 8, which other decoders take; this only counts, for those.
struct GifLzwCount {
    qint64 pixels = 0;
    bool cut = false;  // the bytes ended inside the data
    bool bad = false;  // a code no encoder could have written
};

GifLzwCount CountGifLzwPixels(const QByteArray& bytes, qsizetype at, int codeSize, qint64 wanted);
