#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace exifcarry {

// The body of the first Exif APP1 segment of the JPEG file at `path` ("Exif\0\0" and the TIFF
// block after it), read without touching the compressed data. Nothing when the file has no
// such segment, is no JPEG file, or is not a regular file; then `problem` (when given) says
// why if the reason is worth a line in the event log. Reads at most one segment's worth of
// bytes beyond the headers it steps over, and never waits on a pipe or device.
std::optional<QByteArray> ReadExifSegment(const QString& path, QString* problem);

}  // namespace exifcarry
