#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "ExifSamples.h"
#include "FileBytes.h"
#include "PreparedFile.h"
#include "TestPictures.h"

namespace {

class ExifBatch : public ::testing::Test {
  protected:
    void SetUp() override {
        photo = withExif(jpegBytes(quadrantPicture(200, 150)), cameraExif());
        rules.targetIndex = 0;
        rules.settings.Quality = 85;
        rules.settings.SampleH = rules.settings.SampleV = 2;
        rules.settings.KeepProportions = true;  // the width locked: the height follows
        rules.outputFolder = outputs.path();
    }
    QString save(const QByteArray& bytes) {
        const QString path = inputs.filePath("Foto.jpg");
        EXPECT_TRUE(writeBytes(path, bytes));
        return path;
    }
    static QByteArray bytesOf(const PreparedFile& file) {
        EXPECT_FALSE(file.error);
        EXPECT_TRUE(file.jpeg.has_value());
        return file.jpeg ? QByteArray(reinterpret_cast<const char*>(file.jpeg->data()),
                                      static_cast<qsizetype>(file.jpeg->size()))
                         : QByteArray();
    }

    QTemporaryDir inputs;
    QTemporaryDir outputs;
    QByteArray photo;
    BatchRules rules;
};

TEST_F(ExifBatch, OutputCarriesThePhotosExifFittedAndTheEncodersBytesUntouched) {
    const QString path = save(photo);
    ASSERT_GT(Exiv2::ExifThumbC(readFileExif(photo)).copy().size_, 0);
    const QByteArray plain = bytesOf(PrepareFile(path, rules));
    for (const bool keepGps : {false, true}) {
        SCOPED_TRACE(keepGps);
        rules.keepMetadata = true;
        rules.keepGps = keepGps;
        const PreparedFile file = PrepareFile(path, rules);
        const QByteArray out = bytesOf(file);
        EXPECT_TRUE(file.exifProblem.isEmpty()) << file.exifProblem.toStdString();
        ASSERT_FALSE(file.exif.isEmpty());

        // SOI, the encoder's JFIF segment, then the Exif segment; the rest as encoded.
        constexpr int kAfterJfif = 20;
        EXPECT_EQ(out.mid(kAfterJfif, 2), QByteArray("\xFF\xE1"));
        EXPECT_EQ(out.mid(kAfterJfif + 4, file.exif.size()), file.exif);
        QByteArray without = out;
        without.remove(kAfterJfif, 4 + file.exif.size());
        EXPECT_EQ(without, plain);

        const QImage decoded = QImage::fromData(out, "JPG");
        ASSERT_FALSE(decoded.isNull());
        // The camera was held on its side: the canvas stands upright, taller than wide.
        EXPECT_EQ(decoded.size(), file.canvas.size());
        EXPECT_GT(decoded.height(), decoded.width());

        const Exiv2::ExifData exif = readFileExif(out);
        EXPECT_EQ(exifText(exif, "Exif.Image.Orientation"), "1");
        EXPECT_EQ(exifText(exif, "Exif.Photo.PixelXDimension"), std::to_string(decoded.width()));
        EXPECT_EQ(exifText(exif, "Exif.Photo.PixelYDimension"), std::to_string(decoded.height()));
        EXPECT_EQ(exifText(exif, "Exif.Image.Model"), "Canon EOS 5D Mark III");
        EXPECT_EQ(exifText(exif, "Exif.GPSInfo.GPSLatitude").empty(), !keepGps);
        EXPECT_EQ(Exiv2::ExifThumbC(exif).copy().size_, 0);
    }
}

TEST_F(ExifBatch, DamagedExifIsLeftOutAndTheFileStillWritten) {
    QByteArray damaged = photo;
    const qsizetype tiff = damaged.indexOf(QByteArray("Exif\0\0", 6)) + 6;
    damaged[tiff] = 'X';  // the byte order mark
    damaged[tiff + 1] = 'Y';
    const QString path = save(damaged);
    const QByteArray plain = bytesOf(PrepareFile(path, rules));
    rules.keepMetadata = true;
    const PreparedFile file = PrepareFile(path, rules);
    EXPECT_EQ(bytesOf(file), plain);
    EXPECT_TRUE(file.exif.isEmpty());
    EXPECT_TRUE(file.exifProblem.contains(path)) << file.exifProblem.toStdString();
}

}  // namespace
