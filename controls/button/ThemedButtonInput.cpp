// Mouse, keyboard, focus and visibility: the interaction state and the three events.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ThemedButton.h"

namespace {

// Button numbers as the control records them: 1 left, 2 right, 4 middle.
int16_t buttonNumber(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

constexpr int kKeyTab = 9;
constexpr int kKeySpace = 32;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;

int keyCode(const QKeyEvent& e) {
    switch (e.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return kKeyTab;
        case Qt::Key_Space:
            return kKeySpace;
        case Qt::Key_Left:
            return kKeyLeft;
        case Qt::Key_Up:
            return kKeyUp;
        case Qt::Key_Right:
            return kKeyRight;
        case Qt::Key_Down:
            return kKeyDown;
        default:
            return -1;
    }
}

}  // namespace

bool ThemedButton::event(QEvent* e) {
    // Tab never reaches keyPressEvent: Qt moves the focus with it first.
    if (e->type() == QEvent::KeyPress && keyCode(*static_cast<QKeyEvent*>(e)) == kKeyTab) {
        guarded([&] { emit MouseLeave(); });
    }
    // While the host's text is lent to our tooltip, no plain tooltip shows for the button,
    // not even the one of a window behind it.
    if (e->type() == QEvent::ToolTip && hostTextLent_) {
        e->accept();
        return true;
    }
    // A container switched back on leaves the greyed look behind.
    if (e->type() == QEvent::EnabledChange && drawnEnabled() && state_ == 4)
        state_ = 1;
    return QWidget::event(e);
}

void ThemedButton::paintEvent(QPaintEvent*) {
    guarded([&] { redrawSurface(); });
    QPainter p(this);
    p.drawImage(0, 0, surface_);
}

void ThemedButton::resizeEvent(QResizeEvent*) {
    guarded([&] { relayout(); });
}

void ThemedButton::showEvent(QShowEvent*) {
    shown_ = true;
    guarded([&] { relayout(); });
    guarded([&] { Refresh(); });
}

void ThemedButton::hideEvent(QHideEvent*) {
    shown_ = false;
    guarded([&] { giveBackToolTipText(); });
}

void ThemedButton::focusInEvent(QFocusEvent*) {
    hasFocus_ = true;
    guarded([&] { Refresh(); });
}

void ThemedButton::focusOutEvent(QFocusEvent*) {
    hasFocus_ = false;
    guarded([&] { Refresh(); });
}

void ThemedButton::mousePressEvent(QMouseEvent* e) {
    if (buttonNumber(e->button()) == 1)
        guarded([&] { pressAction(); });
}

void ThemedButton::mouseDoubleClickEvent(QMouseEvent*) {
    // The second press of a double click shows pressed, so that its release counts as a
    // second click; the release itself brings no framework click.
    releaseEndsDoubleClick_ = true;
    if (lastButton_ == 1)
        guarded([&] { pressAction(); });
}

void ThemedButton::mouseReleaseEvent(QMouseEvent* e) {
    const int16_t button = buttonNumber(e->button());
    const bool endsDoubleClick = std::exchange(releaseEndsDoubleClick_, false);
    const bool overButton = rect().contains(e->position().toPoint());
    QPointer<ThemedButton> self(this);
    if (button == 1)
        guarded([&] { releaseAction(overButton); });
    if (!self)
        return;
    lastButton_ = button;
    // The framework's click follows a release over the button.
    if (overButton && !endsDoubleClick)
        guarded([&] { clickAction(); });
}

void ThemedButton::keyPressEvent(QKeyEvent* e) {
    switch (keyCode(*e)) {
        case kKeySpace:
            state_ = 3;
            guarded([&] { Refresh(); });
            break;
        case kKeyRight:
        case kKeyDown:
            guarded([&] { focusNextChild(); });
            break;
        case kKeyLeft:
        case kKeyUp:
            guarded([&] { focusPreviousChild(); });
            break;
        default:
            // Keys the button has no use for go on to its window (Escape, Enter...).
            QWidget::keyPressEvent(e);
            break;
    }
}

void ThemedButton::keyReleaseEvent(QKeyEvent* e) {
    if (keyCode(*e) != kKeySpace) {
        QWidget::keyReleaseEvent(e);
        return;
    }
    if (e->isAutoRepeat())
        return;
    guarded([&] { clickAction(); });
    guarded([&] { emit Click(); });
    state_ = 1;
    guarded([&] { Refresh(); });
}

void ThemedButton::pressAction() {
    state_ = 3;
    Refresh();
}

void ThemedButton::releaseAction(bool overButton) {
    if (buttonType_ == 1 && !value_) {
        // The toggle stays down; the click that follows sets Value.
        state_ = 3;
    } else {
        state_ = 2;
        // A mouse leave that is already queued must clear the mouse-over flag first.
        QPointer<ThemedButton> self(this);
        QCoreApplication::processEvents();
        if (!self)
            return;
        rearmLeaveTracking();
        // A tap of a touchscreen or a pen brings no movement before it, so the button never
        // went hot; a release over it is a click all the same.
        if (mouseOver_ || overButton)
            emit Click();
    }
    Refresh();
}

void ThemedButton::clickAction() {
    if (lastButton_ != 1)
        return;
    if (buttonType_ == 1)
        value_ = !value_;
    state_ = 2;
    Refresh();
}

void ThemedButton::accessKeyAction() {
    lastButton_ = 1;
    clickAction();
    state_ = 1;
    emit Click();
}

void ThemedButton::zSubclass_Proc(bool bBefore, bool& /*bHandled*/, int32_t& /*lReturn*/,
                                  QWidget* /*hWnd*/, int32_t uMsg, int32_t /*wParam*/,
                                  int32_t /*lParam*/, int32_t& /*lParamUser*/) {
    if (bBefore)
        return;
    switch (uMsg) {
        case tessaro::hook::WM_MOUSEMOVE:
            if (mouseOver_)
                return;
            mouseOver_ = true;
            guarded([&] { rearmLeaveTracking(); });
            state_ = 2;
            guarded([&] { Refresh(); });
            guarded([&] { emit MouseEnter(); });
            guarded([&] { createToolTip(); });
            break;
        case tessaro::hook::WM_MOUSELEAVE:
            mouseOver_ = false;
            state_ = 1;
            guarded([&] { destroyToolTip(); });
            guarded([&] { Refresh(); });
            guarded([&] { emit MouseLeave(); });
            break;
        case tessaro::hook::WM_THEMECHANGED:
        case tessaro::hook::WM_SYSCOLORCHANGE:
            guarded([&] { Refresh(); });
            break;
        default:
            break;
    }
}
