#include "StaleTemporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <mutex>
#include <set>

#include "TemporaryName.h"

namespace tessaro::files {

namespace {

// Whether a process of this system and id space runs with `pid` (EPERM: under another user).
bool processRuns(long pid) {
    return pid == static_cast<long>(::getpid()) || ::kill(static_cast<pid_t>(pid), 0) == 0 ||
           errno != ESRCH;
}

}  // namespace

int removeStaleTemporaries(const std::string& folder, std::chrono::seconds quiet) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return 0;
    }
    const int dirFd = ::dirfd(dir);
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const TemporaryOwner owner = temporaryOwner(name);
        if (owner.pid <= 0 || processRuns(owner.pid)) {
            continue;
        }
        struct stat info {};
        if (::fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode)) {
            continue;
        }
        // Only a writer of this system is known to be gone; any other may still be writing.
        const bool gone = owner.machine == localMachineMark() && owner.machine != kUnknownMachine;
        if (!gone && now - info.st_mtime < quiet.count()) {
            continue;
        }
        if (::unlinkat(dirFd, name.c_str(), 0) == 0) {
            ++removed;
        }
    }
    ::closedir(dir);
    return removed;
}

void removeStaleTemporariesOnce(const std::string& folder) {
    static std::mutex mutex;
    static std::set<std::string> tidied;
    {
        std::lock_guard lock(mutex);
        if (!tidied.insert(folder).second) {
            return;
        }
    }
    removeStaleTemporaries(folder, std::chrono::minutes(2));
}

}  // namespace tessaro::files
