#pragma once

#include <string>

namespace tessaro::files {

// The system's own words for an errno value, e.g. "No space left on device".
std::string reasonFor(int error);

// Raises the run-time's file error for the errno value `error`, naming `path` and the
// system's reason: 76 "Path not found", 61 "Disk full", 7 "Out of memory", and 75
// "Path/File access error" for everything else. The text is "<run-time text>: <path>
// (<reason>)", so that the number and text a caller matches on stay at the front.
[[noreturn]] void raiseFileError(int error, const std::string& path);

// The same with the one number a component documents for every write failure: 75
// "Path/File access error: <path> (<reason>)"; only running out of memory stays error 7.
[[noreturn]] void raiseAccessError(int error, const std::string& path);

// What a file of type `mode` (st_mode) is, for messages: "a folder", "a FIFO", "a device", ...
std::string fileKind(unsigned mode);

// Refuses to replace `path`, which is `fileKind(mode)` instead of a regular file: 75
// "Path/File access error: <path> (<kind>, not a regular file: left as it is)".
[[noreturn]] void raiseNotRegularFile(const std::string& path, unsigned mode);

}  // namespace tessaro::files
