#pragma once

#include <cstdint>

class QWidget;

// One-shot mouse-leave and mouse-hover notifications for a widget, delivered through its
// hooks as WM_MOUSELEAVE (0x2A3, wParam 0, lParam 0) and WM_MOUSEHOVER (0x2A1, wParam the
// MK_ button bits, lParam the client position). Both are posted, so they arrive from the event
// queue after the handler that caused them has returned.
//
// - TME_LEAVE: the next time the pointer leaves the widget (Qt's leave event, or a mouse
//   event outside the widget while a button holds the mouse grab), one WM_MOUSELEAVE is
//   posted and the request ends. Asking while the pointer is already outside posts one at
//   once, so a caller never waits for a leave that already happened.
// - TME_HOVER: once the pointer has rested over the widget for `hoverTimeMs` (HOVER_DEFAULT:
//   400 ms), one WM_MOUSEHOVER is posted; every mouse move over the widget restarts the wait.
//   Leaving the widget ends a hover request unanswered.
// - TME_CANCEL with either flag withdraws that request.
namespace tessaro::hook {

inline constexpr uint32_t TME_HOVER = 0x00000001u;
inline constexpr uint32_t TME_LEAVE = 0x00000002u;
inline constexpr uint32_t TME_CANCEL = 0x80000000u;
inline constexpr uint32_t HOVER_DEFAULT = 0xFFFFFFFFu;
inline constexpr int kDefaultHoverTimeMs = 400;

// False for a null window.
bool TrackMouseEvent(QWidget* window, uint32_t flags, uint32_t hoverTimeMs = HOVER_DEFAULT);

}  // namespace tessaro::hook
