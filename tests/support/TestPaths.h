#pragma once

#include <QDir>
#include <QString>

// Where tests leave pictures worth looking at (screenshots): build/test-output.
inline QString testOutputDir() {
    QString dir = qEnvironmentVariable("TESSARO_TEST_OUTPUT");
    if (dir.isEmpty()) dir = QDir::currentPath() + "/test-output";
    QDir().mkpath(dir);
    return dir;
}
