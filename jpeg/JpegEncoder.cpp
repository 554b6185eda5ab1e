#include "JpegEncoder.h"

#include <algorithm>

#include "EncoderError.h"

namespace tessaro {

using jpeg::Component;

JpegEncoder::JpegEncoder() : zigZag_(jpeg::zigZag()) {
    SetSamplingFrequencies(2, 2, 1, 1, 1, 1);
    setQuality(75);
}

void JpegEncoder::setQuality(int32_t quality) {
    if (quality < 1 || quality > 100) {
        return;
    }
    quality_ = quality;
    buildQualityTables();
}

void JpegEncoder::buildQualityTables() {
    const int32_t scale = jpeg::qualityScale(quality_);
    quantTables_[0].Values = jpeg::scaleTable(jpeg::baseLuminanceTable(), scale);
    quantTables_[1].Values = jpeg::scaleTable(jpeg::baseChrominanceTable(), scale);
    jpeg::buildDivisors(quantTables_[0], precision_, zigZag_);
    jpeg::buildDivisors(quantTables_[1], precision_, zigZag_);
}

void JpegEncoder::SetQuantTable(int32_t t, const std::array<int16_t, 64>& values) {
    jpeg::QuantTable& table = quantTables_.at(static_cast<size_t>(t));
    table.Values = values;
    jpeg::buildDivisors(table, precision_, zigZag_);
}

void JpegEncoder::setComment(const std::string& comment) {
    if (comment.size() > 65535) {
        jpeg::raiseEncoderError(jpeg::kIllegalCommentLength);
    }
    comment_ = comment;
}

void JpegEncoder::SetSamplingFrequencies(int32_t h1, int32_t v1, int32_t h2, int32_t v2, int32_t h3,
                                         int32_t v3) {
    const auto component = [](int32_t h, int32_t v, int32_t tq) {
        Component c;
        c.H = h;
        c.V = v;
        c.Tq = tq;
        return c;
    };
    const auto check = [](int32_t factor) {
        if (factor < 1 || factor > 4) {
            jpeg::raiseEncoderError(jpeg::kInvalidSamplingValue);
        }
    };
    check(h1);
    check(v1);
    std::vector<Component> components;
    if (h2 == 0 && v2 == 0 && h3 == 0 && v3 == 0) {
        // The luminance factors were checked but a single component is always 1x1.
        components.push_back(component(1, 1, 0));
    } else {
        check(h2);
        check(h3);
        check(v2);
        check(v3);
        components.push_back(component(h1, v1, 0));
        components.push_back(component(h2, v2, 1));
        components.push_back(component(h3, v3, 1));
    }
    components_ = std::move(components);
    hmax_ = 1;
    vmax_ = 1;
    for (const Component& c : components_) {
        hmax_ = std::max(hmax_, c.H);
        vmax_ = std::max(vmax_, c.V);
    }
}

}  // namespace tessaro
