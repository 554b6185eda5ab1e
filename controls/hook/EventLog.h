#pragma once

#include <QString>
#include <functional>

// Where the hook's failure lines go: the system event log (syslog, error priority) unless a
// different sink is installed (tests capture the lines this way).
namespace tessaro::hook {

using ErrorSink = std::function<void(const QString& line)>;

// Installs `sink` and returns the one it replaces; an empty sink means the system log.
ErrorSink setErrorSink(ErrorSink sink);
void writeErrorLine(const QString& line);

}  // namespace tessaro::hook
