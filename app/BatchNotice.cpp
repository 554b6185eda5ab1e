#include "BatchNotice.h"

#include <QDir>
#include <QFileInfo>

#include "FileName.h"

namespace batchnotice {

namespace {

QString written(int count) {
    return count == 1 ? QStringLiteral("1 file scritto")
                      : QStringLiteral("%1 file scritti").arg(count);
}

QString kept(int count) {
    return count == 1 ? QString::fromUtf8("1 già presente, lasciato com'era")
                      : QString::fromUtf8("%1 già presenti, lasciati com'erano").arg(count);
}

QString failed(int count) {
    return count == 1 ? QStringLiteral("1 non elaborato")
                      : QStringLiteral("%1 non elaborati").arg(count);
}

}  // namespace

QString Progress(int done, int accepted) {
    return QStringLiteral("%1 / %2").arg(done).arg(accepted);
}

QString Outcome(const BatchReport& report, bool withPaths) {
    const QString folder = withPaths ? QDir::toNativeSeparators(report.outputFolder)
                                     : QFileInfo(report.outputFolder).fileName();
    QString tally = written(report.written);
    if (report.unchanged > 0)
        tally += QStringLiteral(", ") + kept(report.unchanged);
    if (!report.failures.isEmpty())
        tally += QStringLiteral(", ") + failed(static_cast<int>(report.failures.size()));

    if (report.failure) {
        const QString file = withPaths ? QDir::toNativeSeparators(report.failure->file)
                                       : QFileInfo(report.failure->file).fileName();
        return QStringLiteral("Interrotto su %1: errore %2, %3 (%4)")
            .arg(file)
            .arg(report.failure->number)
            .arg(report.failure->text, tally);
    }
    if (report.cancelled) {
        return QStringLiteral("Interrotto con Esc: %1 di %2 file fatti (%3)")
            .arg(report.written + report.unchanged)
            .arg(report.accepted.size())
            .arg(tally);
    }
    if (report.accepted.isEmpty())
        return QStringLiteral("Nessun file .bmp, .gif o .jpg tra quelli trascinati");
    return tally + QStringLiteral(" in ") + folder;
}

bool OffersFolder(const BatchReport& report) {
    return report.written + report.unchanged > 0 && filename::IsFolder(report.outputFolder);
}

QString OpenFailed(const QString& what) {
    return QStringLiteral(
               "Impossibile aprire %1: il desktop non ha un programma per aprirlo "
               "(xdg-open, dal pacchetto xdg-utils)")
        .arg(what);
}

}  // namespace batchnotice
