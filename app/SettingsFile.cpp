#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

#include "EventLog.h"

namespace settingsfile {

namespace {
QString pathIn(const QString& folder) {
    return QDir(folder).filePath(kFileName);
}

void ReportSaveFailure(const QString& path, const QString& reason) {
    const QString line = QString("%1: the settings were not saved: %2").arg(path, reason);
    eventlog::Error(line);
    std::fprintf(stderr, "tessaro: %s\n", qPrintable(line));
}
}  // namespace

bool FileExists(const QString& path) {
    return QFileInfo::exists(path);
}

bool LoadSettings(const QString& folder, Settings& s) {
    const QString path = pathIn(folder);
    if (!FileExists(path))
        return false;
    // A FIFO or device would block the start or feed endless bytes; only a plain file is ours.
    if (!QFileInfo(path).isFile()) {
        eventlog::Error(QString("%1: not a regular file; the defaults are used").arg(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The record is small; anything much larger is not ours, so read no more than the
    // largest record could be.
    const QByteArray bytes =
        file.read(settingsrecord::kFixedSize + settingsrecord::kMaxCommentBytes);
    settingsrecord::decode(bytes, s);
    return !bytes.isEmpty();
}

bool SaveSettings(const QString& folder, const Settings& s) {
    const QString path = pathIn(folder);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        ReportSaveFailure(path, file.errorString());
        return false;
    }
    const QByteArray bytes = settingsrecord::encode(s);
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        ReportSaveFailure(path, reason);
        return false;
    }
    if (!file.commit()) {
        ReportSaveFailure(path, file.errorString());
        return false;
    }
    return true;
}

}  // namespace settingsfile
