#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace exifcarry {

// What a JPEG file's headers say about the metadata its output can carry.
struct ExifSource {
    // The body of its first Exif APP1 segment: "Exif\0\0" and the TIFF block after it.
    std::optional<QByteArray> exif;
    // Whether it embeds a colour profile, which the decoder turns into sRGB.
    bool iccProfile = false;
};

// Reads the headers of the JPEG file at `path` up to its compressed data, keeping only the
// Exif block. No block when the file has none, is no JPEG file, or is not a regular file;
// then `problem` (when given) says why if the reason is worth a line in the event log. Never
// waits on a pipe or a device.
ExifSource ReadExifSource(const QString& path, QString* problem);

}  // namespace exifcarry
