#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <QVariant>
#include <cstdint>

// Conversions of stored property values to the controls' property types. A value that cannot
// be converted raises the type-mismatch error; a number outside the type's range raises the
// overflow error.
namespace bagvalue {

inline constexpr int kTypeMismatch = 13;

bool toBool(const QVariant& v);
int16_t toInt16(const QVariant& v);
int32_t toInt32(const QVariant& v);
// Colours may be stored signed (a 32-bit long) or unsigned; both name the same colour.
uint32_t toColour(const QVariant& v);
QString toText(const QVariant& v);
// A font is stored as its description text (QFont::toString) or as a font.
QFont toFont(const QVariant& v);
// An empty value is no picture.
QImage toPicture(const QVariant& v);

QVariant fromColour(uint32_t colour);
QVariant fromFont(const QFont& font);

}  // namespace bagvalue
