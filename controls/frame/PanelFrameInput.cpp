// Standard events of the frame: mouse buttons, clicks, moves and keys are passed to the
// host with the button, shift and key codes the host's handlers expect.
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include "CheckedMath.h"
#include "InputCodes.h"
#include "PanelFrame.h"

namespace {

using inputcodes::buttonCode;
using inputcodes::shiftCode;

// Virtual key codes; letters, digits and space share their values with Qt's keys.
qint16 keyCode(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) ||
        key == Qt::Key_Space) {
        return static_cast<qint16>(key);
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return static_cast<qint16>(0x70 + (key - Qt::Key_F1));
    }
    switch (key) {
        case Qt::Key_Backspace:
            return 0x08;
        case Qt::Key_Tab:
            return 0x09;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 0x0D;
        case Qt::Key_Shift:
            return 0x10;
        case Qt::Key_Control:
            return 0x11;
        case Qt::Key_Alt:
            return 0x12;
        case Qt::Key_Pause:
            return 0x13;
        case Qt::Key_Escape:
            return 0x1B;
        case Qt::Key_PageUp:
            return 0x21;
        case Qt::Key_PageDown:
            return 0x22;
        case Qt::Key_End:
            return 0x23;
        case Qt::Key_Home:
            return 0x24;
        case Qt::Key_Left:
            return 0x25;
        case Qt::Key_Up:
            return 0x26;
        case Qt::Key_Right:
            return 0x27;
        case Qt::Key_Down:
            return 0x28;
        case Qt::Key_Insert:
            return 0x2D;
        case Qt::Key_Delete:
            return 0x2E;
        default:
            return 0;
    }
}

}  // namespace

void PanelFrame::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    emit MouseDown(buttonCode(event->button()), shiftCode(event->modifiers()),
                   static_cast<float>(at.x()), static_cast<float>(at.y()));
    if (event->button() == Qt::LeftButton) {
        try {
            pressStep(*event);
        } catch (const tessaro::RuntimeError&) {
            // Screen arithmetic overflowed: the press ends here and starts no drag.
        }
    }
    if (p_.ClassicXPStyle)
        caption_->update();
}

void PanelFrame::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    emit MouseUp(buttonCode(event->button()), shiftCode(event->modifiers()),
                 static_cast<float>(at.x()), static_cast<float>(at.y()));
    if (event->button() == Qt::LeftButton)
        releaseStep(*event);
    const bool click = !suppressClick_ && rect().contains(at.toPoint());
    suppressClick_ = false;
    if (click) {
        emit Click();
        if (p_.ClassicXPStyle)
            caption_->update();
    }
}

void PanelFrame::mouseDoubleClickEvent(QMouseEvent*) {
    emit DblClick();
    suppressClick_ = true;
    if (p_.ClassicXPStyle)
        caption_->update();
}

void PanelFrame::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    // Handlers may start or stop a drag through the two flags.
    emit MouseMove(buttonCode(event->buttons()), shiftCode(event->modifiers()),
                   static_cast<float>(at.x()), static_cast<float>(at.y()), resizeFlag_, moveFlag_);
    try {
        moveStep(*event);
    } catch (const tessaro::RuntimeError&) {
        // Screen arithmetic overflowed: this move does nothing more.
    }
}

void PanelFrame::keyPressEvent(QKeyEvent* event) {
    emit KeyDown(keyCode(event->key()), shiftCode(event->modifiers()));
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).unicode() < 0x100) {
        emit KeyPress(static_cast<qint16>(text.at(0).unicode()));
    }
    QWidget::keyPressEvent(event);  // keys go on to the window as well
}

void PanelFrame::keyReleaseEvent(QKeyEvent* event) {
    emit KeyUp(keyCode(event->key()), shiftCode(event->modifiers()));
    QWidget::keyReleaseEvent(event);
}
