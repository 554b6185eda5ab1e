#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace settingsfile {

namespace {
QString pathIn(const QString& folder) {
    return QDir(folder).filePath(kFileName);
}
}  // namespace

bool FileExists(const QString& path) {
    return QFileInfo::exists(path);
}

bool LoadSettings(const QString& folder, Settings& s) {
    const QString path = pathIn(folder);
    if (!FileExists(path))
        return false;
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
    QSaveFile file(pathIn(folder));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = settingsrecord::encode(s);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace settingsfile
