#include <gtest/gtest.h>

#include <QBuffer>
#include <QColorSpace>
#include <QColorTransform>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTransform>
#include <functional>
#include <utility>
#include <vector>

#include "ExifOrientation.h"
#include "PictureLoader.h"
#include "PointStretch.h"
#include "RowSampler.h"
#include "RuntimeError.h"
#include "SampledPicture.h"
#include "SourcePicture.h"
#include "TestFiles.h"

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

QImage noisy(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 13 + y * 7) % 256, (x * y) % 256, (x ^ (y * 3)) % 256));
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

// The stored picture turned upright the way Exif orientation `o` says, by Qt's own turns.
QImage turnedUpright(const QImage& stored, int o) {
    QTransform turn;
    if (o >= 5)
        turn.rotate(o == 5 || o == 6 ? 90 : 270);
    else if (o == 3 || o == 4)
        turn.rotate(180);
    QImage out = stored.transformed(turn);
    if (o == 2 || o == 4 || o == 5 || o == 7)
        out = out.mirrored(true, false);
    return out;
}

TEST(RowSampler, RowsFedOneByOneGiveThePointStretchOfTheUprightPicture) {
    const QImage stored = noisy(37, 23);
    const std::vector<QSize> sizes = {{16, 50}, {23, 37}, {37, 23}, {5, 3}, {80, 61}, {1, 1}};
    for (int o = 1; o <= 8; ++o) {
        const QImage upright = turnedUpright(stored, o);
        ASSERT_EQ(upright.size(), o >= 5 ? QSize(23, 37) : QSize(37, 23));
        RowSampler sampler(stored.size(), o, sizes);
        int taken = 0;
        for (int y = 0; y < stored.height(); ++y) {
            if (sampler.wants(y)) {
                sampler.take(y, reinterpret_cast<const QRgb*>(stored.constScanLine(y)));
                ++taken;
            }
        }
        EXPECT_EQ(taken, stored.height()) << "the enlarged target reads every row";
        for (size_t i = 0; i < sizes.size(); ++i) {
            const QSize size = sizes[i];
            EXPECT_TRUE(sampler.targets()[i] == PointStretch(upright, size.width(), size.height()))
                << "orientation " << o << " at " << size.width() << "x" << size.height();
        }
    }
    // A shrinking target reads only the rows it samples: 23 rows onto 3 take 3, 11 and 19.
    RowSampler few(stored.size(), 1, {{5, 3}});
    QList<int> rows;
    for (int y = 0; y < stored.height(); ++y) {
        if (few.wants(y)) {
            rows << y;
            few.take(y, reinterpret_cast<const QRgb*>(stored.constScanLine(y)));
        }
    }
    EXPECT_EQ(rows, (QList<int>{3, 11, 19}));
}

TEST(SampledDecode, EveryOrientationGivesQtsUprightPicture) {
    QTemporaryDir dir;
    const QByteArray plain = jpegBytes(noisy(45, 29));
    for (int o = 1; o <= 8; ++o) {
        const QString path = saveBytes(dir, QString("o%1.jpg").arg(o), withOrientation(plain, o));
        const QImage expected = qtUpright(path);
        ASSERT_FALSE(expected.isNull());
        const SourcePicture ours = picture::LoadSource(path);
        EXPECT_EQ(ours.size(), expected.size()) << o;
        EXPECT_TRUE(ours.upright() == expected) << "orientation " << o;
    }
}

TEST(SampledDecode, TheCanvasAndPreviewAreTheFullPicturePointSampled) {
    QTemporaryDir dir;
    QByteArray progressive;
    {
        QBuffer buffer(&progressive);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "JPEG");
        writer.setProgressiveScanWrite(true);
        ASSERT_TRUE(writer.write(noisy(203, 119)));
    }
    const QByteArray baseline = jpegBytes(noisy(203, 119), 80);
    for (const auto& [kind, bytes] :
         {std::pair{"baseline", baseline}, {"progressive", progressive}}) {
        for (int o = 1; o <= 8; ++o) {
            const QString path =
                saveBytes(dir, QString("%1%2.jpg").arg(kind).arg(o), withOrientation(bytes, o));
            const QImage upright = qtUpright(path);
            QSize full;
            const SampledPicture ours = picture::LoadSampled(
                path,
                [&](QSize size) {
                    full = size;
                    return QSize(size.width() / 3, size.height() / 2);
                },
                QSize(17, 13));
            EXPECT_EQ(full, upright.size()) << kind << o;
            EXPECT_EQ(ours.size, upright.size()) << kind << o;
            const QSize canvas(full.width() / 3, full.height() / 2);
            EXPECT_TRUE(ours.canvas == PointStretch(upright, canvas.width(), canvas.height()))
                << kind << " orientation " << o;
            EXPECT_TRUE(ours.preview == PointStretch(upright, 17, 13)) << kind << o;
        }
    }
    // Other formats go the same way through Qt's reader; no preview when none is asked for.
    const QString png = saveBytes(dir, "noisy.bmp", [] {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        noisy(50, 40).save(&buffer, "BMP");
        return bytes;
    }());
    const SampledPicture bitmap = picture::LoadSampled(
        png, [](QSize) { return QSize(120, 7); }, QSize());
    EXPECT_TRUE(bitmap.canvas == PointStretch(noisy(50, 40), 120, 7));
    EXPECT_TRUE(bitmap.preview.isNull());
}

