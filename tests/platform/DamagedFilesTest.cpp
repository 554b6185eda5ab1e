#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>

#include "DamagedFiles.h"
#include "PictureLoader.h"
#include "RuntimeError.h"
#include "TestFiles.h"

namespace {

// Thousands of cut files: in memory where the system has a memory file system.
QString scratchTemplate() {
    return QDir("/dev/shm").exists() ? "/dev/shm/tessaro-cuts-XXXXXX"
                                     : QDir::tempPath() + "/tessaro-cuts-XXXXXX";
}

// The canvases a batch asks for: the whole picture, and one that skips rows.
const QSize kCanvases[] = {{0, 0}, {37, 23}};

// The canvases of the file `bytes`, or the error number it was refused with.
struct Loaded {
    std::vector<QImage> canvases;
    int error = 0;
    std::string text;
};

Loaded load(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = saveBytes(dir, name, bytes);
    Loaded loaded;
    try {
        for (const QSize& canvas : kCanvases) {
            loaded.canvases.push_back(
                picture::LoadSampled(
                    path, [&](QSize full) { return canvas.isEmpty() ? full : canvas; }, QSize())
                    .canvas);
        }
    } catch (const tessaro::RuntimeError& e) {
        loaded.error = e.number();
        loaded.text = e.text();
    }
    return loaded;
}

// Every cut of `whole` from `from` on is refused or gives the pictures of the whole file;
// the number of cuts taken.
int cutsTakenOrRefused(const QTemporaryDir& dir, const QString& name, const QByteArray& whole,
                       qsizetype from) {
    const Loaded clean = load(dir, name, whole);
    EXPECT_EQ(clean.error, 0) << name.toStdString() << ": " << clean.text;
    int taken = 0;
    for (qsizetype cut = std::max<qsizetype>(from, 1); cut < whole.size(); ++cut) {
        const Loaded loaded = load(dir, name, whole.left(cut));
        if (loaded.error != 0) {
            EXPECT_EQ(loaded.error, 481) << name.toStdString() << " cut at " << cut;
            continue;
        }
        ++taken;
        EXPECT_TRUE(loaded.canvases == clean.canvases)
            << name.toStdString() << " cut at " << cut << " of " << whole.size();
    }
    return taken;
}

}  // namespace

// A JPEG file is whole only with all its scan data; the end marker alone may be missing.
TEST(DamagedFiles, JpegCutInItsLastTwoKilobytesIsRefusedOrWhole) {
    QTemporaryDir dir(scratchTemplate());
    // Noise, so that 2 KB are a good part of a small file.
    QImage image = damaged::picture(80, 56);
    uint32_t seed = 1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1103515245U + 12345U;
            image.setPixel(x, y, image.pixel(x, y) ^ (seed >> 8 & 0x3f3f3fU));
        }
    }
    const std::pair<const char*, QStringList> encodings[] = {
        {"qt.jpg", {}},
        {"restarts.jpg", {"-restart", "1"}},
        {"arithmetic.jpg", {"-arithmetic"}},
        {"progressive.jpg", {"-progressive"}},
        {"progressive-arithmetic.jpg", {"-progressive", "-arithmetic"}},
    };
    for (const auto& [name, options] : encodings) {
        const QByteArray whole =
            options.isEmpty() ? damaged::qtJpeg(image, 95)
                              : damaged::cjpeg(image, options + QStringList{"-quality", "95"});
        ASSERT_GT(whole.size(), 3000) << name;
        const int taken = cutsTakenOrRefused(dir, name, whole, whole.size() - 2048);
        // Taken without its end marker or half of it; the arithmetic decoder reads up to the
        // marker, so there the end of the data is where it stood in the scan.
        EXPECT_EQ(taken, options.contains("-arithmetic") ? 0 : 2) << name;
    }
    // A picture of one MCU row, cut anywhere in its scan.
    const QByteArray small = damaged::qtJpeg(damaged::picture(16, 8));
    EXPECT_EQ(cutsTakenOrRefused(dir, "small.jpg", small, damaged::markerAt(small, 0xDA)), 2);
}

// A GIF file is whole once its image data holds every pixel, whatever follows it.
TEST(DamagedFiles, GifCutInItsImageDataIsRefusedOrWhole) {
    QTemporaryDir dir(scratchTemplate());
    const QByteArray whole = damaged::gif(damaged::picture(60, 40));
    const damaged::GifData d = damaged::gifData(whole);
    // Every cut refused but two: without its block terminator and trailer, or its trailer.
    EXPECT_EQ(cutsTakenOrRefused(dir, "cut.gif", whole, d.start), 2);

    const Loaded clean = load(dir, "clean.gif", whole);
    // Whole without its block terminator, or with LZW codes wider than giflib reads.
    const QByteArray wide = damaged::gifWideCodes(damaged::picture(60, 40), 10);
    for (const QByteArray& bytes : {whole.left(d.terminator) + whole.mid(d.terminator + 1), wide}) {
        const Loaded loaded = load(dir, "odd.gif", bytes);
        EXPECT_EQ(loaded.error, 0) << loaded.text;
        EXPECT_TRUE(loaded.canvases == clean.canvases);
    }
    // Refused: image data that ends before the last pixel, in narrow codes or wide ones.
    const QByteArray early = whole.left(d.start + (d.terminator - d.start) / 2) + '\0' + ';';
    for (const QByteArray& bytes : {early, wide.left(wide.size() - 8)})
        EXPECT_EQ(load(dir, "damaged.gif", bytes).error, 481);
}

