#include "TrackingService.h"

namespace frametracking {

namespace {

ExportCheck current = nullptr;

bool exports(const QString& module, const QString& entryPoint) {
    return (current ? current : builtInExports)(module, entryPoint);
}

}  // namespace

bool builtInExports(const QString& module, const QString& entryPoint) {
    return (module.compare(kUser32, Qt::CaseInsensitive) == 0 && entryPoint == kUser32Entry) ||
           (module.compare(kComctl32, Qt::CaseInsensitive) == 0 && entryPoint == kComctl32Entry);
}

ExportCheck setExportCheck(ExportCheck check) {
    const ExportCheck previous = current ? current : builtInExports;
    current = check;
    return previous;
}

Service findService() {
    Service s;
    s.user32 = exports(kUser32, kUser32Entry);
    s.available = s.user32 || exports(kComctl32, kComctl32Entry);
    return s;
}

}  // namespace frametracking
