#pragma once

#include <string>

namespace tessaro::files {

// Gives `to` the modification time of `from`, to the nanosecond; its access time is left as
// it is. Raises the file error of the call that failed, naming the file it failed on.
void CopyModificationTime(const std::string& from, const std::string& to);

}  // namespace tessaro::files
