#include <gtest/gtest.h>

#include <QBuffer>
#include <QColorSpace>
#include <QColorTransform>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include "ExifOrientation.h"
#include "JpegDecoder.h"
#include "PictureLoader.h"
#include "PointStretch.h"
#include "RuntimeError.h"
#include "SourcePicture.h"

namespace {

QByteArray jpegBytes(const QImage& image, int quality = 95) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "JPEG", quality));
    return bytes;
}

// The bytes with an Exif block right after the start marker that gives `orientation`.
QByteArray withOrientation(const QByteArray& jpeg, int orientation) {
    QByteArray exif("Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01", 24);
    exif += char(0);
    exif += char(orientation);
    exif += QByteArray(6, '\0');  // value padding, then no next directory
    QByteArray segment("\xff\xe1", 2);
    segment += char((exif.size() + 2) >> 8);
    segment += char((exif.size() + 2) & 0xff);
    return jpeg.left(2) + segment + exif + jpeg.mid(2);
}

QString save(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QImage noisy(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 13 + y * 7) % 256, (x * y) % 256, (x ^ (y * 3)) % 256));
    return image;
}

// Quadrants on 16-pixel block boundaries, so that every decoding scale keeps their colours.
QImage quadrants(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                           x < w / 2 ? (y < h / 2 ? qRgb(220, 20, 20) : qRgb(20, 20, 220))
                                     : (y < h / 2 ? qRgb(20, 220, 20) : qRgb(230, 230, 30)));
    return image;
}

QImage qtUpright(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

bool near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

}  // namespace

TEST(ScaledDecode, TheSmallestScaleStillCoversTheCanvasBothWays) {
    EXPECT_EQ(picture::SmallestScale({4000, 3000}, {640, 480}), 2);
    EXPECT_EQ(picture::SmallestScale({4000, 3000}, {1000, 750}), 2);  // exactly a quarter
    EXPECT_EQ(picture::SmallestScale({4000, 3000}, {1001, 750}), 3);  // one pixel more
    EXPECT_EQ(picture::SmallestScale({4000, 3000}, {500, 1200}), 4);  // the tall side decides
    EXPECT_EQ(picture::SmallestScale({9, 9}, {2, 2}), 1);  // the cut block counts: ceil(9 / 8)
    EXPECT_EQ(picture::SmallestScale({9, 9}, {3, 2}), 2);
    EXPECT_EQ(picture::SmallestScale({9, 9}, {4, 2}), 3);
    EXPECT_EQ(picture::SmallestScale({640, 480}, {1024, 768}), 8);  // enlarged: full size
    EXPECT_EQ(picture::SmallestScale({640, 480}, {640, 480}), 8);
}

TEST(ScaledDecode, EachCanvasPixelReadsTheDecodedPixelUnderItsSourceCentre) {
    // Nine stored columns decoded at 4/8 give five; decoded pixel i covers source pixels
    // [2i, 2i + 2). Canvas pixel x takes source pixel floor((x + 0.5) * 9 / 2) = 2, 6, which
    // lie in decoded pixels 1 and 3, and mirrored the source pixels 6, 2: decoded 3 and 1.
    QImage decoded(5, 1, QImage::Format_RGB32);
    for (int i = 0; i < 5; ++i)
        decoded.setPixel(i, 0, qRgb(i, 0, 0));
    SourcePicture source{decoded, QSize(9, 1), 4, 1, {}};
    const auto reds = [](const QImage& image) {
        QList<int> out;
        for (int x = 0; x < image.width(); ++x)
            out << qRed(image.pixel(x, 0));
        return out;
    };
    EXPECT_EQ(reds(StretchSource(source, 2, 1)), (QList<int>{1, 3}));
    source.orientation = 2;  // mirrored
    EXPECT_EQ(reds(StretchSource(source, 2, 1)), (QList<int>{3, 1}));
    // Ten columns at 4/8: the canvas of three takes source pixels 1, 5, 8: decoded 0, 2, 4.
    source.storedSize = QSize(10, 1);
    source.orientation = 1;
    EXPECT_EQ(reds(StretchSource(source, 3, 1)), (QList<int>{0, 2, 4}));
    // Turned a quarter (orientation 6): the stored row becomes an upright column.
    source.orientation = 6;
    const QImage column = StretchSource(source, 1, 3);
    EXPECT_EQ(qRed(column.pixel(0, 0)), 0);
    EXPECT_EQ(qRed(column.pixel(0, 2)), 4);

    // At full scale it is plain point sampling of the picture.
    const QImage picture = noisy(37, 23);
    const SourcePicture whole{picture, picture.size(), 8, 1, {}};
    EXPECT_EQ(StretchSource(whole, 16, 50), PointStretch(picture, 16, 50));
}

TEST(ScaledDecode, AtFullScaleEveryOrientationGivesQtsUprightPicture) {
    QTemporaryDir dir;
    const QByteArray plain = jpegBytes(noisy(45, 29));
    for (int o = 1; o <= 8; ++o) {
        const QString path = save(dir, QString("o%1.jpg").arg(o), withOrientation(plain, o));
        const QImage expected = qtUpright(path);
        ASSERT_FALSE(expected.isNull());
        const SourcePicture ours = picture::LoadSource(path, {});
        EXPECT_EQ(ours.eighths, 8);
        EXPECT_EQ(ours.size(), expected.size()) << o;
        EXPECT_TRUE(ours.upright() == expected) << "orientation " << o;
    }
}

