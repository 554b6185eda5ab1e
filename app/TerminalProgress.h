#pragma once

#include <QTextStream>

// "tessaro: D of N files" on one line of a terminal, rewritten as files finish; a line of
// its own once the batch ends.
class TerminalProgress {
  public:
    explicit TerminalProgress(QTextStream& err) : err_(err) {}
    void show(int done, int accepted);
    void finish();

  private:
    QTextStream& err_;
    bool shown_ = false;
};
