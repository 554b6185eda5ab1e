#include "FileError.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "RuntimeError.h"

namespace tessaro::files {

namespace {

// strerror_r comes in two shapes (GNU returns the text, POSIX fills the buffer); both are
// thread-safe, unlike strerror.
[[maybe_unused]] std::string described(const char* text, const char*) {
    return text;
}
[[maybe_unused]] std::string described(int result, const char* buffer) {
    return result == 0 ? std::string(buffer) : std::string();
}

}  // namespace

std::string reasonFor(int error) {
    char buffer[256] = {};
    std::string text = described(::strerror_r(error, buffer, sizeof buffer), buffer);
    return text.empty() ? "error " + std::to_string(error) : text;
}

void raiseFileError(int error, const std::string& path) {
    if (error == ENOMEM) {
        err::raiseOutOfMemory();
    }
    int number = err::kFileAccess;
    const char* text = "Path/File access error";
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            number = err::kPathNotFound;
            text = "Path not found";
            break;
        case ENOSPC:
        case EDQUOT:
            number = err::kDiskFull;
            text = "Disk full";
            break;
        default:
            break;
    }
    throw RuntimeError(number, std::string(text) + ": " + path + " (" + reasonFor(error) + ")");
}

void raiseAccessError(int error, const std::string& path) {
    if (error == ENOMEM) {
        err::raiseOutOfMemory();
    }
    throw RuntimeError(err::kFileAccess,
                       "Path/File access error: " + path + " (" + reasonFor(error) + ")");
}

std::string fileKind(unsigned mode) {
    switch (mode & S_IFMT) {
        case S_IFREG:
            return "a regular file";
        case S_IFDIR:
            return "a folder";
        case S_IFIFO:
            return "a FIFO";
        case S_IFCHR:
        case S_IFBLK:
            return "a device";
        case S_IFSOCK:
            return "a socket";
        case S_IFLNK:
            return "a symbolic link";
        default:
            return "not a file";
    }
}

void raiseNotRegularFile(const std::string& path, unsigned mode) {
    throw RuntimeError(err::kFileAccess, "Path/File access error: " + path + " (" + fileKind(mode) +
                                             ", not a regular file: left as it is)");
}

}  // namespace tessaro::files
