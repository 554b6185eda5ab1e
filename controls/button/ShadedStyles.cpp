// Styles 7, 8 and 9: buttons shaded from the button-face (or custom) colour by channel shifts.
#include <initializer_list>

#include "ColourOps.h"
#include "PixelPainter.h"
#include "StyleContext.h"
#include "SystemColour.h"

namespace tessaro::button {

namespace {

struct Ramp {
    uint32_t from;
    uint32_t to;
};

// A closed path through `points`; each segment leaves out its end point, which the next one
// starts from, so every pixel of the path is painted once.
void closedPath(PixelPainter& pp, std::initializer_list<QPoint> points, uint32_t colour) {
    const QPoint* prev = nullptr;
    for (const QPoint& p : points) {
        if (prev)
            pp.line(prev->x(), prev->y(), p.x(), p.y(), colour);
        prev = &p;
    }
    if (prev)
        pp.line(prev->x(), prev->y(), points.begin()->x(), points.begin()->y(), colour);
}

// The outermost pixels of the octagon with one pixel off each corner (window region A).
void octagonBorderA(PixelPainter& pp, int W, int H, uint32_t colour) {
    closedPath(pp,
               {{1, 0},
                {W - 2, 0},
                {W - 1, 1},
                {W - 1, H - 2},
                {W - 2, H - 1},
                {1, H - 1},
                {0, H - 2},
                {0, 1}},
               colour);
}

// The outermost pixels of window region B, whose corners are cut 2, 3, 3 and 4 pixels deep
// (top left, top right, bottom right, bottom left).
void octagonBorderB(PixelPainter& pp, int W, int H, uint32_t colour) {
    closedPath(pp,
               {{2, 0},
                {W - 4, 0},
                {W - 1, 3},
                {W - 1, H - 3},
                {W - 3, H - 1},
                {3, H - 1},
                {0, H - 4},
                {0, 2}},
               colour);
}

// The ring just inside the border of region B.
void octagonInnerB(PixelPainter& pp, int W, int H, uint32_t light, uint32_t dark) {
    pp.line(2, 1, W - 4, 1, light);
    pp.line(1, 2, 1, H - 4, light);
    pp.line(W - 2, 3, W - 2, H - 3, dark);
    pp.line(3, H - 2, W - 3, H - 2, dark);
}

}  // namespace

void drawFaceShadedStyle(StyleContext& c) {
    const uint32_t f = currentSystemColour(syscolour::kButtonFace);
    const uint32_t accent = currentSystemColour(syscolour::kHighlight);
    const int W = c.W;
    const int H = c.H;
    c.setBackground(syscolour::reference(syscolour::kButtonFace));
    PixelPainter pp(c.surface);
    const int middle = H / 2;
    switch (c.state) {
        case 3:
            pp.fillRect(1, 1, W - 1, middle, shift(f, -21));
            pp.fillRect(1, middle, W - 1, H - 1, shift(f, -5));
            pp.line(1, 1, W - 1, 1, shift(f, -32));
            pp.line(1, 1, 1, H - 1, shift(f, -32));
            octagonBorderA(pp, W, H, shift(f, -96));
            break;
        case 4:
            pp.fillRect(1, 1, W - 1, H - 1, f);
            octagonBorderA(pp, W, H, shift(f, -32));
            break;
        default:
            pp.fillRect(1, 1, W - 1, middle, f);
            pp.fillRect(1, middle, W - 1, H - 1, shift(f, -5));
            pp.line(1, 1, W - 1, 1, shift(f, 21));
            pp.line(1, 1, 1, H - 1, shift(f, 21));
            pp.line(1, H - 2, W - 1, H - 2, shift(f, -21));
            pp.line(W - 2, 1, W - 2, H - 1, shift(f, -21));
            octagonBorderA(pp, W, H, c.state == 2 ? accent : shift(f, -96));
            for (auto [x, y] : {std::pair{1, 1}, {W - 2, 1}, {1, H - 2}, {W - 2, H - 2}})
                pp.setPixel(x, y, shift(f, -32));
            if (c.state == 1 && c.focusOrDefault())
                pp.outline(1, 1, W - 3, H - 3, accent);
            break;
    }
}

void drawGradientStyle(StyleContext& c) {
    const uint32_t systemFace = currentSystemColour(syscolour::kButtonFace);
    uint32_t f = systemFace;
    if (c.useCustomColors)
        f = c.state == 1 ? c.backColor : c.highlightColor;
    if (c.state != 1)
        f = shift(f, 15);
    const uint32_t b = c.useCustomColors ? c.backColor : systemFace;
    const uint32_t borderColour = c.hasFocus ? shift(b, -96) : shift(b, -48);
    const int W = c.W;
    const int H = c.H;
    c.setBackground(b);
    PixelPainter pp(c.surface);
    const bool pressed = c.state == 3;
    const uint32_t top = shift(f, pressed ? -15 : 15);
    const uint32_t bottom = shift(f, pressed ? 15 : -15);
    pp.gradientStrip(top, bottom, 1, 1, W - 1, H - 3);
    if (!pressed)
        octagonInnerB(pp, W, H, shift(f, 96), shift(borderColour, 21));
    else
        octagonInnerB(pp, W, H, shift(borderColour, 21), shift(f, 96));
    octagonBorderB(pp, W, H, borderColour);
}

void drawBevelStyle(StyleContext& c) {
    const uint32_t f = currentSystemColour(syscolour::kButtonFace);
    const int W = c.W;
    const int H = c.H;
    c.setBackground(syscolour::reference(syscolour::kButtonFace));
    PixelPainter pp(c.surface);
    // The face: one strip over every row inside the border.
    Ramp face{shift(f, 32), shift(f, -37)};
    uint32_t light = shift(f, 128);
    uint32_t dark = shift(f, -48);
    uint32_t border = shift(f, -128);
    switch (c.state) {
        case 2:
            face = {shift(f, 128), shift(f, 5)};
            dark = shift(f, -37);
            break;
        case 3:
            face = {shift(f, -53), shift(f, 5)};
            light = shift(f, -48);
            dark = shift(f, 5);
            break;
        case 4:
            face = {shift(f, 5), shift(f, -32)};
            light = f;
            dark = f;
            border = shift(f, -53);
            break;
        default:
            break;
    }
    pp.gradientStrip(face.from, face.to, 1, 1, W - 1, H - 3);
    octagonInnerB(pp, W, H, light, dark);
    pp.line(3, H - 3, W - 3, H - 3, c.state == 3 ? face.to : shift(f, -32));
    octagonBorderB(pp, W, H, border);
    if (c.state != 4 && c.focusOrDefault())
        pp.outline(3, 3, W - 7, H - 7, shift(f, -53));
}

}  // namespace tessaro::button
