#include <gtest/gtest.h>

#include <QBuffer>
#include <QColorSpace>
#include <QColorTransform>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTransform>
#include <cmath>
#include <functional>
#include <vector>

#include "JpegScaledDecode.h"
#include "PictureLoader.h"
#include "RuntimeError.h"
#include "SmoothPicture.h"
#include "SmoothResampler.h"
#include "TestFiles.h"

namespace {

QImage resized(const QImage& stored, int orientation, QSize size) {
    SmoothResampler resampler(stored.size(), orientation, {size});
    for (int y = 0; y < stored.height(); ++y)
        resampler.take(y, reinterpret_cast<const QRgb*>(stored.constScanLine(y)));
    return resampler.release().front();
}

QByteArray encoded(const QImage& image, const char* format, int quality = 95) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format, quality));
    return bytes;
}

// Alternate black and white lines one pixel wide, across or down.
QImage stripes(int w, int h, bool across) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, ((across ? y : x) % 2) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return image;
}

// Something like a photograph: soft gradients under fine texture.
QImage photoLike(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double t = 12.0 * std::sin(x * 0.9) * std::cos(y * 0.7);
            image.setPixel(x, y,
                           qRgb(static_cast<int>(40 + 150.0 * x / w + t),
                                static_cast<int>(200 - 120.0 * y / h + t),
                                static_cast<int>(90 + 60 * std::sin((x + y) * 0.01))));
        }
    return image;
}

// The stored picture turned upright the way Exif orientation `o` says, by Qt's own turns.
QImage upright(const QImage& stored, int o) {
    QTransform turn;
    if (o >= 5)
        turn.rotate(o == 5 || o == 6 ? 90 : 270);
    else if (o == 3 || o == 4)
        turn.rotate(180);
    QImage out = stored.transformed(turn);
    return o == 2 || o == 4 || o == 5 || o == 7 ? out.mirrored(true, false) : out;
}

int largestDifference(const QImage& a, const QImage& b, double* mean = nullptr) {
    EXPECT_EQ(a.size(), b.size());
    int largest = 0;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) {
                largest = std::max(largest, std::abs(d));
                sum += std::abs(d);
            }
        }
    if (mean != nullptr)
        *mean = sum / (3.0 * a.width() * a.height());
    return largest;
}

}  // namespace

TEST(SmoothResampler, ThinStripesShrunkSevenToOneComeOutEvenGrey) {
    for (const bool across : {false, true}) {
        const QImage out = resized(stripes(700, 490, across), 1, {100, 70});
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                ASSERT_NEAR(qGreen(out.pixel(x, y)), 128, 6)
                    << (across ? "rows" : "columns") << " at " << x << "," << y;
    }
}

TEST(SmoothResampler, AFlatColourStaysExactlyFlatAtAnySizeAndTurn) {
    QImage flat(61, 37, QImage::Format_RGB32);
    flat.fill(qRgb(201, 13, 77));
    const std::vector<QSize> sizes = {{8, 5}, {61, 37}, {200, 150}, {7, 90}, {150, 3}, {1, 1}};
    for (int o = 1; o <= 8; ++o)
        for (const QSize size : sizes) {
            const QImage out = resized(flat, o, size);
            ASSERT_EQ(out.size(), size);
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    ASSERT_EQ(out.pixel(x, y), qRgb(201, 13, 77)) << o << " " << x << "," << y;
        }
}

