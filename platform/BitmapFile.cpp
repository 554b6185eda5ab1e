#include "BitmapFile.h"

#include <QFile>
#include <QtEndian>
#include <vector>

#include "CheckedConversion.h"
#include "FileName.h"
#include "RuntimeError.h"
#include "TemporaryFile.h"

namespace bitmapfile {

namespace {

constexpr int kFileHeader = 14;
constexpr int kInfoHeader = 40;

[[noreturn]] void fail(const QString& path, const QString& why) {
    throw tessaro::RuntimeError(
        tessaro::err::kFileAccess,
        filename::ErrorText(QString("Path/File access error: %1 (%2)").arg(path, why)));
}

template <typename T>
void put(std::vector<char>& out, size_t at, T v) {
    qToLittleEndian<T>(v, out.data() + at);
}

void save(const QImage& source, const QString& path, tessaro::files::TemporaryFile::Sync sync) {
    const QImage image = source.format() == QImage::Format_ARGB32
                             ? source
                             : ConvertChecked(source, QImage::Format_RGB32, path);
    const int w = image.width();
    const int h = image.height();
    const qint64 stride = (qint64{w} * 3 + 3) & ~qint64{3};
    const qint64 imageSize = stride * h;
    if (image.isNull() || imageSize + kFileHeader + kInfoHeader > 0x7FFFFFFF) {
        fail(path, "picture too large for a bitmap file");
    }

    std::vector<char> header(kFileHeader + kInfoHeader, 0);
    header[0] = 'B';
    header[1] = 'M';
    put<quint32>(header, 2, static_cast<quint32>(kFileHeader + kInfoHeader + imageSize));
    put<quint32>(header, 10, kFileHeader + kInfoHeader);
    put<quint32>(header, 14, kInfoHeader);
    put<qint32>(header, 18, w);
    put<qint32>(header, 22, h);
    put<quint16>(header, 26, 1);
    put<quint16>(header, 28, 24);
    put<quint32>(header, 34, static_cast<quint32>(imageSize));
    put<qint32>(header, 38, 3780);  // 96 dots per inch
    put<qint32>(header, 42, 3780);

    // Written whole under a temporary name and renamed into place: the last complete picture
    // wins, and a failure leaves the previous file as it was.
    tessaro::files::TemporaryFile file(filename::ToBytes(path).toStdString(),
                                       tessaro::files::TemporaryFile::Existing::Replace,
                                       tessaro::files::TemporaryFile::Errors::AccessError);
    file.write(header.data(), header.size());
    std::vector<char> row(static_cast<size_t>(stride), 0);
    for (int y = h - 1; !file.failed() && y >= 0; --y) {
        const auto* px = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        char* out = row.data();
        for (int x = 0; x < w; ++x) {
            *out++ = static_cast<char>(qBlue(px[x]));
            *out++ = static_cast<char>(qGreen(px[x]));
            *out++ = static_cast<char>(qRed(px[x]));
        }
        file.write(row.data(), row.size());
    }
    file.publish(sync);
}

}  // namespace

void SavePicture(const QImage& image, const QString& path) {
    save(image, path, tessaro::files::TemporaryFile::Sync::DataFirst);
}

void SaveScratchPicture(const QImage& image, const QString& path) {
    save(image, path, tessaro::files::TemporaryFile::Sync::None);
}

}  // namespace bitmapfile
