#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "EventLog.h"
#include "FileError.h"
#include "FileName.h"
#include "ProgramFolder.h"
#include "QualityChoices.h"
#include "RuntimeError.h"
#include "SmallFile.h"
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
}  // namespace

bool FileExists(const QString& path) {
    return filename::Exists(path);
}

bool LoadSettings(const QString& folder, Settings& s) {
    const QString path = pathIn(folder);
    if (!FileExists(path))
        return false;
    // The record is small; anything much larger is not ours, so read no more than the
    // largest record could be.
    bool notRegular = false;
    const auto file = tessaro::files::ReadSmallFile(
        filename::ToBytes(path).toStdString(),
        settingsrecord::kFixedSize + settingsrecord::kMaxCommentBytes, &notRegular);
    if (!file) {
        if (notRegular)
            eventlog::Error(QString("%1: not a regular file; the defaults are used").arg(path));
        return false;
    }
    const QByteArray bytes = QByteArray::fromStdString(file->bytes);
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
