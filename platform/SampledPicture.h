#pragma once

#include <QImage>
#include <QSize>
#include <QStringList>

// A picture file as a batch needs it: its full upright size, for the proportion rules, and
// the pictures point-sampled from it, upright and in sRGB.
struct SampledPicture {
    QSize size;         // the full upright size of the file's picture
    QImage canvas;      // the canvas the batch resizes to
    QImage preview;     // the drop target's preview; null when none was asked for
    QStringList notes;  // what was odd about the file without harming the picture
};
