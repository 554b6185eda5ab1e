#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "GifConvert.h"
#include "GifTestSupport.h"
#include "RuntimeError.h"

namespace {

class GifConvertTest : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir_.filePath(name); }

    // Saves `picture` as a 24-bit bitmap, converts it, and decodes the GIF again.
    DecodedGif roundTrip(const QImage& picture) {
        const QString bmp = path("ResizedOne.bmp");
        const QString gif = path("out.gif");
        EXPECT_TRUE(picture.save(bmp, "BMP"));
        GifConvert::convert(bmp, gif);
        return decodeGif(gif);
    }

    QStringList files() const {
        return QDir(dir_.path())
            .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    static void expectSamePixels(const QImage& expected, const QImage& actual) {
        ASSERT_EQ(expected.size(), actual.size());
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                ASSERT_EQ(expected.pixel(x, y), actual.pixel(x, y)) << "at " << x << "," << y;
            }
        }
    }

    QTemporaryDir dir_;
};

TEST_F(GifConvertTest, PictureOfFewColoursKeepsEveryPixel) {
    for (const int colours : {1, 2, 3, 17, 200, 256}) {
        SCOPED_TRACE(colours);
        // One colour also as a single pixel, the smallest picture there is.
        const int side = colours == 1 ? 1 : 37;
        const QImage picture = scatteredColours(side, side, colours, 7u + colours);
        ASSERT_EQ(distinctColours(picture), colours);
        const DecodedGif gif = roundTrip(picture);
        EXPECT_EQ(gif.imageCount, 1);
        EXPECT_LE(gif.tableSize, 256);
        EXPECT_GE(gif.tableSize, colours);
        expectSamePixels(picture, gif.picture);
    }
}

TEST_F(GifConvertTest, OneColourTooManyIsReducedCloseToTheInput) {
    const QImage picture = scatteredColours(64, 64, 257, 11);
    const DecodedGif gif = roundTrip(picture);
    EXPECT_LE(gif.tableSize, 256);
    EXPECT_LE(distinctColours(gif.picture), 256);
    ASSERT_EQ(gif.picture.size(), picture.size());
    // Random colours fill the cube sparsely; still most pixels keep or nearly keep theirs.
    EXPECT_GT(psnr(picture, gif.picture), 25.0);
}

TEST_F(GifConvertTest, PhotoIsQuantisedAndDitheredFaithfully) {
    const QImage picture = photoLike(320, 240, 5);
    ASSERT_GT(distinctColours(picture), 5000);
    const DecodedGif gif = roundTrip(picture);
    EXPECT_EQ(gif.tableSize, 256);
    ASSERT_EQ(gif.picture.size(), picture.size());
    EXPECT_GT(psnr(picture, gif.picture), 30.0);
}

TEST_F(GifConvertTest, DitheringKeepsTheLocalMeanOfAGradient) {
    // Red along x and green along y give 65536 colours; 256 palette colours leave steps of
    // several levels, and plain nearest-colour mapping is off by about 4 over whole bands.
    // Error diffusion keeps every 8 x 8 block within about a level of its true mean. The
    // outermost blocks are left out: palette colours are means, so none lies quite at the
    // edge of the colour range and no mixture can reach it.
    QImage picture(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x)
            picture.setPixel(x, y, qRgb(x, y, (x + y) / 2));
    }
    const QImage out = roundTrip(picture).picture;
    double worst = 0;
    for (int by = 8; by < 248; by += 8) {
        for (int bx = 8; bx < 248; bx += 8) {
            double sumIn[3] = {}, sumOut[3] = {};
            for (int y = by; y < by + 8; ++y) {
                for (int x = bx; x < bx + 8; ++x) {
                    const QRgb p = picture.pixel(x, y);
                    const QRgb q = out.pixel(x, y);
                    sumIn[0] += qRed(p), sumIn[1] += qGreen(p), sumIn[2] += qBlue(p);
                    sumOut[0] += qRed(q), sumOut[1] += qGreen(q), sumOut[2] += qBlue(q);
                }
            }
            for (int k = 0; k < 3; ++k) {
                worst = std::max(worst, std::abs(sumIn[k] - sumOut[k]) / 64);
            }
        }
    }
    EXPECT_LT(worst, 2.0);
    EXPECT_GT(psnr(picture, out), 30.0);
}

