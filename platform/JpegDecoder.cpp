#include "JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// libjpeg's headers want <cstdio> before them, and jerror.h wants jpeglib.h.
#include <jpeglib.h>

#include <jerror.h>

#include <QByteArray>
#include <QImageReader>

#include "ExifOrientation.h"
#include "RuntimeError.h"

namespace picture {

namespace {

constexpr int kExifMarker = JPEG_APP0 + 1;
constexpr int kIccMarker = JPEG_APP0 + 2;
constexpr int kRowsPerRead = 16;

[[noreturn]] void invalidPicture(const QString& name, const QString& why) {
    throw tessaro::RuntimeError(tessaro::err::kInvalidPicture,
                                QString("Invalid picture: %1 (%2)").arg(name, why).toStdString());
}

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool ignoreWarnings;
};

[[noreturn]] void errorExit(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// A warning means damaged data that the decoder would go on to fill with grey: the picture
// is refused there and then.
void emitMessage(j_common_ptr info, int level) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    if (level >= 0 || errors->ignoreWarnings)
        return;
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// At the end of the bytes, an end marker without a warning of its own: data cut short is then
// reported by the scan that misses it ("Corrupt JPEG data: ...").
boolean endOfData(j_decompress_ptr info) {
    static const JOCTET kEnd[2] = {0xFF, JPEG_EOI};
    info->src->next_input_byte = kEnd;
    info->src->bytes_in_buffer = sizeof kEnd;
    return TRUE;
}

// One decompression. Each step returns false when libjpeg raised an error or a warning; the
// reason is then in reason(). No C++ object lives in a frame that libjpeg may jump out of.
class Decompressor {
  public:
    Decompressor() {
        info_.err = jpeg_std_error(&errors_.pub);
        errors_.pub.error_exit = errorExit;
        errors_.pub.emit_message = emitMessage;
    }
    ~Decompressor() { jpeg_destroy_decompress(&info_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    bool open(const uint8_t* data, size_t size) {
        if (setjmp(errors_.jump) != 0)
            return false;
        jpeg_create_decompress(&info_);
        jpeg_mem_src(&info_, data, static_cast<unsigned long>(size));
        info_.src->fill_input_buffer = endOfData;
        jpeg_save_markers(&info_, kExifMarker, 0xFFFF);
        jpeg_save_markers(&info_, kIccMarker, 0xFFFF);
        jpeg_read_header(&info_, TRUE);
        return true;
    }

    // The embedded profile's bytes (malloc'ed, or null); a damaged profile is no profile.
    bool readProfile(JOCTET** bytes, unsigned int* length) {
        *bytes = nullptr;
        *length = 0;
        if (setjmp(errors_.jump) != 0)
            return false;
        errors_.ignoreWarnings = true;
        if (!jpeg_read_icc_profile(&info_, bytes, length))
            *bytes = nullptr;
        errors_.ignoreWarnings = false;
        return true;
    }

    bool start(int eighths) {
        if (setjmp(errors_.jump) != 0)
            return false;
        info_.scale_num = static_cast<unsigned int>(eighths);
        info_.scale_denom = 8;
        info_.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;
        info_.dct_method = JDCT_ISLOW;
        jpeg_start_decompress(&info_);
        return true;
    }

    bool readRows(uint8_t* bits, size_t bytesPerLine) {
        if (setjmp(errors_.jump) != 0)
            return false;
        JSAMPROW rows[kRowsPerRead];
        while (info_.output_scanline < info_.output_height) {
            const JDIMENSION first = info_.output_scanline;
            const JDIMENSION count =
                std::min<JDIMENSION>(kRowsPerRead, info_.output_height - first);
            for (JDIMENSION k = 0; k < count; ++k)
                rows[k] = bits + (first + k) * bytesPerLine;
            jpeg_read_scanlines(&info_, rows, count);
        }
        jpeg_finish_decompress(&info_);
        return true;
    }

    jpeg_decompress_struct& info() { return info_; }

    // Raises what made the last step fail: 7 when memory ran out, 481 otherwise.
    [[noreturn]] void fail(const QString& name) const {
        if (errors_.pub.msg_code == JERR_OUT_OF_MEMORY) {
            throw tessaro::RuntimeError(
                tessaro::err::kOutOfMemory,
                QString("Out of memory: %1 (%2)").arg(name, reason()).toStdString());
        }
        invalidPicture(name, reason());
    }

  private:
    QString reason() const { return QString::fromLocal8Bit(errors_.message); }

    jpeg_decompress_struct info_{};
    ErrorManager errors_{};
};

int orientationOf(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr m = info.marker_list; m != nullptr; m = m->next) {
        if (m->marker == kExifMarker && m->data_length >= 6 &&
            std::memcmp(m->data, "Exif\0\0", 6) == 0)
            return ExifOrientation(m->data, m->data_length);
    }
    return 1;
}

// The scale for the canvas the caller will draw; the smallest when it has none to draw.
int scaleFor(QSize stored, int orientation, const std::function<QSize(QSize)>& canvasFor) {
    if (!canvasFor)
        return 8;
    const bool swapped = AxesOf(orientation).swapped;
    try {
        const QSize upright = canvasFor(swapped ? stored.transposed() : stored);
        return SmallestScale(stored, swapped ? upright.transposed() : upright);
    } catch (...) {
        return 1;
    }
}

}  // namespace

int SmallestScale(QSize stored, QSize needed) {
    for (int m = 1; m < 8; ++m) {
        const int64_t w = (int64_t{stored.width()} * m + 7) / 8;
        const int64_t h = (int64_t{stored.height()} * m + 7) / 8;
        if (w >= needed.width() && h >= needed.height())
            return m;
    }
    return 8;
}

std::optional<SourcePicture> DecodeJpeg(const uint8_t* data, size_t size, const QString& name,
                                        const std::function<QSize(QSize)>& canvasFor) {
    Decompressor jpeg;
    if (!jpeg.open(data, size))
        jpeg.fail(name);
    jpeg_decompress_struct& info = jpeg.info();
    if (info.jpeg_color_space != JCS_GRAYSCALE && info.jpeg_color_space != JCS_YCbCr &&
        info.jpeg_color_space != JCS_RGB)
        return std::nullopt;

    SourcePicture source;
    source.storedSize =
        QSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
    source.orientation = orientationOf(info);
    // The same bound Qt's reader keeps, on the full picture whatever scale it is decoded at.
    const qint64 bytes = qint64{source.storedSize.width()} * source.storedSize.height() * 4;
    const qint64 limit = qint64{QImageReader::allocationLimit()} * 1024 * 1024;
    if (limit > 0 && bytes > limit) {
        const QSize upright = source.size();
        invalidPicture(name,
                       QString("too large (%1 x %2)").arg(upright.width()).arg(upright.height()));
    }

    JOCTET* profile = nullptr;
    unsigned int profileLength = 0;
    if (!jpeg.readProfile(&profile, &profileLength))
        jpeg.fail(name);
    if (profile != nullptr) {
        source.colourSpace = QColorSpace::fromIccProfile(QByteArray(
            reinterpret_cast<const char*>(profile), static_cast<qsizetype>(profileLength)));
        std::free(profile);
    }

    source.eighths = scaleFor(source.storedSize, source.orientation, canvasFor);
    if (!jpeg.start(source.eighths))
        jpeg.fail(name);
    source.pixels = QImage(static_cast<int>(info.output_width),
                           static_cast<int>(info.output_height), QImage::Format_RGB32);
    if (source.pixels.isNull()) {
        throw tessaro::RuntimeError(tessaro::err::kOutOfMemory,
                                    QString("Out of memory: %1 (%2 x %3 pixels)")
                                        .arg(name)
                                        .arg(info.output_width)
                                        .arg(info.output_height)
                                        .toStdString());
    }
    if (!jpeg.readRows(source.pixels.bits(), static_cast<size_t>(source.pixels.bytesPerLine())))
        jpeg.fail(name);
    return source;
}

}  // namespace picture
