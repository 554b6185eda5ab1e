#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "PanelFrame.h"
#include "SystemColour.h"

// Helpers shared by the frame tests.
namespace frametest {

inline QImage grabbed(PanelFrame& frame) {
    return frame.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QColor colourOf(uint32_t bgr) {
    return syscolour::toQColor(bgr);
}

inline QColor at(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

// A font whose glyphs are drawn without smoothing, so text pixels carry the exact colour.
inline QFont crispFont(int pixelSize = 14) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// Pixels of exactly `colour` inside `area`: their bounding box (empty when none).
inline QRect pixelsOf(const QImage& image, const QColor& colour, const QRect& area) {
    QRect box;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (image.pixelColor(x, y) == colour)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// Records the names PropertyChanged reports.
struct ChangeLog {
    QStringList names;
    explicit ChangeLog(PanelFrame& frame) {
        QObject::connect(&frame, &PanelFrame::PropertyChanged,
                         [this](const QString& name) { names << name; });
    }
};

// A frame with fixed, non-system colours so pixels can be compared exactly.
inline void useTestColours(PanelFrame& frame) {
    using syscolour::rgb;
    frame.setUseCustomColors(true);
    frame.setHeaderBackColor(rgb(255, 0, 0));
    frame.setHeaderFadeColor(rgb(0, 0, 255));
    frame.setHeaderTextColor(rgb(0, 200, 0));
    frame.setFooterBackColor(rgb(250, 250, 0));
    frame.setFooterFadeColor(rgb(0, 250, 250));
    frame.setFooterTextColor(rgb(120, 0, 120));
    frame.setContainerBackColor(rgb(240, 240, 240));
    frame.setContainerFadeColor(rgb(240, 240, 240));
    frame.setContainerBorderColor(rgb(10, 20, 30));
    frame.setCollapseButtonColor(rgb(255, 128, 0));
    frame.setBackColor(rgb(1, 2, 3));
}

}  // namespace frametest
