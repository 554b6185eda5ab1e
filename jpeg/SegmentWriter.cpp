#include "SegmentWriter.h"

#include "EncoderError.h"

namespace tessaro::jpeg {

namespace {

// Opens a segment at `start` when nothing of it has been written past its length field.
void openSegment(OutputBuffer& out, int32_t start, int32_t marker) {
    if (out.position() < start + 4) {
        WriteMarker(out, marker);
        out.put16(0);
    }
}

void closeSegment(OutputBuffer& out, int32_t start) {
    out.patch16(start + 2, out.position() - start - 2);
}

}  // namespace

void WriteMarker(OutputBuffer& out, int32_t code) {
    out.putByte(0xFF);
    out.putByte(code);
}

void WriteJfifHeader(OutputBuffer& out) {
    static const uint8_t kApp0[18] = {0xFF, 0xE0, 0x00, 0x10, 'J',  'F',  'I',  'F',  0x00,
                                      0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00};
    out.putBytes(kApp0, sizeof kApp0);
}

void WriteComment(OutputBuffer& out, const std::string& comment) {
    if (comment.empty()) {
        return;
    }
    WriteMarker(out, kMarkerCom);
    out.put16(static_cast<int32_t>(comment.size()) + 2);
    out.putBytes(reinterpret_cast<const uint8_t*>(comment.data()), comment.size());
}

void WriteQuantTable(OutputBuffer& out, int32_t start, int32_t number, const QuantTable& table,
                     int32_t precision) {
    bool wide = false;
    for (int16_t v : table.Values) {
        wide = wide || v > 255;
    }
    if (wide && precision != 12) {
        raiseEncoderError(kIllegalQuantPrecision);
    }
    openSegment(out, start, kMarkerDqt);
    out.putByte((wide ? 16 : 0) + number);
    for (int16_t v : table.Values) {
        if (wide) {
            out.put16(v);
        } else {
            out.putByte(v);
        }
    }
    closeSegment(out, start);
}

void WriteHuffmanTable(OutputBuffer& out, int32_t start, int32_t number, bool ac,
                       const HuffmanTable& table) {
    openSegment(out, start, kMarkerDht);
    out.putByte((ac ? 16 : 0) + number);
    out.putBytes(table.Bits.data(), table.Bits.size());
    out.putBytes(table.HuffVal.data(), static_cast<size_t>(table.symbolCount()));
    closeSegment(out, start);
}

void WriteFrameHeader(OutputBuffer& out, int32_t code, int32_t precision, int32_t width,
                      int32_t height, const std::vector<Component>& components) {
    const auto count = static_cast<int32_t>(components.size());
    WriteMarker(out, code);
    out.put16(8 + 3 * count);
    out.putByte(precision);
    out.put16(height);
    out.put16(width);
    out.putByte(count);
    for (const Component& c : components) {
        out.putByte(c.Id);
        out.putByte(c.H * 16 + c.V);
        out.putByte(c.Tq);
    }
}

void WriteScanHeader(OutputBuffer& out, const std::vector<Component>& components,
                     const ScanGroup& group) {
    const auto count = static_cast<int32_t>(group.size());
    WriteMarker(out, kMarkerSos);
    out.put16(6 + 2 * count);
    out.putByte(count);
    for (int32_t index : group) {
        const Component& c = components[static_cast<size_t>(index)];
        out.putByte(c.Id);
        out.putByte(c.Td * 16 + c.Ta);
    }
    out.putByte(0);
    out.putByte(63);
    out.putByte(0);
}

}  // namespace tessaro::jpeg
