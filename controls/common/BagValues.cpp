#include "BagValues.h"

#include <QPixmap>
#include <cmath>

#include "CheckedMath.h"

namespace bagvalue {

namespace {

[[noreturn]] void raiseTypeMismatch() {
    throw tessaro::RuntimeError(kTypeMismatch, "Type mismatch");
}

bool isPicture(const QVariant& v) {
    return v.typeId() == QMetaType::QImage || v.typeId() == QMetaType::QPixmap;
}

// Whole numbers as stored; fractions round half to even; true counts as -1.
int64_t toWhole(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Bool:
            return v.toBool() ? -1 : 0;
        case QMetaType::Double:
        case QMetaType::Float: {
            const double d = v.toDouble();
            if (!std::isfinite(d) || std::fabs(d) > 9.0e18)
                tessaro::err::raiseOverflow();
            return static_cast<int64_t>(std::nearbyint(d));
        }
        case QMetaType::QString: {
            bool ok = false;
            const QString s = v.toString().trimmed();
            const qlonglong n = s.toLongLong(&ok);
            if (ok)
                return n;
            const double d = s.toDouble(&ok);
            if (!ok)
                raiseTypeMismatch();
            return toWhole(QVariant(d));
        }
        default:
            break;
    }
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (!ok)
        raiseTypeMismatch();
    return n;
}

}  // namespace

bool toBool(const QVariant& v) {
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return toWhole(v) != 0;
}

int16_t toInt16(const QVariant& v) {
    return tessaro::checked::narrow<int16_t>(toWhole(v));
}
int32_t toInt32(const QVariant& v) {
    return tessaro::checked::narrow<int32_t>(toWhole(v));
}

uint32_t toColour(const QVariant& v) {
    const int64_t n = toWhole(v);
    if (n < INT32_MIN || n > int64_t{UINT32_MAX})
        tessaro::err::raiseOverflow();
    return static_cast<uint32_t>(n);
}

QString toText(const QVariant& v) {
    if (!v.isValid())
        return {};
    if (isPicture(v) || !v.canConvert<QString>())
        raiseTypeMismatch();
    return v.toString();
}

QFont toFont(const QVariant& v) {
    if (v.typeId() == QMetaType::QFont)
        return v.value<QFont>();
    if (v.typeId() != QMetaType::QString)
        raiseTypeMismatch();
    QFont font;
    if (!font.fromString(v.toString()))
        raiseTypeMismatch();
    return font;
}

QImage toPicture(const QVariant& v) {
    if (!v.isValid())
        return {};
    if (v.typeId() == QMetaType::QImage)
        return v.value<QImage>();
    if (v.typeId() == QMetaType::QPixmap)
        return v.value<QPixmap>().toImage();
    raiseTypeMismatch();
}

QVariant fromColour(uint32_t colour) {
    return QVariant(qlonglong{colour});
}
QVariant fromFont(const QFont& font) {
    return QVariant(font.toString());
}

}  // namespace bagvalue