TEST_F(GifConvertTest, ReplacesAnExistingFileAndLeavesNoTemporaryFile) {
    QFile old(path("out.gif"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
    old.close();
    const QImage picture = scatteredColours(10, 10, 5, 1);
    expectSamePixels(picture, roundTrip(picture).picture);
    EXPECT_EQ(files(), (QStringList{"ResizedOne.bmp", "out.gif"}));
}

TEST_F(GifConvertTest, UnreadableBitmapRaisesInvalidPictureAndKeepsTheDestination) {
    QFile garbage(path("broken.bmp"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("BM this is not a bitmap at all");
    garbage.close();
    QFile existing(path("out.gif"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("previous");
    existing.close();

    for (const QString& input : {path("broken.bmp"), path("missing.bmp"), dir_.path()}) {
        SCOPED_TRACE(input.toStdString());
        try {
            GifConvert::convert(input, path("out.gif"));
            FAIL() << "no error raised";
        } catch (const tessaro::RuntimeError& e) {
            EXPECT_EQ(e.number(), tessaro::err::kInvalidPicture);
            EXPECT_NE(e.text().find("Invalid picture"), std::string::npos);
            EXPECT_NE(e.text().find(input.toStdString()), std::string::npos) << e.text();
        }
    }
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("previous"));
    EXPECT_EQ(files(), (QStringList{"broken.bmp", "out.gif"}));
}

TEST_F(GifConvertTest, UnwritableDestinationRaisesFileAccessError) {
    const QString bmp = path("in.bmp");
    ASSERT_TRUE(scatteredColours(8, 8, 300, 2).save(bmp, "BMP"));
    ASSERT_TRUE(QDir(dir_.path()).mkdir("taken.gif"));
    QFile plain(path("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();

    const QStringList targets{path("no/such/folder/out.gif"), path("taken.gif"),
                              path("plain/out.gif")};
    for (const QString& target : targets) {
        SCOPED_TRACE(target.toStdString());
        try {
            GifConvert::convert(bmp, target);
            FAIL() << "no error raised";
        } catch (const tessaro::RuntimeError& e) {
            EXPECT_EQ(e.number(), tessaro::err::kFileAccess);
            EXPECT_NE(e.text().find("Path/File access error"), std::string::npos);
            EXPECT_NE(e.text().find(target.toStdString()), std::string::npos) << e.text();
        }
    }
    EXPECT_EQ(files(), (QStringList{"in.bmp", "plain"}));
    EXPECT_TRUE(QDir(path("taken.gif")).isEmpty());
}

}  // namespace

TEST(GifConvert, APictureInMemoryIsWrittenAsItIsAndErrorsNameItsSource) {
    QTemporaryDir dir;
    QImage picture(7, 5, QImage::Format_ARGB32);
    picture.fill(QColor(10, 200, 30));
    picture.setPixel(3, 2, qRgb(250, 0, 0));
    const QString gif = dir.filePath("out.gif");
    GifConvert::convertPicture(picture, "/photos/in.gif", gif);
    const QImage back = QImage(gif).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(back.size(), picture.size());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(back.pixel(x, y), picture.pixel(x, y) | 0xFF000000u);

    try {
        GifConvert::convertPicture(QImage(70000, 1, QImage::Format_RGB32), "/photos/wide.gif",
                                   dir.filePath("wide.gif"));
        ADD_FAILURE() << "a 70000-pixel-wide GIF was written";
    } catch (const tessaro::RuntimeError& e) {
        EXPECT_EQ(e.number(), 481);
        EXPECT_NE(e.text().find("/photos/wide.gif"), std::string::npos);
    }
}
