#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaro::jpeg {

enum class NewFileResult { Written, AlreadyExists };

// Whether something of that name exists (a file, a link, or anything else but a folder).
bool fileExists(const std::string& path);

// Creates the file exclusively and writes the bytes. A file that exists, or appears before
// the creation, is left alone (AlreadyExists). A failed write removes the partial file.
// Failures raise tessaro::RuntimeError with the run-time's file error numbers.
NewFileResult writeNewFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace tessaro::jpeg
