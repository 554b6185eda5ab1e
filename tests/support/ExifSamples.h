#pragma once

#include <exiv2/exiv2.hpp>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <string>

// Exif blocks as a camera writes them, made with the metadata library the program uses, so
// that the tests read them back through an implementation that is not ours.

// `image` as a JPEG file's bytes, written by Qt.
inline QByteArray jpegBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

// A shot taken with the camera on its side: orientation 6, make, model, date, exposure,
// Adobe RGB, a GPS position, a maker note and a JPEG thumbnail in the second IFD.
inline Exiv2::ExifData cameraExif() {
    Exiv2::ExifData data;
    data["Exif.Image.Make"] = "Canon";
    data["Exif.Image.Model"] = "Canon EOS 5D Mark III";
    data["Exif.Image.Orientation"] = uint16_t{6};
    data["Exif.Image.XResolution"] = Exiv2::URational(72, 1);
    data["Exif.Image.ResolutionUnit"] = uint16_t{2};
    data["Exif.Image.ImageWidth"] = uint32_t{5760};
    data["Exif.Image.ImageLength"] = uint32_t{3840};
    data["Exif.Photo.DateTimeOriginal"] = "2024:06:01 18:04:11";
    data["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
    data["Exif.Photo.ISOSpeedRatings"] = uint16_t{200};
    data["Exif.Photo.PixelXDimension"] = uint32_t{5760};
    data["Exif.Photo.PixelYDimension"] = uint32_t{3840};
    data["Exif.Photo.ColorSpace"] = uint16_t{0xFFFF};  // "uncalibrated": Adobe RGB
    data["Exif.Iop.InteroperabilityIndex"] = "R03";
    data["Exif.Canon.OwnerName"] = "Velmora Test";
    data["Exif.GPSInfo.GPSVersionID"] = "2 3 0 0";
    data["Exif.GPSInfo.GPSLatitudeRef"] = "N";
    data["Exif.GPSInfo.GPSLatitude"] = "45/1 26/1 1234/100";
    data["Exif.GPSInfo.GPSLongitudeRef"] = "E";
    data["Exif.GPSInfo.GPSLongitude"] = "12/1 19/1 5678/100";
    QImage small(32, 24, QImage::Format_RGB32);
    small.fill(Qt::darkCyan);
    const QByteArray thumbnail = jpegBytes(small);
    Exiv2::ExifThumb(data).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(thumbnail.data()),
                                            thumbnail.size(), Exiv2::URational(72, 1),
                                            Exiv2::URational(72, 1), 2);
    return data;
}

// The body of an APP1 segment holding `data`: "Exif\0\0" and the TIFF block.
inline QByteArray exifBody(const Exiv2::ExifData& data, Exiv2::ByteOrder order) {
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, order, data);
    QByteArray body("Exif\0\0", 6);
    body.append(reinterpret_cast<const char*>(blob.data()), static_cast<qsizetype>(blob.size()));
    return body;
}

// Like exifBody, through the library's TIFF writer, which keeps tags the Exif writer would
// leave out to fit one segment: a block too large for the output.
inline QByteArray oversizedExifBody(const Exiv2::ExifData& data) {
    Exiv2::MemIo io;
    Exiv2::TiffParser::encode(io, nullptr, 0, Exiv2::bigEndian, data, Exiv2::IptcData(),
                              Exiv2::XmpData());
    QByteArray body("Exif\0\0", 6);
    body.append(reinterpret_cast<const char*>(io.mmap()), static_cast<qsizetype>(io.size()));
    return body;
}

// The tags of an APP1 body, read back by the library; empty when it carries none.
inline Exiv2::ExifData readExif(const QByteArray& body) {
    Exiv2::ExifData data;
    if (body.size() > 6)
        Exiv2::ExifParser::decode(data, reinterpret_cast<const Exiv2::byte*>(body.data()) + 6,
                                  static_cast<uint32_t>(body.size() - 6));
    return data;
}

// The tags of a whole JPEG file's bytes, as the library reads the file.
inline Exiv2::ExifData readFileExif(const QByteArray& jpeg) {
    auto image =
        Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(jpeg.data()), jpeg.size());
    image->readMetadata();
    return image->exifData();
}

// `jpeg` with `data` written into it by the library, as a camera's file would carry it.
inline QByteArray withExif(const QByteArray& jpeg, const Exiv2::ExifData& data) {
    auto image =
        Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(jpeg.data()), jpeg.size());
    image->readMetadata();
    image->setExifData(data);
    image->writeMetadata();
    Exiv2::BasicIo& io = image->io();
    io.seek(0, Exiv2::BasicIo::beg);
    const Exiv2::DataBuf all = io.read(static_cast<long>(io.size()));
    return QByteArray(reinterpret_cast<const char*>(all.pData_), all.size_);
}

// The value of `key` as text; "" when absent.
inline std::string exifText(const Exiv2::ExifData& data, const char* key) {
    const auto it = data.findKey(Exiv2::ExifKey(key));
    return it == data.end() ? std::string() : it->toString();
}
