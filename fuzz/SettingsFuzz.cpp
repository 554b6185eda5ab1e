// The settings record decoder on any bytes a "resizer.cfg" may hold: it must never crash,
// what it reads must survive a save and a new start unchanged, and the start-up rules must
// leave sampling factors the encoder accepts.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "EventLog.h"
#include "FuzzCheck.h"
#include "QualityChoices.h"
#include "Settings.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    eventlog::SetSink([](const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Settings read;
    settingsrecord::decode(bytes, read);

    Settings again;
    settingsrecord::decode(settingsrecord::encode(read), again);
    FUZZ_CHECK(again == read, "a saved record reads back differently (%zu input bytes)", size);

    // The nine 32-bit fields of a whole record, reserved ones included, go back byte for byte
    // (a boolean comes back as -1 or 0, whatever bits it had).
    constexpr qsizetype kIntegerBytes = 36;
    if (bytes.size() >= kIntegerBytes) {
        FUZZ_CHECK(settingsrecord::encode(read).left(kIntegerBytes) == bytes.left(kIntegerBytes),
                   "the 32-bit fields changed on the way back");
    }

    qualitychoices::ApplyStartupDefaults(read);
    FUZZ_CHECK(read.SampleH >= 1 && read.SampleH <= 4 && read.SampleV >= 1 && read.SampleV <= 4,
               "start-up left sampling factors %d x %d", read.SampleH, read.SampleV);
    FUZZ_CHECK(read.LockHeight != read.LockWidth, "start-up left both locks equal");
    return 0;
}
