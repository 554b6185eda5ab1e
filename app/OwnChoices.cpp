#include "OwnChoices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <optional>

#include "EventLog.h"
#include "FileName.h"
#include "ProgramFolder.h"
#include "RuntimeError.h"
#include "SmallFile.h"
#include "TemporaryFile.h"

namespace ownchoices {

namespace {

// Each choice's key in the file.
constexpr const char* kSmooth = "Resize/Smooth";
constexpr const char* kNeverEnlarge = "Resize/NeverEnlarge";
constexpr const char* kCustomWidth = "Resize/CustomWidth";
constexpr const char* kCustomHeight = "Resize/CustomHeight";
constexpr const char* kKeepMetadata = "Output/KeepMetadata";
constexpr const char* kKeepGps = "Output/KeepGps";
constexpr const char* kKeepDate = "Output/KeepDate";
constexpr const char* kKeepGoing = "Batch/KeepGoing";

void ReadBool(const QSettings& ini, const char* key, bool& into) {
    const QString v = ini.value(key).toString().trimmed().toLower();
    if (v == "true" || v == "1")
        into = true;
    else if (v == "false" || v == "0")
        into = false;
}

// A size box holds at most nine digits; anything else is not a size the box could have held.
void ReadSize(const QSettings& ini, const char* key, QString& into) {
    static const QRegularExpression digits("^[0-9]{1,9}$");
    const QString v = ini.value(key).toString();
    if (digits.match(v).hasMatch())
        into = v;
}

void ReportSaveFailure(const QString& reason) {
    const QString line = QString("the choices were not saved: %1").arg(reason);
    eventlog::Error(line);
    std::fprintf(stderr, "tessaro: %s\n", qPrintable(line));
}

}  // namespace

QString PathIn(const QString& programFolder) {
    const QFileInfo record(programfolder::LayoutFor(programFolder).settingsFile);
    return record.dir().filePath(kFileName);
}

bool Load(const QString& programFolder, OwnChoices& c) {
    const QString path = PathIn(programFolder);
    if (!filename::Exists(path))
        return false;
    bool notRegular = false;
    const auto file = tessaro::files::ReadSmallFile(
        filename::ToBytes(path).toStdString(), static_cast<size_t>(kMaxFileBytes), &notRegular);
    if (!file || file->largerThan) {
        if (notRegular || (file && file->largerThan))
            eventlog::Error(
                QString("%1: not a settings file of ours; the defaults are used").arg(path));
        return false;
    }
    const QByteArray bytes = QByteArray::fromStdString(file->bytes);
    if (bytes.isEmpty())
        return false;
    // QSettings reads only from a path; it gets a private copy, so that nothing another run
    // writes meanwhile is read half-way.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return false;
    const QString copy = scratch.filePath(kFileName);
    {
        QFile f(copy);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return false;
    }
    const QSettings ini(copy, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) {
        eventlog::Error(QString("%1: damaged; the defaults are used").arg(path));
        return false;
    }
    ReadBool(ini, kSmooth, c.Smooth);
    ReadBool(ini, kNeverEnlarge, c.NeverEnlarge);
    ReadSize(ini, kCustomWidth, c.CustomWidth);
    ReadSize(ini, kCustomHeight, c.CustomHeight);
    ReadBool(ini, kKeepMetadata, c.KeepMetadata);
    ReadBool(ini, kKeepGps, c.KeepGps);
    ReadBool(ini, kKeepDate, c.KeepDate);
    ReadBool(ini, kKeepGoing, c.KeepGoing);
    return true;
}

bool Save(const QString& programFolder, const OwnChoices& c) {
    const QString path = PathIn(programFolder);
    try {
        // QSettings writes the text into a private folder; the bytes then go to their place
        // the way the settings record does, never half-written.
        QTemporaryDir scratch;
        if (!scratch.isValid())
            throw tessaro::RuntimeError(tessaro::err::kFileAccess,
                                        "no temporary folder for the choices");
        const QString copy = scratch.filePath(kFileName);
        {
            QSettings ini(copy, QSettings::IniFormat);
            ini.setValue(kSmooth, c.Smooth);
            ini.setValue(kNeverEnlarge, c.NeverEnlarge);
            ini.setValue(kCustomWidth, c.CustomWidth);
            ini.setValue(kCustomHeight, c.CustomHeight);
            ini.setValue(kKeepMetadata, c.KeepMetadata);
            ini.setValue(kKeepGps, c.KeepGps);
            ini.setValue(kKeepDate, c.KeepDate);
            ini.setValue(kKeepGoing, c.KeepGoing);
            ini.sync();
            if (ini.status() != QSettings::NoError)
                throw tessaro::RuntimeError(tessaro::err::kFileAccess,
                                            "the choices could not be written");
        }
        QFile written(copy);
        if (!written.open(QIODevice::ReadOnly))
            throw tessaro::RuntimeError(tessaro::err::kFileAccess,
                                        "the choices could not be written");
        const QByteArray bytes = written.readAll();
        tessaro::files::TemporaryFile file(filename::ToBytes(path).toStdString(),
                                           tessaro::files::TemporaryFile::Existing::Replace);
        file.write(bytes.constData(), static_cast<size_t>(bytes.size()));
        file.publish();
    } catch (const tessaro::RuntimeError& e) {
        ReportSaveFailure(QString::fromStdString(e.text()));
        return false;
    }
    return true;
}

}  // namespace ownchoices
