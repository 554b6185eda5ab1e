#pragma once

#include <QEvent>
#include <cstdint>

class QMouseEvent;
class QWidget;

// The message numbers a hooked widget produces. Qt events are turned into these numbers by
// the hook's event filter (see WindowProcChain.h for which event becomes which message).
namespace tessaro::hook {

inline constexpr int32_t WM_MOVE = 0x0003;
inline constexpr int32_t WM_PAINT = 0x000F;
inline constexpr int32_t WM_SYSCOLORCHANGE = 0x0015;
inline constexpr int32_t WM_MOUSEMOVE = 0x0200;
inline constexpr int32_t WM_SIZING = 0x0214;
inline constexpr int32_t WM_ENTERSIZEMOVE = 0x0231;
inline constexpr int32_t WM_EXITSIZEMOVE = 0x0232;
inline constexpr int32_t WM_MOUSEHOVER = 0x02A1;
inline constexpr int32_t WM_MOUSELEAVE = 0x02A3;
inline constexpr int32_t WM_THEMECHANGED = 0x031A;

// wParam bits of the mouse messages.
inline constexpr int32_t MK_LBUTTON = 0x0001;
inline constexpr int32_t MK_RBUTTON = 0x0002;
inline constexpr int32_t MK_SHIFT = 0x0004;
inline constexpr int32_t MK_CONTROL = 0x0008;
inline constexpr int32_t MK_MBUTTON = 0x0010;

// The wParam of a mouse message: which buttons are down and whether Shift or Ctrl is held.
int32_t mouseKeyBits(const QMouseEvent& e);

// Two 16-bit values in one 32-bit parameter, x (or width) in the low word.
inline constexpr int32_t makeLParam(int lo, int hi) {
    return static_cast<int32_t>((static_cast<uint32_t>(lo) & 0xFFFFu) |
                                ((static_cast<uint32_t>(hi) & 0xFFFFu) << 16));
}
inline constexpr int loWord(int32_t v) {
    return static_cast<int16_t>(v & 0xFFFF);
}
inline constexpr int hiWord(int32_t v) {
    return static_cast<int16_t>((static_cast<uint32_t>(v) >> 16) & 0xFFFF);
}

// A message that has no Qt event of its own (mouse leave and hover, the start and end of a
// size/move burst, or any number sent with sendMessage). The hook's filter turns it into its
// number; the widget's own event() sees an unknown custom event and ignores it.
class SyntheticMessageEvent : public QEvent {
  public:
    SyntheticMessageEvent(int32_t message, int32_t wParam, int32_t lParam)
        : QEvent(eventType()), message_(message), wParam_(wParam), lParam_(lParam) {}

    static QEvent::Type eventType();

    int32_t message() const { return message_; }
    int32_t wParam() const { return wParam_; }
    int32_t lParam() const { return lParam_; }
    // What the hooked procedures returned for it (set when the hook dispatched it).
    int32_t result() const { return result_; }
    bool dispatchedByHook() const { return dispatched_; }
    void setResult(int32_t r) {
        result_ = r;
        dispatched_ = true;
    }

  private:
    int32_t message_;
    int32_t wParam_;
    int32_t lParam_;
    int32_t result_ = 0;
    bool dispatched_ = false;
};

// Delivers `message` to `window` at once, through its hooks, and returns the result of the
// outermost window procedure (0 for a null window).
int32_t sendMessage(QWidget* window, int32_t message, int32_t wParam = 0, int32_t lParam = 0);
// Queues `message` for `window`; false for a null window.
bool postMessage(QWidget* window, int32_t message, int32_t wParam = 0, int32_t lParam = 0);

}  // namespace tessaro::hook
