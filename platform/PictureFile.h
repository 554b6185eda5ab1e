#pragma once

#include <QFile>
#include <QString>
#include <memory>

namespace picture {

// Opens the picture file `path` for reading. Only a regular file is read: the type is checked
// on the open descriptor, which is opened without waiting, so that a FIFO or device among the
// dropped files never holds up the batch (a FIFO would wait for a writer for ever). Raises
// RuntimeError 481 "Invalid picture: <name> (<why>)": "file not found", "a folder, not a
// regular file", "a FIFO, not a regular file", or the system's reason.
// The message names the file as `shownAs`, by default the name part of `path`.
std::unique_ptr<QFile> OpenPictureFile(const QString& path, const QString& shownAs = {});

// The name part of `path`, for messages.
QString FileNameOf(const QString& path);

// Raises RuntimeError 481 "Invalid picture: <name of path> (<why>)".
[[noreturn]] void RaiseInvalidPicture(const QString& path, const QString& why);

}  // namespace picture
