// The window's batch, timed whole by the caller: opens the main window on the offscreen
// platform with its program folder in DIR and drops FILE... on target 1 at quality 75, 2:2,
// proportions free, as bench/batch.sh runs the other programs.
//
//   bench_window_batch DIR FILE...

#include <QApplication>
#include <cstdio>

#include "BatchMemory.h"
#include "MainWindow.h"

int main(int argc, char** argv) {
    BatchMemory::SetUpProcess();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: bench_window_batch DIR FILE...\n");
        return 2;
    }
    MainWindow window(arguments[0]);
    window.show();
    Settings& s = window.settings();
    s.Quality = 75;
    s.SampleH = 2;
    s.SampleV = 2;
    s.GreyscaleOn = false;
    s.KeepProportions = false;
    s.NameWithSize = false;
    s.Comment.clear();
    window.Resizer_OLEDragDrop(1, arguments.mid(1));
    const BatchReport report = window.lastReport();
    if (report.failure) {
        std::fprintf(stderr, "bench_window_batch: stopped at %s: %s\n",
                     qPrintable(report.failure->file), qPrintable(report.failure->text));
        return 1;
    }
    return report.written == arguments.size() - 1 ? 0 : 1;
}
