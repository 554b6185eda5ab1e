#pragma once

// Baseline JPEG encoder: samples a rectangle of a drawing context into Y (or Y, Cb, Cr)
// blocks, transforms and quantizes them at once, and writes a JFIF file with Huffman tables
// computed for that very image.
//
//   tessaro::JpegEncoder encoder;                 // 2x2/1x1/1x1, quality 75, no comment
//   encoder.SetSamplingFrequencies(2, 2, 1, 1, 1, 1);  // or (1, 1, 0, 0, 0, 0) for grey
//   encoder.setQuality(90);                       // before sampling
//   encoder.setComment("bytes in Windows-1252");  // any time before saving
//   encoder.SampleHDC(dc, width, height, 0, 0);   // 0 done, 1 no working bitmap
//   encoder.SaveFile("/path/out.jpg");            // 0 written, 1 empty name, 2 exists
//
// Errors are raised as tessaro::RuntimeError: number 1 with the encoder's own texts, 6 for
// overflow, 7 when memory runs out, and the run-time's file error numbers (53, 61, 75, 76)
// when the file cannot be written.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Component.h"
#include "DrawingContext.h"
#include "HuffmanTable.h"
#include "QuantTables.h"
#include "RuntimeError.h"
#include "ZigZag.h"

namespace tessaro {

class JpegEncoder {
  public:
    JpegEncoder();

    int32_t Quality() const { return quality_; }
    // A value outside 1..100 is ignored; otherwise both quantization tables are rebuilt.
    void setQuality(int32_t quality);

    const std::string& Comment() const { return comment_; }
    // Bytes of the comment; more than 65535 raises "Illegal Comment Length".
    void setComment(const std::string& comment);

    // Luminance factors h1 x v1 and chroma factors, each 1..4; chroma factors all 0 make a
    // single grey component. Drops any sampled data.
    void SetSamplingFrequencies(int32_t h1, int32_t v1, int32_t h2, int32_t v2, int32_t h3,
                                int32_t v3);

    // Samples lWidth x lHeight pixels at (lSrcLeft, lSrcTop) of the context into every
    // component. Returns 0 when done, 1 when the working bitmap cannot be created.
    int32_t SampleHDC(const DrawingContext& lhdc, int32_t lWidth, int32_t lHeight, int32_t lSrcLeft,
                      int32_t lSrcTop);

    // Writes the sampled image as a new file. Returns 0 when written, 1 for an empty name,
    // 2 when the file exists (it is never replaced).
    int32_t SaveFile(const std::string& sFileName);

    // The complete JFIF stream of the sampled image, as SaveFile writes it.
    std::vector<uint8_t> EncodeStream();

    // Read access to the encoder's state.
    const std::vector<jpeg::Component>& Components() const { return components_; }
    const jpeg::QuantTable& QuantTable(int32_t t) const { return quantTables_.at(t); }
    const jpeg::HuffmanTable& DcTable(int32_t t) const { return dcTables_.at(t); }
    const jpeg::HuffmanTable& AcTable(int32_t t) const { return acTables_.at(t); }
    const jpeg::ZigZagTable& ZigZag() const { return zigZag_; }
    int32_t Hmax() const { return hmax_; }
    int32_t Vmax() const { return vmax_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t Precision() const { return precision_; }

    // Replaces quantization table t (0..3) with hand-made values (zig-zag order) and rebuilds
    // its divisors; raises "Bad Quantization Table" for a value out of range.
    void SetQuantTable(int32_t t, const std::array<int16_t, 64>& values);

  private:
    void buildQualityTables();
    int32_t sample(const DrawingContext& lhdc, int32_t lWidth, int32_t lHeight, int32_t lSrcLeft,
                   int32_t lSrcTop);
    std::vector<uint8_t> encode();

    jpeg::ZigZagTable zigZag_;
    int32_t quality_ = 75;
    std::string comment_;
    int32_t precision_ = 8;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t hmax_ = 1;
    int32_t vmax_ = 1;
    std::vector<jpeg::Component> components_;
    std::array<jpeg::QuantTable, 4> quantTables_{};
    std::array<jpeg::HuffmanTable, 4> dcTables_{};
    std::array<jpeg::HuffmanTable, 4> acTables_{};
};

}  // namespace tessaro
