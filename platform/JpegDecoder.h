#pragma once

#include <QColorSpace>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "SampledPicture.h"
#include "SourcePicture.h"

namespace picture {

// Both decode the bytes of a JPEG file with libjpeg-turbo and return nothing for the colour
// models left to Qt's reader (CMYK, YCCK). Damaged data (a warning that pixels are missing or
// made up, or data ending before the picture) raises RuntimeError 481 naming `name` with the
// decoder's reason; warnings that leave the picture whole end up in the result's notes. A
// picture above Qt's allocation limit is named too large; 7 when memory runs out.

// The whole picture as stored, with its Exif orientation and embedded colour profile read,
// not applied.
std::optional<SourcePicture> DecodeJpeg(const uint8_t* data, size_t size, const QString& name);

// The canvas of `canvasFor(full upright size)` pixels and, unless `previewSize` is empty, the
// preview, point-sampled from the rows as they are decoded, turned upright and converted to
// sRGB; the whole picture is never held. When `canvasFor` raises, the file is decoded all
// the same and its exception then passes on.
std::optional<SampledPicture> DecodeJpegSampled(const uint8_t* data, size_t size,
                                                const QString& name,
                                                const std::function<QSize(QSize)>& canvasFor,
                                                QSize previewSize);

// What reads a JPEG file's rows as they are decoded, at a reduced scale of its choice.
class JpegRowReader {
  public:
    virtual ~JpegRowReader() = default;
    // Told the stored size and the Exif orientation, the scale to decode at in eighths (1..8):
    // the rows then measure ceil(width * eighths / 8), and there are ceil(height * eighths / 8).
    virtual int eighths(QSize stored, int orientation) = 0;
    // Each decoded row, top to bottom, as 32-bit pixels.
    virtual void take(int row, const QRgb* pixels) = 0;
};

// Decodes every row at the reader's scale (libjpeg-turbo's scaled inverse DCT) and hands it
// over. Returns the embedded colour profile (invalid when there is none), or nothing for the
// colour models left to Qt's reader. Errors as above; what was odd but harmless goes to `notes`.
std::optional<QColorSpace> DecodeJpegRows(const uint8_t* data, size_t size, const QString& name,
                                          JpegRowReader& reader, QStringList* notes = nullptr);

// Decodes the whole data in its stored colour model and throws the rows away: judges the data
// of a file left to Qt's reader as above. Returns the notes.
QStringList CheckJpegData(const uint8_t* data, size_t size, const QString& name);

}  // namespace picture
