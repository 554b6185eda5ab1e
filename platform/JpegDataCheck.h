#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>

// libjpeg's headers want <cstdio> before them.
#include <jpeglib.h>

// What a libjpeg-turbo decoder's complaints mean for the pixels. Some only say that something
// around the picture was odd (stray bytes between header segments, an unknown APP14 code, a
// missing end marker): the picture is still complete and exact. The others mean that pixels
// are missing or made up. The same code can be either; where the decoder stands in the data
// decides. Any way of decoding a JPEG file calls these with its decoder's state.
namespace picture {

// Where a decoder stands in the data.
enum class JpegPlace {
    Headers,    // before the first scan: markers and segments only
    Scan,       // inside a scan's data, some of its blocks still to come
    AfterScan,  // after a scan's last block, reading the markers that follow it
};

// Where `info` stands; `readingHeaders` while jpeg_read_header runs.
JpegPlace JpegPlaceOf(const jpeg_decompress_struct& info, bool readingHeaders);

// Whether the warning `info` just raised (its err->msg_code and parameters) leaves the picture
// complete and exact when raised at `place`. Unknown warnings are damage.
bool JpegWarningIsHarmless(const jpeg_decompress_struct& info, JpegPlace place);

// A source manager over bytes in memory that, at their end, supplies an end marker and notes
// where the decoder stood, and a progress monitor that notes which components a complete scan
// covered. A decoder that reads past the end of the bytes zero-fills (arithmetic coding) or
// ends the picture (between scans) without a word, so after the decoding, cutShort() says
// whether the bytes ended before the picture did. Attach after jpeg_create_decompress; it
// must outlive the decompression.
class JpegDataCheck {
  public:
    void attach(jpeg_decompress_struct& info, const uint8_t* data, size_t size);
    // Bracket jpeg_read_header.
    void startHeaders() { readingHeaders_ = true; }
    void endHeaders(const jpeg_decompress_struct& info) {
        readingHeaders_ = false;
        multipleScans_ = info.progressive_mode || info.comps_in_scan < info.num_components;
    }
    bool readingHeaders() const { return readingHeaders_; }

    // Right before jpeg_finish_decompress, which frees what a progressive file's scans left.
    void beforeFinish(const jpeg_decompress_struct& info);
    // After jpeg_finish_decompress: whether the data ended before the end of the image. Only
    // its end marker missing is not cut short, but it is noted by endMarkerMissing().
    bool cutShort(const jpeg_decompress_struct& info) const;
    bool endMarkerMissing() const { return ended_; }

  private:
    static boolean fill(j_decompress_ptr info);
    static void skip(j_decompress_ptr info, long count);
    static void monitor(j_common_ptr info);

    struct Source {
        jpeg_source_mgr pub;
        JpegDataCheck* check;
    };
    struct Monitor {
        jpeg_progress_mgr pub;
        JpegDataCheck* check;
    };

    Source source_{};
    Monitor monitor_{};
    bool readingHeaders_ = false;
    bool multipleScans_ = false;
    bool ended_ = false;              // the end marker was supplied
    bool endedInScan_ = false;        // ... while a scan's blocks were still to come
    unsigned scannedComponents_ = 0;  // bit c: component c had a complete scan
    bool unrefined_ = false;          // some coefficient never reached full precision
};

}  // namespace picture
