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
#include "JpegDataCheck.h"
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
    const JpegDataCheck* check;
    QStringList* notes;
};

[[noreturn]] void errorExit(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// A warning about damaged data, that the decoder would go on to fill with grey, refuses the
// picture there and then; one that leaves the picture whole is noted once.
void emitMessage(j_common_ptr info, int level) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    if (level >= 0)
        return;
    (*info->err->format_message)(info, errors->message);
    const auto& decompress = *reinterpret_cast<j_decompress_ptr>(info);
    if (!JpegWarningIsHarmless(decompress,
                               JpegPlaceOf(decompress, errors->check->readingHeaders())))
        std::longjmp(errors->jump, 1);
    const QString note = QString::fromLocal8Bit(errors->message);
    if (!errors->notes->contains(note))
        *errors->notes << note;
}

// One decompression. Each step returns false when libjpeg raised an error or a warning; the
// reason is then in reason(). No C++ object lives in a frame that libjpeg may jump out of.
class Decompressor {
  public:
    Decompressor() {
        info_.err = jpeg_std_error(&errors_.pub);
        errors_.pub.error_exit = errorExit;
        errors_.pub.emit_message = emitMessage;
        errors_.check = &check_;
        errors_.notes = &notes_;
    }
    ~Decompressor() { jpeg_destroy_decompress(&info_); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    bool open(const uint8_t* data, size_t size) {
        if (setjmp(errors_.jump) != 0)
            return false;
        jpeg_create_decompress(&info_);
        check_.attach(info_, data, size);
        jpeg_save_markers(&info_, kExifMarker, 0xFFFF);
        jpeg_save_markers(&info_, kIccMarker, 0xFFFF);
        check_.startHeaders();
        jpeg_read_header(&info_, TRUE);
        check_.endHeaders(info_);
        return true;
    }

    // The embedded profile's bytes (malloc'ed, or null); a damaged profile is no profile.
    bool readProfile(JOCTET** bytes, unsigned int* length) {
        *bytes = nullptr;
        *length = 0;
        if (setjmp(errors_.jump) != 0)
            return false;
        if (!jpeg_read_icc_profile(&info_, bytes, length))
            *bytes = nullptr;
        return true;
    }

    // Starts decoding to 32-bit pixels or, unless `toPixels`, to the stored colour model.
    bool start(bool toPixels = true) {
        if (setjmp(errors_.jump) != 0)
            return false;
        if (toPixels)
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
        return finish();
    }

    // Whether rows can be skipped without changing the rows that are read. libjpeg-turbo's
    // skipping keeps the upsampled rows exact where every component upsampled downwards is
    // upsampled with its neighbouring rows as context: by 2 down and 1 or 2 across, and then
    // across only when the component is more than 2 pixels wide (narrower ones are doubled
    // pixel by pixel). Any other component upsampled downwards comes out of step.
    bool canSkipRows() const {
        for (int c = 0; c < info_.num_components; ++c) {
            const jpeg_component_info& component = info_.comp_info[c];
            const int across = info_.max_h_samp_factor / component.h_samp_factor;
            const int down = info_.max_v_samp_factor / component.v_samp_factor;
            if (across * component.h_samp_factor != info_.max_h_samp_factor ||
                down * component.v_samp_factor != info_.max_v_samp_factor)
                return false;
            const bool withContext =
                down == 2 && (across == 1 || (across == 2 && component.downsampled_width > 2));
            if (down > 1 && !withContext)
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
        return finish();
    }

    // Decodes every row into `row` and hands it to `reader`; without one the rows are thrown
    // away, for a colour model left to Qt's reader, so that its data is judged like any other's.
    bool streamRows(JSAMPLE* row, JpegRowReader* reader) {
        if (setjmp(errors_.jump) != 0)
            return false;
        JSAMPROW rows[1] = {row};
        while (info_.output_scanline < info_.output_height) {
            const auto at = static_cast<int>(info_.output_scanline);
            if (jpeg_read_scanlines(&info_, rows, 1) == 1 && reader != nullptr)
                reader->take(at, reinterpret_cast<const QRgb*>(row));
        }
        return finish();
    }

    jpeg_decompress_struct& info() { return info_; }
    const QStringList& notes() const { return notes_; }

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
    // Reads to the end marker; the data ending before the picture does is damage too.
    bool finish() {
        check_.beforeFinish(info_);
        jpeg_finish_decompress(&info_);
        if (check_.cutShort(info_)) {
            std::snprintf(errors_.message, sizeof errors_.message, "%s",
                          "Premature end of JPEG file");
            return false;
        }
        if (check_.endMarkerMissing() && !notes_.contains(kNoEnd))
            notes_ << kNoEnd;
        return true;
    }

    static constexpr const char* kNoEnd = "no end marker after the last scan";

    QString reason() const { return QString::fromLocal8Bit(errors_.message); }

    jpeg_decompress_struct info_{};
    ErrorManager errors_{};
    JpegDataCheck check_;
    QStringList notes_;
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

// One output row of the started decoder.
std::vector<JSAMPLE> rowBuffer(const jpeg_decompress_struct& info, const QString& name) {
    try {
        return std::vector<JSAMPLE>(size_t{info.output_width} *
                                    static_cast<size_t>(info.output_components));
    } catch (const std::bad_alloc&) {
        outOfMemory(name, info.output_width, 1);
    }
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
    source.notes = jpeg.notes();
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
    std::vector<JSAMPLE> row = rowBuffer(info, name);
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
    sampled.notes = jpeg.notes();
    return sampled;
}

std::optional<QColorSpace> DecodeJpegRows(const uint8_t* data, size_t size, const QString& name,
                                          JpegRowReader& reader, QStringList* notes) {
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
    std::vector<JSAMPLE> row = rowBuffer(info, name);
    if (!jpeg.streamRows(row.data(), &reader))
        jpeg.fail(name);
    if (notes != nullptr)
        *notes = jpeg.notes();
    return colourSpace;
}

QStringList CheckJpegData(const uint8_t* data, size_t size, const QString& name) {
    Decompressor jpeg;
    if (!jpeg.open(data, size) || !jpeg.start(false))
        jpeg.fail(name);
    const jpeg_decompress_struct& info = jpeg.info();
    std::vector<JSAMPLE> row = rowBuffer(info, name);
    if (!jpeg.streamRows(row.data(), nullptr))
        jpeg.fail(name);
    return jpeg.notes();
}

}  // namespace picture
