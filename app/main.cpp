#include <unistd.h>
#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "BatchMemory.h"
#include "FileName.h"
#include "HeadlessCommand.h"
#include "MainWindow.h"
#include "ProgramFolder.h"

int main(int argc, char** argv) {
    BatchMemory::SetUpProcess();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << filename::FromBytes(argv[i]);  // any bytes a file name holds

    if (WantsHeadless(arguments)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setOrganizationName("Velmora");
        QCoreApplication::setApplicationName("Tessaro");
        QTextStream out(stdout);
        QTextStream err(stderr);
        return RunHeadless(arguments, out, err, isatty(STDERR_FILENO) == 1);
    }

    // Without any display Qt would abort with a platform-plugin message that misleads; say what
    // is wrong and where the window-less way is.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs(
            "tessaro: no display to open the window on; without a window use "
            "'tessaro --drop INDEX FILE...' (see 'man tessaro')\n",
            stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Velmora");
    QCoreApplication::setApplicationName("Tessaro");
    MainWindow window(programfolder::Resolve());
    window.show();
    return app.exec();
}
