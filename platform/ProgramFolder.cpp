#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace programfolder {

bool IsWritable(const QString& folder) {
    if (!QDir().mkpath(folder))
        return false;
    // Ask the file system itself: permission bits do not tell about read-only mounts.
    QTemporaryFile probe(QDir(folder).filePath("probe-XXXXXX"));
    return probe.open();
}

QString WritableOr(const QString& folder) {
    if (IsWritable(folder))
        return QDir(folder).absolutePath();
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(user);
    return user;
}

QString Resolve() {
    // `make run` points this at a folder outside the build tree, so cleaning the build never
    // deletes a user's resized pictures.
    const QString chosen = qEnvironmentVariable("TESSARO_PROGRAM_FOLDER");
    if (!chosen.isEmpty())
        return WritableOr(chosen);
    return WritableOr(QCoreApplication::applicationDirPath());
}

}  // namespace programfolder
