// GifConvert from a canvas in memory, with sizes, pixel formats and colours taken from the
// input: every GIF it writes must decode (giflib) to the canvas's size, and a canvas of at
// most 256 colours must come back pixel for pixel.
#include <gif_lib.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSet>
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "GifConvert.h"
#include "RuntimeError.h"

namespace {

QString folder;

// Reads the input one byte at a time, then zeros.
class Bytes {
  public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

QImage canvasFrom(Bytes& in) {
    const int width = 1 + in.next() % 96;
    const int height = 1 + in.next() % 96;
    const uint8_t mode = in.next();
    static const QImage::Format kFormats[] = {QImage::Format_RGB32, QImage::Format_ARGB32,
                                              QImage::Format_RGB888, QImage::Format_RGB16};
    QImage canvas(width, height, kFormats[mode % 4]);
    // A few colours (the exact path) or a colour per pixel (reduction and dithering).
    const bool fewColours = (mode & 4) != 0;
    QList<QRgb> palette;
    for (int i = 0, n = 1 + in.next() % 300; i < n; ++i)
        palette << qRgba(in.next(), in.next(), in.next(), in.next());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            canvas.setPixel(x, y,
                            fewColours ? palette[in.next() % palette.size()]
                                       : qRgba(in.next(), in.next(), in.next(), in.next()));
        }
    }
    return canvas;
}

QImage decodeGif(const QString& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(QFile::encodeName(path).constData(), &error);
    FUZZ_CHECK(gif != nullptr, "giflib cannot open the file: %s", GifErrorString(error));
    FUZZ_CHECK(DGifSlurp(gif) == GIF_OK, "giflib cannot read the file: %s",
               GifErrorString(gif->Error));
    FUZZ_CHECK(gif->ImageCount == 1, "%d images", gif->ImageCount);
    const SavedImage& image = gif->SavedImages[0];
    const ColorMapObject* map =
        image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
    FUZZ_CHECK(map != nullptr, "no colour table");
    QImage out(image.ImageDesc.Width, image.ImageDesc.Height, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const int index = image.RasterBits[y * out.width() + x];
            FUZZ_CHECK(index < map->ColorCount, "index %d beyond %d colours", index,
                       map->ColorCount);
            const GifColorType c = map->Colors[index];
            out.setPixel(x, y, qRgb(c.Red, c.Green, c.Blue));
        }
    }
    DGifCloseFile(gif, &error);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    folder = QString("/dev/shm/tessaro-fuzz-gif-%1").arg(::getpid());
    QDir().mkpath(folder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes in(data, size);
    const QImage canvas = canvasFrom(in);
    const QString path = folder + "/out.gif";
    try {
        GifConvert::convertPicture(canvas, "fuzz.gif", path);
    } catch (const tessaro::RuntimeError& e) {
        FUZZ_CHECK(false, "error %d for a %dx%d canvas: %s", e.number(), canvas.width(),
                   canvas.height(), e.what());
    }
    const QImage opaque = canvas.convertToFormat(QImage::Format_RGB32);
    const QImage decoded = decodeGif(path);
    FUZZ_CHECK(decoded.size() == canvas.size(), "%dx%d written as %dx%d", canvas.width(),
               canvas.height(), decoded.width(), decoded.height());
    QSet<QRgb> colours;
    for (int y = 0; y < opaque.height(); ++y)
        for (int x = 0; x < opaque.width(); ++x)
            colours.insert(opaque.pixel(x, y) | 0xFF000000u);
    if (colours.size() <= 256) {
        for (int y = 0; y < opaque.height(); ++y)
            for (int x = 0; x < opaque.width(); ++x)
                FUZZ_CHECK((opaque.pixel(x, y) | 0xFF000000u) == decoded.pixel(x, y),
                           "pixel %d,%d of a %lld-colour canvas changed", x, y,
                           static_cast<long long>(colours.size()));
    }
    return 0;
}
