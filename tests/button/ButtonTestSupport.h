#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <memory>

#include "ColourOps.h"
#include "SystemColour.h"
#include "ThemedButton.h"

namespace buttontest {

inline uint32_t sys(int index) {
    return tessaro::button::translate(syscolour::reference(index));
}

// The colour of a surface pixel as 0x00BBGGRR.
inline uint32_t at(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return syscolour::rgb(qRed(p), qGreen(p), qBlue(p));
}

// A shown window holding one running button of 100 x 30 pixels.
struct Host {
    Host() {
        window.resize(200, 80);
        button = new ThemedButton(&window);
        button->setObjectName("ThemedButton1");
        button->setGeometry(10, 10, 100, 30);
        button->InitProperties();
        window.show();
        QApplication::processEvents();
    }
    QWidget window;
    ThemedButton* button;
};

inline void send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                 Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void moveTo(QWidget* w, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton) {
    send(w, QEvent::MouseMove, pos, Qt::NoButton, buttons);
}
inline void press(QWidget* w, QPoint pos, Qt::MouseButton b = Qt::LeftButton) {
    send(w, QEvent::MouseButtonPress, pos, b, b);
}
inline void release(QWidget* w, QPoint pos, Qt::MouseButton b = Qt::LeftButton) {
    send(w, QEvent::MouseButtonRelease, pos, b, Qt::NoButton);
}
inline void doubleClick(QWidget* w, QPoint pos, Qt::MouseButton b = Qt::LeftButton) {
    send(w, QEvent::MouseButtonDblClick, pos, b, b);
}
// A full click over the button, the mouse having come in first.
inline void click(QWidget* w, QPoint pos = QPoint(50, 15), Qt::MouseButton b = Qt::LeftButton) {
    moveTo(w, pos);
    press(w, pos, b);
    release(w, pos, b);
    QApplication::processEvents();
}
inline void leave(QWidget* w) {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
    QApplication::processEvents();
}

}  // namespace buttontest
