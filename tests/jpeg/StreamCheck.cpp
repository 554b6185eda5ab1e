#include "StreamCheck.h"

namespace tessaro::jpegtest {

std::vector<Segment> segmentsOf(const std::vector<uint8_t>& s) {
    std::vector<Segment> out;
    size_t p = 0;
    while (p + 1 < s.size()) {
        if (s[p] != 0xFF) {
            ADD_FAILURE() << "no marker at " << p;
            return out;
        }
        Segment seg;
        seg.marker = s[p + 1];
        seg.offset = p;
        if (seg.marker == 0xD8 || seg.marker == 0xD9) {
            seg.bytes.assign(s.begin() + static_cast<ptrdiff_t>(p),
                             s.begin() + static_cast<ptrdiff_t>(p + 2));
            out.push_back(seg);
            p += 2;
            continue;
        }
        const size_t length = (size_t{s[p + 2]} << 8) | s[p + 3];
        seg.bytes.assign(s.begin() + static_cast<ptrdiff_t>(p),
                         s.begin() + static_cast<ptrdiff_t>(std::min(s.size(), p + 2 + length)));
        out.push_back(seg);
        p += 2 + length;
        if (seg.marker == 0xDA) {
            // Coded data runs to the next marker that is not a stuffed zero.
            while (p + 1 < s.size() && !(s[p] == 0xFF && s[p + 1] != 0x00)) {
                ++p;
            }
        }
    }
    return out;
}

std::vector<Segment> segmentsWith(const std::vector<Segment>& all, int marker) {
    std::vector<Segment> out;
    for (const Segment& s : all) {
        if (s.marker == marker) {
            out.push_back(s);
        }
    }
    return out;
}

std::vector<uint8_t> encodeAndCheck(JpegEncoder& encoder, const Picture& picture,
                                    Decoded* decodedOut) {
    EXPECT_EQ(encoder.SampleHDC(*picture.dc, picture.width(), picture.height(), 0, 0), 0);
    std::vector<uint8_t> stream = encoder.EncodeStream();
    const Decoded decoded = decode(stream);
    EXPECT_EQ(decoded.error, "");
    EXPECT_EQ(decoded.warnings, 0);
    EXPECT_EQ(decoded.width, picture.width());
    EXPECT_EQ(decoded.height, picture.height());
    EXPECT_EQ(decoded.components, static_cast<int>(encoder.Components().size()));
    for (size_t c = 0; c < encoder.Components().size() && c < decoded.h.size(); ++c) {
        EXPECT_EQ(decoded.h[c], encoder.Components()[c].H);
        EXPECT_EQ(decoded.v[c], encoder.Components()[c].V);
    }
    if (decodedOut != nullptr) {
        *decodedOut = decoded;
    }
    return stream;
}

}  // namespace tessaro::jpegtest
