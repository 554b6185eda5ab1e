#pragma once

#include <QString>
#include <QStringList>

#include "Settings.h"

// The JPEG choices of the quality panel: the subsampling list and how its selection, the
// greyscale box and the quality bar set the settings.
namespace qualitychoices {

inline constexpr int kDefaultQuality = 75;
inline constexpr int kDefaultEntry = 3;  // "2:2  [Default]"

const QStringList& SubSampleEntries();

// The list's selection handler: greyscale forces factors 1 and 1; otherwise the entry's first
// and third characters give the factors. `index` -1 means nothing is selected.
void ApplySubSample(Settings& s, int index, bool greyscaleChecked);

// Puts the panel's controls in step with `s` the way opening the panel does, applying each
// handler; returns the entry that ends up selected.
int SynchroniseFromSettings(Settings& s);

// Sampling factors outside 1..4 (a damaged or foreign file) fall back to the default entry,
// and the event log says so.
void FallBackFromBadSampling(Settings& s);

// The factors and the list entry are one choice, the factors following the entry. A record
// cut before the end of the entry (`bytesRead` below settingsrecord::kSamplingEnd) holds no
// choice: whatever factors it held are dropped and the default entry is kept, so that
// start-up derives the factors from that entry as for a new file.
void DropCutSampling(Settings& s, int bytesRead);

// The start-up rules: a record without sampling factors gets the panel's defaults, factors
// outside 1..4 fall back to the default entry (said in the event log), and with neither lock
// chosen the height is locked.
void ApplyStartupDefaults(Settings& s);

// The comment as it is kept: leading and trailing blanks (spaces) removed, nothing else.
QString TrimComment(const QString& text);

// "Qualità: " + value, with " ???" below 50 and above 95.
QString QualityLabel(int value);

}  // namespace qualitychoices
