#include "TemporaryFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "FileError.h"
#include "StaleTemporaries.h"
#include "TemporaryName.h"

namespace tessaro::files {

namespace {

constexpr size_t kBufferBytes = 64 * 1024;
constexpr int kMaxLinks = 40;

// The file a chain of symbolic links ends at (which need not exist yet).
std::string followLinks(std::string path) {
    for (int depth = 0; depth < kMaxLinks; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::vector<char> target(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<size_t>(n) >= target.size()) {
            return path;
        }
        const std::string link(target.data(), static_cast<size_t>(n));
        path = link.front() == '/' ? link : folderOf(path) + "/" + link;
    }
    return path;
}

// Raises when `path` names anything but a regular file (a missing one is fine): replacing a
// folder, FIFO or device with a plain file would destroy what the name stood for.
void refuseNonRegular(const std::string& target, const std::string& shownAs) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        raiseNotRegularFile(shownAs, info.st_mode);
    }
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Makes a rename survive a crash; a folder that cannot be synced loses nothing but that.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Gives the finished file its name unless that name is taken: 0, or the errno (EEXIST when
// the name exists). Falls back to a hard link where the file system cannot rename that way.
int renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno;
    }
    ::unlink(from.c_str());
    return 0;
}

}  // namespace

TemporaryFile::TemporaryFile(std::string path, Existing existing, Errors errors)
    : path_(std::move(path)), existing_(existing), errors_(errors) {
    target_ = existing_ == Existing::Replace ? followLinks(path_) : path_;
    if (existing_ == Existing::Replace) {
        refuseNonRegular(target_, path_);
    }
    removeStaleTemporariesOnce(folderOf(target_));
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temporary_ =
            temporaryNameFor(target_, localMachineMark(), static_cast<long>(::getpid()), ++counter);
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd_ < 0) {
        const int error = errno;
        temporary_.clear();
        raise(error);
    }
    // A replaced file keeps its permissions, as an edit in place would.
    struct stat old {};
    if (existing_ == Existing::Replace && ::stat(target_.c_str(), &old) == 0 &&
        S_ISREG(old.st_mode)) {
        ::fchmod(fd_, old.st_mode & 07777);
    }
    buffer_.reserve(kBufferBytes);
}

void TemporaryFile::raise(int error) const {
    if (errors_ == Errors::AccessError) {
        raiseAccessError(error, path_);
    }
    raiseFileError(error, path_);
}

TemporaryFile::~TemporaryFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!published_ && !temporary_.empty()) {
        ::unlink(temporary_.c_str());
    }
}

void TemporaryFile::writeNow(const char* data, size_t size) {
    while (size > 0 && error_ == 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error_ = n < 0 ? errno : ENOSPC;
            return;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
}

void TemporaryFile::flush() {
    writeNow(buffer_.data(), buffer_.size());
    buffer_.clear();
}

void TemporaryFile::write(const void* data, size_t size) {
    if (error_ != 0 || fd_ < 0) {
        return;
    }
    const char* bytes = static_cast<const char*>(data);
    if (buffer_.size() + size > kBufferBytes) {
        flush();
    }
    if (size >= kBufferBytes) {
        writeNow(bytes, size);
    } else {
        buffer_.insert(buffer_.end(), bytes, bytes + size);
    }
}

int TemporaryFile::rename() {
    if (existing_ == Existing::Keep) {
        return renameNoReplace(temporary_, target_);
    }
    refuseNonRegular(target_, path_);  // it may have changed while the data was written
    return ::rename(temporary_.c_str(), target_.c_str()) == 0 ? 0 : errno;
}

bool TemporaryFile::publish(Sync sync) {
    if (fd_ < 0) {
        raise(published_ ? EALREADY : EBADF);
    }
    flush();
    // The data reaches the disk before the name does.
    if (error_ == 0 && sync == Sync::DataFirst && ::fdatasync(fd_) != 0) {
        error_ = errno;
    }
    if (::close(fd_) != 0 && error_ == 0) {
        error_ = errno;
    }
    fd_ = -1;
    if (error_ != 0) {
        raise(error_);
    }
    const int error = rename();
    if (error == 0) {
        published_ = true;
        if (sync == Sync::DataFirst) {
            syncFolder(folderOf(target_));
        }
        return true;
    }
    if (existing_ == Existing::Keep && error == EEXIST) {
        if (isFolder(target_)) {
            raise(EISDIR);
        }
        return false;
    }
    raise(error);
}

}  // namespace tessaro::files
