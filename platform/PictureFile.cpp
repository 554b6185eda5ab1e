#include "PictureFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "FileError.h"
#include "FileName.h"
#include "RuntimeError.h"

namespace picture {

QString FileNameOf(const QString& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

namespace {
[[noreturn]] void raiseInvalid(const QString& shownAs, const QString& why) {
    throw tessaro::RuntimeError(
        tessaro::err::kInvalidPicture,
        filename::ErrorText(QString("Invalid picture: %1 (%2)").arg(shownAs, why)));
}
}  // namespace

void RaiseInvalidPicture(const QString& path, const QString& why) {
    raiseInvalid(FileNameOf(path), why);
}

std::unique_ptr<QFile> OpenPictureFile(const QString& path, const QString& shownAs) {
    const QString shown = shownAs.isEmpty() ? FileNameOf(path) : shownAs;
    const QByteArray name = filename::ToBytes(path);
    int fd = -1;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOMEM)
            tessaro::err::raiseOutOfMemory();
        raiseInvalid(shown, error == ENOENT
                                ? QString("file not found")
                                : QString::fromStdString(tessaro::files::reasonFor(error)));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        raiseInvalid(shown, QString::fromStdString(tessaro::files::fileKind(info.st_mode)) +
                                ", not a regular file");
    }
    // A regular file's reads never wait anyway; the flag is dropped so that none is refused.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        raiseInvalid(shown, file->errorString());
    }
    return file;
}

}  // namespace picture
