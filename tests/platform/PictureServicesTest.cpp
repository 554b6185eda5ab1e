#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include "BitmapFile.h"
#include "CheckedConversion.h"
#include "GifConvert.h"
#include "PictureLoader.h"
#include "PointStretch.h"
#include "RuntimeError.h"
#include "TestFiles.h"

namespace {
QImage row(std::initializer_list<int> greys) {
    QImage image(static_cast<int>(greys.size()), 1, QImage::Format_RGB32);
    int x = 0;
    for (int g : greys)
        image.setPixel(x++, 0, qRgb(g, g, g));
    return image;
}
QList<int> greysOf(const QImage& image) {
    QList<int> out;
    for (int x = 0; x < image.width(); ++x)
        out << qRed(image.pixel(x, 0));
    return out;
}
}  // namespace

TEST(PointStretch, TakesTheSourcePixelWithTheNearestCentre) {
    EXPECT_EQ(greysOf(PointStretch(row({10, 20, 30}), 2, 1)), (QList<int>{10, 30}));
    EXPECT_EQ(greysOf(PointStretch(row({10, 20}), 5, 1)), (QList<int>{10, 10, 20, 20, 20}));
    EXPECT_EQ(greysOf(PointStretch(row({1, 2, 3, 4}), 4, 1)), (QList<int>{1, 2, 3, 4}));
    const QImage tall = PointStretch(row({7, 8}), 2, 3);
    EXPECT_EQ(tall.pixel(1, 2), qRgb(8, 8, 8));
}

TEST(BitmapFile, WritesA24BitBottomUpFileThatReadsBackExactly) {
    QTemporaryDir dir;
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(2, 0, qRgb(0, 0, 255));
    image.setPixel(0, 1, qRgb(1, 2, 3));
    image.setPixel(1, 1, qRgb(4, 5, 6));
    image.setPixel(2, 1, qRgb(7, 8, 9));
    const QString path = dir.filePath("out.bmp");
    bitmapfile::SavePicture(image, path);

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.size(), 54 + 2 * 12);                        // rows padded to 12 bytes
    EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24);        // bits per pixel
    EXPECT_EQ(bytes.mid(54, 3), QByteArray::fromHex("030201"));  // bottom row first, B G R
    EXPECT_EQ(picture::LoadPicture(path), image);
}

TEST(BitmapFile, AFailedWriteRaisesAndLeavesTheOldFile) {
    QTemporaryDir dir;
    EXPECT_THROW(bitmapfile::SavePicture(row({1}), dir.filePath("missing/out.bmp")),
                 tessaro::RuntimeError);
    const QString path = dir.filePath("keep.bmp");
    bitmapfile::SavePicture(row({1, 2}), path);
    EXPECT_THROW(bitmapfile::SavePicture(QImage(), path), tessaro::RuntimeError);
    EXPECT_EQ(QImageReader(path).size(), QSize(2, 1));
}

TEST(PictureLoader, ACorruptOrMissingFileRaisesInvalidPicture) {
    QTemporaryDir dir;
    const QString bad = dir.filePath("bad.jpg");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xff\xd8 definitely not a JPEG");
    f.close();
    for (const QString& path : {bad, dir.filePath("none.gif")}) {
        try {
            picture::LoadPicture(path);
            ADD_FAILURE() << "no error for " << path.toStdString();
        } catch (const tessaro::RuntimeError& e) {
            EXPECT_EQ(e.number(), 481);
            EXPECT_NE(e.text().find(QFileInfo(path).fileName().toStdString()), std::string::npos);
        }
    }
}

TEST(CheckedConversion, RowByRowMatchesQtAndANullPictureIsError7) {
    QImage indexed(1200, 900, QImage::Format_Indexed8);
    indexed.setColorCount(3);
    indexed.setColor(0, qRgb(255, 0, 0));
    indexed.setColor(1, qRgb(0, 128, 255));
    indexed.setColor(2, qRgb(9, 9, 9));
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x)
            indexed.setPixel(x, y, static_cast<uint>((x * 7 + y) % 3));
    QImage mono(333, 77, QImage::Format_Mono);
    mono.fill(0);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.setPixel(5, 5, 1);
    QImage rgb888(640, 480, QImage::Format_RGB888);
    rgb888.fill(QColor(1, 2, 3));
    for (const QImage& source : {indexed, mono, rgb888}) {
        const QImage ours = ConvertChecked(source, QImage::Format_RGB32, "x");
        EXPECT_EQ(ours, source.convertToFormat(QImage::Format_RGB32)) << source.format();
    }

    try {
        ConvertChecked(QImage(), QImage::Format_RGB32, "foto.jpg");
        ADD_FAILURE() << "a null picture was converted";
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_EQ(e.number(), 7);
        EXPECT_NE(e.text().find("foto.jpg"), std::string::npos);
    }
}

