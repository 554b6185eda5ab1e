#pragma once

#include <QRect>
#include <cstdint>

#include "FrameProperties.h"
#include "FrameTheme.h"

class QPainter;

// The rectangles a press is tested against; each is replaced whenever its glyph is painted
// and otherwise kept as it was.
struct HitRegions {
    QRect collapseButton;
    QRect closeButton;
    QRect resizeGrip;
};

// What one paint of the frame needs besides its properties.
struct FramePaintState {
    int32_t width = 0;   // surface width in pixels
    int32_t height = 0;  // surface height in pixels
    bool collapsed = false;
    int32_t headerTextFlags = 0;
    int32_t footerTextFlags = 0;
};

namespace framepainter {

// The colours painting uses: the colour properties themselves with custom colours, the
// theme colour set otherwise.
ThemeColours workingColours(const FrameProperties& p, const ThemeColours& themeSet);

// Corner diameter of the frame's shape: the corner radius for shape style 1, else 0.
int32_t cornerDiameter(const FrameProperties& p);

// Paints the whole frame (bars, texts, pictures, border, buttons, grip or the classic
// outline) and updates the hit regions of the glyphs it paints. Coordinate arithmetic that
// leaves its range raises the overflow error; what was painted before stays.
void paint(QPainter& painter, const FrameProperties& p, const ThemeColours& themeSet,
           const FramePaintState& state, HitRegions& regions);

}  // namespace framepainter
