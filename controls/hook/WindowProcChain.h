#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QVarLengthArray>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "HookBlock.h"
#include "PointerTracker.h"

namespace tessaro::hook {

// The window procedure of a hooked widget: one event filter per widget, shared by every
// owner that hooked it, holding the owners' hook blocks in the order they were hooked.
//
// Qt events become messages as follows (events without a number pass by untouched):
//   QEvent::Move                                   WM_MOVE (0x0003), lParam = x | y << 16
//   QEvent::Paint                                  WM_PAINT (0x000F)
//   PaletteChange, ApplicationPaletteChange        WM_SYSCOLORCHANGE (0x0015)
//   MouseMove over the widget                      WM_MOUSEMOVE (0x0200), wParam = MK_ bits,
//                                                  lParam = x | y << 16
//   Resize of a top-level widget                   WM_SIZING (0x0214), lParam = w | h << 16
//   first Move/Resize of a top-level widget        WM_ENTERSIZEMOVE (0x0231), then
//   after a quiet time of kSizeMoveQuietMs         WM_EXITSIZEMOVE (0x0232)
//   the leave and hover requests of MouseTracking  WM_MOUSELEAVE (0x02A3), WM_MOUSEHOVER (0x02A1)
//   StyleChange, ThemeChange                       WM_THEMECHANGED (0x031A)
//   SyntheticMessageEvent                          its own number
// A mouse move outside the widget (it only reaches the widget while a button holds Qt's
// mouse grab) is not a move over the window and gives no WM_MOUSEMOVE.
//
// A message runs through the blocks from the last hooked to the first, each block's "previous
// procedure" being the next one, and the first block's the widget's own event(). When no
// block wants the message (no table watches it and none is shutting down) the filter lets Qt
// deliver the event as usual. Otherwise the filter delivers it itself, calling event()
// directly between the before and the after calls, and tells Qt the event was dealt with;
// the event's accepted flag is left as event() set it, so Qt still propagates an ignored
// mouse event to the parent. Event filters that were installed on the widget before the hook
// do not see such a message.
class WindowProcChain : public QObject {
    Q_OBJECT
  public:
    static constexpr int kSizeMoveQuietMs = 250;

    // The chain of `window`; with `create`, made (and installed) when missing.
    static WindowProcChain* of(QWidget* window, bool create);

    void append(std::shared_ptr<HookBlock> block);
    // Passes a message straight to the procedure that precedes `block`; 0 when the message
    // cannot be handed to a widget out of turn (a paint) or the block is not in the chain.
    int32_t callPrevious(const HookBlock& block, int32_t message, int32_t wParam, int32_t lParam);
    PointerTracker& tracker() { return tracker_; }
    // Blocks still in the chain, including those waiting to be taken out.
    std::size_t size() const { return blocks_.size(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using Snapshot = QVarLengthArray<std::shared_ptr<HookBlock>, 4>;
    struct Dispatch {
        QEvent* event;
        int32_t message;
        int32_t wParam;
        int32_t lParam;
        Snapshot blocks;
    };
    struct Message {
        int32_t number;
        int32_t wParam;
        int32_t lParam;
    };

    explicit WindowProcChain(QWidget* window);

    std::optional<Message> translate(const QEvent& event) const;
    bool wanted(int32_t message) const;
    int32_t callFrom(Dispatch& d, qsizetype index);
    int32_t runBlock(Dispatch& d, qsizetype index);
    int32_t deliverToWidget(QEvent* event);
    void release(HookBlock& block);
    void noteSizeMove();

    QPointer<QWidget> window_;
    std::vector<std::shared_ptr<HookBlock>> blocks_;
    PointerTracker tracker_;
    bool sizeMoveActive_ = false;
    QTimer sizeMoveTimer_;
};

}  // namespace tessaro::hook
