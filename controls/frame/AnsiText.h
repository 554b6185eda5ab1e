#pragma once

#include <QString>

// Bar texts and the classic caption are single-byte (Windows-1252) text: a character the
// code page cannot hold is shown as "?".
QString ansiText(const QString& text);
