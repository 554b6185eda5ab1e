// The picture loader on any file content under a ".bmp", ".gif" or ".jpg" name (the first
// input byte picks the name, as a drop would): it either gives an opaque 32-bit picture of a
// sane size or raises the program's error; it never crashes, hangs or passes a damaged
// picture on as a good one without saying so.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "PictureLoader.h"
#include "PointStretch.h"
#include "RuntimeError.h"
#include "SampledPicture.h"
#include "SmoothPicture.h"

namespace {
QString folder;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    folder = QString("/dev/shm/tessaro-fuzz-load-%1").arg(::getpid());
    QDir().mkpath(folder);
    return 0;
}

namespace {

// The smoothing path refuses exactly what the point-sampled one refuses, with the same error,
// and otherwise gives pictures of the asked sizes.
void checkSmooth(const QString& path, const tessaro::RuntimeError* refused, QSize canvas) {
    try {
        const SampledPicture smooth = picture::LoadSmooth(
            path, [&](QSize) { return canvas; }, QSize(7, 5));
        FUZZ_CHECK(refused == nullptr, "the smoothing path took what was refused: %s",
                   refused ? refused->what() : "");
        FUZZ_CHECK(smooth.canvas.size() == canvas && smooth.preview.size() == QSize(7, 5),
                   "smoothed sizes differ");
    } catch (const tessaro::RuntimeError& e) {
        FUZZ_CHECK(refused != nullptr, "the smoothing path refused a good picture: %s", e.what());
        FUZZ_CHECK(e.number() == refused->number() && e.text() == refused->text(),
                   "the smoothing path says '%s' where the other says '%s'", e.what(),
                   refused->what());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    static const char* const kEndings[] = {".bmp", ".gif", ".jpg"};
    const QString path = folder + "/input" + kEndings[data[0] % 3];
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write %s",
                   qPrintable(path));
        file.write(reinterpret_cast<const char*>(data + 1), static_cast<qint64>(size - 1));
    }
    try {
        const QImage picture = picture::LoadPicture(path);
        FUZZ_CHECK(!picture.isNull(), "a null picture came back without an error");
        FUZZ_CHECK(picture.format() == QImage::Format_RGB32, "format %d",
                   static_cast<int>(picture.format()));
        // The batch's way, sampled while decoding: the same picture, point-sampled.
        const QSize canvas((picture.width() + 2) / 3, (picture.height() + 1) / 2);
        const SampledPicture sampled = picture::LoadSampled(
            path, [&](QSize) { return canvas; }, QSize(7, 5));
        FUZZ_CHECK(sampled.size == picture.size(), "sampled size differs");
        FUZZ_CHECK(sampled.canvas == PointStretch(picture, canvas.width(), canvas.height()),
                   "the sampled canvas is not the picture point-sampled");
        FUZZ_CHECK(sampled.preview == PointStretch(picture, 7, 5), "the preview differs");
        checkSmooth(path, nullptr, canvas);
    } catch (const tessaro::RuntimeError& e) {
        FUZZ_CHECK(
            e.number() == tessaro::err::kInvalidPicture || e.number() == tessaro::err::kOutOfMemory,
            "unexpected error %d: %s", e.number(), e.what());
        if (e.number() == tessaro::err::kInvalidPicture)
            checkSmooth(path, &e, QSize(3, 2));
    }
    return 0;
}
