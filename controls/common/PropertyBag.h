#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <utility>
#include <vector>

// The host's store of a control's named properties. Keys match case-insensitively; a value
// equal to its default is not written and a missing key reads as its default. Entries keep
// the order in which they were written. Saved as JSON; pictures travel as PNG in base64.
class PropertyBag {
public:
    // Missing key: `defaultValue`.
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue = QVariant()) const;
    // A value equal to `defaultValue` is not written (an older entry of that key is removed);
    // an invalid `defaultValue` means "no default": the value is always written.
    void WriteProperty(const QString& name, const QVariant& value,
                       const QVariant& defaultValue = QVariant());

    bool contains(const QString& name) const;
    QStringList keys() const;
    int size() const { return static_cast<int>(entries_.size()); }
    void clear() { entries_.clear(); }

    QByteArray toJson() const;
    // False on malformed input; the bag is then left empty.
    bool fromJson(const QByteArray& json);
    bool save(const QString& path) const;
    bool load(const QString& path);

    static bool sameValue(const QVariant& a, const QVariant& b);

private:
    int indexOf(const QString& name) const;
    std::vector<std::pair<QString, QVariant>> entries_;
};
