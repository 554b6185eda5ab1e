#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "HeadlessCommand.h"
#include "MainWindow.h"
#include "ProgramFolder.h"

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    if (WantsHeadless(arguments)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setOrganizationName("Velmora");
        QCoreApplication::setApplicationName("Tessaro");
        QTextStream out(stdout);
        QTextStream err(stderr);
        return RunHeadless(arguments, out, err);
    }

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Velmora");
    QCoreApplication::setApplicationName("Tessaro");
    MainWindow window(programfolder::Resolve());
    window.show();
    return app.exec();
}
