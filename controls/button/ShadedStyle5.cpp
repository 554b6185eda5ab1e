// Style 5: the shaded button, in its built-in colours or shaded from the custom colours.
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

// Every colour of the shaded button; the built-in set and the custom one share the layout.
struct Shades {
    uint32_t background;
    Ramp faceTop, faceMiddle, faceBottom, faceRightInner, faceRightOuter;
    uint32_t border, cornerInner, cornerOuter, cornerSoft;
    uint32_t hotLines[4];  // rows 1, 2, H-3, H-2
    Ramp hotSides;
    uint32_t focusLines[4];  // rows 1, 2, H-3, H-2
    Ramp focusSides;
    Ramp pressedTop, pressedMiddle, pressedBottom, pressedLeftOuter, pressedLeftInner;
    uint32_t disabledBackground, disabledOutline, disabledCorners;
};

Shades builtInShades() {
    Shades s{};
    s.background = syscolour::reference(syscolour::kButtonFace);
    s.faceTop = {0xFBFCFC, 0xF0F0F0};
    s.faceMiddle = {0xF9FAFA, 0xEAF0F0};
    s.faceBottom = {0xE6EBEB, 0xC5D0D6};
    s.faceRightInner = {0xFAFBFB, 0xDAE2E4};
    s.faceRightOuter = {0xF2F4F5, 0xCDD7DB};
    s.border = 0x743C00;
    s.cornerInner = 0x906E48;
    s.cornerOuter = 0xA28B6A;
    s.cornerSoft = 0xCAC7BF;
    s.hotLines[0] = 0xCFF0FF;
    s.hotLines[1] = 0x89D8FD;
    s.hotLines[2] = 0x30B3F8;
    s.hotLines[3] = 0x1097E5;
    s.hotSides = {0x89D8FD, 0x30B3F8};
    s.focusLines[0] = 0xFFE7CE;
    s.focusLines[1] = 0xF6D4BC;
    s.focusLines[2] = 0xE4AD89;
    s.focusLines[3] = 0xEE8269;
    s.focusSides = {0xF6D4BC, 0xE4AD89};
    s.pressedTop = {0xC1CCD1, 0xDCE3E4};
    s.pressedMiddle = {0xDCE3E4, 0xDBE2E3};
    s.pressedBottom = {0xDBE2E3, 0xEEF1F2};
    s.pressedLeftOuter = {0xCED8DA, 0xDBE2E3};
    s.pressedLeftInner = {0xCED8DA, 0xDBE2E3};
    s.disabledBackground = 0xEAF4F5;
    s.disabledOutline = 0xBAC7C9;
    s.disabledCorners = 0xC7D5D8;
    return s;
}

// The same button shaded from the back colour `f`, with the accents of the hot and focused
// looks taken from the highlight colour `a`.
Shades customShades(uint32_t f, uint32_t a) {
    Shades s{};
    s.background = f;
    s.faceTop = {shift(f, 12), f};
    s.faceMiddle = {shift(f, 9), shift(f, -3)};
    s.faceBottom = {shift(f, -7), shift(f, -32)};
    s.faceRightInner = {shift(f, 10), shift(f, -16)};
    s.faceRightOuter = {shift(f, 3), shift(f, -24)};
    s.border = shift(f, -128);
    s.cornerInner = shift(f, -96);
    s.cornerOuter = shift(f, -72);
    s.cornerSoft = shift(f, -40);
    s.hotLines[0] = shift(a, 69);
    s.hotLines[1] = shift(a, 32);
    s.hotLines[2] = shift(a, -16);
    s.hotLines[3] = shift(a, -48);
    s.hotSides = {shift(a, 32), shift(a, -16)};
    s.focusLines[0] = shift(a, 64);
    s.focusLines[1] = shift(a, 40);
    s.focusLines[2] = a;
    s.focusLines[3] = shift(a, -32);
    s.focusSides = {shift(a, 40), a};
    s.pressedTop = {shift(f, -40), shift(f, -12)};
    s.pressedMiddle = {shift(f, -12), shift(f, -13)};
    s.pressedBottom = {shift(f, -13), shift(f, 2)};
    s.pressedLeftOuter = {shift(f, -28), shift(f, -13)};
    s.pressedLeftInner = {shift(f, -28), shift(f, -13)};
    s.disabledBackground = shift(f, 8);
    s.disabledOutline = shift(f, -48);
    s.disabledCorners = shift(f, -36);
    return s;
}

