#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include "BitmapFile.h"
#include "CheckedConversion.h"
#include "PictureLoader.h"
#include "PointStretch.h"
#include "RuntimeError.h"

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
