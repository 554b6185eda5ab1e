#pragma once

#include <QFile>
#include <QIODevice>

// An open file read without a buffer of its own, that notes where reading runs into the end: a
// reader that asks for bytes the file does not have. Qt's bitmap reader goes on regardless
// and leaves what it did not read unset. It also notes where the first single byte was read:
// where the bitmap reader starts on run-length coded pixels, which it reads byte by byte.
class WatchedFile : public QIODevice {
  public:
    // `file` is open for reading and outlives this device, which reads it from its start.
    explicit WatchedFile(QFile& file) : file_(file) {}

    bool open(OpenMode mode) override;
    void close() override;
    bool isSequential() const override { return false; }
    qint64 size() const override { return file_.size(); }
    bool seek(qint64 pos) override;

    // Since the last forget(): whether a read ran into the end, and the first byte read alone.
    bool ranShort() const { return ranShort_; }
    qint64 firstSingleByte() const { return firstSingleByte_; }
    void forget() {
        ranShort_ = false;
        firstSingleByte_ = -1;
    }

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QFile& file_;
    bool ranShort_ = false;
    qint64 firstSingleByte_ = -1;
};
