#pragma once

#include <QString>

// The choices of ours that "resizer.cfg" has no field for, kept in "tessaro.ini" beside it so
// that the record keeps its bytes. Every default is the program's behaviour without the file.
struct OwnChoices {
    bool Smooth = false;        // resize with an antialiasing filter instead of point sampling
    bool KeepMetadata = false;  // carry a JPEG input's Exif block into its output
    bool KeepGps = false;       // with KeepMetadata, keep the GPS position too
    bool KeepDate = false;      // give each output its input's modification time
    bool NeverEnlarge = false;  // a picture smaller than the canvas both ways keeps its size
    bool KeepGoing = false;     // a failed file is reported and the batch goes on
    QString CustomWidth = "1280";
    QString CustomHeight = "960";

    friend bool operator==(const OwnChoices&, const OwnChoices&) = default;
};

namespace ownchoices {

inline constexpr const char* kFileName = "tessaro.ini";
// A file larger than this is not ours and is not read.
inline constexpr qsizetype kMaxFileBytes = 64 * 1024;

// "tessaro.ini" in the folder that holds "resizer.cfg" for `programFolder`.
QString PathIn(const QString& programFolder);

// Reads the file over `c`. A missing, unreadable, damaged or foreign file never stops the
// program: every key that is missing or does not hold a valid value keeps its value in `c`.
// Returns false when nothing was read.
bool Load(const QString& programFolder, OwnChoices& c);

// Writes every choice through a temporary file renamed over the old one, as the settings
// record is saved. A failure is reported in the event log and on stderr, and returns false.
bool Save(const QString& programFolder, const OwnChoices& c);

}  // namespace ownchoices
