#include "MessageHook.h"

#include <QThread>
#include <algorithm>
#include <cerrno>
#include <new>

#include "EventLog.h"
#include "HookBlock.h"
#include "WindowProcChain.h"

namespace tessaro::hook {

MessageHook::MessageHook(QString ownerClassName, SubclassOwner* owner)
    : ownerClassName_(std::move(ownerClassName)), owner_(owner) {}

MessageHook::~MessageHook() {
    if (!registry_)
        return;
    std::vector<std::shared_ptr<HookBlock>> blocks;
    for (const Entry& e : *registry_) {
        if (auto b = e.block.lock())
            blocks.push_back(std::move(b));
    }
    sc_UnSubclassAll();
    // Blocks that wait for their next message to be taken out must not call us any more.
    for (const auto& b : blocks)
        b->owner = nullptr;
}

void MessageHook::zReportError(const char* routine, const QString& text) const {
    writeErrorLine(ownerClassName_ + QLatin1Char('.') + QLatin1String(routine) +
                   QStringLiteral(": ") + text);
}

void MessageHook::pruneDestroyed() {
    if (!registry_)
        return;
    std::erase_if(*registry_, [](const Entry& e) { return !e.window || e.block.expired(); });
}

bool MessageHook::sc_Subclass(QWidget* hWnd, int32_t lParamUser, SubclassOwner* oOwner,
                              bool /*bDesignModeGuard*/) {
    constexpr const char* routine = "sc_Subclass";
    if (!hWnd) {
        zReportError(routine, QStringLiteral("Invalid window handle"));
        return false;
    }
    if (hWnd->thread() != QThread::currentThread()) {
        zReportError(routine, QStringLiteral("Window handle belongs to another process"));
        return false;
    }
    SubclassOwner* owner = oOwner ? oOwner : owner_;
    if (!owner) {
        zReportError(routine, QStringLiteral("Callback method not found"));
        return false;
    }
    if (!registry_)
        registry_.emplace();
    pruneDestroyed();

    std::shared_ptr<HookBlock> block;
    try {
        block = std::make_shared<HookBlock>();
    } catch (const std::bad_alloc&) {
        zReportError(routine,
                     QStringLiteral("VirtualAlloc failed, error: ") + QString::number(ENOMEM));
        return false;
    }
    const bool known = std::any_of(registry_->begin(), registry_->end(),
                                   [hWnd](const Entry& e) { return e.window == hWnd; });
    if (known) {
        zReportError(routine, QStringLiteral("Window handle is already subclassed"));
        return false;
    }
    registry_->push_back(Entry{hWnd, block});

    block->window = hWnd;
    block->owner = owner;
    block->userValue = lParamUser;

    WindowProcChain* chain = nullptr;
    try {
        chain = WindowProcChain::of(hWnd, true);
        chain->append(block);
    } catch (const std::bad_alloc&) {
        zReportError(routine,
                     QStringLiteral("SetWindowLong failed, error #") + QString::number(ENOMEM));
        registry_->pop_back();
        return false;
    }
    // A window sees every mouse move over it, not only those made with a button down.
    hWnd->setMouseTracking(true);
    return true;
}

void MessageHook::sc_UnSubclass(QWidget* hWnd) {
    if (!registry_) {
        zReportError("sc_UnSubclass", QStringLiteral("Window handle isn't subclassed"));
        return;
    }
    if (auto block = zMap_hWnd(hWnd)) {
        block->shutdown = -1;
        block->before.clear();
        block->after.clear();
    }
    std::erase_if(*registry_, [hWnd](const Entry& e) { return e.window && e.window == hWnd; });
}

void MessageHook::sc_UnSubclassAll() {
    if (!registry_)
        return;
    const std::vector<Entry> entries = *registry_;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const auto block = it->block.lock();
        if (block && block->window)
            sc_UnSubclass(block->window);
    }
    registry_.reset();
}

std::shared_ptr<HookBlock> MessageHook::zMap_hWnd(QWidget* hWnd) {
    if (!registry_) {
        zReportError("zMap_hWnd", QStringLiteral("Subclassing hasn't been started"));
        return nullptr;
    }
    pruneDestroyed();
    if (hWnd) {
        for (const Entry& e : *registry_) {
            if (e.window == hWnd) {
                if (auto block = e.block.lock())
                    return block;
            }
        }
    }
    zReportError("zMap_hWnd", QStringLiteral("Window handle isn't subclassed"));
    return nullptr;
}

void MessageHook::zAddMsg(int32_t uMsg, MessageTable& table) {
    if (table.add(uMsg) == MessageTable::AddResult::Overflow) {
        zReportError("zAddMsg",
                     QStringLiteral("Message table overflow. Either increase the value of Const "
                                    "MSG_ENTRIES or use ALL_MESSAGES instead of specific message "
                                    "values"));
    }
}

void MessageHook::zDelMsg(int32_t uMsg, MessageTable& table) {
    if (!table.remove(uMsg)) {
        zReportError("zDelMsg", QStringLiteral("Message &H") +
                                    QString::number(static_cast<uint32_t>(uMsg), 16).toUpper() +
                                    QStringLiteral(" not found in table"));
    }
}

void MessageHook::sc_AttachMsg(QWidget* hWnd, int32_t uMsg, int32_t when) {
    auto block = zMap_hWnd(hWnd);
    if (!block)
        return;
    if (when & HOOK_BEFORE)
        zAddMsg(uMsg, block->before);
    if (when & HOOK_AFTER)
        zAddMsg(uMsg, block->after);
}

void MessageHook::sc_DetachMsg(QWidget* hWnd, int32_t uMsg, int32_t when) {
    auto block = zMap_hWnd(hWnd);
    if (!block)
        return;
    if (when & HOOK_BEFORE)
        zDelMsg(uMsg, block->before);
    if (when & HOOK_AFTER)
        zDelMsg(uMsg, block->after);
}

int32_t MessageHook::sc_CallOrigProc(QWidget* hWnd, int32_t uMsg, int32_t wParam, int32_t lParam) {
    auto block = zMap_hWnd(hWnd);
    if (!block)
        return 0;
    WindowProcChain* chain = WindowProcChain::of(hWnd, false);
    return chain ? chain->callPrevious(*block, uMsg, wParam, lParam) : 0;
}

int32_t MessageHook::sc_UserValue(QWidget* hWnd) {
    auto block = zMap_hWnd(hWnd);
    return block ? block->userValue : 0;
}

void MessageHook::sc_UserValue(QWidget* hWnd, int32_t lParamUser) {
    if (auto block = zMap_hWnd(hWnd))
        block->userValue = lParamUser;
}

bool TrackMouseEvent(QWidget* window, uint32_t flags, uint32_t hoverTimeMs) {
    WindowProcChain* chain = WindowProcChain::of(window, true);
    if (!chain)
        return false;
    chain->tracker().track(flags, hoverTimeMs);
    return true;
}

}  // namespace tessaro::hook
