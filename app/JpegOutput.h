#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

#include "Settings.h"

// Writes the resized canvas to `destination` as a baseline JPEG file with the user's quality,
// subsampling, greyscale and comment. An existing file is left as it was. Returns the
// encoder's save result: 0 written, 2 the file already existed.
int32_t WriteJpegOutput(const QImage& canvas, int32_t width, int32_t height,
                        const QString& destination, const Settings& settings);

// The bytes WriteJpegOutput would write to `destination`, made in memory. With `sample` false
// the encoder is only set up (raising what the settings make it raise) and nothing is
// encoded: for an output that exists already and will be kept.
std::vector<uint8_t> EncodeJpegOutput(const QImage& canvas, int32_t width, int32_t height,
                                      const QString& destination, const Settings& settings,
                                      bool sample = true);

// Writes `bytes` as a new file unless `destination` exists; true when written. Failures raise
// the file errors the encoder's own save raises.
bool WriteNewJpegFile(const QString& destination, const std::vector<uint8_t>& bytes);

// Whether something of that name exists already (a kept JPEG output).
bool JpegOutputExists(const QString& destination);
