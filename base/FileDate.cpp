#include "FileDate.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "FileError.h"

namespace tessaro::files {

void CopyModificationTime(const std::string& from, const std::string& to) {
    struct stat source {};
    if (::stat(from.c_str(), &source) != 0)
        raiseAccessError(errno, from);
    const struct timespec times[2] = {{0, UTIME_OMIT}, source.st_mtim};
    if (::utimensat(AT_FDCWD, to.c_str(), times, 0) != 0)
        raiseAccessError(errno, to);
}

}  // namespace tessaro::files
