#pragma once

#include <QString>

// Where "Elaborate", "ResizedOne.bmp" and "resizer.cfg" live: the executable's folder, or the
// per-user data folder when the executable's folder cannot be written.
namespace programfolder {

QString Resolve();
// `folder` itself when it can be written (creating it if needed), else the per-user folder.
QString WritableOr(const QString& folder);
bool IsWritable(const QString& folder);

}  // namespace programfolder
