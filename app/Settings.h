#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// All user choices of the main window, in the field order of "resizer.cfg".
struct Settings {
    int32_t FormLeft = 0;   // twips
    int32_t FormTop = 0;    // twips
    int32_t Reserved1 = 0;  // unused; written back as read
    int32_t Reserved2 = 0;
    int32_t Quality = 0;
    int32_t Reserved3 = 0;
    int32_t SampleH = 0;
    int32_t SampleV = 0;
    int32_t SubSampleIndex = 0;
    bool GreyscaleOn = false;
    bool NameWithSize = false;
    bool KeepProportions = false;
    bool LockHeight = false;
    bool LockWidth = false;
    bool StayOnTop = false;
    QString Comment;

    friend bool operator==(const Settings&, const Settings&) = default;
};

namespace settingsrecord {

// Size of the record without the comment characters.
inline constexpr int kFixedSize = 50;
// The longest comment the 16-bit signed length field can describe.
inline constexpr int kMaxCommentBytes = 32767;

// The file bytes of `s`: 50 + n bytes, little-endian, booleans -1/0, the comment in
// Windows-1252. A longer comment than the length field can hold is cut to fit.
QByteArray encode(const Settings& s);

// Offset of the first field after the subsampling entry.
inline constexpr int kSamplingEnd = 36;

// Reads as many whole fields as `bytes` holds, in file order, over `s`; reading stops at the
// first field a short file cuts, and that field and every later one keep their values in `s`.
// A comment length that runs past the end is cut to the bytes present; a negative one reads as
// an empty comment. Returns how many bytes of whole fields were read before the comment
// (kFixedSize when the record is whole).
int decode(const QByteArray& bytes, Settings& s);

}  // namespace settingsrecord
