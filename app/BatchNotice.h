#pragma once

#include <QString>

#include "BatchDriver.h"

// What the window says about a batch: its progress while it runs and how it ended.
namespace batchnotice {

// "done / accepted".
QString Progress(int done, int accepted);

// One line on how the batch ended: how many files were written and where, or the file and
// the reason that stopped it. `withPaths` names files and folders by their full paths,
// otherwise by their names alone.
QString Outcome(const BatchReport& report, bool withPaths);

// Whether there is an output folder worth opening after this batch.
bool OffersFolder(const BatchReport& report);

// The whole text when the desktop could not open `what` (a folder or an address).
QString OpenFailed(const QString& what);

}  // namespace batchnotice
