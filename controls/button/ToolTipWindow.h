#pragma once

#include <QBasicTimer>
#include <QBitmap>
#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>

// The button's own tooltip: a small top-level window, a plain rectangle or a balloon whose
// stem points at the button, with an optional title and title icon. It watches its owner's
// mouse messages itself: it shows after the usual tooltip delay while the mouse rests over
// the tool's rectangle, and hides when the mouse leaves, a button is pressed or a key is hit.
namespace tessaro::button {

// Window style bits.
inline constexpr uint32_t TTS_ALWAYSTIP = 0x01;  // shows while the owner is inactive too
inline constexpr uint32_t TTS_NOPREFIX = 0x02;   // '&' is shown, not an access-key mark
inline constexpr uint32_t TTS_BALLOON = 0x40;
// Tool flag: the tooltip watches the owner window's mouse messages itself.
inline constexpr uint32_t TTF_SUBCLASS = 0x10;

// Title icons.
inline constexpr int TTI_NONE = 0;
inline constexpr int TTI_INFO = 1;
inline constexpr int TTI_WARNING = 2;
inline constexpr int TTI_ERROR = 3;

// The tool a tooltip window serves.
struct ToolRecord {
    uint32_t size = 44;
    uint32_t flags = 0;
    QWidget* owner = nullptr;
    uint32_t id = 0;
    QRect rect;  // in the owner's coordinates; fixed when the tool is added
    QString text;
};

class ToolTipWindow : public QWidget {
    Q_OBJECT
  public:
    ToolTipWindow(QWidget* owner, uint32_t windowStyle);
    ~ToolTipWindow() override;

    // The messages the button sends.
    bool addTool(const ToolRecord& tool);
    void deleteTool(const ToolRecord& tool);
    void setTitle(int icon, const QString& title);
    // Concrete 0x00BBGGRR colours.
    void setTextColour(uint32_t colour);
    void setBackgroundColour(uint32_t colour);

    uint32_t windowStyle() const { return style_; }
    bool isBalloon() const { return (style_ & TTS_BALLOON) != 0; }
    bool hasTool() const { return hasTool_; }
    const ToolRecord& tool() const { return tool_; }
    bool titleSet() const { return titleSet_; }
    int titleIcon() const { return titleIcon_; }
    QString title() const { return title_; }
    std::optional<uint32_t> textColour() const { return textColour_; }
    std::optional<uint32_t> backgroundColour() const { return backgroundColour_; }
    // The colours the window paints with: those set, else the palette's tooltip colours.
    QColor effectiveTextColour() const;
    QColor effectiveBackgroundColour() const;

    // Lays the window out for a mouse at `globalMouse` over the owner and shows it there.
    void popUp(QPoint globalMouse);
    // Where the balloon's stem points, in global coordinates (valid once shown).
    QPoint stemTip() const { return stemTip_; }
    // What the window shows, transparent outside its shape.
    const QImage& face() const { return face_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

  private:
    QSize contentSize() const;
    void placeRectangle(QPoint mouse, QSize content, const QRect& screen);
    void placeBalloon(QPoint mouse, QSize content, const QRect& screen);
    void paintOutline(QPainter& p) const;
    QBitmap shapeMask() const;
    void renderFace();
    void retire(bool dismiss);
    QPixmap titlePixmap() const;
    QFont titleFont() const;
    int titleRowHeight() const;
    int textFlags() const;
    QString displayText() const;
    int margin() const { return isBalloon() ? 9 : 4; }

    uint32_t style_;
    QWidget* owner_;
    ToolRecord tool_;
    bool hasTool_ = false;
    bool titleSet_ = false;
    int titleIcon_ = TTI_NONE;
    QString title_;
    std::optional<uint32_t> textColour_;
    std::optional<uint32_t> backgroundColour_;

    QBasicTimer showTimer_;
    QBasicTimer hideTimer_;
    QPoint lastMouse_;
    // A click or a key ends the tooltip for this visit of the mouse.
    bool dismissed_ = false;
    QPainterPath shape_;  // the outline painted, in window coordinates
    QRect body_;          // the frame round the title and text, in window coordinates
    QSize content_;
    QPoint stemTip_;
    QImage face_;
};

}  // namespace tessaro::button
