#pragma once

#include <QString>

// The output file name for input path `sFileName`: the part after the last "/", with `Risol`
// inserted before its first dot when `nameWithSize` is on.
QString GetFileTitle(const QString& sFileName, const QString& Risol, bool nameWithSize);
