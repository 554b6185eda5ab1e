#pragma once

#include <QStringList>

// Collects the warnings Qt's picture decoders raise on this thread while it lives. A decoder
// that meets corrupt or missing data warns and still hands back a picture, half of it grey;
// the warnings are how the caller learns that the picture is damaged.
class DecoderWarnings {
  public:
    DecoderWarnings();
    ~DecoderWarnings();
    DecoderWarnings(const DecoderWarnings&) = delete;
    DecoderWarnings& operator=(const DecoderWarnings&) = delete;

    const QStringList& messages() const { return messages_; }

  private:
    friend class DecoderWarningsSink;
    QStringList messages_;
    DecoderWarnings* outer_;
};
