#include "ProgramFolder.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cstdlib>

#include "FileName.h"

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

// The folder of the running executable, its name's bytes kept (FileName.h).
QString ExecutableFolder() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path);
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof path))
        return QDir(QCoreApplication::applicationDirPath()).absolutePath();
    const QString executable = filename::FromBytes(QByteArray(path, n));
    return executable.left(std::max(qsizetype{1}, executable.lastIndexOf('/')));
}

QString UserFolder(QStandardPaths::StandardLocation location) {
    const QString folder = QStandardPaths::writableLocation(location);
    filename::MakePath(folder);  // a failure shows when the file in it is written
    return folder;
}
}  // namespace

bool IsWritable(const QString& folder) {
    if (IsInstallFolder(folder))
        return false;
    // A folder not made yet is writable when the folder it would be made in is.
    QString existing = QDir(folder).absolutePath();
    while (!filename::Exists(existing) && existing != "/")
        existing = QFileInfo(existing).path();
    if (!filename::IsFolder(existing))
        return false;
    // Ask the file system itself: permission bits do not tell about read-only mounts, nor
    // about root, who writes past them.
    QByteArray probe = filename::ToBytes(QDir(existing).filePath("probe-XXXXXX"));
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.constData());
    return true;
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
    QString folder =
        chosen.isEmpty() ? filename::FromBytes(qgetenv("TESSARO_PROGRAM_FOLDER")) : chosen;
    if (folder.isEmpty())
        return ExecutableFolder();
    folder = QDir(folder).absolutePath();
    if (IsWritable(folder))
        filename::MakePath(folder);  // the settings are saved there even before the first batch
    return folder;
}

}  // namespace programfolder
