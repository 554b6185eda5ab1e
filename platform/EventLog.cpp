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

void Error(const QString& line) {
    if (currentSink()) {
        currentSink()(line);
        return;
    }
    openlog("tessaro", LOG_PID, LOG_USER);
    syslog(LOG_ERR, "%s", filename::ToBytes(line).constData());  // names keep their bytes
}

Sink SetSink(Sink sink) {
    Sink old = std::move(currentSink());
    currentSink() = std::move(sink);
    return old;
}

}  // namespace eventlog
