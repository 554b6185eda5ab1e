#pragma once

#include <QString>
#include <functional>

// The application's event log: error lines go to syslog. Tests replace the sink to read them.
namespace eventlog {

using Sink = std::function<void(const QString& line)>;

void Error(const QString& line);
// A file taken despite something odd about it, at warning level.
void Warning(const QString& line);
// Installs `sink` in place of syslog; an empty sink restores syslog. Returns the old sink.
Sink SetSink(Sink sink);

}  // namespace eventlog
