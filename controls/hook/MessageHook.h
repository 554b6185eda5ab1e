#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "MessageTable.h"
#include "Messages.h"
#include "SubclassOwner.h"

// The window message hook of one owning control.
//
// Usage: the control keeps one MessageHook, hooks a widget with sc_Subclass, names the
// messages it wants with sc_AttachMsg (HOOK_BEFORE and/or HOOK_AFTER), receives them in its
// SubclassOwner::zSubclass_Proc, and calls sc_UnSubclassAll before it goes away (the
// destructor does so too). Message numbers and the Qt events behind them are listed in
// WindowProcChain.h and Messages.h; MouseTracking.h gives the leave and hover notifications.
//
// How a message runs (for each hook on the widget, last hooked first):
//   1. before table watches it: zSubclass_Proc(true, handled = false, result = 0, ...);
//   2. handled: the result stands, the widget's own processing and the after call are skipped;
//   3. otherwise the previous procedure runs (an earlier hook on the same widget, in the end
//      the widget's own event(), giving 1 when event() returned true, else 0) with the
//      block's depth counter raised around it, and its value becomes the result;
//   4. a block asked to unhook (sc_UnSubclass) takes itself out when its depth is back to 0
//      and the message ends there; the unhook waits for the next message after the call so
//      that no hook is removed under a call that is still running through it;
//   5. after table watches it: zSubclass_Proc(false, handled, result, ...), which may change
//      the result.
//
// Failures are never raised: each is one line "<owner class>.<routine>: <text>" written to
// the event log (EventLog.h), and the operation returns false or 0. A window handle is a
// QWidget*: pass the value of a QPointer, so that a destroyed widget arrives as null, which
// is an invalid window handle. A widget of another thread counts as one of another process.
// The design-mode guard is accepted and always off: there is no development host here.
namespace tessaro::hook {

inline constexpr int32_t HOOK_BEFORE = 1;
inline constexpr int32_t HOOK_AFTER = 2;

struct HookBlock;

class MessageHook {
  public:
    // `ownerClassName` starts every error line; `owner` receives the callbacks of windows
    // hooked without naming another owner (may be null: such hooks then fail with
    // "Callback method not found").
    MessageHook(QString ownerClassName, SubclassOwner* owner);
    ~MessageHook();
    MessageHook(const MessageHook&) = delete;
    MessageHook& operator=(const MessageHook&) = delete;

    // True when the window is hooked (both tables empty).
    bool sc_Subclass(QWidget* hWnd, int32_t lParamUser = 0, SubclassOwner* oOwner = nullptr,
                     bool bDesignModeGuard = false);
    void sc_UnSubclass(QWidget* hWnd);
    void sc_UnSubclassAll();
    void sc_AttachMsg(QWidget* hWnd, int32_t uMsg, int32_t when);
    void sc_DetachMsg(QWidget* hWnd, int32_t uMsg, int32_t when);
    // Hands the message straight to the procedure the window had before this hook; 0 when
    // the window is not hooked.
    int32_t sc_CallOrigProc(QWidget* hWnd, int32_t uMsg, int32_t wParam, int32_t lParam);
    int32_t sc_UserValue(QWidget* hWnd);
    void sc_UserValue(QWidget* hWnd, int32_t lParamUser);

    // Whether the registry exists (from the first hooking attempt that got as far as
    // allocating, until sc_UnSubclassAll).
    bool hasRegistry() const { return registry_.has_value(); }

  private:
    struct Entry {
        QPointer<QWidget> window;
        std::weak_ptr<HookBlock> block;
    };

    std::shared_ptr<HookBlock> zMap_hWnd(QWidget* hWnd);
    void zAddMsg(int32_t uMsg, MessageTable& table);
    void zDelMsg(int32_t uMsg, MessageTable& table);
    void zReportError(const char* routine, const QString& text) const;
    void pruneDestroyed();

    QString ownerClassName_;
    SubclassOwner* owner_;
    std::optional<std::vector<Entry>> registry_;
};

}  // namespace tessaro::hook
