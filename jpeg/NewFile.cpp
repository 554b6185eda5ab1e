#include "NewFile.h"

#include <sys/stat.h>

#include "TemporaryFile.h"

namespace tessaro::jpeg {

bool fileExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

NewFileResult writeNewFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    // The bytes go to a temporary file first, so an interrupted write never leaves a half
    // file under the real name; the rename then refuses to replace anything.
    files::TemporaryFile file(path, files::TemporaryFile::Existing::Keep);
    file.write(bytes.data(), bytes.size());
    return file.publish() ? NewFileResult::Written : NewFileResult::AlreadyExists;
}

}  // namespace tessaro::jpeg
