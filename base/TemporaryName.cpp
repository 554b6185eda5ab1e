#include "TemporaryName.h"

#include <cstring>

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

}  // namespace

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string temporaryNameFor(const std::string& path, long pid, unsigned n) {
    const std::string mark = kTemporaryMark + std::to_string(pid) + "-" + std::to_string(n);
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string name = path.substr(nameStart);
    if (name.size() + mark.size() > kMaxNameBytes) {
        name.resize(kMaxNameBytes > mark.size() ? kMaxNameBytes - mark.size() : 0);
    }
    return path.substr(0, nameStart) + name + mark;
}

long temporaryOwner(const std::string& name) {
    const size_t at = name.rfind(kTemporaryMark);
    if (at == std::string::npos) {
        return 0;
    }
    const size_t pidStart = at + std::strlen(kTemporaryMark);
    const size_t dash = name.find('-', pidStart);
    if (dash == std::string::npos || !allDigits(name, pidStart, dash) ||
        !allDigits(name, dash + 1, name.size()) || dash - pidStart > 9) {
        return 0;
    }
    return std::stol(name.substr(pidStart, dash - pidStart));
}

}  // namespace tessaro::files