TEST(SmoothResampler, AnEdgeStaysWhereItWasToWithinAPixel) {
    // Dark left of 40% of the width, light right of it; shrunk, enlarged, and each axis its way.
    const int w = 500;
    QImage edge(w, 40, QImage::Format_RGB32);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < 40; ++y)
            edge.setPixel(x, y, x < w * 2 / 5 ? qRgb(20, 20, 20) : qRgb(230, 230, 230));
    for (const QSize size : {QSize(71, 10), QSize(1300, 9), QSize(233, 150), QSize(500, 40)}) {
        const QImage out = resized(edge, 1, size);
        int crossing = -1;  // the first column past the middle grey
        for (int x = 0; x < size.width() && crossing < 0; ++x)
            if (qGreen(out.pixel(x, size.height() / 2)) > 125)
                crossing = x;
        EXPECT_NEAR(crossing, 0.4 * size.width(), 1.0) << size.width() << "x" << size.height();
        // Away from the edge the sides keep their own grey exactly.
        EXPECT_EQ(out.pixel(0, 0), qRgb(20, 20, 20));
        EXPECT_EQ(out.pixel(size.width() - 1, size.height() - 1), qRgb(230, 230, 230));
    }
}

TEST(SmoothResampler, EveryOrientationMatchesResizingTheUprightPicture) {
    const QImage stored = photoLike(67, 41);
    for (int o = 1; o <= 8; ++o)
        for (const QSize size : {QSize(20, 33), QSize(90, 120), QSize(30, 100)}) {
            const QImage turned = resized(stored, o, size);
            const QImage direct = resized(upright(stored, o), 1, size);
            // The two passes run in the other order when the picture is turned.
            EXPECT_LE(largestDifference(turned, direct), 1) << "orientation " << o;
        }
}

TEST(JpegScaledDecode, TheScaleIsTheSmallestHalvingLeavingTwiceTheLargestTargetEachWay) {
    struct Case {
        QSize stored;
        std::vector<QSize> sizes;
        int eighths;
    };
    const Case cases[] = {
        {{4000, 3000}, {{640, 480}}, 4},             // 2000 x 1500: 3/8 is never used
        {{4000, 3000}, {{640, 480}, {120, 90}}, 4},  // the preview asks for less
        {{4000, 3000}, {{400, 300}}, 2},
        {{8000, 6000}, {{100, 75}}, 1},
        {{1000, 700}, {{640, 480}}, 8},   // nothing smaller is enough: full size
        {{2572, 1740}, {{640, 480}}, 8},  // 5/8 would do; the next halving is the full size
        {{4000, 1000}, {{640, 480}}, 8},  // one axis decides
        {{2557, 1921}, {{320, 240}}, 2},  // rounding up: 640 x 481
        {{2555, 1921}, {{320, 240}}, 4},  // 639 wide at 2/8
    };
    for (const Case& c : cases)
        EXPECT_EQ(picture::JpegScaleEighths(c.stored, c.sizes), c.eighths)
            << c.stored.width() << "x" << c.stored.height();
}

TEST(JpegScaledDecode, TheReducedDecodeComesCloseToFilteringTheFullPicture) {
    QTemporaryDir dir;
    const QImage photo = photoLike(1600, 1200);
    const QString path = saveBytes(dir, "photo.jpg", encoded(photo, "JPEG", 95));
    for (const QSize canvas : {QSize(200, 150), QSize(640, 300)}) {
        QSize full;
        const SampledPicture smooth = picture::LoadSmooth(
            path,
            [&](QSize size) {
                full = size;
                return canvas;
            },
            QSize(40, 30));
        EXPECT_EQ(full, QSize(1600, 1200));
        const QImage reference = picture::SmoothSource(picture::LoadSource(path), canvas);
        double mean = 0;
        EXPECT_LE(largestDifference(smooth.canvas, reference, &mean), 16);
        EXPECT_LT(mean, 1.5) << canvas.width();
        EXPECT_EQ(smooth.preview.size(), QSize(40, 30));
    }
}

