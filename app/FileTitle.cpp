#include "FileTitle.h"

QString GetFileTitle(const QString& sFileName, const QString& Risol, bool nameWithSize) {
    const qsizetype slash = sFileName.lastIndexOf('/');
    QString title = slash < 0 ? sFileName : sFileName.mid(slash + 1);
    if (nameWithSize) {
        const qsizetype dot = title.indexOf('.');
        if (dot >= 0)
            title.insert(dot, Risol);
    }
    return title;
}
