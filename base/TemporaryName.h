#pragma once

#include <string>

// Files are written under a temporary name beside their destination,
// "<destination name>.tessaro-tmp-<machine>-<process id>-<number>", so that a later run can
// tell them from the user's own files and tell which process wrote them. <machine> names the
// running system and process-id space the id belongs to (8 hex digits); only there does the id
// say whether the writer is still alive.
namespace tessaro::files {

inline constexpr const char* kTemporaryMark = ".tessaro-tmp-";

// The writer a temporary name carries: `machine` is empty for names of older runs, which
// carried the process id alone.
struct TemporaryOwner {
    std::string machine;
    long pid = 0;
};

inline constexpr const char* kUnknownMachine = "00000000";

// This system's machine mark: from the boot's identity and the process-id namespace, so that
// another machine, container or boot has another one. kUnknownMachine when they cannot be read.
const std::string& localMachineMark();

// The temporary name beside `path` for process `pid` on `machine`, write number `n`. A
// destination name too long to take the mark is shortened so that the temporary name still
// fits a folder.
std::string temporaryNameFor(const std::string& path, const std::string& machine, long pid,
                             unsigned n);

// The writer a temporary file name carries; pid 0 when `name` is not such a name.
TemporaryOwner temporaryOwner(const std::string& name);

// The folder part of `path` ("." for a bare name, "/" for a file in the root).
std::string folderOf(const std::string& path);

}  // namespace tessaro::files
