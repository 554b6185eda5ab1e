#pragma once

#include <QString>

// Where the frame's mouse-leave and hover requests go. The service is looked for by entry
// point: "TrackMouseEvent" of "User32" first, "_TrackMouseEvent" of "Comctl32" second. Both
// name the hook's tracking (MouseTracking.h), which is always built in; a test can take either
// away to see the frame without tracking.
namespace frametracking {

inline const QString kUser32 = QStringLiteral("User32");
inline const QString kUser32Entry = QStringLiteral("TrackMouseEvent");
inline const QString kComctl32 = QStringLiteral("Comctl32");
inline const QString kComctl32Entry = QStringLiteral("_TrackMouseEvent");

// Whether `module` offers `entryPoint`.
using ExportCheck = bool (*)(const QString& module, const QString& entryPoint);

// The built-in answer: true for the two tracking entry points, false for anything else.
bool builtInExports(const QString& module, const QString& entryPoint);
// Replaces the check used by frames going live; nullptr restores the built-in one. Returns
// the check that was in place.
ExportCheck setExportCheck(ExportCheck check);

struct Service {
    bool available = false;
    bool user32 = false;  // the "User32" flavour answered
};

Service findService();

}  // namespace frametracking
