#pragma once

#include <chrono>
#include <string>

namespace tessaro::files {

// Removes from `folder` the temporary files (see TemporaryName.h) that a process left behind
// when it was killed part-way through a write: those whose process no longer runs on this
// machine and that nothing has written to for `quiet` or longer. The quiet time spares a
// live writer that this machine cannot see (another machine or container writing into a
// shared folder). Files of live processes, links, folders and the user's own files are never
// touched. Returns how many were removed.
int removeStaleTemporaries(const std::string& folder, std::chrono::seconds quiet);

// The same once per folder and process, with a quiet time of two minutes: the first write
// into a folder tidies it.
void removeStaleTemporariesOnce(const std::string& folder);

}  // namespace tessaro::files
