#include <cmath>
#include <new>

#include "CheckedMath.h"
#include "EncoderError.h"
#include "HuffmanStatistics.h"
#include "JpegEncoder.h"
#include "NewFile.h"
#include "ScanGrouping.h"
#include "ScanWriter.h"
#include "SegmentWriter.h"

namespace tessaro {

using namespace jpeg;

std::vector<uint8_t> JpegEncoder::EncodeStream() {
    try {
        return encode();
    } catch (const std::bad_alloc&) {
        err::raiseOutOfMemory();
    }
}

std::vector<uint8_t> JpegEncoder::encode() {
    // Component 0 uses tables 0, the chroma components tables 1.
    for (size_t i = 0; i < components_.size(); ++i) {
        components_[i].Td = i == 0 ? 0 : 1;
        components_[i].Ta = i == 0 ? 0 : 1;
    }
    const FrameGeometry frame{width_, height_, hmax_, vmax_, precision_};
    const int64_t estimate = OptimizeTables(components_, frame, dcTables_, acTables_);

    const double wanted =
        static_cast<double>(estimate) * 1.3 + 1000.0 + static_cast<double>(comment_.size());
    OutputBuffer out(static_cast<size_t>(checked::round32(wanted)) + 1);

    WriteMarker(out, kMarkerSoi);
    WriteJfifHeader(out);
    WriteComment(out, comment_);
    WriteQuantTable(out, out.position(), 0, quantTables_[0], precision_);
    if (components_.size() == 3) {
        WriteQuantTable(out, out.position(), 1, quantTables_[1], precision_);
    }
    WriteFrameHeader(out, kMarkerSof0, precision_, width_, height_, components_);
    WriteHuffmanTable(out, out.position(), 0, false, dcTables_[0]);
    WriteHuffmanTable(out, out.position(), 0, true, acTables_[0]);
    if (components_.size() == 3) {
        WriteHuffmanTable(out, out.position(), 1, false, dcTables_[1]);
        WriteHuffmanTable(out, out.position(), 1, true, acTables_[1]);
    }
    const McuLayout layout = mcuLayout(width_, height_, hmax_, vmax_);
    for (const ScanGroup& group : groupScans(components_)) {
        WriteScanHeader(out, components_, group);
        if (group.size() == 1) {
            const Component& c = components_[static_cast<size_t>(group[0])];
            WriteSingleScan(out, c, dcTables_[static_cast<size_t>(c.Td)],
                            acTables_[static_cast<size_t>(c.Ta)]);
        } else {
            WriteInterleavedScan(out, components_, group, layout, dcTables_, acTables_);
        }
    }
    WriteMarker(out, kMarkerEoi);
    return out.take();
}

int32_t JpegEncoder::SaveFile(const std::string& sFileName) {
    if (sFileName.empty()) {
        return 1;
    }
    if (fileExists(sFileName)) {
        return 2;
    }
    const std::vector<uint8_t> bytes = EncodeStream();
    return writeNewFile(sFileName, bytes) == NewFileResult::Written ? 0 : 2;
}

}  // namespace tessaro
