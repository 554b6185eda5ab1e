#pragma once

#include <QByteArray>
#include <QString>
#include <QTextStream>
#include <string>

// File names as Linux keeps them: bytes, usually but not always UTF-8. A name's bytes that are
// not UTF-8 (a Latin-1 "caf\xE9.jpg") are carried inside a QString as the lone surrogates
// U+DC80..U+DCFF, one per byte, and given back byte for byte, so that such a file can be
// opened, named in an output and reported exactly. Qt's own conversion would replace them with
// U+FFFD and lose the file.
namespace filename {

QString FromBytes(const QByteArray& bytes);
QByteArray ToBytes(const QString& name);

// An error text naming files, as the bytes RuntimeError carries: FromBytes gives it back.
inline std::string ErrorText(const QString& text) {
    return ToBytes(text).toStdString();
}
inline QString FromErrorText(const std::string& text) {
    return FromBytes(QByteArray::fromStdString(text));
}

// The file system by these names: whether `path` exists (links followed), whether it is a
// folder, and making it with every folder above it (true when it is a folder afterwards).
bool Exists(const QString& path);
bool IsFolder(const QString& path);
bool MakePath(const QString& path);

// Writes `text` to `stream`: to a file or terminal as the names' own bytes, to a string as is.
void Write(QTextStream& stream, const QString& text);

}  // namespace filename
