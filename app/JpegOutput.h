#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

#include "Settings.h"

// Writes the resized canvas to `destination` as a baseline JPEG file with the user's quality,
// subsampling, greyscale and comment. An existing file is left as it was. Returns the
// encoder's save result: 0 written, 2 the file already existed.
int32_t WriteJpegOutput(const QImage& canvas, int32_t width, int32_t height,
                        const QString& destination, const Settings& settings);