// Every bitmap layout Qt's reader takes is either checked whole or refused: no picture may
// hold pixels the reader never set.
TEST(DamagedFiles, BitmapsAreTakenOnlyWhenEveryPixelIsSet) {
    QTemporaryDir dir;
    using damaged::bitmap;
    using damaged::bitmapRows;
    using damaged::infoHeader;
    const int w = 45;
    const int h = 30;
    const QByteArray palette8 = damaged::greyPalette(256);
    const QByteArray palette4 = damaged::greyPalette(16);
    const QByteArray rle8 = bitmapRows(w, h, 8, true);
    const QByteArray rle4 = bitmapRows(w, h, 4, true);
    const QByteArray plain8 = bitmapRows(w, h, 8, false);
    const QByteArray head8 = infoHeader(w, h, 8, 1, 256);
    const Loaded ref8 =
        load(dir, "ref8.bmp", bitmap(infoHeader(w, h, 8, 0, 256), palette8, plain8));
    const Loaded ref4 = load(
        dir, "ref4.bmp", bitmap(infoHeader(w, h, 4, 0, 16), palette4, bitmapRows(w, h, 4, false)));
    ASSERT_EQ(ref8.error, 0) << ref8.text;
    ASSERT_EQ(ref4.error, 0) << ref4.text;

    QByteArray delta = rle8;
    delta.insert(0, QByteArray("\0\2\1\0", 4));  // jump one pixel
    QByteArray earlyEnd = rle8;
    earlyEnd.replace(damaged::bitmapRows(w, 1, 8, true).size() - 2, 2, QByteArray("\0\1", 2));
    const qint64 rleFileSize = 14 + 40 + palette8.size() + rle8.size();
    struct Case {
        const char* name;
        QByteArray bytes;
        const Loaded* same;  // null: refused
    };
    const Case cases[] = {
        {"RLE8", bitmap(head8, palette8, rle8), &ref8},
        {"RLE4", bitmap(infoHeader(w, h, 4, 2, 16), palette4, rle4), &ref4},
        {"RLE8 ending with its last row", bitmap(head8, palette8, rle8.chopped(4)), &ref8},
        {"v5 header", bitmap(infoHeader(w, h, 8, 0, 256, 124), palette8, plain8), &ref8},
        {"RLE8 cut short", bitmap(head8, palette8, rle8.left(rle8.size() / 2)), nullptr},
        {"RLE4 cut short", bitmap(infoHeader(w, h, 4, 2, 16), palette4, rle4.left(rle4.size() / 3)),
         nullptr},
        {"RLE8 offset at the end", bitmap(head8, palette8, rle8, rleFileSize), nullptr},
        {"RLE8 offset past the end", bitmap(head8, palette8, rle8, rleFileSize + 100), nullptr},
        {"RLE8 jumping over pixels", bitmap(head8, palette8, delta), nullptr},
        {"RLE8 ending early", bitmap(head8, palette8, earlyEnd), nullptr},
        {"header size 0, 36 bytes",
         bitmap(infoHeader(w, h, 8, 0, 0, 22).replace(0, 4, "\0\0\0\0"), {}, {}), nullptr},
        {"header size 16",
         bitmap(infoHeader(w, h, 8, 0, 256, 16) + QByteArray(24, 0), palette8, plain8), nullptr},
        {"header size 64", bitmap(infoHeader(w, h, 8, 0, 256, 64), palette8, plain8), nullptr},
        {"header size garbage",
         bitmap(infoHeader(w, h, 8, 0, 256, 40).replace(0, 4, "\x12\x34\x56\x00"), palette8,
                plain8),
         nullptr},
        // Rows that start at the offset by its own count, but after the header by Qt's.
        {"v5 header past the offset",
         bitmap(infoHeader(w, h, 24, 0, 0, 124), {}, bitmapRows(w * 3, h, 8, false).chopped(84),
                54),
         nullptr},
    };
    for (const Case& c : cases) {
        const Loaded loaded = load(dir, "case.bmp", c.bytes);
        if (c.same == nullptr) {
            EXPECT_EQ(loaded.error, 481) << c.name;
            continue;
        }
        EXPECT_EQ(loaded.error, 0) << c.name << ": " << loaded.text;
        EXPECT_TRUE(loaded.canvases == c.same->canvases) << c.name;
    }
}

// A picture Qt's reader has no memory for is named so, not as damaged data.
TEST(DamagedFiles, NoMemoryForQtsPictureIsOutOfMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#endif
    QTemporaryDir dir;
    const int side = 4000;  // 64 MB of pixels: under Qt's allocation limit
    const QString path = saveBytes(
        dir, "huge.bmp",
        damaged::bitmap(damaged::infoHeader(side, side, 24, 0, 0), {}, QByteArray(64, 0)));
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    rlimit old{};
    getrlimit(RLIMIT_AS, &old);
    rlimit tight = old;
    tight.rlim_cur = static_cast<rlim_t>(pages) * 4096 + 24 * 1024 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
    int number = 0;
    std::string text;
    try {
        picture::LoadSource(path);
    } catch (const tessaro::RuntimeError& e) {
        number = e.number();
        text = e.text();
    }
    setrlimit(RLIMIT_AS, &old);
    EXPECT_EQ(number, tessaro::err::kOutOfMemory) << text;
}
