#pragma once

#include <QImage>

#include "GifIndexedImage.h"

namespace gif {

// Chooses a palette of at most `maxColours` colours (1..256) for a picture
// (QImage::Format_RGB32) of many colours. The colours are gathered in a histogram of 6 bits a
// channel; median cut then splits, again and again, the box of cells with the largest squared
// error along its widest channel at the point that leaves the least error on both sides; a few
// k-means passes finally move every palette colour to the mean of the cells nearest to it.
Palette quantiseColours(const QImage& picture, int maxColours);

}  // namespace gif
