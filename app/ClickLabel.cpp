#include "ClickLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "ClickLabelAccessible.h"

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {
    InstallClickLabelAccessible();
    setCursor(Qt::PointingHandCursor);
    // Reachable with Tab, and Enter or Space clicks it, like a link in a browser.
    setFocusPolicy(Qt::StrongFocus);
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit Click();
}

void ClickLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            emit Click();
            break;
        default:
            QLabel::keyPressEvent(event);
            break;
    }
}
