#include "PointerTracker.h"

#include <QEnterEvent>
#include <QMouseEvent>

#include "Messages.h"
#include "MouseTracking.h"

namespace tessaro::hook {

PointerTracker::PointerTracker(QWidget* window) : window_(window), inside_(window->underMouse()) {
    hoverTimer_.setSingleShot(true);
    QObject::connect(&hoverTimer_, &QTimer::timeout, [this] { hoverElapsed(); });
}

void PointerTracker::observe(const QEvent& event) {
    switch (event.type()) {
        case QEvent::Enter:
            lastPos_ = static_cast<const QEnterEvent&>(event).position().toPoint();
            setInside(true);
            break;
        case QEvent::Leave:
            setInside(false);
            break;
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            const auto& me = static_cast<const QMouseEvent&>(event);
            const QPoint pos = me.position().toPoint();
            lastPos_ = pos;
            lastKeys_ = mouseKeyBits(me);
            setInside(window_ && window_->rect().contains(pos));
            if (inside_ && hoverArmed_ && event.type() == QEvent::MouseMove) {
                hoverTimer_.start(hoverTimeMs_);
            }
            break;
        }
        default:
            break;
    }
}

void PointerTracker::track(uint32_t flags, uint32_t hoverTimeMs) {
    if (flags & TME_CANCEL) {
        if (flags & TME_LEAVE)
            leaveArmed_ = false;
        if (flags & TME_HOVER) {
            hoverArmed_ = false;
            hoverTimer_.stop();
        }
        return;
    }
    if (flags & TME_LEAVE) {
        if (inside_) {
            leaveArmed_ = true;
        } else {
            postMessage(window_, WM_MOUSELEAVE);
        }
    }
    if ((flags & TME_HOVER) && inside_) {
        hoverArmed_ = true;
        hoverTimeMs_ = hoverTimeMs == HOVER_DEFAULT || hoverTimeMs > 0x7FFFFFFFu
                           ? kDefaultHoverTimeMs
                           : static_cast<int>(hoverTimeMs);
        hoverTimer_.start(hoverTimeMs_);
    }
}

void PointerTracker::setInside(bool inside) {
    const bool left = inside_ && !inside;
    inside_ = inside;
    if (!left)
        return;
    hoverArmed_ = false;
    hoverTimer_.stop();
    if (leaveArmed_) {
        leaveArmed_ = false;
        postMessage(window_, WM_MOUSELEAVE);
    }
}

void PointerTracker::hoverElapsed() {
    if (!hoverArmed_ || !inside_)
        return;
    hoverArmed_ = false;
    postMessage(window_, WM_MOUSEHOVER, lastKeys_, makeLParam(lastPos_.x(), lastPos_.y()));
}

}  // namespace tessaro::hook
