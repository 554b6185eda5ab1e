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
#include "RuntimeError.h"

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
    } catch (const tessaro::RuntimeError& e) {
        FUZZ_CHECK(
            e.number() == tessaro::err::kInvalidPicture || e.number() == tessaro::err::kOutOfMemory,
            "unexpected error %d: %s", e.number(), e.what());
    }
    return 0;
}
