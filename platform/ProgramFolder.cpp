#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace programfolder {

namespace {
constexpr const char* kSettingsName = "resizer.cfg";
constexpr const char* kIntermediateName = "ResizedOne.bmp";
constexpr const char* kOutputName = "Elaborate";

// A folder the program was installed into: the binary folder of this build's install or of
// the package, or any bin folder whose prefix holds our desktop entry (an install with
// another prefix, such as ~/.local, which the user could write to).
bool IsInstallFolder(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty())
        return false;
    for (const char* installed : {TESSARO_INSTALL_BINDIR, TESSARO_PACKAGE_BINDIR}) {
        if (canonical == QFileInfo(QString::fromUtf8(installed)).canonicalFilePath())
            return true;
    }
    return QFileInfo(canonical).fileName() == QLatin1String("bin") &&
           QFileInfo::exists(QDir(canonical).filePath("../share/applications/tessaro.desktop"));
}

QString UserFolder(QStandardPaths::StandardLocation location) {
    const QString folder = QStandardPaths::writableLocation(location);
    QDir().mkpath(folder);  // a failure shows when the file in it is written
    return folder;
}
}  // namespace

bool IsWritable(const QString& folder) {
    if (IsInstallFolder(folder))
        return false;
    // A folder not made yet is writable when the folder it would be made in is.
    QFileInfo existing(QDir(folder).absolutePath());
    while (!existing.exists() && !existing.isRoot())
        existing.setFile(existing.path());
    if (!existing.isDir())
        return false;
    // Ask the file system itself: permission bits do not tell about read-only mounts, nor
    // about root, who writes past them.
    QTemporaryFile probe(QDir(existing.filePath()).filePath("probe-XXXXXX"));
    return probe.open();
}

QString PicturesFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
}

Layout LayoutFor(const QString& programFolder) {
    return LayoutFor(programFolder, IsWritable(programFolder));
}

Layout LayoutFor(const QString& programFolder, bool programFolderWritable) {
    Layout layout;
    if (programFolderWritable) {
        const QDir folder(programFolder);
        layout.settingsFile = folder.filePath(kSettingsName);
        layout.intermediateBitmap = folder.filePath(kIntermediateName);
        layout.outputFolder = folder.filePath(kOutputName);
        return layout;
    }
    layout.perUser = true;
    layout.settingsFile =
        QDir(UserFolder(QStandardPaths::AppConfigLocation)).filePath(kSettingsName);
    layout.intermediateBitmap =
        QDir(UserFolder(QStandardPaths::AppLocalDataLocation)).filePath(kIntermediateName);
    // Created by the batch that writes into it, like the program folder's own. Without a
    // known Pictures folder the outputs stay beside ResizedOne.bmp rather than in the
    // current folder.
    QString pictures = PicturesFolder();
    if (pictures.isEmpty())
        pictures = QFileInfo(layout.intermediateBitmap).path();
    layout.outputFolder = QDir(pictures).filePath(kOutputName);
    return layout;
}

QString Resolve(const QString& chosen) {
    // `make run` points TESSARO_PROGRAM_FOLDER at a folder outside the build tree, so cleaning
    // the build never deletes a user's resized pictures.
    QString folder = chosen.isEmpty() ? qEnvironmentVariable("TESSARO_PROGRAM_FOLDER") : chosen;
    if (folder.isEmpty())
        return QDir(QCoreApplication::applicationDirPath()).absolutePath();
    folder = QDir(folder).absolutePath();
    if (IsWritable(folder))
        QDir().mkpath(folder);  // the settings are saved there even before the first batch
    return folder;
}

}  // namespace programfolder
