#include "JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <vector>

// libjpeg's headers want <cstdio> before them, and jerror.h wants jpeglib.h.
#include <jpeglib.h>

#include <jerror.h>

#include <QByteArray>
#include <QImageReader>

#include "ColourProfile.h"
#include "ExifOrientation.h"
#include "RowSampler.h"
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

    bool start() {
        if (setjmp(errors_.jump) != 0)
            return false;
        info_.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;
        info_.dct_method = JDCT_ISLOW;
        jpeg_start_decompress(&info_);
        return true;
    }

    // Decodes every row into `bits`, `bytesPerLine` apart.
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

    // Whether rows can be skipped without changing the rows that are read: libjpeg-turbo's
    // skipping keeps them exact where each colour component is upsampled by 1 or 2 each way;
    // upsampled 3 or 4 times down, or 3 or 4 across and 2 down, it hands back other pixels.
    bool canSkipRows() const {
        for (int c = 0; c < info_.num_components; ++c) {
            const jpeg_component_info& component = info_.comp_info[c];
            const int across = info_.max_h_samp_factor / component.h_samp_factor;
            const int down = info_.max_v_samp_factor / component.v_samp_factor;
            if (across * component.h_samp_factor != info_.max_h_samp_factor ||
                down * component.v_samp_factor != info_.max_v_samp_factor || across > 2 || down > 2)
                return false;
        }
        return true;
    }

    // Decodes the rows the sampler reads into `row` and hands each over. Where it can, it
    // skips the others, which spares their colour conversion (and, between rows far apart,
    // their inverse DCT) but still reads all their data, so damage anywhere is still found.
    bool sampleRows(uint8_t* row, RowSampler& sampler) {
        if (setjmp(errors_.jump) != 0)
            return false;
        JSAMPROW rows[1] = {row};
        const bool skipping = canSkipRows();
        while (info_.output_scanline < info_.output_height) {
            const JDIMENSION at = info_.output_scanline;
            const int next = skipping ? sampler.nextRow() : static_cast<int>(at);
            // The last row is always read: skipping up to the end would leave the data after
            // the last sampled row unread, and damage there unnoticed.
            const JDIMENSION wanted =
                next < 0 ? info_.output_height - 1
                         : std::min(static_cast<JDIMENSION>(next), info_.output_height - 1);
            if (wanted > at) {
                jpeg_skip_scanlines(&info_, wanted - at);
                continue;
            }
            if (jpeg_read_scanlines(&info_, rows, 1) == 1 && sampler.wants(static_cast<int>(at)))
                sampler.take(static_cast<int>(at), reinterpret_cast<const QRgb*>(row));
        }
        jpeg_finish_decompress(&info_);
        return true;
    }

    // Decodes every row into `row` and hands it to `reader`.
    bool streamRows(uint8_t* row, JpegRowReader& reader) {
        if (setjmp(errors_.jump) != 0)
            return false;
        JSAMPROW rows[1] = {row};
        while (info_.output_scanline < info_.output_height) {
            const auto at = static_cast<int>(info_.output_scanline);
            if (jpeg_read_scanlines(&info_, rows, 1) == 1)
                reader.take(at, reinterpret_cast<const QRgb*>(row));
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

// The bytes' header read and checked: what both ways of decoding begin with. The pictures
// that outlive the decoding are allocated before it starts, below the large buffers it
// frees again, so that those leave one free space for the next file's instead of holes.
// Returns false for the colour models left to Qt's reader.
bool begin(Decompressor& jpeg, const uint8_t* data, size_t size, const QString& name,
           int* orientation, QColorSpace* colourSpace) {
    if (!jpeg.open(data, size))
        jpeg.fail(name);
    jpeg_decompress_struct& info = jpeg.info();
    if (info.jpeg_color_space != JCS_GRAYSCALE && info.jpeg_color_space != JCS_YCbCr &&
        info.jpeg_color_space != JCS_RGB)
        return false;

    *orientation = orientationOf(info);
    // The bound Qt's reader keeps, though a sampled picture is never held whole: a progressive
    // file holds every coefficient of it all the same.
    const qint64 bytes = qint64{info.image_width} * info.image_height * 4;
    const qint64 limit = qint64{QImageReader::allocationLimit()} * 1024 * 1024;
    if (limit > 0 && bytes > limit) {
        const bool swapped = AxesOf(*orientation).swapped;
        invalidPicture(name, QString("too large (%1 x %2)")
                                 .arg(swapped ? info.image_height : info.image_width)
                                 .arg(swapped ? info.image_width : info.image_height));
    }

    JOCTET* profile = nullptr;
    unsigned int profileLength = 0;
    if (!jpeg.readProfile(&profile, &profileLength))
        jpeg.fail(name);
    if (profile != nullptr) {
        *colourSpace = QColorSpace::fromIccProfile(QByteArray(
            reinterpret_cast<const char*>(profile), static_cast<qsizetype>(profileLength)));
        std::free(profile);
    }
    return true;
}

[[noreturn]] void outOfMemory(const QString& name, JDIMENSION w, JDIMENSION h) {
    throw tessaro::RuntimeError(
        tessaro::err::kOutOfMemory,
        QString("Out of memory: %1 (%2 x %3 pixels)").arg(name).arg(w).arg(h).toStdString());
}

}  // namespace

std::optional<SourcePicture> DecodeJpeg(const uint8_t* data, size_t size, const QString& name) {
    Decompressor jpeg;
    SourcePicture source;
    if (!begin(jpeg, data, size, name, &source.orientation, &source.colourSpace))
        return std::nullopt;
    const jpeg_decompress_struct& info = jpeg.info();
    source.pixels = QImage(static_cast<int>(info.image_width), static_cast<int>(info.image_height),
                           QImage::Format_RGB32);
    if (source.pixels.isNull())
        outOfMemory(name, info.image_width, info.image_height);
    if (!jpeg.start())
        jpeg.fail(name);
    if (!jpeg.readRows(source.pixels.bits(), static_cast<size_t>(source.pixels.bytesPerLine())))
        jpeg.fail(name);
    return source;
}

std::optional<SampledPicture> DecodeJpegSampled(const uint8_t* data, size_t size,
                                                const QString& name,
                                                const std::function<QSize(QSize)>& canvasFor,
                                                QSize previewSize) {
    Decompressor jpeg;
    int orientation = 1;
    QColorSpace colourSpace;
    if (!begin(jpeg, data, size, name, &orientation, &colourSpace))
        return std::nullopt;
    const jpeg_decompress_struct& info = jpeg.info();
    const QSize stored(static_cast<int>(info.image_width), static_cast<int>(info.image_height));

    SampledPicture sampled;
    sampled.size = AxesOf(orientation).swapped ? stored.transposed() : stored;
    // When no canvas fits, the data is still decoded whole, so that a damaged file is
    // reported as such before the size is.
    std::exception_ptr noCanvas;
    std::vector<QSize> sizes;
    try {
        sizes.push_back(canvasFor(sampled.size));
    } catch (...) {
        noCanvas = std::current_exception();
    }
    if (!noCanvas && !previewSize.isEmpty())
        sizes.push_back(previewSize);
    RowSampler sampler(stored, orientation, sizes);

    if (!jpeg.start())
        jpeg.fail(name);
    std::vector<uint8_t> row;
    try {
        row.resize(size_t{info.output_width} * 4);
    } catch (const std::bad_alloc&) {
        outOfMemory(name, info.output_width, 1);
    }
    if (!jpeg.sampleRows(row.data(), sampler))
        jpeg.fail(name);
    if (noCanvas)
        std::rethrow_exception(noCanvas);

    std::vector<QImage> targets = sampler.release();
    for (QImage& target : targets)
        ConvertToSrgb(target, colourSpace);
    sampled.canvas = std::move(targets.front());
    if (targets.size() > 1)
        sampled.preview = std::move(targets[1]);
    return sampled;
}

std::optional<QColorSpace> DecodeJpegRows(const uint8_t* data, size_t size, const QString& name,
                                          JpegRowReader& reader) {
    Decompressor jpeg;
    int orientation = 1;
    QColorSpace colourSpace;
    if (!begin(jpeg, data, size, name, &orientation, &colourSpace))
        return std::nullopt;
    jpeg_decompress_struct& info = jpeg.info();
    const int eighths = std::clamp(reader.eighths(QSize(static_cast<int>(info.image_width),
                                                        static_cast<int>(info.image_height)),
                                                  orientation),
                                   1, 8);
    info.scale_num = static_cast<unsigned int>(eighths);
    info.scale_denom = 8;
    if (!jpeg.start())
        jpeg.fail(name);
    std::vector<uint8_t> row;
    try {
        row.resize(size_t{info.output_width} * 4);
    } catch (const std::bad_alloc&) {
        outOfMemory(name, info.output_width, 1);
    }
    if (!jpeg.streamRows(row.data(), reader))
        jpeg.fail(name);
    return colourSpace;
}

}  // namespace picture
