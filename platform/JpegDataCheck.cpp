#include "JpegDataCheck.h"

#include <jerror.h>

namespace picture {

JpegPlace JpegPlaceOf(const jpeg_decompress_struct& info, bool readingHeaders) {
    if (readingHeaders)
        return JpegPlace::Headers;
    return info.input_iMCU_row < info.total_iMCU_rows ? JpegPlace::Scan : JpegPlace::AfterScan;
}

bool JpegWarningIsHarmless(const jpeg_decompress_struct& info, JpegPlace place) {
    switch (info.err->msg_code) {
        // About the segments around the picture: an unknown colour transform code (read as
        // the usual one), a JFIF version from the future, a damaged colour profile (ignored).
        case JWRN_ADOBE_XFORM:
        case JWRN_JFIF_MAJOR:
        case JWRN_BOGUS_ICC:
        // Scan parameters a sequential scan has no use for.
        case JWRN_NOT_SEQUENTIAL:
            return true;
        // Stray bytes between header segments are skipped; inside or after a scan's data they
        // are data the scan did not use, or, before a restart marker, data it lost.
        case JWRN_EXTRANEOUS_DATA:
            return place == JpegPlace::Headers &&
                   (info.err->msg_parm.i[1] < JPEG_RST0 || info.err->msg_parm.i[1] > JPEG_RST0 + 7);
        default:
            return false;
    }
}

void JpegDataCheck::attach(jpeg_decompress_struct& info, const uint8_t* data, size_t size) {
    source_.check = this;
    source_.pub.next_input_byte = data;
    source_.pub.bytes_in_buffer = size;
    source_.pub.init_source = [](j_decompress_ptr) {};
    source_.pub.fill_input_buffer = fill;
    source_.pub.skip_input_data = skip;
    source_.pub.resync_to_restart = jpeg_resync_to_restart;
    source_.pub.term_source = [](j_decompress_ptr) {};
    info.src = &source_.pub;
    monitor_.check = this;
    monitor_.pub.progress_monitor = monitor;
    info.progress = &monitor_.pub;
}

boolean JpegDataCheck::fill(j_decompress_ptr info) {
    static const JOCTET kEnd[2] = {0xFF, JPEG_EOI};
    JpegDataCheck* check = reinterpret_cast<Source*>(info->src)->check;
    if (!check->ended_)
        check->endedInScan_ = JpegPlaceOf(*info, check->readingHeaders_) == JpegPlace::Scan;
    check->ended_ = true;
    info->src->next_input_byte = kEnd;
    info->src->bytes_in_buffer = sizeof kEnd;
    return TRUE;
}

void JpegDataCheck::skip(j_decompress_ptr info, long count) {
    while (count > static_cast<long>(info->src->bytes_in_buffer)) {
        count -= static_cast<long>(info->src->bytes_in_buffer);
        fill(info);
        // Past the end nothing is left to skip: the end marker is what follows.
        if (reinterpret_cast<Source*>(info->src)->check->ended_)
            return;
    }
    if (count > 0) {
        info->src->next_input_byte += count;
        info->src->bytes_in_buffer -= static_cast<size_t>(count);
    }
}

// Called before each step of reading a file of several scans: right after a scan's last
// block, the scan's components are still the current ones.
void JpegDataCheck::monitor(j_common_ptr common) {
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    JpegDataCheck* check = reinterpret_cast<Monitor*>(info->progress)->check;
    if (check->readingHeaders_ || info->input_iMCU_row < info->total_iMCU_rows)
        return;
    for (int i = 0; i < info->comps_in_scan && i < MAX_COMPS_IN_SCAN; ++i) {
        if (info->cur_comp_info[i] != nullptr)
            check->scannedComponents_ |= 1U << (info->cur_comp_info[i]->component_index & 31);
    }
}

// A progressive file has read all its scans by now: every coefficient of every component must
// have been brought to full precision by one of them.
void JpegDataCheck::beforeFinish(const jpeg_decompress_struct& info) {
    if (!info.progressive_mode || info.coef_bits == nullptr)
        return;
    for (int c = 0; c < info.num_components; ++c) {
        for (int k = 0; k < DCTSIZE2; ++k)
            unrefined_ = unrefined_ || info.coef_bits[c][k] != 0;
    }
}

bool JpegDataCheck::cutShort(const jpeg_decompress_struct& info) const {
    if (!ended_)
        return false;
    // The Huffman decoder warns itself when it misses data it needs; the arithmetic one reads
    // zeros instead, so the end of the data inside its scan is the end of the picture's data.
    if (info.arith_code && endedInScan_)
        return true;
    if (info.progressive_mode)
        return unrefined_;
    if (multipleScans_) {
        for (int c = 0; c < info.num_components; ++c) {
            if ((scannedComponents_ & (1U << c)) == 0)
                return true;
        }
    }
    return false;
}

}  // namespace picture