void strip(PixelPainter& pp, Ramp r, int x1, int x2, int y0, int n) {
    pp.gradientStrip(r.from, r.to, x1, y0, x2, n);
}

void border(PixelPainter& pp, const Shades& s, int W, int H) {
    pp.line(1, 0, W - 1, 0, s.border);
    pp.line(0, 1, 0, H - 1, s.border);
    pp.line(W - 1, 1, W - 1, H - 1, s.border);
    pp.line(1, H - 1, W - 1, H - 1, s.border);
    for (auto [x, y] : {std::pair{1, 1}, {1, H - 2}, {W - 2, 1}, {W - 2, H - 2}})
        pp.setPixel(x, y, s.cornerInner);
    for (auto [x, y] : {std::pair{0, 1},
                        {1, 0},
                        {1, H - 1},
                        {0, H - 2},
                        {W - 1, H - 2},
                        {W - 2, H - 1},
                        {W - 2, 0},
                        {W - 1, 1}})
        pp.setPixel(x, y, s.cornerOuter);
    for (auto [x, y] : {std::pair{1, 2},
                        {2, 1},
                        {2, H - 2},
                        {1, H - 3},
                        {W - 2, H - 3},
                        {W - 3, H - 2},
                        {W - 3, 1},
                        {W - 2, 2}})
        pp.setPixel(x, y, s.cornerSoft);
}

// Four lines across and the two side strips: the hot and the focused looks.
void accents(PixelPainter& pp, const uint32_t (&lines)[4], Ramp sides, int W, int H) {
    pp.line(2, 1, W - 2, 1, lines[0]);
    pp.line(2, 2, W - 2, 2, lines[1]);
    pp.line(2, H - 3, W - 2, H - 3, lines[2]);
    pp.line(2, H - 2, W - 2, H - 2, lines[3]);
    strip(pp, sides, 1, 3, 2, H - 5);
    strip(pp, sides, W - 3, W - 1, 2, H - 5);
}

}  // namespace

void drawShadedStyle(StyleContext& c) {
    const Shades s =
        c.useCustomColors ? customShades(c.backColor, c.highlightColor) : builtInShades();
    const int W = c.W;
    const int H = c.H;
    c.setBackground(s.background);
    PixelPainter pp(c.surface);
    switch (c.state) {
        case 1:
        case 2:
            strip(pp, s.faceTop, 1, W - 2, 1, 4);
            strip(pp, s.faceMiddle, 1, W - 2, 4, H - 8);
            strip(pp, s.faceBottom, 1, W - 2, H - 4, 3);
            strip(pp, s.faceRightInner, W - 3, W - 2, 3, H - 5);
            strip(pp, s.faceRightOuter, W - 2, W - 1, 3, H - 5);
            border(pp, s, W, H);
            if (c.state == 2)
                accents(pp, s.hotLines, s.hotSides, W, H);
            else if (c.focusOrDefault())
                accents(pp, s.focusLines, s.focusSides, W, H);
            break;
        case 3:
            strip(pp, s.pressedTop, 2, W - 1, 1, 4);
            strip(pp, s.pressedMiddle, 2, W - 1, 4, H - 8);
            strip(pp, s.pressedBottom, 3, W - 1, H - 4, 3);
            strip(pp, s.pressedLeftOuter, 1, 2, 3, H - 5);
            strip(pp, s.pressedLeftInner, 2, 3, 4, H - 7);
            border(pp, s, W, H);
            break;
        case 4:
            c.setBackground(s.disabledBackground);
            pp.outline(0, 0, W - 1, H - 1, s.disabledOutline);
            for (auto [x, y] : {std::pair{0, 1},
                                {1, 1},
                                {1, 0},
                                {0, H - 2},
                                {1, H - 2},
                                {1, H - 1},
                                {W - 1, 1},
                                {W - 2, 1},
                                {W - 2, 0},
                                {W - 1, H - 2},
                                {W - 2, H - 2},
                                {W - 2, H - 1}})
                pp.setPixel(x, y, s.disabledCorners);
            break;
        default:
            break;
    }
}

}  // namespace tessaro::button
