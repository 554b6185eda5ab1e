#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tessaro::files {

// A file written under a temporary name beside its destination (see TemporaryName.h) and
// given the destination's name only once it is complete and on the disk, so that a crash or
// a full disk never leaves a half file under that name. Until `publish` succeeds, the
// destructor removes the temporary file.
//
// Every failure raises a file error naming the destination and the system's reason
// (FileError.h): by its cause (76, 61, 75), or always 75 for writers that promise that.
class TemporaryFile {
  public:
    enum class Existing {
        // An existing regular file is replaced whole; a link is followed to its file and kept.
        // Anything else (a folder, FIFO or device, or a link to one) is refused and left.
        Replace,
        Keep,  // an existing file (or link, or one that appears meanwhile) is left alone
    };

    enum class Errors {
        ByCause,      // raiseFileError
        AccessError,  // raiseAccessError
    };

    // Creates the temporary file beside `path`, first removing the temporary files that
    // runs which are gone left in that folder.
    TemporaryFile(std::string path, Existing existing, Errors errors = Errors::ByCause);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Appends bytes (buffered). After a failure further bytes are dropped; `publish` raises
    // the failure.
    void write(const void* data, size_t size);
    bool failed() const { return error_ != 0; }

    enum class Sync {
        DataFirst,  // the data reaches the disk before the name does, and the name after it
        None,       // for scratch files nothing relies on after a crash: no waiting for the disk
    };

    // Writes what is buffered, flushes the data to the disk and renames the file into place.
    // Returns false only with Existing::Keep when the destination exists (nothing changes).
    bool publish(Sync sync = Sync::DataFirst);

    const std::string& temporaryPath() const { return temporary_; }

  private:
    [[noreturn]] void raise(int error) const;
    void flush();
    void writeNow(const char* data, size_t size);
    int rename();

    std::string path_;    // as the caller named it, for messages
    std::string target_;  // the file that gets the bytes (links followed when replacing)
    std::string temporary_;
    Existing existing_;
    Errors errors_;
    int fd_ = -1;
    int error_ = 0;
    bool published_ = false;
    std::vector<char> buffer_;
};

}  // namespace tessaro::files
