#pragma once

#include <QString>

#include "Settings.h"

// "resizer.cfg" in the program folder, or in the per-user configuration folder when the
// program folder cannot be written (programfolder::LayoutFor).
namespace settingsfile {

inline constexpr const char* kFileName = "resizer.cfg";

bool FileExists(const QString& path);

// Reads the file over `s`. A missing, unreadable or short file never stops the program:
// every field the file does not hold keeps its value, and a file cut inside the subsampling
// choice holds none (qualitychoices::DropCutSampling). Anything but a regular file (a FIFO, a
// device) is refused without being opened. Returns false when nothing was read.
bool LoadSettings(const QString& folder, Settings& s);

// Writes the record through a temporary file in the same folder that is then renamed over
// the old one, so a failed write keeps the previous settings. A failure is reported in the
// event log and on stderr, and returns false.
bool SaveSettings(const QString& folder, const Settings& s);

}  // namespace settingsfile