TEST(PictureLoader, ADamagedPictureTheDecoderWarnsAboutIsInvalid) {
    QTemporaryDir dir;
    QImage photo(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            photo.setPixel(x, y, qRgb(x % 256, y, (x * y) % 256));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && photo.save(&buffer, "JPEG", 90));
    const QString whole = dir.filePath("whole.jpg");
    const QString cut = dir.filePath("cut.jpg");
    for (const auto& [path, bytes] :
         {std::pair{whole, jpeg}, std::pair{cut, jpeg.left(jpeg.size() / 2)}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    EXPECT_EQ(picture::LoadPicture(whole).size(), QSize(320, 240));
    try {
        picture::LoadPicture(cut);
        ADD_FAILURE() << "half a JPEG loaded as a good picture";
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_EQ(e.number(), 481);
        EXPECT_NE(e.text().find("cut.jpg"), std::string::npos);
        EXPECT_NE(e.text().find("Corrupt JPEG data"), std::string::npos) << e.text();
    }
}

TEST(PictureLoader, APictureAboveTheDecodeLimitSaysItIsTooLarge) {
    QTemporaryDir dir;
    const QString path = dir.filePath("huge.bmp");
    ASSERT_TRUE(QImage(1000, 700, QImage::Format_RGB32).save(path, "BMP"));
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);  // 2.8 MB decoded is then above the limit
    try {
        picture::LoadPicture(path);
        ADD_FAILURE() << "a picture above the limit loaded";
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_EQ(e.number(), 481);
        EXPECT_NE(e.text().find("too large (1000 x 700)"), std::string::npos) << e.text();
    }
    QImageReader::setAllocationLimit(limit);
}

namespace {
// A 24-bit bitmap file of w x h pixels, pixel (x, y) = (x * 40, y * 60, 90), rows bottom-up
// or, with a negative height in the header, top-down.
QByteArray bitmapBytes(int w, int h, bool topDown) {
    const int rowBytes = (w * 3 + 3) / 4 * 4;
    const auto le = [](QByteArray& b, qint64 v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b += char((v >> (8 * i)) & 0xff);
    };
    QByteArray b("BM");
    le(b, 54 + qint64{rowBytes} * h, 4);
    le(b, 0, 4);
    le(b, 54, 4);
    le(b, 40, 4);
    le(b, w, 4);
    le(b, topDown ? -h : h, 4);
    le(b, 1, 2);
    le(b, 24, 2);
    b += QByteArray(24, '\0');
    for (int k = 0; k < h; ++k) {
        const int y = topDown ? k : h - 1 - k;
        for (int x = 0; x < w; ++x)
            b += QByteArray(1, char(90)) + char(y * 60) + char(x * 40);
        b += QByteArray(rowBytes - w * 3, '\0');
    }
    return b;
}

void expectCut(const QString& path, const char* why) {
    try {
        picture::LoadPicture(path);
        ADD_FAILURE() << QFileInfo(path).fileName().toStdString() << " loaded";
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_EQ(e.number(), 481);
        EXPECT_NE(e.text().find(why), std::string::npos) << e.text() << " / " << why;
    }
}
}  // namespace

TEST(PictureLoader, ACutBitmapOrGifIsInvalidInsteadOfFilledIn) {
    QTemporaryDir dir;
    // Five 24-bit pixels take 15 bytes and a pad byte; both row orders read whole.
    for (const bool topDown : {false, true}) {
        const QByteArray whole = bitmapBytes(5, 3, topDown);
        const QImage read = picture::LoadPicture(saveBytes(dir, "whole.bmp", whole));
        ASSERT_EQ(read.size(), QSize(5, 3));
        EXPECT_EQ(read.pixel(4, 2), qRgb(160, 120, 90)) << topDown;
        EXPECT_EQ(read.pixel(0, 0), qRgb(0, 0, 90)) << topDown;
        // Qt's reader would hand back the missing row as whatever lay in memory.
        expectCut(saveBytes(dir, "short.bmp", whole.left(whole.size() - 1)),
                  "pixel data cut short: 101 of 102 bytes");
        expectCut(saveBytes(dir, "headers.bmp", whole.left(54)), "headers.bmp");  // Qt refuses it
    }

    const QString source = dir.filePath("source.bmp");
    QImage picture(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            picture.setPixel(x, y, qRgb(x / 4 * 25, y / 4 * 30, 77));
    ASSERT_TRUE(picture.save(source, "BMP"));
    const QString gif = dir.filePath("whole.gif");
    GifConvert::convert(source, gif);
    QFile f(gif);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.back(), ';');
    EXPECT_EQ(picture::LoadPicture(gif), picture);  // 80 colours: an exact palette
    // Without its trailer the image is still whole, as many files in the wild are.
    EXPECT_EQ(picture::LoadPicture(saveBytes(dir, "notrailer.gif", bytes.chopped(1))), picture);
    expectCut(saveBytes(dir, "cut.gif", bytes.left(bytes.size() / 2)), "data cut short");
}
