#include "NewFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

NewFileResult writeNewFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        if (error == EEXIST && !isFolder(path)) {
            return NewFileResult::AlreadyExists;
        }
        raiseFileError(error == EEXIST ? EISDIR : error);
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            ::close(fd);
            ::unlink(path.c_str());
            raiseFileError(error);
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        raiseFileError(error);
    }
    return NewFileResult::Written;
}

}  // namespace tessaro::jpeg
