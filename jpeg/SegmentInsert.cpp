#include "SegmentInsert.h"

#include <cstring>

#include "RuntimeError.h"

namespace tessaro::jpeg {

namespace {

// Where the segment goes: past SOI, and past a JFIF APP0 segment that follows it.
size_t insertionPoint(const std::vector<uint8_t>& file) {
    if (file.size() < 2 || file[0] != 0xFF || file[1] != 0xD8)
        err::raiseInvalidCall();
    static const uint8_t kJfif[5] = {'J', 'F', 'I', 'F', 0};
    size_t at = 2;
    if (file.size() - at < 4 || file[at] != 0xFF || file[at + 1] != 0xE0)
        return at;
    const size_t length = size_t{file[at + 2]} << 8 | file[at + 3];
    if (length < 2 || file.size() - at - 2 < length)
        err::raiseInvalidCall();
    if (length - 2 < sizeof kJfif || std::memcmp(&file[at + 4], kJfif, sizeof kJfif) != 0)
        return at;
    return at + 2 + length;
}

}  // namespace

void InsertSegment(std::vector<uint8_t>& file, uint8_t marker, const uint8_t* body, size_t size) {
    if (size > kMaxSegmentBody || (size > 0 && body == nullptr))
        err::raiseInvalidCall();
    const size_t at = insertionPoint(file);
    const size_t length = size + 2;
    const uint8_t head[4] = {0xFF, marker, static_cast<uint8_t>(length >> 8),
                             static_cast<uint8_t>(length & 0xFF)};
    std::vector<uint8_t> segment;
    segment.reserve(sizeof head + size);
    segment.insert(segment.end(), head, head + sizeof head);
    segment.insert(segment.end(), body, body + size);
    file.insert(file.begin() + static_cast<std::ptrdiff_t>(at), segment.begin(), segment.end());
}

}  // namespace tessaro::jpeg
