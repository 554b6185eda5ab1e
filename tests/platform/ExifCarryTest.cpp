#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QColorSpace>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <future>
#include <map>

#include "ExifCarry.h"
#include "ExifOrientation.h"
#include "ExifSamples.h"
#include "ExifSegment.h"
#include "TestFiles.h"

namespace {

int orientationOf(const QByteArray& body) {
    return picture::ExifOrientation(reinterpret_cast<const uint8_t*>(body.constData()),
                                    static_cast<size_t>(body.size()));
}

// Every tag as text, but where the library keeps its offsets: the pointers to sub-IFDs and the
// maker note's place and raw bytes, which move with the tags before them. The maker note's
// own tags (Exif.Canon.*) are compared.
std::map<std::string, std::string> valuesOf(const Exiv2::ExifData& data) {
    std::map<std::string, std::string> values;
    for (const auto& d : data) {
        const std::string key = d.key();
        if (key != "Exif.Image.ExifTag" && key != "Exif.Image.GPSTag" &&
            key != "Exif.Photo.InteroperabilityTag" && key != "Exif.Photo.MakerNote" &&
            key.rfind("Exif.MakerNote.", 0) != 0)
            values[key] = d.toString();
    }
    return values;
}

}  // namespace

TEST(ExifCarry, FitsACameraBlockToTheOutputInEitherByteOrder) {
    for (const Exiv2::ByteOrder order : {Exiv2::littleEndian, Exiv2::bigEndian}) {
        for (const auto& [keepGps, madeSrgb] :
             {std::pair{false, false}, {true, false}, {false, true}}) {
            SCOPED_TRACE(testing::Message()
                         << "order " << order << " gps " << keepGps << " srgb " << madeSrgb);
            const QByteArray input = exifBody(cameraExif(), order);
            ASSERT_GT(Exiv2::ExifThumbC(readExif(input)).copy().size_, 0);
            QString problem;
            const std::optional<QByteArray> out =
                exifcarry::FitExif(input, 640, 960, keepGps, madeSrgb, &problem);
            ASSERT_TRUE(out.has_value()) << problem.toStdString();
            EXPECT_TRUE(problem.isEmpty());
            ASSERT_LE(out->size(), exifcarry::kMaxExifBody);
            EXPECT_EQ(out->mid(6, 2), QByteArray(order == Exiv2::bigEndian ? "MM" : "II"));
            EXPECT_EQ(orientationOf(*out), 1);

            const Exiv2::ExifData fitted = readExif(*out);
            EXPECT_TRUE(Exiv2::ExifThumbC(fitted).copy().size_ == 0);
            // The input's tags, and no other, with the input's values but for these.
            std::map<std::string, std::string> expected = valuesOf(readExif(input));
            std::erase_if(expected, [keepGps](const auto& tag) {
                return tag.first.rfind("Exif.Thumbnail.", 0) == 0 ||
                       (!keepGps && tag.first.rfind("Exif.GPSInfo.", 0) == 0);
            });
            expected["Exif.Image.Orientation"] = "1";
            expected["Exif.Photo.PixelXDimension"] = "640";
            expected["Exif.Photo.PixelYDimension"] = "960";
            expected["Exif.Image.ImageWidth"] = "640";
            expected["Exif.Image.ImageLength"] = "960";
            if (madeSrgb) {
                expected["Exif.Photo.ColorSpace"] = "1";
                expected["Exif.Iop.InteroperabilityIndex"] = "R98";
            }
            EXPECT_EQ(valuesOf(fitted), expected);
        }
    }
}

TEST(ExifCarry, CarriesNothingWhenOnlyTheThumbnailAndPositionWereThere) {
    Exiv2::ExifData data;
    for (const auto& d : cameraExif()) {
        if (d.groupName() == "Thumbnail" || d.groupName() == "GPSInfo")
            data.add(d);
    }
    const QByteArray input = exifBody(data, Exiv2::littleEndian);
    QString problem;
    EXPECT_FALSE(exifcarry::FitExif(input, 64, 48, false, false, &problem));
    EXPECT_TRUE(problem.isEmpty());
}

