#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <functional>

#include "PanelFrame.h"

// Real mouse input for frame tests: a shown offscreen window holding one frame, and the
// pointer driven through the window, so Qt's own enter, leave and button grab take part.
namespace framemouse {

class Host {
  public:
    explicit Host(const QRect& frameGeometry = QRect(20, 30, 200, 150),
                  const std::function<void(PanelFrame&)>& setUp = {}) {
        window.resize(400, 300);
        frame = new PanelFrame(&window);
        frame->setGeometry(frameGeometry);
        if (setUp)
            setUp(*frame);
        window.show();
        ok = QTest::qWaitForWindowExposed(&window);
        // Start with the pointer off the frame; Qt drops a move to where it already is, so
        // two different points make sure it really moves.
        moveToWindowPoint(QPoint(399, 299));
        moveToWindowPoint(QPoint(398, 298));
    }

    // A point of the frame, in the window's coordinates (the frame may have moved).
    QPoint inWindow(QPoint framePoint) const { return frame->mapTo(&window, framePoint); }

    void press(QPoint framePoint, Qt::KeyboardModifiers mods = {}) {
        QTest::mousePress(window.windowHandle(), Qt::LeftButton, mods, inWindow(framePoint));
    }
    void release(QPoint framePoint, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, mods, inWindow(framePoint));
    }
    void moveTo(QPoint framePoint) {
        QTest::mouseMove(window.windowHandle(), inWindow(framePoint));
    }
    // Positions given in the window's coordinates, for points off the frame.
    void moveToWindowPoint(QPoint p) { QTest::mouseMove(window.windowHandle(), p); }
    void releaseAtWindowPoint(QPoint p) {
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, p);
    }
    void click(QPoint framePoint) {
        press(framePoint);
        release(framePoint);
    }

    QWidget window;
    PanelFrame* frame = nullptr;
    bool ok = false;
};

// Runs the event loop until `done` holds or two seconds have passed.
inline bool waitFor(const std::function<bool()>& done, int timeoutMs = 2000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qSleep(1);
    }
    return true;
}

// Lets queued events (posted leave and hover notifications, paced steps) arrive.
inline void settle(int ms = 30) {
    QTest::qWait(ms);
}

}  // namespace framemouse
