#include "QualityChoices.h"

#include "EventLog.h"

namespace qualitychoices {

const QStringList& SubSampleEntries() {
    static const QStringList entries = {QString::fromUtf8("1:1  [Max Qualità]"),
                                        "1:2",
                                        "2:1",
                                        "2:2  [Default]",
                                        "1:3",
                                        "3:1",
                                        "2:3",
                                        "3:2",
                                        "3:3",
                                        "1:4",
                                        "4:1",
                                        "2:4",
                                        "4:2",
                                        "3:4",
                                        "4:3",
                                        "4:4  [Max Compress]"};
    return entries;
}

void ApplySubSample(Settings& s, int index, bool greyscaleChecked) {
    if (greyscaleChecked) {
        s.SampleH = 1;
        s.SampleV = 1;
        s.GreyscaleOn = true;
    } else {
        if (index >= 0 && index < SubSampleEntries().size()) {
            const QString& entry = SubSampleEntries().at(index);
            s.SampleH = entry.at(0).digitValue();
            s.SampleV = entry.at(2).digitValue();
        }
        s.GreyscaleOn = false;
    }
    s.SubSampleIndex = index;
}

int SynchroniseFromSettings(Settings& s) {
    const bool greyscale = s.GreyscaleOn;
    int entry = s.SubSampleIndex >= 0 && s.SubSampleIndex <= 15 ? s.SubSampleIndex : kDefaultEntry;
    ApplySubSample(s, entry, false);
    if (s.Quality < 1 || s.Quality > 100) {
        s.Quality = kDefaultQuality;
        entry = kDefaultEntry;
        ApplySubSample(s, entry, false);
    }
    if (greyscale)
        ApplySubSample(s, entry, true);
    return entry;
}

namespace {
bool IsSamplingFactor(int32_t v) {
    return v >= 1 && v <= 4;
}
}  // namespace

void FallBackFromBadSampling(Settings& s) {
    if (IsSamplingFactor(s.SampleH) && IsSamplingFactor(s.SampleV))
        return;
    // No encoder accepts these; keeping them would stop every JPEG of every batch.
    eventlog::Error(QString("resizer.cfg: sampling factors %1 x %2 are outside 1..4; the "
                            "default 2:2 is used")
                        .arg(s.SampleH)
                        .arg(s.SampleV));
    ApplySubSample(s, kDefaultEntry, s.GreyscaleOn);
}

void DropCutSampling(Settings& s, int bytesRead) {
    if (bytesRead >= settingsrecord::kSamplingEnd)
        return;
    s.SampleH = 0;
    s.SampleV = 0;
    s.SubSampleIndex = kDefaultEntry;
}

void ApplyStartupDefaults(Settings& s) {
    if (s.SampleH == 0) {
        SynchroniseFromSettings(s);
    } else {
        FallBackFromBadSampling(s);
    }
    if (!s.LockHeight && !s.LockWidth)
        s.LockHeight = true;
    if (s.LockHeight)
        s.LockWidth = false;
}

QString TrimComment(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == ' ')
        ++first;
    while (last > first && text[last - 1] == ' ')
        --last;
    return text.mid(first, last - first);
}

QString QualityLabel(int value) {
    QString text = QString::fromUtf8("Qualità: ") + QString::number(value);
    if (value < 50 || value > 95)
        text += " ???";
    return text;
}

}  // namespace qualitychoices