TEST(ScaledDecode, AReducedDecodeKeepsTheOrientationAndTheFullProportions) {
    QTemporaryDir dir;
    const QByteArray plain = jpegBytes(quadrants(256, 128));
    for (int o = 1; o <= 8; ++o) {
        const QString path = save(dir, QString("q%1.jpg").arg(o), withOrientation(plain, o));
        QSize full;
        const SourcePicture ours = picture::LoadSource(path, [&](QSize size) {
            full = size;
            return size / 4;
        });
        EXPECT_EQ(ours.eighths, 2) << o;
        EXPECT_EQ(full, ours.size());
        EXPECT_EQ(ours.size(), o >= 5 ? QSize(128, 256) : QSize(256, 128));
        const QSize canvasSize = ours.size() / 4;
        const QImage canvas = StretchSource(ours, canvasSize.width(), canvasSize.height());
        const QImage reference =
            PointStretch(qtUpright(path), canvasSize.width(), canvasSize.height());
        // Each quadrant's middle has the colour the full picture has there.
        for (const QPoint& p : {QPoint(1, 1), QPoint(3, 1), QPoint(1, 3), QPoint(3, 3)}) {
            const QPoint at(p.x() * canvasSize.width() / 4, p.y() * canvasSize.height() / 4);
            EXPECT_TRUE(near(canvas.pixel(at), reference.pixel(at), 6))
                << "orientation " << o << " at " << at.x() << "," << at.y();
        }
    }
}

TEST(ScaledDecode, DamagedOrHugeJpegFilesAreRefusedAtAnyScale) {
    QTemporaryDir dir;
    const QByteArray whole = jpegBytes(noisy(320, 240), 90);
    const QString cut = save(dir, "cut.jpg", whole.left(whole.size() / 2));
    const auto quarter = [](QSize size) { return size / 4; };
    try {
        picture::LoadSource(cut, quarter);
        ADD_FAILURE() << "half a JPEG loaded";
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_EQ(e.number(), 481);
        EXPECT_NE(e.text().find("cut.jpg (Corrupt JPEG data"), std::string::npos) << e.text();
    }
    const QString big = save(dir, "big.jpg", jpegBytes(noisy(1000, 700)));
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);
    try {
        picture::LoadSource(big, quarter);
        ADD_FAILURE() << "a picture above the limit loaded";
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_EQ(e.number(), 481);
        EXPECT_NE(e.text().find("too large (1000 x 700)"), std::string::npos) << e.text();
    }
    QImageReader::setAllocationLimit(limit);
}

TEST(ScaledDecode, AnEmbeddedProfileIsConvertedToSrgb) {
    QTemporaryDir dir;
    const QRgb stored = qRgb(60, 140, 200);
    QImage flat(64, 48, QImage::Format_RGB32);
    flat.fill(stored);
    flat.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    const QString path = save(dir, "adobe.jpg", jpegBytes(flat, 100));
    const QRgb expected = QColorSpace(QColorSpace::AdobeRgb)
                              .transformationToColorSpace(QColorSpace::SRgb)
                              .map(stored);
    ASSERT_FALSE(near(expected, stored, 10));  // the profile matters for this colour

    const SourcePicture source = picture::LoadSource(path, [](QSize size) { return size / 8; });
    ASSERT_TRUE(source.colourSpace.isValid());
    EXPECT_TRUE(near(StretchSource(source, 8, 6).pixel(4, 3), expected, 3));
    EXPECT_TRUE(near(source.upright().pixel(4, 3), expected, 3));
    EXPECT_TRUE(near(picture::LoadPicture(path).pixel(30, 20), expected, 3));

    // Pictures Qt's own readers load keep their profile the same way (a PNG by its content).
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(flat.save(&buffer, "PNG"));
    const QString other = save(dir, "adobe.bmp", png);
    EXPECT_TRUE(picture::LoadSource(other, {}).colourSpace.isValid());
    EXPECT_TRUE(near(picture::LoadPicture(other).pixel(30, 20), expected, 1));

    // Without a profile the numbers stay as they are.
    flat.setColorSpace(QColorSpace());
    const QString plain = save(dir, "plain.jpg", jpegBytes(flat, 100));
    EXPECT_TRUE(near(picture::LoadPicture(plain).pixel(30, 20), stored, 3));
}

TEST(ExifOrientation, ReadsTheTagInEitherByteOrderAndIgnoresNonsense) {
    QByteArray big("Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0", 28);
    QByteArray little("Exif\0\0II\x2a\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x03\0\0\0", 28);
    const auto read = [](const QByteArray& b) {
        return picture::ExifOrientation(reinterpret_cast<const uint8_t*>(b.constData()),
                                        static_cast<size_t>(b.size()));
    };
    EXPECT_EQ(read(big), 6);
    EXPECT_EQ(read(little), 3);
    QByteArray nine = big;
    nine[25] = 9;
    EXPECT_EQ(read(nine), 1);
    EXPECT_EQ(read(big.left(20)), 1);  // cut inside the entry
    QByteArray farOffset = big;
    farOffset[13] = 0x7f;  // the directory lies past the end
    EXPECT_EQ(read(farOffset), 1);
    EXPECT_EQ(read(QByteArray("JFIF\0\0", 6)), 1);
}
