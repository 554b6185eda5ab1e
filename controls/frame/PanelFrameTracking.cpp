// The frame going live: mouse tracking through the message hook, the top-level window's
// move, size and state notifications, and the enabled state.
#include <QEvent>
#include <QMouseEvent>

#include "MessageHook.h"
#include "Messages.h"
#include "MouseTracking.h"
#include "PanelFrame.h"
#include "TrackingService.h"

using namespace tessaro::hook;

void PanelFrame::goLive() {
    if (!live_) {
        live_ = true;
        setUpTracking();
        watchParentWindow();
    }
    takeLoadedSizes();
}

void PanelFrame::setUpTracking() {
    const frametracking::Service service = frametracking::findService();
    trackingAvailable_ = service.available;
    trackingUser32_ = service.user32;
    // Without tracking neither window is hooked: no enter, hover or leave is ever reported.
    if (!trackingAvailable_ || frameHooked_)
        return;
    frameHooked_ = hook_.sc_Subclass(this, 0, this, true);
    if (!frameHooked_)
        return;
    for (int32_t message : {WM_MOUSEMOVE, WM_MOUSELEAVE, WM_MOUSEHOVER})
        hook_.sc_AttachMsg(this, message, HOOK_BEFORE);
}

void PanelFrame::watchParentWindow() {
    QWidget* top = parentWidget() ? window() : nullptr;
    if (top == parentWindow_)
        return;
    if (parentWindow_) {
        parentWindow_->removeEventFilter(this);
        if (parentHooked_)
            hook_.sc_UnSubclass(parentWindow_);
    }
    parentHooked_ = false;
    maximiseFlag_ = false;
    parentWindow_ = top;
    if (!top)
        return;
    if (trackingAvailable_) {
        parentHooked_ = hook_.sc_Subclass(top, 0, this, true);
        if (parentHooked_) {
            for (int32_t message : {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE, WM_SIZING, WM_MOVE})
                hook_.sc_AttachMsg(top, message, HOOK_BEFORE);
        }
    }
    // Installed after the hook, so this filter sees the window's resizes before the hook
    // takes them in hand.
    top->installEventFilter(this);
}

void PanelFrame::requestTracking(uint32_t flags) {
    // Both flavours of the service lead to the same tracking.
    if (trackingAvailable_)
        TrackMouseEvent(this, flags, static_cast<uint32_t>(p_.HoverTime));
}

void PanelFrame::zSubclass_Proc(bool, bool&, int32_t&, QWidget*, int32_t uMsg, int32_t, int32_t,
                                int32_t&) {
    switch (uMsg) {
        case WM_MOUSEMOVE:
            if (p_.Enabled && !mouseInside_) {
                mouseInside_ = true;
                requestTracking(TME_LEAVE | TME_HOVER);
                emit MouseEnters();
                Redraw();
            }
            break;
        case WM_MOUSEHOVER:
            if (p_.Enabled) {
                // The next move counts as entering again and asks for a fresh hover.
                mouseInside_ = false;
                emit MouseHover();
                Redraw();
            }
            break;
        case WM_MOUSELEAVE:
            if (p_.Enabled) {
                mouseInside_ = false;
                emit MouseLeaves();
                Redraw();
            }
            break;
        case WM_ENTERSIZEMOVE:
        case WM_EXITSIZEMOVE:
        case WM_SIZING:
        case WM_MOVE:
            Redraw();
            break;
        default:
            break;
    }
}

bool PanelFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched != parentWindow_ || !parentWindow_)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::Resize) {
        parentResized();
    } else if (event->type() == QEvent::WindowStateChange) {
        // The state may change before or without a resize; act when it changes what the
        // maximise flag says.
        const Qt::WindowStates state = parentWindow_->windowState();
        const bool maximised = state.testFlag(Qt::WindowMaximized);
        const bool normal =
            !(state & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
        if ((maximised && !maximiseFlag_) || (normal && maximiseFlag_))
            parentResized();
    }
    return false;
}

void PanelFrame::parentResized() {
    Redraw();
    if (!parentWindow_)
        return;
    const Qt::WindowStates state = parentWindow_->windowState();
    if (state.testFlag(Qt::WindowMaximized)) {
        repaintAfterStateChange();
        maximiseFlag_ = true;
    } else if (!(state & (Qt::WindowMinimized | Qt::WindowFullScreen)) && maximiseFlag_) {
        repaintAfterStateChange();
        maximiseFlag_ = false;
    }
}

void PanelFrame::repaintAfterStateChange() {
    if (!isHidden()) {
        closeMe();
        showMe();
    }
    // Drawing stays frozen while the surface is redrawn; unfreezing paints it once.
    setUpdatesEnabled(false);
    Redraw();
    setUpdatesEnabled(true);
}

void PanelFrame::setEnabled(bool on) {
    applyingEnabled_ = true;
    QWidget::setEnabled(on);
    applyingEnabled_ = false;
    applyEnabled(on);
}

void PanelFrame::applyEnabled(bool on) {
    p_.Enabled = on;
    for (QWidget* child : hostedChildren()) {
        try {
            child->setEnabled(on);
        } catch (...) {
            // a child that refuses keeps its state
        }
    }
    Redraw();
}

void PanelFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !applyingEnabled_) {
        // Disabled or enabled as a plain widget: the same rules as the Enabled property. A
        // disabled ancestor does not count; only the frame's own setting does.
        const bool own = !testAttribute(Qt::WA_ForceDisabled);
        if (own != p_.Enabled)
            applyEnabled(own);
    } else if (event->type() == QEvent::ParentChange && live_) {
        watchParentWindow();
    }
    QWidget::changeEvent(event);
}

bool PanelFrame::event(QEvent* event) {
    // A widget switched off by itself gets no mouse from QWidget; the frame still answers it
    // (drags and its buttons work, enter and hover are not reported).
    const bool ownDisable = !isEnabled() && (!parentWidget() || parentWidget()->isEnabled());
    if (ownDisable) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                mousePressEvent(static_cast<QMouseEvent*>(event));
                return true;
            case QEvent::MouseButtonRelease:
                mouseReleaseEvent(static_cast<QMouseEvent*>(event));
                return true;
            case QEvent::MouseButtonDblClick:
                mouseDoubleClickEvent(static_cast<QMouseEvent*>(event));
                return true;
            case QEvent::MouseMove:
                mouseMoveEvent(static_cast<QMouseEvent*>(event));
                return true;
            default:
                break;
        }
    }
    return QWidget::event(event);
}
