#pragma once

#include <string>

// Files are written under a temporary name beside their destination,
// "<destination name>.tessaro-tmp-<process id>-<number>", so that a later run can tell them
// from the user's own files and tell which process wrote them.
namespace tessaro::files {

inline constexpr const char* kTemporaryMark = ".tessaro-tmp-";

// The temporary name beside `path` for process `pid`, write number `n`. A destination name
// too long to take the mark is shortened so that the temporary name still fits a folder.
std::string temporaryNameFor(const std::string& path, long pid, unsigned n);

// The process id a temporary file name carries, or 0 when `name` is not such a name.
long temporaryOwner(const std::string& name);

// The folder part of `path` ("." for a bare name, "/" for a file in the root).
std::string folderOf(const std::string& path);

}  // namespace tessaro::files
