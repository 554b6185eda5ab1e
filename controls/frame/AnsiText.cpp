#include "AnsiText.h"

#include "Cp1252.h"

QString ansiText(const QString& text) { return cp1252::toUnicode(cp1252::fromUnicode(text)); }
