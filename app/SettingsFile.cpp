#include "SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

#include "EventLog.h"
#include "FileError.h"
#include "FileName.h"
#include "ProgramFolder.h"
#include "QualityChoices.h"
#include "RuntimeError.h"
#include "TemporaryFile.h"

namespace settingsfile {

namespace {
QString pathIn(const QString& folder) {
    return programfolder::LayoutFor(folder).settingsFile;
}

void ReportSaveFailure(const QString& reason) {
    const QString line = QString("the settings were not saved: %1").arg(reason);
    eventlog::Error(line);
    std::fprintf(stderr, "tessaro: %s\n", qPrintable(line));
}

// Up to `limit` bytes of an open file.
QByteArray ReadUpTo(int fd, qsizetype limit) {
    QByteArray bytes(limit, Qt::Uninitialized);
    qsizetype done = 0;
    while (done < limit) {
        const ssize_t n = ::read(fd, bytes.data() + done, static_cast<size_t>(limit - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}
}  // namespace

bool FileExists(const QString& path) {
    return filename::Exists(path);
}

bool LoadSettings(const QString& folder, Settings& s) {
    const QString path = pathIn(folder);
    if (!FileExists(path))
        return false;
    // Opened without waiting for a writer and checked once open: a FIFO or device would block
    // the start or feed endless bytes, and only a plain file is ours.
    const int fd =
        ::open(filename::ToBytes(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        eventlog::Error(QString("%1: not a regular file; the defaults are used").arg(path));
        return false;
    }
    // The record is small; anything much larger is not ours, so read no more than the
    // largest record could be.
    const QByteArray bytes =
        ReadUpTo(fd, settingsrecord::kFixedSize + settingsrecord::kMaxCommentBytes);
    ::close(fd);
    qualitychoices::DropCutSampling(s, settingsrecord::decode(bytes, s));
    return !bytes.isEmpty();
}

bool SaveSettings(const QString& folder, const Settings& s) {
    const QByteArray bytes = settingsrecord::encode(s);
    try {
        tessaro::files::TemporaryFile file(filename::ToBytes(pathIn(folder)).toStdString(),
                                           tessaro::files::TemporaryFile::Existing::Replace);
        file.write(bytes.constData(), static_cast<size_t>(bytes.size()));
        file.publish();
    } catch (const tessaro::RuntimeError& e) {
        ReportSaveFailure(filename::FromErrorText(e.text()));
        return false;
    }
    return true;
}

}  // namespace settingsfile