TEST(SampledDecode, DamagedOrHugeJpegFilesAreRefusedBeforeTheCanvasSize) {
    QTemporaryDir dir;
    const QByteArray whole = jpegBytes(noisy(320, 240), 90);
    const QString cut = saveBytes(dir, "cut.jpg", whole.left(whole.size() / 2));
    const auto quarter = [](QSize size) { return size / 4; };
    const auto noCanvas = [](QSize) -> QSize {
        throw tessaro::RuntimeError(tessaro::err::kOverflow, "Overflow");
    };
    for (const auto& canvasFor : {std::function<QSize(QSize)>(quarter), {noCanvas}}) {
        try {
            picture::LoadSampled(cut, canvasFor, QSize(8, 8));
            ADD_FAILURE() << "half a JPEG loaded";
        } catch (const tessaro::RuntimeError& e) {
            EXPECT_EQ(e.number(), 481);
            EXPECT_NE(e.text().find("cut.jpg (Corrupt JPEG data"), std::string::npos) << e.text();
        }
    }
    // Cut in its last rows, below every row a 2 x 2 canvas reads (60 and 180 of 240).
    const QString tail = saveBytes(dir, "tail.jpg", whole.left(whole.size() * 19 / 20));
    try {
        picture::LoadSampled(
            tail, [](QSize) { return QSize(2, 2); }, QSize());
        ADD_FAILURE() << "a JPEG cut in its last rows loaded";
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_EQ(e.number(), 481);
        EXPECT_NE(e.text().find("tail.jpg (Corrupt JPEG data"), std::string::npos) << e.text();
    }
    // A sound file whose canvas cannot be sized reports the size.
    const QString good = saveBytes(dir, "good.jpg", whole);
    try {
        picture::LoadSampled(good, noCanvas, QSize(8, 8));
        ADD_FAILURE() << "no canvas, no error";
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_EQ(e.number(), tessaro::err::kOverflow);
    }

    const QString big = saveBytes(dir, "big.jpg", jpegBytes(noisy(1000, 700)));
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);
    for (const bool sampled : {true, false}) {
        try {
            if (sampled)
                picture::LoadSampled(big, quarter, QSize());
            else
                picture::LoadSource(big);
            ADD_FAILURE() << "a picture above the limit loaded";
        } catch (const tessaro::RuntimeError& e) {
            EXPECT_EQ(e.number(), 481);
            EXPECT_NE(e.text().find("too large (1000 x 700)"), std::string::npos) << e.text();
        }
    }
    QImageReader::setAllocationLimit(limit);
}

TEST(SampledDecode, AnEmbeddedProfileIsConvertedToSrgb) {
    QTemporaryDir dir;
    const QRgb stored = qRgb(60, 140, 200);
    QImage flat(64, 48, QImage::Format_RGB32);
    flat.fill(stored);
    flat.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    const QString path = saveBytes(dir, "adobe.jpg", jpegBytes(flat, 100));
    const QRgb expected = QColorSpace(QColorSpace::AdobeRgb)
                              .transformationToColorSpace(QColorSpace::SRgb)
                              .map(stored);
    ASSERT_FALSE(near(expected, stored, 10));  // the profile matters for this colour

    const SampledPicture sampled = picture::LoadSampled(
        path, [](QSize size) { return size / 8; }, QSize(5, 5));
    EXPECT_TRUE(near(sampled.canvas.pixel(4, 3), expected, 3));
    EXPECT_TRUE(near(sampled.preview.pixel(2, 2), expected, 3));
    const SourcePicture source = picture::LoadSource(path);
    ASSERT_TRUE(source.colourSpace.isValid());
    EXPECT_TRUE(near(StretchSource(source, 8, 6).pixel(4, 3), expected, 3));
    EXPECT_TRUE(near(picture::LoadPicture(path).pixel(30, 20), expected, 3));

    // Pictures Qt's own readers load keep their profile the same way (a PNG by its content).
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(flat.save(&buffer, "PNG"));
    const QString other = saveBytes(dir, "adobe.bmp", png);
    EXPECT_TRUE(picture::LoadSource(other).colourSpace.isValid());
    EXPECT_TRUE(near(picture::LoadPicture(other).pixel(30, 20), expected, 1));
    EXPECT_TRUE(near(picture::LoadSampled(
                         other, [](QSize) { return QSize(3, 3); }, QSize())
                         .canvas.pixel(1, 1),
                     expected, 1));

    // Without a profile the numbers stay as they are.
    flat.setColorSpace(QColorSpace());
    const QString plain = saveBytes(dir, "plain.jpg", jpegBytes(flat, 100));
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
    QByteArray noOrder = little;
    noOrder.replace(6, 2, "XI");  // neither byte order: not read at all
    EXPECT_EQ(read(noOrder), 1);
}
