// Left-button press, mouse move and release: moving the frame, resizing it by its grip, and
// its close and collapse buttons.
#include <QCursor>
#include <QMouseEvent>

#include "CheckedMath.h"
#include "DragGeometry.h"
#include "FrameMetrics.h"
#include "InputCodes.h"
#include "PanelFrame.h"

namespace {

QPoint clientOrigin(const QWidget& w) {
    return w.mapToGlobal(QPoint(0, 0));
}

}  // namespace

QPoint PanelFrame::cursorOnScreen(const QMouseEvent& event) {
    const QPoint cursor = framedrag::screenPixels(event.globalPosition());
    if (!confinement_)
        return cursor;
    const QPoint held = framedrag::confined(cursor, *confinement_);
    if (held != cursor)
        QCursor::setPos(held);
    return held;
}

void PanelFrame::confineCursorToParent() {
    // A frame that is a window of its own may be dragged across the whole screen.
    if (const QWidget* parent = parentWidget())
        confinement_ = QRect(clientOrigin(*parent), parent->size());
}

void PanelFrame::pressStep(const QMouseEvent& event) {
    pressX_ = static_cast<float>(event.position().x());
    pressY_ = static_cast<float>(event.position().y());
    const QPoint at = framedrag::relative(cursorOnScreen(event), clientOrigin(*this));
    const bool gripShown =
        !collapsed_ && p_.ContainerResizable && p_.FooterVisible && !p_.ClassicXPStyle;
    if (gripShown && regions_.resizeGrip.contains(at)) {
        // The drag itself starts with the first move that still has the button down.
        setCursor(Qt::SizeFDiagCursor);
        repaint();
        confineCursorToParent();
        return;
    }
    const bool onButton = (p_.Closeable && regions_.closeButton.contains(at)) ||
                          (p_.Expandable && regions_.collapseButton.contains(at));
    if (!onButton) {
        moveFlag_ = true;
        unsetCursor();
    }
}

void PanelFrame::moveStep(const QMouseEvent& event) {
    if (resizeFlag_)
        moveFlag_ = false;
    const QPoint cursor = cursorOnScreen(event);
    const QPoint at = framedrag::relative(cursor, clientOrigin(*this));
    const bool gripShown =
        !collapsed_ && p_.ContainerResizable && p_.FooterVisible && !p_.ClassicXPStyle;
    if (gripShown && !moveFlag_ && regions_.resizeGrip.contains(at)) {
        setCursor(Qt::SizeFDiagCursor);
        if (event.buttons() & Qt::LeftButton) {
            resizeFlag_ = true;
            moveFlag_ = false;
        }
    } else {
        unsetCursor();
    }
    if (moveFlag_ && p_.ContainerMoveable && !p_.ClassicXPStyle)
        dragMoveTo(cursor);
    if (resizeFlag_ && p_.ContainerResizable && !p_.ClassicXPStyle)
        requestResizeStep(cursor);
}

void PanelFrame::dragMoveTo(const QPoint& cursor) {
    const QPoint origin = parentWidget() ? clientOrigin(*parentWidget()) : QPoint(0, 0);
    const QPoint topLeft = framedrag::movedTopLeft(cursor, origin, pressX_, pressY_);
    move(topLeft);
    qint32 cTop = topLeft.y();
    qint32 cLeft = topLeft.x();
    emit Move(cTop, cLeft);
}

void PanelFrame::requestResizeStep(const QPoint& cursor) {
    // Steps come no closer than kResizeStepMs; a move in between only leaves its position
    // for the next step, so the event loop never waits.
    if (resizePacing_.isActive()) {
        pendingResize_ = cursor;
        return;
    }
    resizeStepTo(cursor);
}

void PanelFrame::flushResizeStep() {
    resizePacing_.stop();
    if (!pendingResize_)
        return;
    const QPoint cursor = *pendingResize_;
    pendingResize_.reset();
    if (resizeFlag_ && p_.ContainerResizable && !p_.ClassicXPStyle)
        resizeStepTo(cursor);
}

void PanelFrame::resizeStepTo(const QPoint& cursor) {
    const framedrag::Size size = framedrag::resizedSize(cursor, clientOrigin(*this), minimumWidth_,
                                                        minimumHeight_, kTwipsPerPixel);
    resize(size.width, size.height);
    if (QWidget* parent = parentWidget())
        parent->update();
    repaint();
    if (p_.AutoResizeControls)
        layoutChildren();
    for (QWidget* child : hostedChildren())
        child->update();
    resizePacing_.start(kResizeStepMs);
    qint32 cWidth = size.width;
    qint32 cHeight = size.height;
    emit Resize(cWidth, cHeight);
}

void PanelFrame::releaseStep(const QMouseEvent& event) {
    try {
        // The last paced step belongs to this drag.
        flushResizeStep();
        const QPoint at = framedrag::relative(cursorOnScreen(event), clientOrigin(*this));
        if (p_.Closeable && regions_.closeButton.contains(at)) {
            closeMe();
            emit Closed();
        }
        if (regions_.collapseButton.contains(at) && p_.Expandable)
            chevronReleased(event);
    } catch (const tessaro::RuntimeError&) {
        // Screen arithmetic overflowed: no button counts as hit, but the drag still ends.
    }
    moveFlag_ = false;
    resizeFlag_ = false;
    pendingResize_.reset();
    resizePacing_.stop();
    confinement_.reset();
    Redraw();
}

void PanelFrame::chevronReleased(const QMouseEvent& event) {
    moveFlag_ = false;
    qint16 button = inputcodes::buttonCode(event.button());
    qint16 shift = inputcodes::shiftCode(event.modifiers());
    float x = static_cast<float>(event.position().x());
    float y = static_cast<float>(event.position().y());
    qint32 footerSize = framemetrics::footerHeight(p_.FooterSize);
    qint32 headerSize = framemetrics::headerHeight(p_.HeaderSize);
    if (collapsed_) {
        // Expanded first, so the host sees the height it is getting back.
        setCollapseState(false);
        bool collapse = false;
        qint32 height = tessaro::checked::round32(heightTwips());
        emit ChevronClick(button, shift, x, y, collapse, footerSize, headerSize, height);
    } else {
        bool collapse = true;
        qint32 height = tessaro::checked::round32(heightTwips());
        emit ChevronClick(button, shift, x, y, collapse, footerSize, headerSize, height);
        setCollapseState(true);
    }
    repaint();
}
