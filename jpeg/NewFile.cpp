#include "NewFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "RuntimeError.h"

namespace tessaro::jpeg {

namespace {

[[noreturn]] void raiseFileError(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            throw RuntimeError(err::kPathNotFound, "Path not found");
        case ENOSPC:
        case EDQUOT:
            throw RuntimeError(61, "Disk full");
        case ENOMEM:
            err::raiseOutOfMemory();
        default:
            throw RuntimeError(err::kFileAccess, "Path/File access error");
    }
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool fileExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

namespace {

// Writes all bytes to `fd`; returns 0 or the errno of the failure.
int writeAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? errno : ENOSPC;
        }
        done += static_cast<size_t>(n);
    }
    return 0;
}

// Creates a new, empty file beside `path` under a name nobody uses; the umask applies.
int createTemporary(const std::string& path, std::string& temporary) {
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Gives the finished file its name unless that name is taken: 0, or the errno (EEXIST when
// the name exists). Falls back to a hard link where the file system cannot rename that way.
int publishNoReplace(const std::string& temporary, const std::string& path) {
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    if (::link(temporary.c_str(), path.c_str()) != 0) {
        return errno;
    }
    ::unlink(temporary.c_str());
    return 0;
}

}  // namespace

NewFileResult writeNewFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    // The bytes go to a temporary file first, so an interrupted write never leaves a half
    // file under the real name; the rename then refuses to replace anything.
    std::string temporary;
    const int fd = createTemporary(path, temporary);
    if (fd < 0) {
        raiseFileError(errno);
    }
    int error = writeAll(fd, bytes);
    // The data reaches the disk before the name does, so a crash never leaves an empty or
    // partial file under the output's name.
    if (error == 0 && ::fdatasync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0) {
        error = publishNoReplace(temporary, path);
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        if (error == EEXIST && !isFolder(path)) {
            return NewFileResult::AlreadyExists;
        }
        raiseFileError(error == EEXIST ? EISDIR : error);
    }
    return NewFileResult::Written;
}

}  // namespace tessaro::jpeg
