#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaro::jpeg {

enum class NewFileResult { Written, AlreadyExists };

// Whether something of that name exists (a file, a link, or anything else but a folder).
bool fileExists(const std::string& path);

// Writes the bytes to a temporary file beside `path`, flushes them to the disk and renames
// the file into place only if no file of that name exists by then: an existing file, or one
// that appears meanwhile, is left alone (AlreadyExists). A failed or interrupted write never
// leaves a file under `path`. Failures raise tessaro::RuntimeError with the run-time's file
// error numbers, the path and the system's reason ("Path/File access error: PATH (REASON)").
NewFileResult writeNewFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace tessaro::jpeg
