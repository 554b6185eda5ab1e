#pragma once

#include <QImage>
#include <cstdint>

// Pixel-exact drawing on the button's surface in the conventions of the classic window
// system: rectangles are (left, top, right, bottom) with right and bottom excluded, a line
// leaves out its end point, colours are 0x00BBGGRR. Everything is clipped to the image.
namespace tessaro::button {

// Edge kinds (outer and inner, raised and sunken) and the sides flag of the 3-D edge.
inline constexpr int BDR_RAISEDOUTER = 0x1;
inline constexpr int BDR_SUNKENOUTER = 0x2;
inline constexpr int BDR_RAISEDINNER = 0x4;
inline constexpr int BDR_SUNKENINNER = 0x8;
inline constexpr int EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr int EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr int BF_RECT = 0xF;

class PixelPainter {
  public:
    explicit PixelPainter(QImage& image) : image_(image) {}

    void setPixel(int x, int y, uint32_t colour);
    uint32_t pixel(int x, int y) const;
    void fillRect(int left, int top, int right, int bottom, uint32_t colour);
    void line(int x1, int y1, int x2, int y2, uint32_t colour);
    // The path (x, y) -> (x+w, y) -> (x+w, y+h) -> (x, y+h) -> (x, y).
    void outline(int x, int y, int w, int h, uint32_t colour);
    // The 3-D edge of `kind` on all four sides, in the system's light and shadow colours.
    void edge(int left, int top, int right, int bottom, int kind);
    // For i = 0..n a line (x1, y0 + i) -> (x2, y0 + i) in start + (end - start) * i / n.
    void gradientStrip(uint32_t start, uint32_t end, int x1, int y0, int x2, int n);

  private:
    QImage& image_;
};

}  // namespace tessaro::button
