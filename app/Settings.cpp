#include "Settings.h"

#include <QtEndian>
#include <algorithm>

#include "Cp1252.h"

namespace settingsrecord {

namespace {

void put32(QByteArray& out, int32_t v) {
    char b[4];
    qToLittleEndian<qint32>(v, b);
    out.append(b, 4);
}

void put16(QByteArray& out, int16_t v) {
    char b[2];
    qToLittleEndian<qint16>(v, b);
    out.append(b, 2);
}

void putBool(QByteArray& out, bool v) {
    put16(out, v ? -1 : 0);
}

// Reads the record field by field while bytes remain. The first field cut short ends the
// reading: it and every later field keep their values, so no field is ever taken from the
// leftover bytes of another.
class Reader {
  public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}

    void read32(int32_t& v) {
        if (!take(4))
            return;
        v = qFromLittleEndian<qint32>(bytes_.constData() + pos_ - 4);
    }
    void read16(int16_t& v) {
        if (!take(2))
            return;
        v = qFromLittleEndian<qint16>(bytes_.constData() + pos_ - 2);
    }
    void readBool(bool& v) {
        int16_t raw = v ? -1 : 0;
        read16(raw);
        v = raw != 0;
    }
    bool has(qsizetype n) const { return !stopped_ && bytes_.size() - pos_ >= n; }
    qsizetype position() const { return pos_; }
    QByteArray rest(qsizetype n) const {
        return bytes_.mid(pos_, std::min(n, bytes_.size() - pos_));
    }

  private:
    bool take(qsizetype n) {
        stopped_ = !has(n);
        if (!stopped_)
            pos_ += n;
        return !stopped_;
    }

    const QByteArray& bytes_;
    qsizetype pos_ = 0;
    bool stopped_ = false;
};

}  // namespace

QByteArray encode(const Settings& s) {
    QByteArray comment = cp1252::fromUnicode(s.Comment);
    if (comment.size() > kMaxCommentBytes)
        comment.truncate(kMaxCommentBytes);
    QByteArray out;
    out.reserve(kFixedSize + comment.size());
    put32(out, s.FormLeft);
    put32(out, s.FormTop);
    put32(out, s.Reserved1);
    put32(out, s.Reserved2);
    put32(out, s.Quality);
    put32(out, s.Reserved3);
    put32(out, s.SampleH);
    put32(out, s.SampleV);
    put32(out, s.SubSampleIndex);
    putBool(out, s.GreyscaleOn);
    putBool(out, s.NameWithSize);
    putBool(out, s.KeepProportions);
    putBool(out, s.LockHeight);
    putBool(out, s.LockWidth);
    putBool(out, s.StayOnTop);
    put16(out, static_cast<int16_t>(comment.size()));
    out.append(comment);
    return out;
}

int decode(const QByteArray& bytes, Settings& s) {
    Reader r(bytes);
    r.read32(s.FormLeft);
    r.read32(s.FormTop);
    r.read32(s.Reserved1);
    r.read32(s.Reserved2);
    r.read32(s.Quality);
    r.read32(s.Reserved3);
    r.read32(s.SampleH);
    r.read32(s.SampleV);
    r.read32(s.SubSampleIndex);
    r.readBool(s.GreyscaleOn);
    r.readBool(s.NameWithSize);
    r.readBool(s.KeepProportions);
    r.readBool(s.LockHeight);
    r.readBool(s.LockWidth);
    r.readBool(s.StayOnTop);
    if (!r.has(2))
        return static_cast<int>(r.position());
    int16_t length = 0;
    r.read16(length);
    s.Comment = length > 0 ? cp1252::toUnicode(r.rest(length)) : QString();
    return kFixedSize;
}

}  // namespace settingsrecord
