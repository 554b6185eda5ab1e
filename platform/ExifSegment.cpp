#include "ExifSegment.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace exifcarry {

namespace {

// Headers a camera writes number a handful; a file that keeps going is not worth the walk.
constexpr int kMaxSegments = 1024;

class InputFile {
  public:
    explicit InputFile(const QString& path)
        // Non-blocking, so that opening a pipe with no writer returns at once.
        : fd_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
    ~InputFile() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    bool isRegular() const {
        struct stat info {};
        return fd_ >= 0 && ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode);
    }
    // Exactly `size` bytes at `offset`; false when the file ends first or cannot be read.
    bool read(qint64 offset, char* into, qint64 size) const {
        while (size > 0) {
            const ssize_t got = ::pread(fd_, into, static_cast<size_t>(size), offset);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            into += got;
            offset += got;
            size -= got;
        }
        return true;
    }

  private:
    int fd_;
};

uint8_t byteAt(const char* bytes, int i) {
    return static_cast<uint8_t>(bytes[i]);
}

}  // namespace

ExifSource ReadExifSource(const QString& path, QString* problem) {
    ExifSource source;
    const auto fail = [&source, problem](const QString& why) {
        if (problem)
            *problem = why;
        source.exif.reset();
        return source;
    };
    const InputFile file(path);
    if (!file.isOpen())
        return fail(
            QString("cannot be opened (%1)").arg(QString::fromLocal8Bit(std::strerror(errno))));
    if (!file.isRegular())
        return fail("not a regular file");
    char head[4];
    if (!file.read(0, head, 2) || byteAt(head, 0) != 0xFF || byteAt(head, 1) != 0xD8)
        return source;  // no JPEG file: it has no Exif block to carry

    // Up to the scan: the profile's segments usually follow the Exif block.
    qint64 at = 2;
    for (int segment = 0; segment < kMaxSegments; ++segment) {
        if (!file.read(at, head, 2) || byteAt(head, 0) != 0xFF)
            break;
        const uint8_t marker = byteAt(head, 1);
        if (marker == 0xFF) {  // a fill byte before the marker
            at += 1;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)  // the scan or the end
            break;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length of its own
            at += 2;
            continue;
        }
        if (!file.read(at + 2, head + 2, 2))
            break;
        const int length = byteAt(head, 2) << 8 | byteAt(head, 3);
        if (length < 2)
            break;
        static const char kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
        static const char kIcc[12] = {'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0};
        char ident[sizeof kIcc];
        const qint64 identSize = std::min<qint64>(length - 2, sizeof ident);
        if ((marker == 0xE1 || marker == 0xE2) && !file.read(at + 4, ident, identSize))
            return fail("the file ends inside its headers");
        if (marker == 0xE1 && !source.exif && identSize >= qint64{sizeof kExif} &&
            std::memcmp(ident, kExif, sizeof kExif) == 0) {
            QByteArray body(length - 2, Qt::Uninitialized);
            if (!file.read(at + 4, body.data(), body.size()))
                return fail("the Exif block is cut short by the end of the file");
            source.exif = std::move(body);
        } else if (marker == 0xE2 && identSize == qint64{sizeof kIcc} &&
                   std::memcmp(ident, kIcc, sizeof kIcc) == 0) {
            source.iccProfile = true;
        }
        at += 2 + length;
    }
    return source;
}

}  // namespace exifcarry
