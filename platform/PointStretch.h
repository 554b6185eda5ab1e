#pragma once

#include <QImage>

// Stretches `source` onto a new w x h picture without smoothing: every target pixel takes the
// source pixel whose centre is nearest to its own (point sampling). Raises RuntimeError 7
// when the picture cannot be allocated.
QImage PointStretch(const QImage& source, int w, int h);
