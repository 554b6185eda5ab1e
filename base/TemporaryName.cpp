#include "TemporaryName.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace tessaro::files {

namespace {

// Longest file name a Linux folder holds.
constexpr size_t kMaxNameBytes = 255;

bool allDigits(const std::string& text, size_t from, size_t to) {
    if (from >= to) {
        return false;
    }
    for (size_t i = from; i < to; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return true;
}

bool allHex(const std::string& text) {
    return text.size() == 8 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

std::string machineMark() {
    std::string boot;
    std::ifstream(std::string("/proc/sys/kernel/random/boot_id")) >> boot;
    char space[64] = {};
    const ssize_t n = ::readlink("/proc/self/ns/pid", space, sizeof space - 1);
    if (boot.empty() || n <= 0)
        return kUnknownMachine;
    // FNV-1a: the mark only has to differ between systems, not to keep a secret.
    uint32_t hash = 2166136261u;
    for (const char c : boot + std::string(space, static_cast<size_t>(n))) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    char text[9];
    std::snprintf(text, sizeof text, "%08x", hash);
    return text;
}

}  // namespace

const std::string& localMachineMark() {
    static const std::string mark = machineMark();
    return mark;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string temporaryNameFor(const std::string& path, const std::string& machine, long pid,
                             unsigned n) {
    const std::string mark =
        kTemporaryMark + machine + "-" + std::to_string(pid) + "-" + std::to_string(n);
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string name = path.substr(nameStart);
    if (name.size() + mark.size() > kMaxNameBytes) {
        name.resize(kMaxNameBytes > mark.size() ? kMaxNameBytes - mark.size() : 0);
    }
    return path.substr(0, nameStart) + name + mark;
}

TemporaryOwner temporaryOwner(const std::string& name) {
    const size_t at = name.rfind(kTemporaryMark);
    if (at == std::string::npos) {
        return {};
    }
    size_t pidStart = at + std::strlen(kTemporaryMark);
    TemporaryOwner owner;
    // "<machine>-<pid>-<n>", or "<pid>-<n>" from older runs.
    const size_t first = name.find('-', pidStart);
    if (first != std::string::npos && name.find('-', first + 1) != std::string::npos) {
        owner.machine = name.substr(pidStart, first - pidStart);
        if (!allHex(owner.machine)) {
            return {};
        }
        pidStart = first + 1;
    }
    const size_t dash = name.find('-', pidStart);
    if (dash == std::string::npos || !allDigits(name, pidStart, dash) ||
        !allDigits(name, dash + 1, name.size()) || dash - pidStart > 9) {
        return {};
    }
    owner.pid = std::stol(name.substr(pidStart, dash - pidStart));
    return owner.pid > 0 ? owner : TemporaryOwner{};
}

}  // namespace tessaro::files
