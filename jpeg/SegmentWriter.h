#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Component.h"
#include "HuffmanTable.h"
#include "OutputBuffer.h"
#include "QuantTables.h"
#include "ScanGrouping.h"

namespace tessaro::jpeg {

inline constexpr int kMarkerSoi = 0xD8;
inline constexpr int kMarkerEoi = 0xD9;
inline constexpr int kMarkerSof0 = 0xC0;
inline constexpr int kMarkerDht = 0xC4;
inline constexpr int kMarkerDqt = 0xDB;
inline constexpr int kMarkerSos = 0xDA;
inline constexpr int kMarkerCom = 0xFE;
inline constexpr int kMarkerApp0 = 0xE0;

void WriteMarker(OutputBuffer& out, int32_t code);
// APP0 "JFIF" 1.01, no density unit, aspect 1:1, no thumbnail.
void WriteJfifHeader(OutputBuffer& out);
// COM segment of the comment's bytes; nothing for an empty comment.
void WriteComment(OutputBuffer& out, const std::string& comment);
// Appends table `number` to the segment that starts at `start`, opening the segment when
// the position has not passed its length field, and updates the length. 16-bit values are
// only allowed at 12-bit precision.
void WriteQuantTable(OutputBuffer& out, int32_t start, int32_t number, const QuantTable& table,
                     int32_t precision);
void WriteHuffmanTable(OutputBuffer& out, int32_t start, int32_t number, bool ac,
                       const HuffmanTable& table);
void WriteFrameHeader(OutputBuffer& out, int32_t code, int32_t precision, int32_t width,
                      int32_t height, const std::vector<Component>& components);
void WriteScanHeader(OutputBuffer& out, const std::vector<Component>& components,
                     const ScanGroup& group);

}  // namespace tessaro::jpeg
