#include "FileName.h"

#include <sys/stat.h>

#include <QIODevice>
#include <cerrno>

namespace filename {

namespace {

constexpr char16_t kEscape = 0xDC00;

// The length of the UTF-8 sequence that starts at `at` and its code point, or 0 when the bytes
// there are not one (overlong forms, surrogates and values past U+10FFFF included).
int sequenceAt(const QByteArray& bytes, qsizetype at, char32_t& code) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    int length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < min || code > 0x10FFFF || surrogate ? 0 : length;
}

}  // namespace

QString FromBytes(const QByteArray& bytes) {
    QString name;
    name.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t code = 0;
        const int length = sequenceAt(bytes, at, code);
        if (length == 0) {
            name += QChar(static_cast<char16_t>(kEscape + static_cast<unsigned char>(bytes[at])));
            ++at;
            continue;
        }
        name += QString::fromUcs4(&code, 1);
        at += length;
    }
    return name;
}

QByteArray ToBytes(const QString& name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype from = 0;  // start of the run of ordinary characters not yet converted
    for (qsizetype i = 0; i <= name.size(); ++i) {
        const char16_t unit = i < name.size() ? name[i].unicode() : 0;
        const bool escaped = unit >= kEscape + 0x80 && unit <= kEscape + 0xFF &&
                             (i == 0 || !name[i - 1].isHighSurrogate());
        if (i < name.size() && !escaped)
            continue;
        bytes += QStringView(name).sliced(from, i - from).toUtf8();
        if (i < name.size())
            bytes += static_cast<char>(unit - kEscape);
        from = i + 1;
    }
    return bytes;
}

bool Exists(const QString& path) {
    struct stat info {};
    return ::stat(ToBytes(path).constData(), &info) == 0;
}

bool IsFolder(const QString& path) {
    struct stat info {};
    return ::stat(ToBytes(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakePath(const QString& path) {
    const QByteArray bytes = ToBytes(path);
    for (qsizetype slash = bytes.indexOf('/', 1); slash != -1;
         slash = bytes.indexOf('/', slash + 1))
        ::mkdir(bytes.left(slash).constData(), 0777);  // those there already fail harmlessly
    ::mkdir(bytes.constData(), 0777);
    return IsFolder(path);
}

void Write(QTextStream& stream, const QString& text) {
    if (stream.device() == nullptr) {
        stream << text;
        return;
    }
    stream.flush();
    stream.device()->write(ToBytes(text));
}

}  // namespace filename
