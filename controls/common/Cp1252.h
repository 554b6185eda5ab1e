#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the single-byte code page of the settings file and of JPEG comments.
// A character the code page cannot hold becomes "?".
namespace cp1252 {
QByteArray fromUnicode(const QString& text);
QString toUnicode(const QByteArray& bytes);
}  // namespace cp1252