TEST(ExifCarry, LeavesOutDamagedOrOversizedBlocksAndSaysWhy) {
    const QByteArray good = exifBody(cameraExif(), Exiv2::littleEndian);
    const auto patched = [&good](qsizetype at, const QByteArray& bytes) {
        return QByteArray(good).replace(at, bytes.size(), bytes);
    };
    const qsizetype model = good.indexOf(QByteArray("\x10\x01\x02\x00", 4));  // its IFD entry
    ASSERT_GT(model, 0);
    Exiv2::ExifData withLongComment = cameraExif();
    withLongComment["Exif.Photo.UserComment"] = "charset=Ascii " + std::string(70000, 'x');
    const QByteArray huge = oversizedExifBody(withLongComment);
    ASSERT_GT(huge.size(), 70000);
    const struct {
        const char* name;
        QByteArray body;
    } cases[] = {
        {"garbage TIFF", QByteArray("Exif\0\0", 6) + QByteArray(200, '\x5A')},
        {"bad byte order mark", patched(6, "XY")},
        {"IFD outside the block", patched(10, "\xF0\xFF")},
        {"IFD cut short", good.left(30)},
        {"model's text outside the block", patched(model + 8, QByteArray("\0\xFF\xFF\0", 4))},
        {"no Exif header", good.mid(6)},
        {"too large", huge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString problem;
        EXPECT_FALSE(exifcarry::FitExif(c.body, 100, 100, false, false, &problem).has_value());
        EXPECT_FALSE(problem.isEmpty());
    }
}

TEST(ExifCarry, ReadsTheExifSegmentOfAFileOnly) {
    QTemporaryDir dir;
    QImage picture(48, 32, QImage::Format_RGB32);
    picture.fill(Qt::darkRed);
    const QByteArray plain = jpegBytes(picture);
    const QByteArray photo = withExif(plain, cameraExif());
    picture.setColorSpace(QColorSpace::AdobeRgb);  // Qt writes its profile after the Exif block
    const QString photoPath = saveBytes(dir, "photo.jpg", photo);
    const QString profiledPath =
        saveBytes(dir, "profiled.jpg", withExif(jpegBytes(picture), cameraExif()));
    for (const QString& path : {photoPath, profiledPath}) {
        const bool profiled = path == profiledPath;
        QString problem;
        const exifcarry::ExifSource source = exifcarry::ReadExifSource(path, &problem);
        ASSERT_TRUE(source.exif.has_value()) << problem.toStdString();
        EXPECT_EQ(source.iccProfile, profiled);
        EXPECT_EQ(exifText(readExif(*source.exif), "Exif.Image.Model"), "Canon EOS 5D Mark III");
        const std::optional<QByteArray> out =
            exifcarry::ExifForOutput(path, 30, 40, false, &problem);
        ASSERT_TRUE(out.has_value());
        EXPECT_EQ(exifText(readExif(*out), "Exif.Photo.PixelYDimension"), "40");
        EXPECT_EQ(exifText(readExif(*out), "Exif.Photo.ColorSpace"), profiled ? "1" : "65535");
    }
    EXPECT_TRUE(photo.contains(*exifcarry::ReadExifSource(photoPath, nullptr).exif));
    QString problem;

    // Without a block, or not a JPEG file: nothing, and nothing to report.
    for (const QByteArray& bytes : {plain, QByteArray("GIF89a and so on")}) {
        problem.clear();
        EXPECT_FALSE(
            exifcarry::ExifForOutput(saveBytes(dir, "none.jpg", bytes), 30, 40, false, &problem));
        EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
    }
    // The segment cut by the end of the file, a missing file, a pipe nobody writes to (it
    // must not wait): nothing, with a reason.
    const qsizetype start = photo.indexOf(QByteArray("Exif\0\0", 6));
    const QString cut = saveBytes(dir, "cut.jpg", photo.left(start + 40));
    const QString fifo = dir.filePath("pipe.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QElapsedTimer timer;
    timer.start();
    for (const QString& path : {cut, dir.filePath("missing.jpg"), fifo}) {
        problem.clear();
        EXPECT_FALSE(exifcarry::ExifForOutput(path, 30, 40, false, &problem));
        EXPECT_FALSE(problem.isEmpty()) << path.toStdString();
    }
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST(ExifCarry, GivesEveryThreadTheSameBlock) {
    const QByteArray input = exifBody(cameraExif(), Exiv2::bigEndian);
    const QByteArray damaged = input.left(40);
    const auto run = [&] {
        std::vector<QByteArray> outs;
        for (int i = 0; i < 50; ++i) {
            QString problem;
            outs.push_back(
                exifcarry::FitExif(input, 200, 300, i % 2 == 0, false, &problem).value());
            EXPECT_FALSE(exifcarry::FitExif(damaged, 200, 300, false, false, &problem));
        }
        return outs;
    };
    auto a = std::async(std::launch::async, run);
    auto b = std::async(std::launch::async, run);
    EXPECT_EQ(a.get(), b.get());
}

TEST(ExifOrientation, ReadsWhatTheMetadataLibraryWrites) {
    for (const Exiv2::ByteOrder order : {Exiv2::littleEndian, Exiv2::bigEndian}) {
        for (uint16_t o = 1; o <= 8; ++o) {
            Exiv2::ExifData data = cameraExif();
            data["Exif.Image.Orientation"] = o;
            EXPECT_EQ(orientationOf(exifBody(data, order)), o) << "order " << order;
        }
    }
}
