#include "PropertyBag.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QSaveFile>

namespace {

bool isNumeric(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong:
            return true;
        default:
            return false;
    }
}

QImage asImage(const QVariant& v) {
    if (v.typeId() == QMetaType::QImage) return v.value<QImage>();
    if (v.typeId() == QMetaType::QPixmap) return v.value<QPixmap>().toImage();
    return {};
}

QJsonObject encode(const QVariant& v) {
    QJsonObject o;
    switch (v.typeId()) {
        case QMetaType::Bool:
            o["type"] = "bool";
            o["value"] = v.toBool();
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            o["type"] = "double";
            o["value"] = v.toDouble();
            break;
        case QMetaType::QString:
            o["type"] = "string";
            o["value"] = v.toString();
            break;
        case QMetaType::QImage:
        case QMetaType::QPixmap: {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            const QImage image = asImage(v);
            if (!image.isNull()) image.save(&buffer, "PNG");
            o["type"] = "picture";
            o["value"] = QString::fromLatin1(png.toBase64());
            break;
        }
        default:
            if (isNumeric(v)) {
                o["type"] = "int";
                o["value"] = static_cast<double>(v.toLongLong());
            } else if (!v.isValid()) {
                o["type"] = "empty";
            } else {
                o["type"] = "string";
                o["value"] = v.toString();
            }
    }
    return o;
}

QVariant decode(const QJsonObject& o) {
    const QString type = o["type"].toString();
    const QJsonValue value = o["value"];
    if (type == "bool") return value.toBool();
    if (type == "double") return value.toDouble();
    if (type == "int") return static_cast<qlonglong>(value.toDouble());
    if (type == "picture") {
        QImage image;
        image.loadFromData(QByteArray::fromBase64(value.toString().toLatin1()), "PNG");
        return image;
    }
    if (type == "empty") return QVariant();
    return value.toString();
}

}  // namespace

bool PropertyBag::sameValue(const QVariant& a, const QVariant& b) {
    if (isNumeric(a) && isNumeric(b)) return a.toLongLong() == b.toLongLong();
    const bool aPicture = a.typeId() == QMetaType::QImage || a.typeId() == QMetaType::QPixmap;
    const bool bPicture = b.typeId() == QMetaType::QImage || b.typeId() == QMetaType::QPixmap;
    if (aPicture || bPicture) return aPicture && bPicture && asImage(a) == asImage(b);
    return a == b;
}

int PropertyBag::indexOf(const QString& name) const {
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].first.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    }
    return -1;
}

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const {
    const int i = indexOf(name);
    return i < 0 ? defaultValue : entries_[static_cast<size_t>(i)].second;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value,
                                const QVariant& defaultValue) {
    const int i = indexOf(name);
    if (defaultValue.isValid() && sameValue(value, defaultValue)) {
        if (i >= 0) entries_.erase(entries_.begin() + i);
        return;
    }
    if (i >= 0) {
        entries_[static_cast<size_t>(i)].second = value;
    } else {
        entries_.emplace_back(name, value);
    }
}

bool PropertyBag::contains(const QString& name) const { return indexOf(name) >= 0; }

QStringList PropertyBag::keys() const {
    QStringList list;
    for (const auto& e : entries_) list << e.first;
    return list;
}

QByteArray PropertyBag::toJson() const {
    QJsonArray array;
    for (const auto& [key, value] : entries_) {
        QJsonObject o = encode(value);
        o["key"] = key;
        array.append(o);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

bool PropertyBag::fromJson(const QByteArray& json) {
    entries_.clear();
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray()) return false;
    for (const QJsonValue& item : doc.array()) {
        if (!item.isObject() || !item.toObject()["key"].isString()) {
            entries_.clear();
            return false;
        }
        const QJsonObject o = item.toObject();
        WriteProperty(o["key"].toString(), decode(o));
    }
    return true;
}

bool PropertyBag::save(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(toJson());
    return file.commit();
}

bool PropertyBag::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        entries_.clear();
        return false;
    }
    return fromJson(file.readAll());
}
