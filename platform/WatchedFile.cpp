#include "WatchedFile.h"

bool WatchedFile::open(OpenMode mode) {
    if (!file_.isOpen() || !file_.seek(0))
        return false;
    return QIODevice::open(mode | QIODevice::Unbuffered);
}

void WatchedFile::close() {
    QIODevice::close();
}

bool WatchedFile::seek(qint64 pos) {
    return QIODevice::seek(pos) && file_.seek(pos);
}

qint64 WatchedFile::readData(char* data, qint64 maxSize) {
    const qint64 at = file_.pos();
    const qint64 n = file_.read(data, maxSize);
    if (maxSize == 1 && firstSingleByte_ < 0)
        firstSingleByte_ = at;
    if (n < maxSize)
        ranShort_ = true;
    return n;
}
