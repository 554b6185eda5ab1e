#pragma once

#include <QStringList>
#include <QTextStream>

// `tessaro --drop INDEX [options] FILE...`: one batch without a window, as a drop of FILE...
// on target INDEX would run it. Flags override the saved settings for this run only.
// Returns the exit status: 0 every accepted file done, 1 the batch stopped, 2 bad arguments,
// 128 + the signal's number when SIGINT or SIGTERM stopped it after the file in hand. With
// `errIsTerminal`, `err` also shows how many files are done as they finish.
int RunHeadless(const QStringList& arguments, QTextStream& out, QTextStream& err,
                bool errIsTerminal = false);

// True when the arguments ask for the headless command rather than the window.
bool WantsHeadless(const QStringList& arguments);
