// Styles 0 to 4: the classic edge, the thin edge, the flat button, the etched frame and the
// highlight box.
#include "ColourOps.h"
#include "PixelPainter.h"
#include "StyleContext.h"
#include "SystemColour.h"

namespace tessaro::button {

namespace {

constexpr uint32_t kFaceRef = syscolour::reference(syscolour::kButtonFace);

// With custom colours BackColor in the states listed by `backStates`, HighlightColor in the
// others; without, the system button face.
uint32_t classicBackground(const StyleContext& c, bool backInState4) {
    if (!c.useCustomColors)
        return kFaceRef;
    const bool back = c.state == 1 || (backInState4 && c.state == 4);
    return back ? c.backColor : c.highlightColor;
}

}  // namespace

uint32_t currentSystemColour(int index) {
    return translate(syscolour::reference(index));
}

void drawClassicEdgeStyle(StyleContext& c) {
    c.setBackground(classicBackground(c, false));
    PixelPainter pp(c.surface);
    pp.edge(0, 0, c.W, c.H, c.state == 3 ? EDGE_SUNKEN : EDGE_RAISED);
    // The right and bottom strokes fall just outside the client area.
    if ((c.hasFocus && c.showFocus) || (!c.hasFocus && c.isDefault))
        pp.outline(0, 0, c.W, c.H, 0x000000);
}

void drawThinEdgeStyle(StyleContext& c) {
    const uint32_t background = classicBackground(c, true);
    c.setBackground(background);
    PixelPainter pp(c.surface);
    switch (c.state) {
        case 3:
            pp.edge(0, 0, c.W, c.H, BDR_SUNKENOUTER);
            break;
        case 4:
            pp.outline(0, 0, c.W, c.H - 1, translate(background));
            break;
        default:
            pp.edge(0, 0, c.W, c.H, BDR_RAISEDINNER);
            break;
    }
}

void drawFlatStyle(StyleContext& c) {
    const uint32_t background = classicBackground(c, true);
    c.setBackground(background);
    PixelPainter pp(c.surface);
    switch (c.state) {
        case 1:
            pp.outline(
                0, 0, c.W, c.H,
                c.useCustomColors ? c.backColor : currentSystemColour(syscolour::kButtonFace));
            break;
        case 2:
            pp.edge(0, 0, c.W, c.H, BDR_RAISEDINNER);
            break;
        case 3:
            pp.edge(0, 0, c.W, c.H, BDR_SUNKENOUTER);
            break;
        default:
            pp.outline(0, 0, c.W, c.H - 1, translate(background));
            break;
    }
}

void drawEtchedStyle(StyleContext& c) {
    const uint32_t face = currentSystemColour(syscolour::kButtonFace);
    const uint32_t shadow = currentSystemColour(syscolour::kButtonShadow);
    c.setBackground(c.useCustomColors ? c.backColor : kFaceRef);
    uint32_t fill;
    switch (c.state) {
        case 2:
            fill = c.useCustomColors ? blend(c.highlightColor, c.backColor) : blend(shadow, face);
            break;
        case 3:
            fill = c.useCustomColors ? c.highlightColor : shadow;
            break;
        default:
            fill = c.useCustomColors ? c.backColor : face;
            break;
    }
    PixelPainter pp(c.surface);
    pp.fillRect(0, 0, c.W, c.H, fill);

    const uint32_t dark = shadow;
    const uint32_t light = currentSystemColour(syscolour::kWindow);
    const int x = 0;
    const int y = 0;
    const int w = c.W - 1;
    const int h = c.H - 1;
    pp.outline(x, y, w - 1, h - 1, dark);
    pp.outline(x + 1, y + 1, w - 1, h - 1, light);
    pp.setPixel(x, y + h, fill);
    pp.setPixel(x + w, y, fill);
    const uint32_t mid = blend(light, dark);
    pp.setPixel(x + 1, y + h - 1, mid);
    pp.setPixel(x + w - 1, y + 1, mid);
}

void drawHighlightBoxStyle(StyleContext& c) {
    const uint32_t h =
        c.useCustomColors ? c.highlightColor : currentSystemColour(syscolour::kHighlight);
    const uint32_t f =
        c.useCustomColors ? c.backColor : currentSystemColour(syscolour::kButtonFace);
    PixelPainter pp(c.surface);
    if (c.state == 2 || c.state == 3) {
        pp.fillRect(0, 0, c.W, c.H, lighten(h, c.state == 2 ? 176 : 128));
        pp.outline(0, 0, c.W, c.H - 1, h);
    } else {
        pp.fillRect(0, 0, c.W, c.H, lighten(f, 32));
    }
}

}  // namespace tessaro::button
