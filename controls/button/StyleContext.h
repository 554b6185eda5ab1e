#pragma once

#include <QImage>
#include <cstdint>
#include <functional>

// What the drawing of a style's background and border needs from the button. The colours are
// concrete 0x00BBGGRR values; system colours are read by the drawings themselves.
namespace tessaro::button {

struct StyleContext {
    QImage& surface;
    int W = 0;  // the client width and height in whole pixels
    int H = 0;
    int state = 1;  // 1 normal, 2 hot, 3 pressed, 4 disabled
    bool hasFocus = false;
    bool isDefault = false;  // the host shows the button as its default button
    bool showFocus = false;
    bool useCustomColors = false;
    uint32_t backColor = 0;
    uint32_t highlightColor = 0;
    // Makes `colour` (a colour or a system-colour reference) the control's background, which
    // clears the whole surface to it.
    std::function<void(uint32_t)> setBackground;

    // The focused button, or an unfocused one the host marks as its default.
    bool focusOrDefault() const { return hasFocus || isDefault; }
};

// The current value of system colour `index`.
uint32_t currentSystemColour(int index);

void drawClassicEdgeStyle(StyleContext& c);   // 0
void drawThinEdgeStyle(StyleContext& c);      // 1
void drawFlatStyle(StyleContext& c);          // 2
void drawEtchedStyle(StyleContext& c);        // 3
void drawHighlightBoxStyle(StyleContext& c);  // 4
void drawShadedStyle(StyleContext& c);        // 5
void drawFaceShadedStyle(StyleContext& c);    // 7
void drawGradientStyle(StyleContext& c);      // 8
void drawBevelStyle(StyleContext& c);         // 9
void drawArtworkStyle(StyleContext& c);       // 10

}  // namespace tessaro::button
