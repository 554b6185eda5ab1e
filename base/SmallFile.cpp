#include "SmallFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tessaro::files {

std::optional<SmallFile> ReadSmallFile(const std::string& path, size_t limit, bool* notRegular) {
    if (notRegular != nullptr)
        *notRegular = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        if (notRegular != nullptr)
            *notRegular = true;
        return std::nullopt;
    }
    SmallFile file;
    file.bytes.resize(limit);
    size_t done = 0;
    while (done < limit) {
        const ssize_t n = ::read(fd, file.bytes.data() + done, limit - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    file.bytes.resize(done);
    char more = 0;
    ssize_t n = 0;
    do {
        n = ::read(fd, &more, 1);
    } while (n < 0 && errno == EINTR);
    file.largerThan = n == 1;
    ::close(fd);
    return file;
}

}  // namespace tessaro::files
