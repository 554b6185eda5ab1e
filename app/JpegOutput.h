#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

#include "Settings.h"

// Writes the resized canvas to `destination` as a baseline JPEG file with the user's quality,
// subsampling, greyscale and comment, and with `exif` (an Exif APP1 body) when not empty.
// An existing file is left as it was. Returns the encoder's save result: 0 written, 2 the
// file already existed.
int32_t WriteJpegOutput(const QImage& canvas, int32_t width, int32_t height,
                        const QString& destination, const Settings& settings,
                        const QByteArray& exif = {});

// The bytes WriteJpegOutput would write to `destination`, made in memory. With `sample` false
// the encoder is only set up (raising what the settings make it raise) and nothing is
// encoded: for an output that exists already and will be kept.
std::vector<uint8_t> EncodeJpegOutput(const QImage& canvas, int32_t width, int32_t height,
                                      const QString& destination, const Settings& settings,
                                      bool sample = true, const QByteArray& exif = {});

// Places `exif`, the body of an Exif APP1 segment, right after the JFIF header of the encoded
// `jpeg`; every byte the encoder wrote stays as it was around it.
void InsertExif(std::vector<uint8_t>& jpeg, const QByteArray& exif);

// Writes `bytes` as a new file unless `destination` exists; true when written. Failures raise
// the file errors the encoder's own save raises.
bool WriteNewJpegFile(const QString& destination, const std::vector<uint8_t>& bytes);

// Whether something of that name exists already (a kept JPEG output).
bool JpegOutputExists(const QString& destination);