TEST(JpegScaledDecode, BadFilesAreRefusedAsThePointSampledLoadRefusesThem) {
    QTemporaryDir dir;
    const QByteArray whole = encoded(photoLike(320, 240), "JPEG", 90);
    const QByteArray bitmap = encoded(photoLike(60, 40), "BMP");
    const auto quarter = [](QSize size) { return size / 4; };
    const auto noCanvas = [](QSize) -> QSize {
        throw tessaro::RuntimeError(tessaro::err::kOverflow, "Overflow");
    };
    struct Case {
        const char* name;
        QByteArray bytes;
        std::function<QSize(QSize)> canvasFor;
    };
    const Case cases[] = {
        {"cut.jpg", whole.left(whole.size() / 2), quarter},
        {"cutnocanvas.jpg", whole.left(whole.size() / 2), noCanvas},
        {"tail.jpg", whole.left(whole.size() * 19 / 20), [](QSize) { return QSize(2, 2); }},
        {"good.jpg", whole, noCanvas},
        {"cut.bmp", bitmap.left(bitmap.size() - 500), quarter},
        {"notapicture.gif", QByteArray("GIF89a nothing"), quarter},
        {"missing.jpg", QByteArray(), quarter},
    };
    for (const Case& c : cases) {
        const QString path =
            c.bytes.isEmpty() ? dir.filePath(c.name) : saveBytes(dir, c.name, c.bytes);
        int numbers[2] = {0, 0};
        std::string texts[2];
        for (const bool smooth : {false, true}) {
            try {
                if (smooth)
                    picture::LoadSmooth(path, c.canvasFor, QSize(8, 8));
                else
                    picture::LoadSampled(path, c.canvasFor, QSize(8, 8));
                ADD_FAILURE() << c.name << " loaded";
            } catch (const tessaro::RuntimeError& e) {
                numbers[smooth] = e.number();
                texts[smooth] = e.text();
            }
        }
        EXPECT_NE(numbers[1], 0) << c.name;
        EXPECT_EQ(numbers[1], numbers[0]) << c.name;
        EXPECT_EQ(texts[1], texts[0]) << c.name;
    }

    const QString big = saveBytes(dir, "big.jpg", encoded(photoLike(1000, 700), "JPEG"));
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);
    try {
        picture::LoadSmooth(big, quarter, QSize());
        ADD_FAILURE() << "a picture above the limit loaded";
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_EQ(e.number(), 481);
        EXPECT_NE(e.text().find("big.jpg (too large (1000 x 700))"), std::string::npos) << e.text();
    }
    QImageReader::setAllocationLimit(limit);
}

TEST(JpegScaledDecode, TurnedAndProfiledFilesComeOutUprightInSrgb) {
    QTemporaryDir dir;
    const QRgb stored = qRgb(60, 140, 200);
    QImage flat(640, 160, QImage::Format_RGB32);
    flat.fill(stored);
    flat.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    QByteArray jpeg = encoded(flat, "JPEG", 100);
    // An Exif block turning the picture a quarter (orientation 6): it stands 160 x 640.
    QByteArray exif("Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06", 26);
    exif += QByteArray(6, '\0');
    QByteArray segment("\xff\xe1", 2);
    segment += char(0);
    segment += char(exif.size() + 2);
    jpeg = jpeg.left(2) + segment + exif + jpeg.mid(2);
    const QString path = saveBytes(dir, "turned.jpg", jpeg);

    QSize full;
    const SampledPicture smooth = picture::LoadSmooth(
        path,
        [&](QSize size) {
            full = size;
            return QSize(40, 160);
        },
        QSize());
    EXPECT_EQ(full, QSize(160, 640));
    EXPECT_EQ(smooth.canvas.size(), QSize(40, 160));
    EXPECT_TRUE(smooth.preview.isNull());
    const QRgb expected = QColorSpace(QColorSpace::AdobeRgb)
                              .transformationToColorSpace(QColorSpace::SRgb)
                              .map(stored);
    const QRgb got = smooth.canvas.pixel(20, 80);
    EXPECT_NEAR(qRed(got), qRed(expected), 3);
    EXPECT_NEAR(qGreen(got), qGreen(expected), 3);
    EXPECT_NEAR(qBlue(got), qBlue(expected), 3);
}
