#include "WindowProcChain.h"

#include <QMouseEvent>
#include <QMoveEvent>
#include <QResizeEvent>
#include <algorithm>
#include <exception>

#include "Messages.h"

namespace tessaro::hook {

namespace {

Qt::MouseButtons buttonsFrom(int32_t keys) {
    Qt::MouseButtons b;
    if (keys & MK_LBUTTON)
        b |= Qt::LeftButton;
    if (keys & MK_RBUTTON)
        b |= Qt::RightButton;
    if (keys & MK_MBUTTON)
        b |= Qt::MiddleButton;
    return b;
}

Qt::KeyboardModifiers modifiersFrom(int32_t keys) {
    Qt::KeyboardModifiers m;
    if (keys & MK_SHIFT)
        m |= Qt::ShiftModifier;
    if (keys & MK_CONTROL)
        m |= Qt::ControlModifier;
    return m;
}

// Keeps a depth counter right even when a callback throws.
class DepthGuard {
  public:
    explicit DepthGuard(int32_t& depth) : depth_(depth) { ++depth_; }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

  private:
    int32_t& depth_;
};

}  // namespace

WindowProcChain::WindowProcChain(QWidget* window)
    : QObject(window), window_(window), tracker_(window) {
    setObjectName(QStringLiteral("tessaro_hook_chain"));
    sizeMoveTimer_.setSingleShot(true);
    connect(&sizeMoveTimer_, &QTimer::timeout, this, [this] {
        sizeMoveActive_ = false;
        if (!blocks_.empty())
            sendMessage(window_, WM_EXITSIZEMOVE);
    });
    window->installEventFilter(this);
}

WindowProcChain* WindowProcChain::of(QWidget* window, bool create) {
    if (!window)
        return nullptr;
    auto* chain = window->findChild<WindowProcChain*>(QString(), Qt::FindDirectChildrenOnly);
    if (!chain && create)
        chain = new WindowProcChain(window);
    return chain;
}

void WindowProcChain::append(std::shared_ptr<HookBlock> block) {
    blocks_.push_back(std::move(block));
}

void WindowProcChain::release(HookBlock& block) {
    block.released = true;
    blocks_.erase(std::remove_if(blocks_.begin(), blocks_.end(),
                                 [&](const auto& b) { return b.get() == &block; }),
                  blocks_.end());
}

std::optional<WindowProcChain::Message> WindowProcChain::translate(const QEvent& event) const {
    switch (event.type()) {
        case QEvent::Move: {
            const QPoint p = static_cast<const QMoveEvent&>(event).pos();
            return Message{WM_MOVE, 0, makeLParam(p.x(), p.y())};
        }
        case QEvent::Paint:
            return Message{WM_PAINT, 0, 0};
        case QEvent::PaletteChange:
        case QEvent::ApplicationPaletteChange:
            return Message{WM_SYSCOLORCHANGE, 0, 0};
        case QEvent::MouseMove: {
            const auto& me = static_cast<const QMouseEvent&>(event);
            const QPoint p = me.position().toPoint();
            if (!window_->rect().contains(p))
                return std::nullopt;
            return Message{WM_MOUSEMOVE, mouseKeyBits(me), makeLParam(p.x(), p.y())};
        }
        case QEvent::Resize: {
            if (!window_->isWindow())
                return std::nullopt;
            const QSize s = static_cast<const QResizeEvent&>(event).size();
            return Message{WM_SIZING, 0, makeLParam(s.width(), s.height())};
        }
        case QEvent::StyleChange:
        case QEvent::ThemeChange:
            return Message{WM_THEMECHANGED, 0, 0};
        default:
            if (event.type() == SyntheticMessageEvent::eventType()) {
                const auto& se = static_cast<const SyntheticMessageEvent&>(event);
                return Message{se.message(), se.wParam(), se.lParam()};
            }
            return std::nullopt;
    }
}

bool WindowProcChain::wanted(int32_t message) const {
    return std::any_of(blocks_.begin(), blocks_.end(), [message](const auto& b) {
        return b->shutdown != 0 || b->before.watches(message) || b->after.watches(message);
    });
}

void WindowProcChain::noteSizeMove() {
    const bool starting = !sizeMoveActive_;
    sizeMoveActive_ = true;
    sizeMoveTimer_.start(kSizeMoveQuietMs);
    if (starting)
        sendMessage(window_, WM_ENTERSIZEMOVE);
}

bool WindowProcChain::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || !window_)
        return false;
    try {
        tracker_.observe(*event);
        if (blocks_.empty())
            return false;
        if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
            window_->isWindow()) {
            noteSizeMove();
        }
        const std::optional<Message> m = translate(*event);
        if (!m || !wanted(m->number))
            return false;
        Dispatch d{event, m->number, m->wParam, m->lParam,
                   Snapshot(blocks_.begin(), blocks_.end())};
        const int32_t result = callFrom(d, d.blocks.size() - 1);
        if (event->type() == SyntheticMessageEvent::eventType()) {
            static_cast<SyntheticMessageEvent*>(event)->setResult(result);
        }
        return true;
    } catch (const std::exception&) {
        // An owner's callback failed; the event must not unwind through Qt's dispatch.
        return true;
    }
}

