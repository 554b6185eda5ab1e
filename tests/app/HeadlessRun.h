#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "HeadlessCommand.h"

// The command's exit status and what it wrote to each stream.
struct HeadlessRun {
    int status = -1;
    QString out;
    QString err;
};

inline HeadlessRun headless(const QStringList& args) {
    HeadlessRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.status = RunHeadless(args, out, err);
    out.flush();
    err.flush();
    return r;
}
