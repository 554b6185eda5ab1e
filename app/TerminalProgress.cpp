#include "TerminalProgress.h"

void TerminalProgress::show(int done, int accepted) {
    err_ << "\rtessaro: " << done << " of " << accepted << " files" << Qt::flush;
    shown_ = true;
}

void TerminalProgress::finish() {
    if (shown_)
        err_ << "\n" << Qt::flush;
    shown_ = false;
}
