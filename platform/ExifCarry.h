#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Carries a JPEG input's Exif block over to its resized output, fitted to the output.
namespace exifcarry {

// The most an APP1 segment holds: "Exif\0\0" and the TIFF block together.
inline constexpr int kMaxExifBody = 0xFFFF - 2;

// `exif`, the body of an Exif APP1 segment ("Exif\0\0" and a TIFF block), made fit for an
// output picture of `width` x `height` pixels that stands upright as stored: orientation 1,
// the pixel dimensions the output's, no thumbnail, no GPS data unless `keepGps`, colour space
// sRGB when `madeSrgb` (the pixels were turned from an embedded profile into sRGB), every
// other tag as it was, in the block's own byte order. Nothing when the block carries nothing
// of the photo's own once the thumbnail and position are gone, or is damaged or too large
// for one segment once edited; then `problem` (when given) says why. Safe on any thread.
std::optional<QByteArray> FitExif(const QByteArray& exif, int width, int height, bool keepGps,
                                  bool madeSrgb, QString* problem);

// FitExif on the Exif block of the JPEG file at `inputPath`, sRGB when the file embeds a
// colour profile (the decoder turns its pixels into sRGB): the APP1 body for the output,
// or nothing when the input has none (no problem), or it could not be read or fitted (the
// problem says why: the file is written without Exif all the same). Safe on any thread.
std::optional<QByteArray> ExifForOutput(const QString& inputPath, int width, int height,
                                        bool keepGps, QString* problem);

}  // namespace exifcarry
