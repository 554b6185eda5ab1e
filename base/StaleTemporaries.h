#pragma once

#include <chrono>
#include <string>

namespace tessaro::files {

// Removes from `folder` the temporary files (see TemporaryName.h) that a process left behind
// when it was killed part-way through a write. A file of this system whose process no longer
// runs goes at once. Where the process cannot be told (a file another machine, container or
// boot wrote into a shared folder, or an older run's name), the file goes only once nothing has
// written to it for `quiet` or longer, which spares a live writer this system cannot see.
// Files of live processes, links, folders and the user's own files are never touched. Returns
// how many were removed.
int removeStaleTemporaries(const std::string& folder, std::chrono::seconds quiet);

// The same once per folder and process, with a quiet time of two minutes: the first write
// into a folder tidies it.
void removeStaleTemporariesOnce(const std::string& folder);

}  // namespace tessaro::files