int32_t WindowProcChain::callFrom(Dispatch& d, qsizetype index) {
    return index < 0 ? deliverToWidget(d.event) : runBlock(d, index);
}

int32_t WindowProcChain::deliverToWidget(QEvent* event) {
    if (!window_)
        return 0;
    // QObject::event is public; through it the widget's own (protected) override runs.
    QObject* target = window_;
    return target->event(event) ? 1 : 0;
}

int32_t WindowProcChain::runBlock(Dispatch& d, qsizetype index) {
    HookBlock& b = *d.blocks[index];
    if (b.released)
        return callFrom(d, index - 1);
    bool handled = false;
    int32_t result = 0;
    if (b.before.watches(d.message) && b.owner) {
        b.owner->zSubclass_Proc(true, handled, result, window_, d.message, d.wParam, d.lParam,
                                b.userValue);
    }
    if (handled)
        return result;
    {
        DepthGuard depth(b.depth);
        result = callFrom(d, index - 1);
    }
    if (b.depth == 0 && b.shutdown != 0) {
        release(b);
        return result;
    }
    if (b.after.watches(d.message) && b.owner && !b.released) {
        b.owner->zSubclass_Proc(false, handled, result, window_, d.message, d.wParam, d.lParam,
                                b.userValue);
    }
    return result;
}

int32_t WindowProcChain::callPrevious(const HookBlock& block, int32_t message, int32_t wParam,
                                      int32_t lParam) {
    if (!window_)
        return 0;
    const auto it = std::find_if(blocks_.begin(), blocks_.end(),
                                 [&](const auto& b) { return b.get() == &block; });
    if (it == blocks_.end())
        return 0;
    const QPoint at(loWord(lParam), hiWord(lParam));
    std::unique_ptr<QEvent> event;
    switch (message) {
        case WM_PAINT:
            // Painting happens only inside Qt's own paint delivery.
            return 0;
        case WM_MOVE:
            event = std::make_unique<QMoveEvent>(at, window_->pos());
            break;
        case WM_SYSCOLORCHANGE:
            event = std::make_unique<QEvent>(QEvent::PaletteChange);
            break;
        case WM_MOUSEMOVE:
            event = std::make_unique<QMouseEvent>(QEvent::MouseMove, QPointF(at),
                                                  QPointF(window_->mapToGlobal(at)), Qt::NoButton,
                                                  buttonsFrom(wParam), modifiersFrom(wParam));
            break;
        case WM_SIZING:
            event = std::make_unique<QResizeEvent>(QSize(at.x(), at.y()), window_->size());
            break;
        case WM_THEMECHANGED:
            event = std::make_unique<QEvent>(QEvent::StyleChange);
            break;
        default:
            event = std::make_unique<SyntheticMessageEvent>(message, wParam, lParam);
            break;
    }
    Dispatch d{event.get(), message, wParam, lParam, Snapshot(blocks_.begin(), it)};
    return callFrom(d, d.blocks.size() - 1);
}

}  // namespace tessaro::hook
