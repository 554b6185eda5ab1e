#pragma once

#include <QImage>
#include <QString>

// Converts `image` to `format`, one row at a time: Qt hands a large picture to its thread
// pool, and a thread that cannot start there leaves the conversion waiting for ever. A
// result that cannot be allocated raises RuntimeError 7 naming `name` and the size.
QImage ConvertChecked(const QImage& image, QImage::Format format, const QString& name);
