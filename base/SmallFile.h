#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tessaro::files {

// A small file of the program's own (settings, choices), read whole.
struct SmallFile {
    std::string bytes;        // at most the limit asked for
    bool largerThan = false;  // the file holds more than the limit
};

// Reads up to `limit` bytes of `path`. Opened without waiting for a writer and checked once
// open, so that a FIFO or device never blocks the start nor feeds endless bytes: only a
// regular file is read. Nothing when the file is missing, unreadable or not a regular file;
// `notRegular` then tells the last case apart.
std::optional<SmallFile> ReadSmallFile(const std::string& path, size_t limit,
                                       bool* notRegular = nullptr);

}  // namespace tessaro::files
