#include "EventLog.h"

#include <syslog.h>

#include "FileName.h"

namespace eventlog {

namespace {
Sink& currentSink() {
    static Sink sink;
    return sink;
}
}  // namespace

namespace {
void log(int priority, const QString& line) {
    if (currentSink()) {
        currentSink()(line);
        return;
    }
    openlog("tessaro", LOG_PID, LOG_USER);
    syslog(priority, "%s", filename::ToBytes(line).constData());
}
}  // namespace

void Error(const QString& line) {
    log(LOG_ERR, line);
}

void Warning(const QString& line) {
    log(LOG_WARNING, line);
}

Sink SetSink(Sink sink) {
    Sink old = std::move(currentSink());
    currentSink() = std::move(sink);
    return old;
}

}  // namespace eventlog
