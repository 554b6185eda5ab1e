#include "EventLog.h"

#include <syslog.h>

#include <utility>

namespace tessaro::hook {

namespace {

ErrorSink& currentSink() {
    static ErrorSink sink;
    return sink;
}

}  // namespace

ErrorSink setErrorSink(ErrorSink sink) {
    return std::exchange(currentSink(), std::move(sink));
}

void writeErrorLine(const QString& line) {
    if (const ErrorSink& sink = currentSink()) {
        sink(line);
        return;
    }
    syslog(LOG_ERR, "%s", line.toUtf8().constData());
}

}  // namespace tessaro::hook
